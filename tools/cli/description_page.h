// The description pages of kalvor-cli: minerals, localities and specimens,
// laid out by the same code as the program's description window on a text
// canvas and printed as UTF-8.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/startup.h"
#include "collection/collection.h"
#include "determination/description.h"
#include "refdb/glossary.h"
#include "refdb/mineral_record.h"
#include "refdb/names.h"
#include "refdb/systematics.h"

namespace kalvor {
class Settings;
}

namespace kalvor::cli {

// The reference data and (when the data folder holds one) the collection,
// as the description layout asks for them.
class CliDescriptionSources : public DescriptionSources {
 public:
  CliDescriptionSources(const MineralDatabase& database, const MineralNameList& names,
                        const Systematics& systematics, const std::optional<Glossary>& glossary,
                        Collection* collection)
      : database_(database), names_(names), systematics_(systematics), glossary_(glossary),
        collection_(collection) {}

  MineralRecord mineralRecord(MineralNumber n) const override;
  std::optional<MineralNumber> findMineral(std::string_view name) const override;
  std::optional<std::uint16_t> findGlossaryEntry(std::string_view word) const override;
  std::string colourName(std::uint16_t colour) const override;
  std::optional<std::string> strunzText(const StrunzNumber& n) const override;
  std::optional<std::string> heyText(const HeyNumber& n) const override;
  std::vector<MineralLocality> localitiesOfMineral(MineralNumber n) const override;

 private:
  const MineralDatabase& database_;
  const MineralNameList& names_;
  const Systematics& systematics_;
  const std::optional<Glossary>& glossary_;
  Collection* collection_;
};

// Lays out one page with `draw` over the opened data and prints it.
void printDescriptionPage(ReferenceData& ref, const std::string& folder, Settings* settings,
                          const std::function<void(DescriptionLayout&, const LayoutArea&)>& draw);

}  // namespace kalvor::cli
