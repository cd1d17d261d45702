#include "tools/cli/open_collection.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/cp1252.h"
#include "collection/backup.h"

namespace kalvor::cli {

std::unique_ptr<OpenCollection> OpenCollection::open(const std::string& dataDir, bool forRepair) {
  // The collection is opened as the program opens it, after the reference data.
  std::unique_ptr<OpenDataFolder> data = OpenDataFolder::open(dataDir, forRepair);
  if (!data) return nullptr;
  Collection& c = data->data().collection();
  if (!forRepair && c.damaged()) printError(c.damageReport());
  if (!c.openNotice().empty()) printError(c.openNotice());
  std::unique_ptr<OpenCollection> opened(new OpenCollection());
  opened->data_ = std::move(data);
  opened->dataDir_ = dataDir;
  return opened;
}

OpenCollection::~OpenCollection() {
  if (!data_) return;
  Collection& c = collection();
  // A damaged collection is not kept as a backup generation: it would push
  // an intact older one out.
  const bool usable = !c.unavailable() && !c.damaged();
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

int reportSave(Collection& collection, bool saved) {
  if (!saved && collection.damaged()) {
    printError(
        "Es wurde nichts gespeichert: Die Sammlung ist besch\xE4"
        "digt und muss zuerst repariert werden (kalvor-cli reparatur).");
    return 1;
  }
  const Collection::IndexAfterSave index = collection.repairIndexAfterSave(nullptr);
  if (index == Collection::IndexAfterSave::kRebuilt)
    printError("Der Suchindex wurde neu aufgebaut, weil seine Aktualisierung fehlschlug.");
  if (index == Collection::IndexAfterSave::kLeftMarked)
    printError(
        "Der Suchindex konnte nicht aktualisiert werden; er wird beim n\xE4"
        "chsten Start neu aufgebaut.");
  if (!saved) {
    failWith(CollectionMessage::kSaveFailed);
    printError("Es wurde nichts gespeichert.");
    return 1;
  }
  if (collection.syncFailed()) {
    printError(
        "Gespeichert, aber das System meldet, dass die Daten nicht sicher auf die Festplatte geschrieben "
        "werden konnten.");
    return 1;
  }
  return index == Collection::IndexAfterSave::kLeftMarked ? 3 : 0;
}

int failWith(const FormFailure& failure) {
  std::string text = formFailureCaption(failure);
  if (!text.empty()) text += ": ";
  printError(text + formFailureText(failure));
  return 1;
}

namespace {

// The length of the UTF-8 sequence that starts with `lead` (1 for a stray byte).
std::size_t sequenceLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

bool takeTextField(Arguments& args, std::string_view option, const char* fieldName, std::string& out,
                   bool* given) {
  const std::optional<std::string> utf8 = args.takeOptionUtf8(option);
  if (given != nullptr) *given = utf8.has_value();
  if (!utf8) return true;
  if (std::optional<std::string> text = utf8ToCp1252(*utf8)) {
    out = std::move(*text);
    return true;
  }
  // Find the first character that cannot be stored and name it.
  std::string bad = "?";
  for (std::size_t i = 0; i < utf8->size();) {
    const std::size_t n = std::min(sequenceLength(static_cast<unsigned char>((*utf8)[i])), utf8->size() - i);
    const std::string ch = utf8->substr(i, n);
    if (!utf8ToCp1252(ch)) {
      bad = ch;
      break;
    }
    i += n;
  }
  // The message is Windows-1252; the character itself only exists in UTF-8.
  const std::string marker = "\x01";
  FormFailure failure = formFailure(CollectionMessage::kNotRepresentable, 0, {fieldName, marker});
  std::string message = cp1252ToUtf8(formFailureCaption(failure) + ": " + formFailureText(failure));
  if (const std::size_t at = message.find(marker); at != std::string::npos) message.replace(at, 1, bad);
  std::fflush(stdout);
  std::fprintf(stderr, "%s\n", message.c_str());
  return false;
}

std::optional<std::uint32_t> parseRecordNumber(const std::optional<std::string>& word, const char* what) {
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
