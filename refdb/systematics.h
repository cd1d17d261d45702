// The two classification numbers of a mineral (Lapis/Strunz and Hey), their
// written forms, and the long texts assembled from the systematics file
// "kalvor.sy" with the names of the classes, subclasses and groups.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvor {

// A Lapis/Strunz number such as IX/A.2-60; 6 bytes on disk.
struct StrunzNumber {
  std::uint8_t classNumber = 0;  // 1-9, 0 = none
  std::uint8_t letter = 0;       // 'A'-'Z', 0 = none
  std::uint8_t number = 0;       // 0 = none
  std::uint8_t spare = 0;        // stored, not interpreted
  std::int16_t rangeEnd = 0;     // 0 = no range

  friend bool operator==(const StrunzNumber&, const StrunzNumber&) = default;
};

// A Hey number such as 8.3.5; a = 0 means none, c = 0 a two-part number.
struct HeyNumber {
  std::uint8_t a = 0;
  std::uint8_t b = 0;
  std::uint8_t c = 0;

  friend bool operator==(const HeyNumber&, const HeyNumber&) = default;
};

// Size of a stored StrunzNumber and HeyNumber.
inline constexpr std::size_t kStrunzNumberSize = 6;
inline constexpr std::size_t kHeyNumberSize = 3;

// Reads and writes the stored forms (little-endian range end). `p` must hold
// kStrunzNumberSize or kHeyNumberSize bytes.
StrunzNumber loadStrunzNumber(const std::uint8_t* p);
void storeStrunzNumber(std::uint8_t* p, const StrunzNumber& n);
HeyNumber loadHeyNumber(const std::uint8_t* p);
void storeHeyNumber(std::uint8_t* p, const HeyNumber& n);

// Returns the written number: "IX/", "IX/A.", "IX/A.2" or "IX/A.2-60" by the
// first part that is 0 (letter, number, range end); "" for a class outside 1-9.
std::string formatStrunzNumber(const StrunzNumber& n);

// Returns "8.3.5", or "8.3" when c is 0; "" when a is 0.
std::string formatHeyNumber(const HeyNumber& n);

// Parses a typed Lapis/Strunz text such as "IX/A.2-60" (case ignored; a text
// without "/" is read as if it ended in one). An unknown Roman class gives
// the all-zero number. The text itself is not changed.
StrunzNumber parseStrunzNumber(std::string_view text);

// Parses a Hey key of one to three decimal parts ("8.3.5", "8.3", "8");
// missing parts are 0. Returns nothing when the first part is missing or a
// part does not fit in a byte.
std::optional<HeyNumber> parseHeyNumber(std::string_view text);

// One line of the Lapis/Strunz section: its parsed key, the file offset of
// its text (the first character after the TABs) and the text, cut to 255.
struct StrunzEntry {
  StrunzNumber number;
  std::uint32_t textOffset = 0;
  std::string text;
};

// The Lapis/Strunz section in file order, with the index of each class's
// first line (classIndex[c - 1]; kNoEntry for a class without lines).
struct StrunzTable {
  static constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;
  std::vector<StrunzEntry> entries;
  std::vector<std::uint32_t> classIndex;
};

// One line of the Hey section, like StrunzEntry.
struct HeyEntry {
  HeyNumber number;
  std::uint32_t textOffset = 0;
  std::string text;
};

// Reads the Lapis/Strunz section from the content of "kalvor.sy": every line
// up to the first line shorter than 3 characters with its line end. Lines
// without TAB and keys without a Roman class are skipped.
StrunzTable loadStrunzTable(std::string_view content);

// Reads the Hey section: the lines after the first short line, up to the
// next. Empty when the file has no short line. Unparsable keys are skipped.
std::vector<HeyEntry> loadHeyTable(std::string_view content);

// Both tables of "kalvor.sy", loaded once and kept for the run.
class Systematics {
 public:
  // An empty table set, as when the file is missing.
  Systematics() = default;
  // Reads both sections from the file's content.
  static Systematics fromContent(std::string_view content);
  // Reads the file; a missing or unreadable file gives the empty set.
  static Systematics load(const std::string& path);

  // True iff a file was read.
  bool loaded() const { return loaded_; }
  const StrunzTable& strunzTable() const { return strunz_; }
  const std::vector<HeyEntry>& heyTable() const { return hey_; }

  // Returns "Lapis/Strunz-" + number + ": " + the class, subclass and group
  // titles that the file has for it; nothing when the class is not 1-9 or no
  // file was read.
  std::optional<std::string> strunzText(const StrunzNumber& n) const;

  // Returns "Heys-" + number + ": " + the titles of the first two parts;
  // nothing when a is 0 or no file was read.
  std::optional<std::string> heyText(const HeyNumber& n) const;

 private:
  bool loaded_ = false;
  StrunzTable strunz_;
  std::vector<HeyEntry> hey_;
};

}  // namespace kalvor
