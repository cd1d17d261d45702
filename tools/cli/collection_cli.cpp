#include "tools/cli/collection_cli.h"

#include <cstdlib>
#include <filesystem>

#include "base/cp1252.h"
#include "base/file_io.h"
#include "refdb/mineral_record.h"

namespace kalvor::cli {

std::unique_ptr<CollectionSession> CollectionSession::open(const std::string& dataDir) {
  std::unique_ptr<CollectionSession> s(new CollectionSession());
  std::error_code ec;
  const std::optional<MineralDatabase> db = MineralDatabase::open(dataDir);
  std::optional<MineralNameList> names;
  if (std::filesystem::exists(joinPath(dataDir, "kalvor.fl"), ec))
    names = loadMineralNameList(joinPath(dataDir, "kalvor.fl"), NameListForm::kStored);
  if (!names && std::filesystem::exists(joinPath(dataDir, "kalvor.na"), ec))
    names = loadMineralNameList(joinPath(dataDir, "kalvor.na"), NameListForm::kUnsorted);
  if (!names && db) {
    std::vector<NameSource> sources;
    for (std::uint32_t n = 0; n < db->entryCount(); ++n) {
      const MineralRecord r = db->readMineralRecord(static_cast<MineralNumber>(n));
      sources.push_back({!r.isFullMineral(), r.name()});
    }
    names = MineralNameList::build(std::move(sources));
  }
  if (!names) {
    printError("Die Namensliste der Minerale (kalvor.fl, kalvor.na oder kalvor.db) fehlt im Datenordner.");
    return nullptr;
  }
  s->names_ = std::move(*names);
  std::uint32_t mineralCount = db ? db->entryCount() : 0;
  for (const NameListNode& node : s->names_.nodes())
    mineralCount = std::max<std::uint32_t>(mineralCount, node.id);
  s->settings_ = openPlatformSettings(joinPath(dataDir, "kalvor.ini"));
  s->collection_ = std::make_unique<Collection>(s->names_, mineralCount, s->settings_.get());
  if (s->collection_->open(dataDir) == Collection::OpenResult::kUnavailable) {
    printError(collectionMessageText(CollectionMessage::kSaveFailed));
    return nullptr;
  }
  return s;
}

int failWith(CollectionMessage message) {
  const CollectionMessage caption = collectionMessageCaption(message);
  std::string text;
  if (caption != CollectionMessage::kNone) text = collectionMessageText(caption) + ": ";
  printError(text + collectionMessageText(message));
  return 1;
}

std::optional<std::uint32_t> parseRecordNumber(const std::optional<std::string>& word,
                                               const char* what) {
  if (word) {
    char* end = nullptr;
    const unsigned long v = std::strtoul(word->c_str(), &end, 10);
    if (!word->empty() && *end == '\0' && v >= 1 && v <= 0x7FFFF) return static_cast<std::uint32_t>(v);
  }
  printError(std::string("Bitte geben Sie die Nummer ") + what + " an.");
  return std::nullopt;
}

bool rejectRest(const Arguments& args) {
  if (args.rest().empty()) return false;
  std::string words;
  for (const std::string& w : args.rest()) words += (words.empty() ? "" : " ") + w;
  printError("Unbekannte Angaben: " + utf8ToCp1252Lossy(words));
  return true;
}

}  // namespace kalvor::cli
