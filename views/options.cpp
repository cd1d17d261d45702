#include "views/options.h"

#include <algorithm>

namespace kalvor::views {
namespace {

constexpr int kSpecimenSortModes = static_cast<int>(kSpecimenSortItemIds.size());

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
