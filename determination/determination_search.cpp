#include "determination/determination_search.h"

#include <algorithm>
#include <bit>
#include <cstdio>

#include "determination/formula_scan.h"
#include "determination/search_index.h"
#include "refdb/systematics.h"

namespace kalvor {

namespace {

// The dialog's edit fields are read into a buffer of this many characters.
constexpr std::size_t kFieldLength = 119;
constexpr std::uint16_t kLocalityMineralMask = 0x1FFF;

struct Search {
  const DeterminationSources& src;
  DeterminationCriteria& saved;
  OptionalNumberList running;  // absent: no restriction yet
  bool rough = false;
  bool exact = false;

  // Restricts the running result; false when nothing is left.
  bool apply(OptionalNumberList list) {
    running = restrictNumberList(std::move(running), std::move(list));
    return running.has_value();
  }

  // Restricts the running result by the union of `slots`. How the union is
  // formed changes nothing in the result, only the work: a small running
  // result is looked up in the slots; otherwise the slots are marked in a bit
  // per mineral number, which unites any number of slots in one pass.
  bool applySlots(const std::vector<int>& slots) {
    std::size_t total = 0;
    for (int slot : slots) total += src.index.slotCount(slot);
    if (running && running->size() * slots.size() * 16 < total) {
      NumberList kept;
      for (MineralNumber n : running->numbers) {
        for (int slot : slots) {
          if (src.index.slotHolds(slot, n)) {
            kept.numbers.push_back(n);
            break;
          }
        }
      }
      running = kept.empty() ? OptionalNumberList{} : OptionalNumberList{std::move(kept)};
      return running.has_value();
    }
    std::vector<std::uint64_t> bits(65536 / 64);
    for (int slot : slots) src.index.markSlot(slot, bits);
    NumberList kept;
    if (running) {
      for (MineralNumber n : running->numbers) {
        if (bits[n >> 6] >> (n & 63) & 1) kept.numbers.push_back(n);
      }
    } else {
      for (std::size_t w = 0; w < bits.size(); ++w) {
        for (std::uint64_t word = bits[w]; word != 0; word &= word - 1) {
          kept.numbers.push_back(static_cast<MineralNumber>(w * 64 + std::countr_zero(word)));
        }
      }
    }
    running = kept.empty() ? OptionalNumberList{} : OptionalNumberList{std::move(kept)};
    return running.has_value();
  }

  // A choice list: slot base + i, with the "no data" slot added when rough.
  bool applyChoice(int base, int i, int count) {
    if (i < 1 || i > count) return true;  // "unbekannt" or no such entry: no criterion
    return rough ? applySlots({base + i, base}) : applySlots({base + i});
  }

  // A range of value slots: first (with the "no data" slot when rough), then
  // first + 1 .. last.
  bool applyRange(int noData, int first, int last) {
    std::vector<int> slots{first};
    if (rough && noData != first) slots.push_back(noData);
    for (int slot = first + 1; slot <= last; ++slot) slots.push_back(slot);
    return applySlots(slots);
  }
};

// The text of a number field as the search reads it: at most the field's
// length, blanks dropped so that "2.5 - 3" reads as the range it means.
std::string numberFieldText(std::string_view field) {
  std::string out;
  for (char c : field.substr(0, std::min(field.size(), kFieldLength))) {
    if (c == '\0') break;
    if (c != ' ') out.push_back(c);
  }
  return out;
}

// Decimal digits from `pos` on; the value is kept in 8 bits as the fields hold it.
unsigned readDigits(std::string_view s, std::size_t& pos) {
  unsigned v = 0;
  while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
    v = (v * 10 + static_cast<unsigned>(s[pos] - '0')) & 0xFF;
    ++pos;
  }
  return v;
}

// A German decimal comma means the same as the point.
bool isDecimalMark(char c) { return c == '.' || c == ','; }

// A density word moved by `hundredths` (negative: down), kept within 0.01 .. 255.99.
std::uint16_t shiftDensity(std::uint16_t density, int hundredths) {
  int total = (density >> 8) * 100 + (density & 0xFF) + hundredths;
  total = std::clamp(total, 1, 255 * 100 + 99);
  return static_cast<std::uint16_t>((total / 100) * 256 + total % 100);
}

std::uint16_t densityValueOf(std::string_view s) {
  std::size_t pos = 0;
  const unsigned whole = readDigits(s, pos);
  unsigned hundredths = 0;
  if (pos < s.size() && isDecimalMark(s[pos])) {
    ++pos;
    if (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
      hundredths = 10u * static_cast<unsigned>(s[pos++] - '0');
      if (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
        hundredths += static_cast<unsigned>(s[pos] - '0');
      }
    }
  }
  return static_cast<std::uint16_t>(whole * 256 + hundredths);
}

std::uint8_t hardnessValueOf(std::string_view s) {
  std::size_t pos = 0;
  const unsigned w = readDigits(s, pos);
  unsigned v = 2 * w;
  if (pos < s.size()) {
    const auto c = static_cast<unsigned char>(s[pos]);
    // 0xAE is the half sign of the original data entry; 0xBD is "½" in Windows-1252.
    if (c == 0xAE || c == 0xBD) {
      v = 2 * w + 1;
    } else if (isDecimalMark(s[pos]) && pos + 1 < s.size() && s[pos + 1] >= '0' &&
               s[pos + 1] <= '9') {
      v = 2 * w + static_cast<unsigned>(s[pos + 1] - '0') / 5;
    }
  }
  return static_cast<std::uint8_t>(v);
}

// Splits at the first "-" among the first `window` characters.
std::pair<std::string_view, std::string_view> splitRange(std::string_view text,
                                                         std::size_t window) {
  const std::size_t dash = text.substr(0, std::min(text.size(), window)).find('-');
  if (dash == std::string_view::npos) return {text, text};
  return {text.substr(0, dash), text.substr(dash + 1)};
}

// The systematics criterion; false when the search must end with "nothing found".
bool applySystematics(Search& s, const std::string& field) {
  s.saved.systematics.reset();
  const SystematicsStep step =
      applySystematicsCriterion(field, &s.src.index, &s.src.minerals, s.running);
  if (step.nothingFits) return false;
  if (!step.text.empty() && s.running) s.saved.systematics = step.text;
  return true;
}

SearchResultList resultListOf(const NumberList& found, const MineralFacts& minerals) {
  SearchResultList out;
  out.reserve(found.size());
  for (MineralNumber n : found.numbers) {
    if (auto entry = minerals.nameListEntryOf(n)) out.push_back(std::move(*entry));
  }
  // The same order as walking the name list from its head.
  std::sort(out.begin(), out.end(), [](const SearchResultEntry& a, const SearchResultEntry& b) {
    return a.ordinal < b.ordinal;
  });
  return out;
}

DeterminationOutcome nothingFound() {
  DeterminationOutcome out;
  out.messageId = kMsgNothingFound;
  return out;
}

}  // namespace

SystematicsStep applySystematicsCriterion(std::string_view field, const IndexSlotSource* index,
                                          const MineralFacts* minerals,
                                          OptionalNumberList& running) {
  SystematicsStep step;
  std::string text(field);
  if (text.find('/') == std::string::npos) text.push_back('/');
  if (text.size() < 2) return step;
  step.text = text;
  const StrunzNumber want = parseStrunzNumber(text);
  if (want.classNumber >= 1 && want.classNumber <= 9) {
    OptionalNumberList cls =
        index ? index->readIndexSlot(kStrunzClassSlots + want.classNumber) : std::nullopt;
    if (want.letter != 0) {
      OptionalNumberList letter =
          index ? index->readIndexSlot(kStrunzLetterSlots + want.letter) : std::nullopt;
      if (!letter) {
        cls.reset();  // a letter no mineral carries leaves class and letter out
      } else if (cls) {
        cls = intersectNumberLists(cls, letter);
        // Class and letter both filed but without a common mineral: nothing
        // fits, rather than silently searching without the systematics.
        if (!cls) {
          running.reset();
          step.restricted = true;
          step.nothingFits = true;
          return step;
        }
      }
    }
    if (cls) {
      step.restricted = true;
      running = restrictNumberList(std::move(running), std::move(cls));
    }
  }
  if (want.number != 0) {
    step.restricted = true;
    // A number with no earlier list to filter finds nothing.
    if (running) {
      NumberList kept;
      for (MineralNumber n : running->numbers) {
        if (minerals == nullptr) break;
        const StrunzNumber has = minerals->lapisNumberOf(n);
        if (has.number != want.number) continue;
        if (want.rangeEnd != 0 && has.rangeEnd != want.rangeEnd) continue;
        kept.numbers.push_back(n);
      }
      running = kept.empty() ? OptionalNumberList{} : OptionalNumberList{std::move(kept)};
    }
  }
  step.nothingFits = step.restricted && !running;
  return step;
}

OptionalNumberList slotUnion(const IndexSlotSource& index, int s1, int s2) {
  OptionalNumberList a = s1 >= 0 ? index.readIndexSlot(s1) : std::nullopt;
  if (s2 < 0 || s2 == s1) return a;
  return uniteNumberLists(std::move(a), index.readIndexSlot(s2));
}

std::vector<int> statusSlots(bool a, bool b, bool c) {
  if (a && b && c) return {};
  if (a && b) return {kImaRecognisedSlot, kNotImaRecognisedSlot};
  if (a && c) return {kImaRecognisedSlot, kDiscreditedSlot};
  if (a) return {kImaRecognisedSlot};
  if (b && c) return {kNotImaRecognisedSlot, kDiscreditedSlot};
  if (b) return {kNotImaRecognisedSlot};
  return {kDiscreditedSlot};  // "Diskreditiert" alone, or no box ticked
}

std::pair<std::uint16_t, std::uint16_t> parseDensityText(std::string_view text) {
  const auto [lo, hi] = splitRange(text, 20);
  return {densityValueOf(lo), densityValueOf(hi)};
}

std::uint16_t parseHardnessText(std::string_view text) {
  const auto [lo, hi] = splitRange(text, 10);
  return static_cast<std::uint16_t>(hardnessValueOf(lo) * 256 + hardnessValueOf(hi));
}

int densitySlotOf(std::uint16_t density) { return densityClassOf(density); }

int hardnessSlotOf(std::uint8_t halfSteps) { return halfSteps > 20 ? 20 : halfSteps; }

std::string formatDensity(std::uint16_t minimum, std::uint16_t maximum, bool notDetermined) {
  char buf[32];
  if (minimum == 0 && maximum == 0 && notDetermined) return "nicht bestimmt";
  // A single density is stored with maximum 0; it is not a range down to 0.00.
  if (minimum != maximum && maximum != 0) {
    std::snprintf(buf, sizeof buf, "%1d.%02d-%1d.%02d", minimum >> 8, minimum & 0xFF,
                  maximum >> 8, maximum & 0xFF);
  } else {
    const std::uint16_t v = maximum != 0 ? maximum : minimum;
    std::snprintf(buf, sizeof buf, "%1d.%02d", v >> 8, v & 0xFF);
  }
  return buf;
}

std::string formatHardness(std::uint16_t range, bool notDetermined) {
  const int m = range >> 8;
  const int x = range & 0xFF;
  char buf[32];
  if (m != x) {
    std::snprintf(buf, sizeof buf, "%d.%d-%d.%d", m / 2, (m % 2) * 5, x / 2, (x % 2) * 5);
  } else if (m == 0 && notDetermined) {
    return "nicht bestimmt";
  } else {
    std::snprintf(buf, sizeof buf, "%d.%d", m / 2, (m % 2) * 5);
  }
  return buf;
}

DeterminationOutcome runDetermination(const DeterminationInput& in, DeterminationCriteria& saved,
                                      const DeterminationSources& sources) {
  Search s{sources, saved, std::nullopt};
  // 1. Precision.
  saved.precision = in.exactChecked         ? kPrecisionExact
                    : in.approximateChecked ? kPrecisionApproximate
                                            : kPrecisionRough;
  s.rough = saved.precision == kPrecisionRough;
  s.exact = saved.precision == kPrecisionExact;
  // 2. Status boxes: their list is applied after hardness.
  saved.imaRecognised = in.imaRecognised;
  saved.notImaRecognised = in.notImaRecognised;
  saved.discredited = in.discredited;
  const std::vector<int> status = statusSlots(in.imaRecognised, in.notImaRecognised,
                                              in.discredited);
  // 3. - 6. The fixed choice lists.
  saved.crystalSystem = static_cast<std::uint8_t>(in.crystalSystem);
  if (!s.applyChoice(kCrystalSystemSlots, in.crystalSystem, kCrystalSystemChoices)) {
    return nothingFound();
  }
  saved.fracture = static_cast<std::uint8_t>(in.fracture);
  if (!s.applyChoice(kFractureSlots, in.fracture, kFractureChoices)) return nothingFound();
  saved.cleavage = static_cast<std::uint8_t>(in.cleavage);
  if (!s.applyChoice(kCleavageSlots, in.cleavage, kCleavageChoices)) return nothingFound();
  saved.lustre = static_cast<std::uint8_t>(in.lustre);
  if (!s.applyChoice(kLustreSlots, in.lustre, kLustreChoices)) return nothingFound();
  // 7., 8. Colour and streak, widened by the colour matching.
  saved.colour = in.colour;
  if (in.colour >= 1 &&
      !s.applySlots(sources.colours.matchingColourSlots(in.colour, kColourSlots, s.exact))) {
    return nothingFound();
  }
  saved.streak = in.streak;
  if (in.streak >= 1 &&
      !s.applySlots(sources.colours.matchingColourSlots(in.streak, kStreakSlots, s.exact))) {
    return nothingFound();
  }
  // 9. Elements and structural groups.
  std::string expression = in.elementExpression;
  while (!expression.empty() && expression.back() == ' ') expression.pop_back();
  if (expression.empty()) {
    saved.elementExpression.reset();
  } else {
    const ElementCheck check = validateElementExpression(expression);
    if (check.result != 0) {
      DeterminationOutcome out;
      out.messageId = check.result > 0 ? kMsgInvalidElementCharacters : kMsgUnseenElement;
      out.selectionBegin = check.selectionBegin;
      out.selectionEnd = check.selectionEnd;
      return out;
    }
    saved.elementExpression = expression;
    if (!s.apply(searchElementExpression(expression, sources.index))) return nothingFound();
  }
  // 10. Density.
  const std::string density = numberFieldText(in.density);
  if (density.empty()) {
    saved.density = 0;
  } else {
    const auto [lo, hi] = parseDensityText(density);
    saved.density = (static_cast<std::uint32_t>(lo) << 16) | hi;
    int q1 = densitySlotOf(lo);
    int q2 = densitySlotOf(hi);
    // A collector's density from a balance is good to about a tenth; the
    // looser precisions accept the neighbouring values, "Exakt" does not.
    if (!s.exact && lo != 0) {
      const int tolerance = s.rough ? kRoughDensityTolerance : kApproximateDensityTolerance;
      q1 = std::max(1, densitySlotOf(shiftDensity(lo, -tolerance)));
      q2 = std::max(q2, densitySlotOf(shiftDensity(std::max(lo, hi), tolerance)));
    }
    if (!s.applyRange(kDensitySlots, kDensitySlots + q1, kDensitySlots + q2)) {
      return nothingFound();
    }
  }
  // 11. Hardness.
  const std::string hardness = numberFieldText(in.hardness);
  if (hardness.empty()) {
    saved.hardness = 0;
  } else {
    saved.hardness = parseHardnessText(hardness);
    int h1 = hardnessSlotOf(static_cast<std::uint8_t>(saved.hardness >> 8));
    int h2 = hardnessSlotOf(static_cast<std::uint8_t>(saved.hardness & 0xFF));
    // A scratch test is good to about half a Mohs step, a rough one to a whole step.
    if (!s.exact && h1 != 0) {
      const int tolerance = s.rough ? kRoughHardnessTolerance : kApproximateHardnessTolerance;
      h2 = std::min(20, std::max(h1, h2) + tolerance);
      h1 = std::max(std::min(h1, 2), h1 - tolerance);  // never below Mohs 1
    }
    if (!s.applyRange(kHardnessSlots, kHardnessSlots + h1, kHardnessSlots + h2)) {
      return nothingFound();
    }
  }
  // 12. Status.
  if (!status.empty() && !s.applySlots(status)) return nothingFound();
  // 13. Lapis systematics.
  if (!applySystematics(s, in.systematics)) return nothingFound();
  // 14. Locality of the collection.
  // The number, not the list position: the list is rebuilt in sort order at
  // every opening, and a position would name another locality after a change.
  saved.locality = in.localityIndex >= 1 ? in.localityNumber : 0;
  if (in.localityIndex >= 1) {
    OptionalNumberList list;
    if (sources.localities) {
      if (auto entries = sources.localities->mineralsOfLocality(in.localityNumber)) {
        NumberList numbers;
        for (std::uint16_t e : *entries) {
          numbers.numbers.push_back(static_cast<MineralNumber>(e & kLocalityMineralMask));
        }
        std::sort(numbers.numbers.begin(), numbers.numbers.end());
        numbers.numbers.erase(std::unique(numbers.numbers.begin(), numbers.numbers.end()),
                              numbers.numbers.end());
        if (!numbers.empty()) list = std::move(numbers);
      }
    }
    if (!s.apply(std::move(list))) return nothingFound();
  }
  // 15. The result in name-list order. A search that nothing restricted
  // (all three status boxes ticked, nothing else given) asks for every
  // mineral: those of any status.
  if (!s.running) {
    s.running = slotUnion(sources.index, kImaRecognisedSlot, kNotImaRecognisedSlot);
    s.running = uniteNumberLists(std::move(s.running), sources.index.readIndexSlot(kDiscreditedSlot));
  }
  if (!s.running || s.running->empty()) return nothingFound();
  DeterminationOutcome out;
  out.results = resultListOf(*s.running, sources.minerals);
  if (out.results.empty()) return nothingFound();
  return out;
}

}  // namespace kalvor
