// What the collection commands of kalvor-cli share: opening the mineral
// names and the collection in the data folder, and printing messages.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "collection/collection.h"
#include "collection/collection_messages.h"
#include "platform/settings.h"
#include "refdb/names.h"
#include "tools/cli/cli.h"

namespace kalvor::cli {

// The open collection of a data folder with the names and settings it needs.
class CollectionSession {
 public:
  // Opens names ("kalvor.fl", "kalvor.na" or "kalvor.db"), "kalvor.ini" and
  // the collection files in the data folder. Prints the error and returns
  // nothing when that fails.
  static std::unique_ptr<CollectionSession> open(const std::string& dataDir);

  Collection& collection() { return *collection_; }
  const MineralNameList& names() const { return names_; }

 private:
  CollectionSession() = default;
  MineralNameList names_;
  std::unique_ptr<Settings> settings_;
  std::unique_ptr<Collection> collection_;
};

// Prints a core message (text, and its caption in front when it has one) to
// stderr and returns exit code 1.
int failWith(CollectionMessage message);

// Parses a positive record number; prints an error and gives nothing otherwise.
std::optional<std::uint32_t> parseRecordNumber(const std::optional<std::string>& word,
                                               const char* what);

// Prints the leftover arguments as an error; returns true when there were any.
bool rejectRest(const Arguments& args);

}  // namespace kalvor::cli
