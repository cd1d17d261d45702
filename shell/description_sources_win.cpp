#include "shell/description_sources_win.h"

#include <windows.h>

#include "collection/mineral_specimen.h"
#include "determination/colours.h"
#include "pages/collection_description.h"

namespace kalvor::shell {

MineralRecord WinDescriptionSources::mineralRecord(MineralNumber n) const {
  return data_.database().readMineralRecord(n);
}

std::optional<MineralNumber> WinDescriptionSources::findMineral(std::string_view name) const {
  return mineralNamed(data_.names(), name);
}

std::optional<std::uint16_t> WinDescriptionSources::findGlossaryEntry(std::string_view word) const {
  if (!glossary_) return std::nullopt;
  return glossary_->findTerm(word);
}

std::string WinDescriptionSources::colourName(std::uint16_t colour) const {
  return std::string(colourNameOf(colour));
}

std::optional<std::string> WinDescriptionSources::strunzText(const StrunzNumber& n) const {
  return data_.systematics().strunzText(n);
}

std::optional<std::string> WinDescriptionSources::heyText(const HeyNumber& n) const {
  return data_.systematics().heyText(n);
}

std::vector<MineralLocality> WinDescriptionSources::localitiesOfMineral(MineralNumber n) const {
  if (data_.collection().unavailable()) return {};
  return collectionLocalitiesOfMineral(data_.collection(), n);
}

void WinDescriptionSources::beep() const { MessageBeep(0); }

}  // namespace kalvor::shell
