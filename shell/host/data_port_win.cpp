#include <windows.h>

#include <cstdio>

#include "collection/collection_repair.h"
#include "collection/locality_form.h"
#include "collection/mineral_specimen.h"
#include "resources/resource_ids.h"
#include "shell/dialogs/progress_dialog.h"
#include "shell/host/win_ports.h"

namespace kalvor::shell {

Collection* WinData::collection() const { return app_.data.reference ? &app_.data.reference->collection() : nullptr; }

bool WinData::indexDamaged() const {
  Collection* c = collection();
  return c ? c->unavailable() : app_.views.indexDamaged;
}

std::int32_t WinData::localityCount() const {
  const Collection* c = collection();
  return c ? static_cast<std::int32_t>(c->localityCount()) : 0;
}

std::int32_t WinData::specimenCount() const {
  const Collection* c = collection();
  return c ? static_cast<std::int32_t>(c->specimenCount()) : 0;
}

std::int32_t WinData::glossaryCount() const {
  return app_.data.glossary ? static_cast<std::int32_t>(app_.data.glossary->entryCount()) : 0;
}

RecordSet WinData::allRecords(std::uint16_t field) {
  Collection* c = collection();
  if (!c) return {};
  return c->valueIndex().getRecordSet(IndexValue::ofNumber(0), field).value_or(RecordSet());
}

RecordSet WinData::allLocalities() { return allRecords(index_field::kLocalityAll); }
RecordSet WinData::allSpecimens() { return allRecords(index_field::kSpecimenAll); }

void WinData::openGlossary() {
  if (!app_.data.glossary) app_.data.glossary = Glossary::open(app_.data.reference ? app_.data.reference->folder() : std::string());
}

bool WinData::deleteSpecimen(std::int32_t record) {
  Collection* c = collection();
  if (!c || record <= 0) return false;
  const CollectionMessage m = deleteSpecimenFromList(*c, static_cast<std::uint32_t>(record));
  if (m == CollectionMessage::kNone) return true;
  MessageBoxA(app_.windows.main, collectionMessageText(m).c_str(),
              collectionMessageText(collectionMessageCaption(m)).c_str(), MB_ICONEXCLAMATION);
  return false;
}

void WinData::resortSpecimens() {
  Collection* c = collection();
  if (!c) return;
  c->resortSpecimens();
  c->saveSpecimenOrder();
}

bool WinData::repairCollection() {
  Collection* c = collection();
  if (!c || c->inExchangeMode()) return false;
  const char* caption = "Sammlung reparieren";
  std::string question = c->damaged() ? c->damageReport() + "\n\n" : std::string();
  question +=
      "Die Reparatur \xFC" "bernimmt jeden lesbaren Fundort und jede lesbare Stufe in neue Sammlungsdateien; "
      "besch\xE4" "digte Dateien bleiben unver\xE4ndert mit Datum im Namen im Datenordner liegen. Danach wird "
      "der Suchindex neu aufgebaut.\n\nWollen Sie die Sammlung jetzt reparieren?";
  if (MessageBoxA(app_.windows.main, question.c_str(), caption, MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  char date[16];
  std::snprintf(date, sizeof date, "%04u-%02u-%02u", now.wYear, now.wMonth, now.wDay);
  RepairResult result;
  {
    const HCURSOR previous = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    ProgressDialog progress(app_.windows.instance, app_.windows.main, "IndexAufbau1", ID_PROGRESS_LINE);
    result = kalvor::repairCollection(*c, c->folder(), date, &progress);
    SetCursor(previous);
  }
  MessageBoxA(app_.windows.main, repairReport(result).c_str(), caption,
              result.ok ? MB_ICONINFORMATION : MB_ICONEXCLAMATION);
  // The collection was opened anew: its lists are built again either way.
  return true;
}

}  // namespace kalvor::shell
