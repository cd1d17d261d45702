// The "&Drucken" menu's reports on the default printer: each is laid out by
// the same code that writes kalvor-cli's PDF files, on the printer's canvas.
#include "collection/locality.h"
#include "platform/settings.h"
#include "reports/collection_list.h"
#include "reports/locality_report.h"
#include "reports/mineral_profile.h"
#include "shell/description_sources_win.h"
#include "shell/host/win_ports.h"
#include "shell/print_job_win.h"
#include "string_ids.h"

namespace kalvor::shell {

namespace {

const Glossary* openGlossary(const AppContext& app) { return app.data.glossary ? &*app.data.glossary : nullptr; }

}  // namespace

void WinPrinting::printMineralProfile(std::int32_t mineralNumber) {
  if (!app_.data.reference || mineralNumber < 0) return;
  ReferenceData& data = *app_.data.reference;
  const WinDescriptionSources sources(data, openGlossary(app_));
  const DescriptionOptions options =
      app_.settings.ini ? readDescriptionOptions(*app_.settings.ini) : DescriptionOptions{};
  const MineralProfileSources profile{sources, options, &data.collection(), data.drawings()};
  runPrintJob(app_, strings::kStrPrintMineralProfile, false, [&](PageCanvas& device, PrintProgress*) {
    return kalvor::printMineralProfile(device, profile, static_cast<MineralNumber>(mineralNumber));
  });
}

void WinPrinting::printLocality(std::int32_t record) {
  if (!app_.data.reference || record <= 0) return;
  ReferenceData& data = *app_.data.reference;
  const std::optional<Locality> locality = readLocality(data.collection(), static_cast<std::uint32_t>(record));
  if (!locality || locality->deleted()) return;
  const WinDescriptionSources sources(data, openGlossary(app_));
  runPrintJob(app_, strings::kStrPrintLocalityDescription, false, [&](PageCanvas& device, PrintProgress*) {
    return printLocalityDescription(device, *locality, data.names(), sources);
  });
}

void WinPrinting::printSpecimenList(const std::optional<RecordSet>& records) {
  if (!app_.data.reference) return;
  ReferenceData& data = *app_.data.reference;
  const WinDescriptionSources sources(data, openGlossary(app_));
  runPrintJob(app_, strings::kStrPrintSpecimenList, true, [&](PageCanvas& device, PrintProgress* progress) {
    return kalvor::printSpecimenList(device, data.collection(), records, sources, progress);
  });
}

}  // namespace kalvor::shell
