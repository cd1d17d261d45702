#include "collection/command_journal.h"

#include "base/bytes.h"
#include "collection/collection.h"

namespace kalvor {
namespace {

// "KJN1", kind (1 with specimens, 2 onto a replacement), locality,
// replacement and a check word over the three.
constexpr std::uint32_t kMagic = 0x314E4A4B;
constexpr std::size_t kBytes = 20;

std::uint32_t checkWord(std::uint32_t kind, std::uint32_t locality, std::uint32_t replacement) {
  return kMagic ^ (kind * 0x9E3779B1u) ^ (locality * 0x85EBCA77u) ^ (replacement * 0xC2B2AE3Du);
}

}  // namespace

bool writePendingDeletion(Collection& collection, const PendingDeletion& deletion) {
  const std::uint32_t kind = deletion.withSpecimens ? 1 : 2;
  Bytes bytes(kBytes);
  storeU32(bytes.data(), kMagic);
  storeU32(bytes.data() + 4, kind);
  storeU32(bytes.data() + 8, deletion.locality);
  storeU32(bytes.data() + 12, deletion.replacement);
  storeU32(bytes.data() + 16, checkWord(kind, deletion.locality, deletion.replacement));
  return replaceWholeFile(collection.files(), collection.filePath(kJournalFileName), bytes);
}

JournalState readPendingDeletion(Collection& collection, PendingDeletion& deletion) {
  FileLayer& files = collection.files();
  const std::string path = collection.filePath(kJournalFileName);
  if (files.presence(path) == FilePresence::kMissing) return JournalState::kNone;
  const std::optional<Bytes> bytes = readWholeFile(files, path);
  if (!bytes || bytes->size() != kBytes || loadU32(bytes->data()) != kMagic) return JournalState::kUnreadable;
  const std::uint32_t kind = loadU32(bytes->data() + 4);
  const std::uint32_t locality = loadU32(bytes->data() + 8);
  const std::uint32_t replacement = loadU32(bytes->data() + 12);
  if ((kind != 1 && kind != 2) || locality == 0 ||
      loadU32(bytes->data() + 16) != checkWord(kind, locality, replacement))
    return JournalState::kUnreadable;
  deletion = {locality, kind == 1, replacement};
  return JournalState::kPending;
}

bool clearPendingDeletion(Collection& collection) {
  return collection.files().removeFile(collection.filePath(kJournalFileName));
}

}  // namespace kalvor
