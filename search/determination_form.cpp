#include "search/determination_form.h"

#include <algorithm>

namespace kalvor {
namespace {

namespace dc = determination_controls;

// The number fields are read into a buffer of this many characters.
constexpr std::size_t kNumberFieldLength = 119;

// The text as the search reads it: blanks dropped, at most the buffer's length.
std::string numberText(std::string_view field) {
  std::string out;
  for (char c : field.substr(0, std::min(field.size(), kNumberFieldLength))) {
    if (c == '\0') break;
    if (c != ' ') out.push_back(c);
  }
  return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// One value: digits, then a decimal mark with digits after it, or (for a
// hardness) the half sign; nothing else.
bool isReadableValue(std::string_view s, bool halfSign) {
  std::size_t pos = 0;
  while (pos < s.size() && isDigit(s[pos])) ++pos;
  if (pos == 0) return false;
  if (pos == s.size()) return true;
  const auto c = static_cast<unsigned char>(s[pos]);
  if (halfSign && (c == 0xAE || c == 0xBD)) return pos + 1 == s.size();
  if (c != '.' && c != ',') return false;
  ++pos;
  while (pos < s.size() && isDigit(s[pos])) ++pos;
  return pos == s.size();
}

// A value or a range split at the first "-" among the first `window` characters.
bool isReadableRange(std::string_view field, std::size_t window, bool halfSign) {
  const std::string text = numberText(field);
  if (text.empty()) return true;
  const std::size_t dash = std::string_view(text).substr(0, std::min(text.size(), window)).find('-');
  if (dash == std::string::npos) return isReadableValue(text, halfSign);
  return isReadableValue(std::string_view(text).substr(0, dash), halfSign) &&
         isReadableValue(std::string_view(text).substr(dash + 1), halfSign);
}

FormFailure unreadable(CollectionMessage message, int control, const std::string& text) {
  FormFailure f = formFailure(message, control, {text});
  f.selectionEnd = text.size();
  return f;
}

}  // namespace

DeterminationControls determinationControlsOf(const DeterminationCriteria& saved) {
  DeterminationControls c;
  c.exact = saved.precision == kPrecisionExact;
  c.approximate = saved.precision == kPrecisionApproximate;
  c.rough = saved.precision == kPrecisionRough;
  c.imaRecognised = saved.imaRecognised != 0;
  c.notImaRecognised = saved.notImaRecognised != 0;
  c.discredited = saved.discredited != 0;
  c.streak = saved.streak;
  c.colour = saved.colour;
  c.crystalSystem = saved.crystalSystem;
  c.cleavage = saved.cleavage;
  c.lustre = saved.lustre;
  c.fracture = saved.fracture;
  c.systematics = saved.systematics.value_or("");
  c.elements = saved.elementExpression.value_or("");
  if (saved.hardness != 0) c.hardness = formatHardness(saved.hardness, false);
  if (saved.density != 0)
    c.density = formatDensity(static_cast<std::uint16_t>(saved.density >> 16),
                              static_cast<std::uint16_t>(saved.density & 0xFFFF), false);
  c.locality = saved.locality;
  return c;
}

DeterminationControls newDeterminationSearch() { return DeterminationControls{}; }

std::size_t localityItemIndex(const std::vector<LocalityChoice>& items, std::uint32_t number) {
  if (number == 0) return 0;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].itemData == number) return i;
  return 0;
}

bool isReadableHardnessText(std::string_view text) { return isReadableRange(text, 10, true); }

bool isReadableDensityText(std::string_view text) { return isReadableRange(text, 20, false); }

DeterminationFormOutcome searchDeterminationForm(const DeterminationControls& c, DeterminationCriteria& saved,
                                                 const DeterminationSources& sources) {
  DeterminationFormOutcome out;
  // A text the search cannot read would silently search the minerals
  // without data; the density is read before the hardness.
  if (!isReadableDensityText(c.density)) {
    out.failure = unreadable(CollectionMessage::kUnreadableDensity, dc::kDensity, c.density);
    return out;
  }
  if (!isReadableHardnessText(c.hardness)) {
    out.failure = unreadable(CollectionMessage::kUnreadableHardness, dc::kHardness, c.hardness);
    return out;
  }
  DeterminationInput in;
  in.exactChecked = c.exact;
  in.approximateChecked = c.approximate;
  in.imaRecognised = c.imaRecognised;
  in.notImaRecognised = c.notImaRecognised;
  in.discredited = c.discredited;
  in.streak = c.streak;
  in.colour = c.colour;
  in.crystalSystem = c.crystalSystem;
  in.fracture = c.fracture;
  in.cleavage = c.cleavage;
  in.lustre = c.lustre;
  in.elementExpression = c.elements;
  in.density = c.density;
  in.hardness = c.hardness;
  in.systematics = c.systematics;
  in.localityIndex = c.locality != 0 ? 1 : 0;
  in.localityNumber = static_cast<std::uint16_t>(c.locality);
  DeterminationOutcome result = runDetermination(in, saved, sources);
  if (result.succeeded()) {
    out.results = std::move(result.results);
    return out;
  }
  FormFailure f;
  f.messageId = result.messageId;
  f.captionId = kMsgSearchFailedCaption;
  if (result.messageId == kMsgInvalidElementCharacters || result.messageId == kMsgUnseenElement) {
    f.controlId = dc::kElements;
    f.selectionBegin = result.selectionBegin;
    f.selectionEnd = result.selectionEnd;
  }
  out.failure = std::move(f);
  return out;
}

}  // namespace kalvor
