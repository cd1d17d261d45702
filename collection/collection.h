// The user's collection as one object: the locality and specimen stores
// ("kalvor.fs", "kalvor.st"), the value index ("kalvor.vi"), the two sort
// orders with their side files and what the entry rules need around them
// (the mineral name list, the settings). Every locality and specimen
// operation takes the collection it works on.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "collection/record_store.h"
#include "collection/sort_order.h"
#include "collection/value_index.h"

namespace kalvor {

class ExchangeList;
class MineralNameList;
class Settings;

class Collection {
 public:
  enum class OpenResult {
    kReady,        // stores and index usable
    kRebuilt,      // usable; the value index had to be rebuilt first
    kUnavailable,  // a store or the index failed: the collection-unavailable flag is set
  };

  // `names`, `settings` (may be null) and `files` are not owned and must
  // outlive the collection; `mineralCount` is the number of entries of the
  // mineral database. Every collection file is reached through `files`.
  Collection(const MineralNameList& names, std::uint32_t mineralCount, Settings* settings,
             FileLayer& files = systemFileLayer());
  Collection(const Collection&) = delete;
  Collection& operator=(const Collection&) = delete;
  ~Collection();

  // Opens the three store files in `folder` (clearing the read-only marks of
  // "kalvor.fs" and "kalvor.st"), rebuilds the value index when it is empty
  // beside records or was left half-updated, and loads both sort orders from
  // their side files or sorts and saves them anew.
  OpenResult open(const std::string& folder, ProgressSink* progress = nullptr);
  // Closes the stores and the index and marks "kalvor.fs" and "kalvor.st" read-only.
  void close();
  // After open() gave kUnavailable: a German sentence naming the file that
  // failed and why (Windows-1252); empty otherwise.
  const std::string& openProblem() const { return openProblem_; }
  // After open(): a German sentence about a deletion that an interruption
  // had left half done and that the open has completed (or could not
  // complete); empty when there was none.
  const std::string& openNotice() const { return openNotice_; }

  // Records of a store that could not be read at open (a damaged slot page,
  // directory entry or block). A damaged collection is only read: every
  // write is refused until it has been repaired.
  struct StoreDamage {
    std::string fileName;
    std::uint32_t records = 0;     // the store's record count
    std::uint32_t unreadable = 0;  // of them unreadable
  };
  const std::vector<StoreDamage>& damage() const { return damage_; }
  bool damaged() const { return !damage_.empty(); }
  // The German report of the damage (which files, how many records), with
  // what the user can do; empty when there is none.
  std::string damageReport() const;

  // One user action (a save, a deletion, a rebuild, possibly nested): when
  // the outermost one ends, what it wrote is made durable on the disk, once.
  void beginAction() { ++actionDepth_; }
  void endAction();
  // Makes the stores and the index durable; false when the disk refused.
  bool syncStores();
  // True once making a completed action durable failed.
  bool syncFailed() const { return syncFailed_; }

  const MineralNameList& names() const { return names_; }
  std::uint32_t mineralCount() const { return mineralCount_; }
  Settings* settings() const { return settings_; }
  FileLayer& files() const { return *files_; }
  const std::string& folder() const { return folder_; }
  // Path of a plain file name in the collection's folder.
  std::string filePath(const char* name) const;

  // The user's stores; nothing while an exchange list is open, so that no
  // write can reach the user's files in the exchange-assistant mode.
  RecordStore* localityStore();
  RecordStore* specimenStore();
  // The value index in use: the exchange list's while one is open.
  ValueIndex& valueIndex();
  // True while the collection-unavailable flag is set: no index updates.
  bool unavailable();

  // Highest locality / specimen number issued so far (0 without a store).
  std::uint32_t localityCount() const;
  std::uint32_t specimenCount() const;

  // The sort orders in use: the exchange list's while one is open.
  SortOrder& localityOrder();
  SortOrder& specimenOrder();
  // Sorts the locality / specimen order anew with its comparator (the specimen
  // mode from "Stufensortierung") and saves its side file.
  bool resortLocalities();
  bool resortSpecimens();
  // Saves "kalvor.fss" / "kalvor.sts" (nothing is saved while an exchange
  // list is open: its orders live in memory only).
  bool saveLocalityOrder();
  bool saveSpecimenOrder();

  // Rebuilds the value index from the records (with the locality-list pass).
  // False while an exchange list is open.
  bool rebuildIndex(ProgressSink* progress);

  // What became of the value index after a save.
  enum class IndexAfterSave {
    kUpToDate,    // every key change was written
    kRebuilt,     // a key change failed; the index has been rebuilt now
    kLeftMarked,  // a key change failed and the rebuild too: the next start rebuilds it
  };
  // Rebuilds the value index at once when an update of this session failed
  // (so searches do not answer from a wrong index until the next start).
  IndexAfterSave repairIndexAfterSave(ProgressSink* progress);

  // --- Exchange-assistant mode ----------------------------------------------
  // While an exchange list is open every locality and specimen read, both
  // counts, the value index and both sort orders are the exchange list's; the
  // user's stores, index and orders stay open and untouched.
  bool inExchangeMode() const { return exchange_ != nullptr; }
  ExchangeList* exchangeList() { return exchange_.get(); }
  // Switches to `list` (replacing any open one).
  void enterExchangeMode(std::unique_ptr<ExchangeList> list);
  // Closes the exchange list; the user's collection is current again.
  void leaveExchangeMode();

 private:
  std::optional<RecordStore> openUserStore(const char* name, const StoreLayout& layout);
  void checkForDamage();
  void completeInterruptedCommand();

  const MineralNameList& names_;
  std::uint32_t mineralCount_;
  Settings* settings_;
  FileLayer* files_;
  std::string folder_;
  std::string openProblem_;
  std::string openNotice_;
  std::vector<StoreDamage> damage_;
  int actionDepth_ = 0;
  bool syncFailed_ = false;
  std::optional<RecordStore> localities_;
  std::optional<RecordStore> specimens_;
  ValueIndex index_;
  SortOrder localityOrder_;
  SortOrder specimenOrder_;
  std::unique_ptr<ExchangeList> exchange_;
};

// The records of a collection as the value-index rebuild reads them.
class CollectionRebuildSource : public IndexRebuildSource {
 public:
  explicit CollectionRebuildSource(Collection& collection) : collection_(collection) {}
  std::uint32_t localityCount() override;
  std::uint32_t specimenCount() override;
  std::optional<Locality> readLocality(std::uint32_t n) override;
  std::optional<Specimen> readSpecimen(std::uint32_t n) override;
  bool replaceLocalitySpecimens(std::uint32_t n, const std::vector<std::uint32_t>& specimens) override;

 private:
  Collection& collection_;
};

// Groups the value-index changes of one save: the index carries its update
// mark from construction to destruction. The mark is cleared only when the
// save called finish(true): a save that failed, or returned early, leaves it
// set, so the index is rebuilt instead of being trusted. The save is one user
// action: the outermost one makes the files durable when it ends.
class IndexUpdate {
 public:
  explicit IndexUpdate(Collection& collection);
  ~IndexUpdate();
  IndexUpdate(const IndexUpdate&) = delete;
  IndexUpdate& operator=(const IndexUpdate&) = delete;

  // `ok`: the records and every index change of the save were written.
  // Returns `ok`.
  bool finish(bool ok);

 private:
  Collection& collection_;
  ValueIndex* index_;
  bool ok_ = false;
};

// One user action as a scope (see Collection::beginAction).
class UserAction {
 public:
  explicit UserAction(Collection& collection) : collection_(collection) { collection_.beginAction(); }
  ~UserAction() { collection_.endAction(); }
  UserAction(const UserAction&) = delete;
  UserAction& operator=(const UserAction&) = delete;

 private:
  Collection& collection_;
};

}  // namespace kalvor
