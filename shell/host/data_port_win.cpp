#include <windows.h>

#include "collection/locality_form.h"
#include "collection/mineral_specimen.h"
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

}  // namespace kalvor::shell
