#include "app/startup.h"

#include <filesystem>
#include <system_error>

#include "base/file_io.h"
#include "platform/disk_space.h"
#include "refdb/collation.h"
#include "refdb/name_list_builder.h"

namespace kalvor {
namespace {

StartupResult failure(int messageId, int captionId) {
  StartupResult result;
  result.messageId = messageId;
  result.captionId = captionId;
  return result;
}

StartupResult initialisationFailure() {
  return failure(kMsgInitialisationFailed, kMsgInitialisationCaption);
}

void removeFile(const std::string& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
}

// True iff every entry kalvor.mi announces starts inside kalvor.db: a record
// file cut short would otherwise give zero-filled minerals for the whole run.
bool recordFileCoversEntries(const MineralDatabase& database, std::uint64_t recordFileSize) {
  for (std::uint32_t n = 0; n < database.entryCount(); ++n) {
    const std::optional<std::uint32_t> offset =
        database.entryOffset(static_cast<MineralNumber>(n));
    if (!offset || *offset >= recordFileSize) return false;
  }
  return true;
}

// True iff a loaded name list can belong to this database: one name per
// entry and every id naming an entry. A list left from another database
// would show names that open the wrong descriptions.
bool nameListFits(const MineralNameList& list, std::uint32_t mineralCount) {
  if (list.size() != mineralCount) return false;
  for (const NameListNode& node : list.nodes()) {
    if (node.id == 0 || node.id > mineralCount) return false;
  }
  return true;
}

// True iff the list is in the order of the present collation. A list stored
// by a program that sorted differently (Šlikit before Abellait) is stale
// and is sorted anew; a hand-made list out of order would break the
// letter buckets and the name search.
bool nameListInOrder(const MineralNameList& list) {
  const std::vector<NameListNode>& nodes = list.nodes();
  for (std::size_t i = 1; i < nodes.size(); ++i) {
    if (collateCompare(nodes[i - 1].name, nodes[i].name, kNameCompareLength, kNameCompareLength) > 0)
      return false;
  }
  return true;
}

}  // namespace

std::int16_t expectedIndexStamp(std::uint32_t mineralCount) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(mineralCount + kIndexSlotCount));
}

ReferenceData::~ReferenceData() {
  // The collection goes first: it refers to the name list.
  collection_.reset();
}

StartupResult openReferenceData(const std::string& folder, const StartupOptions& options) {
  const auto path = [&folder](const char* name) { return joinPath(folder, name); };

  // The mineral files are required; both are read whole and only read, so a
  // write-protected installation starts as well.
  std::optional<MineralDatabase> database = MineralDatabase::open(folder);
  if (!database) return initialisationFailure();
  std::error_code ec;
  const std::uintmax_t recordFileSize = std::filesystem::file_size(path("kalvor.db"), ec);
  if (ec || !recordFileCoversEntries(*database, recordFileSize)) return initialisationFailure();

  std::unique_ptr<ReferenceData> data(new ReferenceData(folder, std::move(*database)));
  const std::uint32_t mineralCount = data->mineralCount();

  // Drawings may be missing. Pictures come with their per-mineral lists or not at all.
  data->drawings_ = DrawingFile::open(folder, mineralCount);
  data->pictures_ = PictureFile::open(path("kalvor.pf"));
  if (data->pictures_) {
    data->pictureLists_ = PictureListFile::open(folder, mineralCount);
    if (!data->pictureLists_) data->pictures_.reset();
  }

  // Name list: the stored list, else the unsorted names, else the database.
  const std::string storedNames = path("kalvor.fl");
  const std::string unsortedNames = path("kalvor.na");
  std::optional<MineralNameList> names = loadMineralNameList(storedNames, NameListForm::kStored);
  if (names && (!nameListFits(*names, mineralCount) || !nameListInOrder(*names))) names.reset();
  if (!names) {
    names = loadMineralNameList(unsortedNames, NameListForm::kUnsorted);
    if (names && !nameListFits(*names, mineralCount)) names.reset();
    if (!names) names = buildMineralNameList(data->database_);
    data->rebuilds_.nameList = true;
    // The unsorted file is only needed until the stored list exists; when that
    // cannot be written (write-protected folder) both stay as they were and
    // the next start sorts again.
    if (saveMineralNameList(storedNames, *names)) removeFile(unsortedNames);
  }
  data->names_ = std::move(*names);

  data->colourChoiceCount_ = data->colours_.buildColourGroups();

  // Search index: its stamp ties it to the entry count.
  const std::string indexPath = path("kalvor.si");
  std::optional<SearchIndex> index = SearchIndex::open(indexPath);
  if (index && (static_cast<std::int16_t>(index->stamp()) != expectedIndexStamp(mineralCount) ||
                !index->fits(mineralCount))) {
    index.reset();
  }
  if (!index) {
    // The stale file goes first, so that a start refused for lack of space
    // tries again next time.
    removeFile(indexPath);
    const std::optional<std::uint64_t> free =
        options.freeSpace ? options.freeSpace(folder) : freeDiskSpace(folder);
    if (free && *free < kMinFreeSpaceForIndex) return failure(kMsgDiskFull, kMsgDiskFullCaption);
    if (options.progress) options.progress->searchIndexRebuildStarted();
    const ColourTable& colours = data->colours_;
    Bytes built = buildSearchIndex(data->database_, [&colours](int colourNumber) {
      return static_cast<int>(colours.colourGroupOf(static_cast<std::uint16_t>(colourNumber)));
    });
    // A failed write still leaves the index built in memory for this run.
    writeWholeFile(indexPath, built);
    if (options.progress) options.progress->searchIndexRebuildFinished();
    index.emplace(std::move(built));
    data->rebuilds_.searchIndex = true;
  }
  data->searchIndex_ = std::move(index);

  data->systematics_ = Systematics::load(path("kalvor.sy"));

  // The collection: stores, value index and both sort orders, checked and
  // rebuilt as needed; its value index decides whether the program can go on.
  data->collection_ = std::make_unique<Collection>(data->names_, mineralCount, options.settings);
  const Collection::OpenResult opened = data->collection_->open(folder, options.progress);
  if (opened == Collection::OpenResult::kUnavailable && !options.collectionMayFail) {
    StartupResult failed = initialisationFailure();
    failed.detail = data->collection_->openProblem();
    return failed;
  }
  data->rebuilds_.valueIndex = opened == Collection::OpenResult::kRebuilt;

  StartupResult result;
  result.data = std::move(data);
  return result;
}

}  // namespace kalvor
