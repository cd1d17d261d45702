// The start-up data loading: one operation opens every reference file, loads
// the tables that stay in memory for the run, rebuilds the derived files
// "kalvor.fl" and "kalvor.si" when they are missing or stale, and opens the
// user's collection. Everything it opened is owned by one ReferenceData.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "collection/collection.h"
#include "collection/value_index.h"
#include "determination/colours.h"
#include "determination/search_index.h"
#include "refdb/drawing_blocks.h"
#include "refdb/mineral_record.h"
#include "refdb/names.h"
#include "refdb/picture_file.h"
#include "refdb/picture_list.h"
#include "refdb/systematics.h"
#include "string_ids.h"

namespace kalvor {

class Settings;

// String-table ids of the start-up failures (text, caption).
inline constexpr int kMsgInitialisationFailed = strings::kStrInitialisationFailed;
inline constexpr int kMsgInitialisationCaption = strings::kStrInitialisationCaption;
inline constexpr int kMsgDiskFull = strings::kStrDiskFull;
inline constexpr int kMsgDiskFullCaption = strings::kStrDiskFullCaption;

// Free space below which the search index is not rebuilt.
inline constexpr std::uint64_t kMinFreeSpaceForIndex = 800000;

// What the start-up reports while it works. The Win32 shell shows the
// modeless dialog "IndexAufbau" between the two search-index calls; the
// value-index rebuild lines arrive through ProgressSink::progress.
class StartupProgress : public ProgressSink {
 public:
  // The search index is about to be rebuilt (may take a while).
  virtual void searchIndexRebuildStarted() = 0;
  // The rebuild has ended, written or not.
  virtual void searchIndexRebuildFinished() = 0;
};

// Which derived data a start had to build anew (all false on a start with
// unchanged files).
struct StartupRebuilds {
  bool nameList = false;      // "kalvor.fl" written (from "kalvor.na" or "kalvor.db")
  bool searchIndex = false;   // "kalvor.si" built
  bool valueIndex = false;    // "kalvor.vi" rebuilt from the records
};

// The inputs of openReferenceData besides the folder.
struct StartupOptions {
  // "kalvor.ini" (not owned, may be null, must outlive the ReferenceData).
  Settings* settings = nullptr;
  // Not owned, may be null.
  StartupProgress* progress = nullptr;
  // Free bytes on the folder's drive; freeDiskSpace when empty. Nothing from
  // it means "unknown", which does not stop the rebuild.
  std::function<std::optional<std::uint64_t>(const std::string&)> freeSpace;
  // For the repair of a damaged collection: a collection that does not open
  // does not stop the start (its openProblem() tells why).
  bool collectionMayFail = false;
};

class ReferenceData;

// The outcome of a start: the opened data, or the message to show (text and
// caption ids) before the program ends with exit code -1.
struct StartupResult {
  std::unique_ptr<ReferenceData> data;
  int messageId = 0;
  int captionId = 0;
  // A sentence naming the file that failed and why (Windows-1252), shown
  // after the message; empty when there is none.
  std::string detail;
  // True iff the program can go on.
  bool ready() const { return data != nullptr; }
};

// Runs the start-up over the files in `folder` ("" = working directory), in
// this order: "kalvor.mi"/"kalvor.db" (their count sizes the rest), drawings,
// pictures with their lists, name list, colour groups, search index,
// systematics, then the collection (stores, value index, sort orders). "kalvor.mi" or "kalvor.db" missing or
// shorter than their counts, or the collection not opening: 10002/10003.
// Too little disk space for a needed index rebuild: 10006/10007.
StartupResult openReferenceData(const std::string& folder, const StartupOptions& options = {});

// Everything the start-up opened and loaded, kept for the whole run and
// released by the destructor (the collection files are closed and marked
// read-only then).
class ReferenceData {
 public:
  ReferenceData(const ReferenceData&) = delete;
  ReferenceData& operator=(const ReferenceData&) = delete;
  ~ReferenceData();

  const std::string& folder() const { return folder_; }
  // N, the entries of "kalvor.mi", aliases included.
  std::uint32_t mineralCount() const { return database_.entryCount(); }
  const MineralDatabase& database() const { return database_; }
  // Crystal drawings; nothing when "kalvor.lf" is missing.
  const DrawingFile* drawings() const { return drawings_ ? &*drawings_ : nullptr; }
  // Pictures and the per-mineral picture lists: both or neither.
  const PictureFile* pictures() const { return pictures_ ? &*pictures_ : nullptr; }
  const PictureListFile* pictureLists() const { return pictureLists_ ? &*pictureLists_ : nullptr; }
  const MineralNameList& names() const { return names_; }
  const ColourTable& colours() const { return colours_; }
  // Number of colour choices of the determination dialog.
  int colourChoiceCount() const { return colourChoiceCount_; }
  const SearchIndex& searchIndex() const { return *searchIndex_; }
  const Systematics& systematics() const { return systematics_; }
  Collection& collection() { return *collection_; }
  // What this start had to rebuild.
  const StartupRebuilds& rebuilds() const { return rebuilds_; }

 private:
  friend StartupResult openReferenceData(const std::string&, const StartupOptions&);
  ReferenceData(std::string folder, MineralDatabase database)
      : folder_(std::move(folder)), database_(std::move(database)) {}

  std::string folder_;
  MineralDatabase database_;
  std::optional<DrawingFile> drawings_;
  std::optional<PictureFile> pictures_;
  std::optional<PictureListFile> pictureLists_;
  MineralNameList names_;
  ColourTable colours_;
  int colourChoiceCount_ = 0;
  std::optional<SearchIndex> searchIndex_;
  Systematics systematics_;
  std::unique_ptr<Collection> collection_;  // refers to names_, so declared after it
  StartupRebuilds rebuilds_;
};

// The stamp of a search index that fits a database of `mineralCount` entries,
// as the start-up compares it: (N + 945) truncated to 16 bits, taken signed.
std::int16_t expectedIndexStamp(std::uint32_t mineralCount);

}  // namespace kalvor
