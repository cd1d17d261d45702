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
  // The name list's own rule: collation order, the text as a prefix.
  const std::vector<std::uint16_t> found = parseMineralList(data_.names(), name);
  if (found.empty() || found.front() == 0) return std::nullopt;
  return static_cast<MineralNumber>(found.front() - 1);
}

std::optional<std::uint16_t> WinDescriptionSources::findGlossaryEntry(std::string_view word) const {
  if (!glossary_) return std::nullopt;
  // An entry names its term between a leading "#" and the next one.
  for (std::uint16_t i = 0; i < glossary_->entryCount(); ++i) {
    const std::optional<std::string> text = glossary_->entry(i);
    if (!text || text->empty() || (*text)[0] != '#') continue;
    const std::size_t end = text->find('#', 1);
    if (end != std::string::npos && std::string_view(*text).substr(1, end - 1) == word) return i;
  }
  return std::nullopt;
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
