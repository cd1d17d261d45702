// What the description layout reads in kalvor.exe: the loaded reference
// data, the user's collection and the glossary (for the links of reference
// words).
#pragma once

#include <optional>

#include "app/startup.h"
#include "determination/description.h"
#include "refdb/glossary.h"

namespace kalvor::shell {

class WinDescriptionSources final : public DescriptionSources {
 public:
  // `glossary` may be null: reference words are then drawn without links.
  WinDescriptionSources(ReferenceData& data, const Glossary* glossary) : data_(data), glossary_(glossary) {}

  MineralRecord mineralRecord(MineralNumber n) const override;
  std::optional<MineralNumber> findMineral(std::string_view name) const override;
  std::optional<std::uint16_t> findGlossaryEntry(std::string_view word) const override;
  std::string colourName(std::uint16_t colour) const override;
  std::optional<std::string> strunzText(const StrunzNumber& n) const override;
  std::optional<std::string> heyText(const HeyNumber& n) const override;
  std::vector<MineralLocality> localitiesOfMineral(MineralNumber n) const override;
  void beep() const override;

 private:
  ReferenceData& data_;
  const Glossary* glossary_;
};

}  // namespace kalvor::shell
