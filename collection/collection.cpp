#include "collection/collection.h"

#include "base/file_io.h"
#include "collection/command_journal.h"
#include "collection/exchange_list.h"
#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "collection/store_format.h"
#include "refdb/collation.h"

namespace kalvor {

Collection::Collection(const MineralNameList& names, std::uint32_t mineralCount, Settings* settings,
                       FileLayer& files)
    : names_(names),
      mineralCount_(mineralCount),
      settings_(settings),
      files_(&files),
      index_(
          mineralCount,
          [](std::string_view a, std::string_view b) {
            return collateCompare(a, b, kNameCompareLength, kNameCompareLength);
          },
          settings, files) {}

Collection::~Collection() { close(); }

std::string Collection::filePath(const char* name) const { return joinPath(folder_, name); }

Collection::OpenResult Collection::open(const std::string& folder, ProgressSink* progress) {
  close();
  folder_ = folder;
  openProblem_.clear();
  openNotice_.clear();
  damage_.clear();
  index_.loadUnavailableFlag();
  // One after the other, so that nothing is created beside a file that
  // turned out not to be a store.
  localities_ = openUserStore(store_format::kLocalityFileName, kLocalityStoreLayout);
  if (localities_) specimens_ = openUserStore(store_format::kSpecimenFileName, kSpecimenStoreLayout);
  if (!localities_ || !specimens_) return OpenResult::kUnavailable;
  checkForDamage();
  OpenResult result = OpenResult::kReady;
  const ValueIndex::OpenResult indexOpen =
      index_.openValueIndex(filePath(store_format::kValueIndexFileName), localityCount() + specimenCount());
  if (indexOpen == ValueIndex::OpenResult::kFailed) {
    index_.setUnavailable(true);
    openProblem_ = std::string("Die Datei \"") + store_format::kValueIndexFileName +
                   "\" im Datenordner kann nicht ge\xF6"
                   "ffnet werden.";
    result = OpenResult::kUnavailable;
  } else if (indexOpen == ValueIndex::OpenResult::kNeedsRebuild && !damaged()) {
    // A damaged collection is not written to, not even by a rebuild: the
    // repair rebuilds the index afterwards.
    result = rebuildIndex(progress) ? OpenResult::kRebuilt : OpenResult::kUnavailable;
  }
  if (!loadSortOrder(filePath(kLocalityOrderFileName), localityCount(), localityOrder_, *files_))
    resortLocalities();
  if (!loadSortOrder(filePath(kSpecimenOrderFileName), specimenCount(), specimenOrder_, *files_))
    resortSpecimens();
  if (result != OpenResult::kUnavailable && !damaged()) completeInterruptedCommand();
  return result;
}

void Collection::checkForDamage() {
  damage_.clear();
  auto scan = [this](RecordStore& store, const char* name, bool localities) {
    std::uint32_t undecodable = 0;
    const RecordStore::RecordScan found =
        store.readAllRecords([&](std::uint32_t, std::span<const std::uint8_t> payload) {
          const bool ok =
              localities ? decodeLocality(payload, false).has_value() : decodeSpecimen(payload).has_value();
          if (!ok) ++undecodable;
        });
    if (found.unreadable + undecodable > 0)
      damage_.push_back({name, store.count(), found.unreadable + undecodable});
  };
  scan(*localities_, store_format::kLocalityFileName, true);
  scan(*specimens_, store_format::kSpecimenFileName, false);
  // A write would take the place of what is still in the file and make the
  // loss permanent.
  if (damaged()) {
    localities_->refuseWrites();
    specimens_->refuseWrites();
  }
}

std::string Collection::damageReport() const {
  if (damage_.empty()) return {};
  std::string text =
      "Die Sammlung ist besch\xE4"
      "digt:";
  for (const StoreDamage& d : damage_) {
    text += " In der Datei \"" + d.fileName + "\" sind " + std::to_string(d.unreadable) + " von " +
            std::to_string(d.records) + " Datens\xE4tzen nicht lesbar.";
  }
  text +=
      " Bis zur Reparatur wird nichts gespeichert. Bitte reparieren Sie die Sammlung "
      "(Datei, Sammlung reparieren, oder kalvor-cli reparatur).";
  return text;
}

void Collection::completeInterruptedCommand() {
  openNotice_.clear();
  PendingDeletion deletion;
  const PendingOutcome outcome = completePendingDeletion(*this, &deletion);
  if (outcome == PendingOutcome::kNone) return;
  const std::string which =
      deletion.locality != 0 ? " des Fundorts " + std::to_string(deletion.locality) : "";
  if (outcome == PendingOutcome::kCompleted) {
    openNotice_ = "Das L\xF6schen" + which + " war unterbrochen worden und wurde jetzt abgeschlossen.";
  } else {
    openNotice_ = "Das L\xF6schen" + which +
                  " war unterbrochen worden und konnte nicht abgeschlossen werden (Datei \"" +
                  kJournalFileName +
                  "\"); es wird beim n\xE4"
                  "chsten \xD6"
                  "ffnen erneut versucht.";
  }
}

std::optional<RecordStore> Collection::openUserStore(const char* name, const StoreLayout& layout) {
  const std::string path = filePath(name);
  // The files are marked read-only at shut-down; a missing file is created.
  const bool present = files_->presence(path) == FilePresence::kPresent;
  if (present) files_->setReadOnly(path, false);
  StoreOpenError error = StoreOpenError::kNone;
  std::optional<RecordStore> store =
      RecordStore::openStoreFile(path, layout, StoreOpenMode::kReadWrite, *files_, &error);
  if (store && !store->matchesItsCount()) {
    store.reset();
    error = StoreOpenError::kNotAStore;
  }
  if (store) return store;
  if (error == StoreOpenError::kNotAStore) {
    // Never a fresh start over the user's file: it stays as it is, mark included.
    openProblem_ =
        std::string("Die Datei \"") + name +
        "\" im Datenordner ist keine g\xFCltige Sammlungsdatei; sie wurde nicht ver\xE4ndert. Ist sie "
        "besch\xE4"
        "digt, rettet die Reparatur (Datei, Sammlung reparieren, oder kalvor-cli reparatur) "
        "jeden lesbaren Datensatz.";
  } else {
    openProblem_ = std::string("Die Datei \"") + name +
                   "\" im Datenordner kann nicht ge\xF6"
                   "ffnet werden.";
    index_.setUnavailable(true);
  }
  if (present) files_->setReadOnly(path, true);
  return std::nullopt;
}

void Collection::close() {
  exchange_.reset();
  if (index_.isOpen()) index_.closeValueIndex();
  const bool hadStores = localities_.has_value() || specimens_.has_value();
  localities_.reset();
  specimens_.reset();
  if (hadStores) {
    files_->setReadOnly(filePath(store_format::kLocalityFileName), true);
    files_->setReadOnly(filePath(store_format::kSpecimenFileName), true);
  }
}

std::uint32_t Collection::localityCount() const {
  if (exchange_) return exchange_->localityCount();
  return localities_ ? localities_->count() : 0;
}
std::uint32_t Collection::specimenCount() const {
  if (exchange_) return exchange_->specimenCount();
  return specimens_ ? specimens_->count() : 0;
}

RecordStore* Collection::localityStore() { return !exchange_ && localities_ ? &*localities_ : nullptr; }
RecordStore* Collection::specimenStore() { return !exchange_ && specimens_ ? &*specimens_ : nullptr; }
ValueIndex& Collection::valueIndex() { return exchange_ ? exchange_->valueIndex() : index_; }
bool Collection::unavailable() { return valueIndex().unavailable(); }
SortOrder& Collection::localityOrder() { return exchange_ ? exchange_->localityOrder() : localityOrder_; }
SortOrder& Collection::specimenOrder() { return exchange_ ? exchange_->specimenOrder() : specimenOrder_; }

void Collection::enterExchangeMode(std::unique_ptr<ExchangeList> list) { exchange_ = std::move(list); }
void Collection::leaveExchangeMode() { exchange_.reset(); }

bool Collection::resortLocalities() {
  LocalityComparator comparator(*this);
  sortAll(localityOrder(), localityCount(), comparator);
  return saveLocalityOrder();
}

bool Collection::resortSpecimens() {
  SpecimenComparator comparator(*this);
  sortAll(specimenOrder(), specimenCount(), comparator);
  return saveSpecimenOrder();
}

bool Collection::saveLocalityOrder() {
  if (exchange_) return true;
  return saveSortOrder(filePath(kLocalityOrderFileName), localityOrder_, *files_);
}
bool Collection::saveSpecimenOrder() {
  if (exchange_) return true;
  return saveSortOrder(filePath(kSpecimenOrderFileName), specimenOrder_, *files_);
}

bool Collection::rebuildIndex(ProgressSink* progress) {
  if (exchange_ || !index_.isOpen()) return false;
  // The locality lists it mends are written once, at the end, not per record.
  UserAction action(*this);
  CollectionRebuildSource source(*this);
  return index_.rebuildValueIndex(source, progress, true);
}

Collection::IndexAfterSave Collection::repairIndexAfterSave(ProgressSink* progress) {
  if (exchange_ || !index_.isOpen() || !index_.updateFailed()) return IndexAfterSave::kUpToDate;
  return rebuildIndex(progress) ? IndexAfterSave::kRebuilt : IndexAfterSave::kLeftMarked;
}

void Collection::endAction() {
  if (actionDepth_ > 0 && --actionDepth_ == 0 && !syncStores()) syncFailed_ = true;
}

bool Collection::syncStores() {
  // The records before the index that describes them.
  bool ok = true;
  if (localities_) ok &= localities_->sync();
  if (specimens_) ok &= specimens_->sync();
  if (RecordStore* index = index_.store()) ok &= index->sync();
  return ok;
}

// --- CollectionRebuildSource -------------------------------------------------

std::uint32_t CollectionRebuildSource::localityCount() { return collection_.localityCount(); }
std::uint32_t CollectionRebuildSource::specimenCount() { return collection_.specimenCount(); }

std::optional<IndexRebuildSource::Locality> CollectionRebuildSource::readLocality(std::uint32_t n) {
  std::optional<kalvor::Locality> loc = kalvor::readLocality(collection_, n, false);
  if (!loc) return std::nullopt;
  IndexRebuildSource::Locality out;
  out.deleted = loc->deleted();
  // Keys are the texts as stored: at most 39 characters.
  out.country = loc->country.substr(0, locality_format::kTextFieldBytes - 1);
  out.region = loc->region.substr(0, locality_format::kTextFieldBytes - 1);
  for (std::uint16_t m : loc->minerals)
    out.minerals.push_back(static_cast<std::uint16_t>(m & locality_format::kMineralMask));
  out.specimens = loc->specimens;
  return out;
}

std::optional<IndexRebuildSource::Specimen> CollectionRebuildSource::readSpecimen(std::uint32_t n) {
  std::optional<kalvor::Specimen> s = kalvor::readSpecimen(collection_, n);
  if (!s) return std::nullopt;
  IndexRebuildSource::Specimen out;
  out.deleted = s->deleted();
  out.flags = s->flags;
  out.minerals = s->minerals;
  out.localityValue = s->localityValue;
  return out;
}

bool CollectionRebuildSource::replaceLocalitySpecimens(std::uint32_t n,
                                                       const std::vector<std::uint32_t>& specimens) {
  std::optional<kalvor::Locality> loc = kalvor::readLocality(collection_, n, false);
  if (!loc) return false;
  loc->specimens = specimens;
  recomputeLocalityMinerals(collection_, *loc, nullptr);
  return writeLocality(collection_, n, *loc);
}

// --- IndexUpdate -------------------------------------------------------------

IndexUpdate::IndexUpdate(Collection& collection)
    : collection_(collection),
      index_(collection.valueIndex().isOpen() && !collection.unavailable() ? &collection.valueIndex()
                                                                           : nullptr) {
  collection_.beginAction();
  if (index_ != nullptr) index_->beginUpdate();
}

IndexUpdate::~IndexUpdate() {
  if (index_ != nullptr) index_->endUpdate(ok_);
  collection_.endAction();
}

bool IndexUpdate::finish(bool ok) {
  ok_ = ok;
  return ok;
}

}  // namespace kalvor
