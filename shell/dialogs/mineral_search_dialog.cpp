#include "shell/dialogs/mineral_search_dialog.h"

#include <string>

#include "determination/reference_sources.h"
#include "resources/resource_ids.h"
#include "shell/dialogs/search_dialog_parts.h"

namespace kalvor::shell {
namespace {

// The minerals the collector recorded for a locality, for the "Fundstelle" criterion.
class CollectionLocalityMinerals final : public LocalityMinerals {
 public:
  explicit CollectionLocalityMinerals(Collection& collection) : collection_(collection) {}
  std::optional<std::vector<std::uint16_t>> mineralsOfLocality(std::uint16_t number) const override {
    const auto locality = readLocality(collection_, number);
    if (!locality) return std::nullopt;
    return locality->minerals;
  }

 private:
  Collection& collection_;
};

// "unbekannt" followed by the entries of a fixed choice list.
template <typename Names>
std::vector<std::string> choicesOf(const std::string& unknown, const Names& names, std::size_t limit) {
  std::vector<std::string> texts{unknown};
  for (const auto& name : names) {
    if (texts.size() > limit) break;
    texts.emplace_back(name);
  }
  return texts;
}

// At most this many colour choices are offered.
constexpr std::size_t kMaxColourChoices = 250;

}  // namespace

bool MineralSearchDialog::onInit() {
  centreOver(GetWindow(window(), GW_OWNER));
  const std::string unknown = collectionMessageText(CollectionMessage::kUnknownLocality);
  const DeterminationControls c = determinationControlsOf(saved_);
  const std::vector<std::string> colours =
      choicesOf(unknown, data_.colours().colourChoices(), kMaxColourChoices);
  fillChoiceList(item(ID_SEARCH_STREAK), colours, static_cast<std::size_t>(c.streak));
  fillChoiceList(item(ID_SEARCH_COLOUR), colours, static_cast<std::size_t>(c.colour));
  fillChoiceList(item(ID_SEARCH_CRYSTAL_SYSTEM), choicesOf(unknown, kCrystalSystemChoiceNames, 255),
                 static_cast<std::size_t>(c.crystalSystem));
  fillChoiceList(item(ID_SEARCH_LUSTRE), choicesOf(unknown, kLustreChoiceNames, 255),
                 static_cast<std::size_t>(c.lustre));
  fillChoiceList(item(ID_SEARCH_CLEAVAGE), choicesOf(unknown, kCleavageChoiceNames, 255),
                 static_cast<std::size_t>(c.cleavage));
  fillChoiceList(item(ID_SEARCH_FRACTURE), choicesOf(unknown, kFractureChoiceNames, 255),
                 static_cast<std::size_t>(c.fracture));
  // The list is built in the sort order of today: the saved number, not a
  // position, names the locality of the last search.
  localities_ = localityChoices(data_.collection(), false);
  sizeLocalityItems(item(ID_SEARCH_LOCALITY));
  show(c);
  focus(ID_SEARCH_STREAK);
  return false;
}

void MineralSearchDialog::show(const DeterminationControls& c) {
  check(ID_SEARCH_EXACT, c.exact);
  check(ID_SEARCH_APPROXIMATE, c.approximate);
  check(ID_SEARCH_ROUGH, c.rough);
  sendItem(ID_SEARCH_STREAK, CB_SETCURSEL, static_cast<WPARAM>(c.streak));
  sendItem(ID_SEARCH_COLOUR, CB_SETCURSEL, static_cast<WPARAM>(c.colour));
  sendItem(ID_SEARCH_CRYSTAL_SYSTEM, CB_SETCURSEL, static_cast<WPARAM>(c.crystalSystem));
  sendItem(ID_SEARCH_LUSTRE, CB_SETCURSEL, static_cast<WPARAM>(c.lustre));
  sendItem(ID_SEARCH_CLEAVAGE, CB_SETCURSEL, static_cast<WPARAM>(c.cleavage));
  sendItem(ID_SEARCH_FRACTURE, CB_SETCURSEL, static_cast<WPARAM>(c.fracture));
  setItemText(ID_SEARCH_HARDNESS, c.hardness);
  setItemText(ID_SEARCH_DENSITY, c.density);
  setItemText(ID_SEARCH_ELEMENTS, c.elements);
  setItemText(ID_SEARCH_SYSTEMATICS, c.systematics);
  check(ID_SEARCH_IMA, c.imaRecognised);
  check(ID_SEARCH_NOT_IMA, c.notImaRecognised);
  check(ID_SEARCH_DISCREDITED, c.discredited);
  fillLocalityList(item(ID_SEARCH_LOCALITY), localities_, localityItemIndex(localities_, c.locality));
}

DeterminationControls MineralSearchDialog::read() const {
  DeterminationControls c;
  c.exact = isChecked(ID_SEARCH_EXACT);
  c.approximate = isChecked(ID_SEARCH_APPROXIMATE);
  c.rough = isChecked(ID_SEARCH_ROUGH);
  c.streak = static_cast<int>(choiceListSelection(item(ID_SEARCH_STREAK)));
  c.colour = static_cast<int>(choiceListSelection(item(ID_SEARCH_COLOUR)));
  c.crystalSystem = static_cast<int>(choiceListSelection(item(ID_SEARCH_CRYSTAL_SYSTEM)));
  c.lustre = static_cast<int>(choiceListSelection(item(ID_SEARCH_LUSTRE)));
  c.cleavage = static_cast<int>(choiceListSelection(item(ID_SEARCH_CLEAVAGE)));
  c.fracture = static_cast<int>(choiceListSelection(item(ID_SEARCH_FRACTURE)));
  c.hardness = itemText(ID_SEARCH_HARDNESS);
  c.density = itemText(ID_SEARCH_DENSITY);
  c.elements = itemText(ID_SEARCH_ELEMENTS);
  c.systematics = itemText(ID_SEARCH_SYSTEMATICS);
  c.imaRecognised = isChecked(ID_SEARCH_IMA);
  c.notImaRecognised = isChecked(ID_SEARCH_NOT_IMA);
  c.discredited = isChecked(ID_SEARCH_DISCREDITED);
  c.locality = selectedLocality(item(ID_SEARCH_LOCALITY));
  return c;
}

bool MineralSearchDialog::onCommand(int id, int code) {
  if (id != ID_SEARCH_NEW || code != BN_CLICKED) return false;
  show(newDeterminationSearch());
  focus(ID_SEARCH_STREAK);
  return true;
}

void MineralSearchDialog::onOk() {
  const ReferenceMineralFacts facts(data_.database(), data_.names());
  const ColourTableSlots colours(data_.colours());
  const CollectionLocalityMinerals localities(data_.collection());
  DeterminationFormOutcome outcome =
      searchDeterminationForm(read(), saved_, {data_.searchIndex(), colours, facts, &localities});
  if (outcome.failure) {
    showFormFailure(window(), *outcome.failure);
    return;
  }
  results_ = std::move(outcome.results);
  end(1);
}

bool MineralSearchDialog::onDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlID != ID_SEARCH_LOCALITY) return false;
  drawLocalityItem(item, localities_, collectionMessageText(CollectionMessage::kUnknownLocality));
  return true;
}

}  // namespace kalvor::shell
