#include "tools/cli/open_collection.h"

#include <cstdlib>

#include "base/cp1252.h"
#include "collection/backup.h"

namespace kalvor::cli {

std::unique_ptr<OpenCollection> OpenCollection::open(const std::string& dataDir) {
  // The collection is opened as the program opens it, after the reference data.
  std::unique_ptr<OpenDataFolder> data = OpenDataFolder::open(dataDir);
  if (!data) return nullptr;
  std::unique_ptr<OpenCollection> opened(new OpenCollection());
  opened->data_ = std::move(data);
  opened->dataDir_ = dataDir;
  return opened;
}

OpenCollection::~OpenCollection() {
  if (!data_) return;
  Collection& c = collection();
  const bool usable = !c.unavailable();
  c.close();
  if (!usable) return;
  const BackupOutcome outcome =
      backupCollection(dataDir_, names(), data_->data().mineralCount(), backupNameNow());
  if (outcome.status == BackupStatus::kNotVerified || outcome.status == BackupStatus::kFailed)
    printError("Die Sammlung konnte nicht gesichert werden (Ordner \"Sicherung\").");
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
