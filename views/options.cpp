#include "views/options.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <limits>

namespace kalvor::views {
namespace {

constexpr int kSpecimenSortModes = static_cast<int>(kSpecimenSortItemIds.size());

// Reads one "%d" the way the C library does (leading white space, one sign,
// digits) from text[pos...]; nothing when there are no digits or the number
// does not fit an int.
std::optional<int> readNumber(std::string_view text, std::size_t& pos) {
  std::size_t i = pos;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t digitsStart = i;
  std::int64_t value = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<std::int64_t>(std::numeric_limits<int>::max()) + 1) return std::nullopt;
    ++i;
  }
  if (i == digitsStart) return std::nullopt;
  if (negative) value = -value;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
    return std::nullopt;
  pos = i;
  return static_cast<int>(value);
}

}  // namespace

bool smallFontsOption(const Settings& settings, bool smallScreen) {
  return settings.getInt(ini::kSmallFonts.section, ini::kSmallFonts.key, smallScreen ? 1 : 0) != 0;
}

bool bubbleHelpAtStart(const Settings& settings) { return ini::readFlag(settings, ini::kBubbleHelp); }

int lastLabelFormat(const Settings& settings) { return ini::readInt(settings, ini::kLastLabelFormat); }

OptionsDialogState fromSettings(const Settings& settings, bool smallScreen) {
  OptionsDialogState state;
  state.mineralLocalityList = ini::readFlag(settings, ini::kMineralLocalityList);
  state.aliasLocalityListEnabled = state.mineralLocalityList;
  state.aliasLocalityList =
      state.mineralLocalityList && ini::readFlag(settings, ini::kAliasLocalityList);
  state.anglesWithMinutes = ini::readFlag(settings, ini::kAnglesWithMinutes);
  state.systematicsAsText = ini::readFlag(settings, ini::kSystematicsAsText);
  // The dialog shows what is in effect, the program's own defaults included,
  // so "&OK" without a change changes nothing.
  state.bubbleHelp = bubbleHelpAtStart(settings);
  state.smallFonts = smallFontsOption(settings, smallScreen);
  const int sort = ini::readInt(settings, ini::kSpecimenSort);
  // The specimen sort treats a mode it does not know as entry order; show that.
  state.specimenSort = sort >= 0 && sort < kSpecimenSortModes ? sort : 0;
  return state;
}

void setMineralLocalityList(OptionsDialogState& state, bool on) {
  state.mineralLocalityList = on;
  state.aliasLocalityListEnabled = on;
}

bool writeOptions(const OptionsDialogState& state, Settings& settings,
                  const OptionsSideEffects& effects) {
  bool ok = ini::writeFlag(settings, ini::kMineralLocalityList, state.mineralLocalityList);
  // Without the locality list of a mineral there is none for its synonyms either.
  ok = ini::writeFlag(settings, ini::kAliasLocalityList,
                      state.mineralLocalityList && state.aliasLocalityList) && ok;
  ok = ini::writeFlag(settings, ini::kAnglesWithMinutes, state.anglesWithMinutes) && ok;
  ok = ini::writeFlag(settings, ini::kBubbleHelp, state.bubbleHelp) && ok;
  if (effects.switchBubbleHelp) effects.switchBubbleHelp(state.bubbleHelp);
  ok = ini::writeFlag(settings, ini::kSmallFonts, state.smallFonts) && ok;
  if (effects.recreateFonts) effects.recreateFonts(state.smallFonts);
  ok = ini::writeFlag(settings, ini::kSystematicsAsText, state.systematicsAsText) && ok;
  const int sort = std::clamp(state.specimenSort, 0, kSpecimenSortModes - 1);
  ok = ini::writeInt(settings, ini::kSpecimenSort, sort) && ok;
  return ok;
}

std::string fontToText(const FontDescription& font) {
  std::string text(font.face.substr(0, kMaxFaceLength));
  for (int value : {font.height, font.escapement, font.weight / 100, int{font.italic},
                    int{font.underline}, int{font.strikeOut}, int{font.pitchAndFamily}}) {
    text += ',';
    text += std::to_string(value);
  }
  return text;
}

std::optional<FontDescription> textToFont(std::string_view text) {
  const std::size_t comma = text.find(',');
  FontDescription font;
  font.face = std::string(text.substr(0, std::min(comma, text.size())).substr(0, kMaxFaceLength));
  if (font.face.empty()) return std::nullopt;

  // Read like "%d,%d,%d,%d,%d,%d,%d": the first field that does not match
  // ends the reading, and the fields after it keep their defaults.
  int values[7] = {0, 0, 0, 0, 0, 0, 0};
  int read = 0;
  if (comma != std::string_view::npos) {
    std::size_t pos = comma + 1;
    for (; read < 7; ++read) {
      if (read > 0) {
        if (pos >= text.size() || text[pos] != ',') break;
        ++pos;
      }
      const std::optional<int> value = readNumber(text, pos);
      if (!value) break;
      values[read] = *value;
    }
  }
  if (read > 0) font.height = values[0];
  if (read > 1) font.escapement = values[1];
  // A negative weight is as good as none; above 1000 there is no weight.
  const int weight = read > 2 ? values[2] : 0;
  font.weight = weight <= 0 ? 400 : static_cast<int>(std::min<std::int64_t>(
                                        static_cast<std::int64_t>(weight) * 100, 1000));
  if (read > 3) font.italic = values[3] != 0;
  if (read > 4) font.underline = values[4] != 0;
  if (read > 5) font.strikeOut = values[5] != 0;
  if (read > 6 && values[6] >= 0 && values[6] < 255)
    font.pitchAndFamily = static_cast<std::uint8_t>(values[6]);
  return font;
}

FontMatch matchCapitalHeight(int height, int target,
                             const std::function<int(int height)>& measure) {
  FontMatch match;
  match.height = height;
  for (;;) {
    ++match.rounds;
    const int measured = measure(match.height);
    if (measured == target) {
      match.matched = true;
      return match;
    }
    if (match.rounds >= kMaxMatchRounds) return match;
    // A height field of 0 asks for the default size and a positive one for a
    // cell height; a character height of 1 pixel is as small as it goes.
    const int next = match.height + (measured > target ? 1 : -1);
    if (next >= 0) return match;
    match.height = next;
  }
}

}  // namespace kalvor::views
