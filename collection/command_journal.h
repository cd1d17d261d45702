// The intent record "kalvor.jn" of a command that changes several records
// (deleting a locality with its specimens or onto a replacement). It is
// made durable before the first record changes and removed once the last
// change is durable, so an interruption anywhere in between leaves it
// behind, and the next open completes the command.
#pragma once

#include <cstdint>
#include <optional>

namespace kalvor {

class Collection;

inline constexpr const char* kJournalFileName = "kalvor.jn";

struct PendingDeletion {
  std::uint32_t locality = 0;
  bool withSpecimens = false;
  std::uint32_t replacement = 0;  // 0 = "unbekannt" (without withSpecimens)
  bool operator==(const PendingDeletion&) const = default;
};

// Writes the intent record (through a temporary file, synced). False when
// it could not be written: then the command must not begin.
bool writePendingDeletion(Collection& collection, const PendingDeletion& deletion);

enum class JournalState { kNone, kPending, kUnreadable };

// Reads the intent record left in the collection's folder.
JournalState readPendingDeletion(Collection& collection, PendingDeletion& deletion);

// Removes the intent record; true when it is gone.
bool clearPendingDeletion(Collection& collection);

}  // namespace kalvor
