// The open collection of a data folder, as the collection commands of
// kalvor-cli use it, and the helpers those commands share: printing core
// messages, reading record numbers, refusing leftover arguments.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "collection/collection.h"
#include "collection/collection_messages.h"
#include "collection/form_fields.h"
#include "platform/settings.h"
#include "refdb/names.h"
#include "tools/cli/cli.h"
#include "tools/cli/open_data_folder.h"

namespace kalvor::cli {

// The open collection of a data folder with the names and settings it needs.
class OpenCollection {
 public:
  // Opens the data folder as the program starts: reference files, name list,
  // search index, "kalvor.ini" and the collection files. Prints the error and
  // returns nothing when that fails.
  // A damaged collection is reported on stderr (it is only read), and so is
  // a deletion that the open completed. With forRepair a collection that
  // does not open at all is handed over as it is, for the repair.
  static std::unique_ptr<OpenCollection> open(const std::string& dataDir, bool forRepair = false);
  // Closes the collection and, when it changed since the newest backup,
  // keeps it as a new generation in "Sicherung".
  ~OpenCollection();
  OpenCollection(const OpenCollection&) = delete;
  OpenCollection& operator=(const OpenCollection&) = delete;

  Collection& collection() { return data_->data().collection(); }
  const MineralNameList& names() const { return data_->data().names(); }
  // Everything the start-up opened (database, search index, systematics ...).
  ReferenceData& reference() { return data_->data(); }
  // The data folder and its "kalvor.ini".
  const std::string& dataDir() const { return dataDir_; }
  Settings* settings() { return data_->settings(); }

 private:
  OpenCollection() = default;
  std::unique_ptr<OpenDataFolder> data_;
  std::string dataDir_;
};

// Prints a core message (text, and its caption in front when it has one) to
// stderr and returns exit code 1.
int failWith(CollectionMessage message);

// Reports the outcome of a writing command exactly: `saved` tells whether
// its record was written. A value index left marked by a failed key change
// is rebuilt at once. Returns the exit code: 0 saved (also when the index
// had to be rebuilt), 1 not saved, 3 saved but the index is still to be
// rebuilt (at the next start).
int reportSave(Collection& collection, bool saved);

// Prints a form's failure ("Caption: text" with its inserts) to stderr and
// returns exit code 1.
int failWith(const FormFailure& failure);

// Takes the text option `option` for the field `fieldName` (Windows-1252)
// into `out`, converted from UTF-8. A character that Windows-1252 cannot
// store is refused with a message naming the field and the character
// (false; `out` unchanged); an option not given leaves `out` unchanged.
// `given` (may be null) learns whether the option was there.
bool takeTextField(Arguments& args, std::string_view option, const char* fieldName, std::string& out,
                   bool* given = nullptr);

// Parses a positive record number; prints an error and gives nothing otherwise.
std::optional<std::uint32_t> parseRecordNumber(const std::optional<std::string>& word,
                                               const char* what);

// Prints the leftover arguments as an error; returns true when there were any.
bool rejectRest(const Arguments& args);

}  // namespace kalvor::cli
