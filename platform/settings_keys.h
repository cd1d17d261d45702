// Every section and key of "kalvor.ini" with its default, in one place, so
// that the modules reading a key and the options dialog writing it agree on
// the spelling. Texts are Windows-1252 ("Kleine Zeichens\xE4tze").
#pragma once

#include <string>
#include <string_view>

#include "platform/settings.h"

namespace kalvor::ini {

// An integer or flag key with the default used when it is absent.
struct IntKey {
  std::string_view section;
  std::string_view key;
  int def;
};

// A text key with the default used when it is absent.
struct TextKey {
  std::string_view section;
  std::string_view key;
  std::string_view def;
};

inline constexpr std::string_view kStatus = "Status";
inline constexpr std::string_view kOptions = "Optionen";
inline constexpr std::string_view kEdit = "Edit";
inline constexpr std::string_view kCollection = "Sammlung";
// Column layouts of the three lists, keys "Feld%d" = "%d,%d,%d" (order, line, width).
inline constexpr std::string_view kMineralListLayout = "Mineralliste";
inline constexpr std::string_view kLocalityListLayout = "Fundortliste";
inline constexpr std::string_view kSpecimenListLayout = "Stufenliste";
inline constexpr std::string_view kColumnKeyFormat = "Feld%d";
// The user's label formats, keys "Format%d" and "Font%d" (no defaults).
inline constexpr std::string_view kLabelFormats = "Etikettenformate";
inline constexpr std::string_view kLabelFormatKeyFormat = "Format%d";
inline constexpr std::string_view kLabelFontKeyFormat = "Font%d";

// 1 while the collection's value index is known to be damaged.
inline constexpr IntKey kIndexBroken{kStatus, "Index-Defekt", 0};
// Bubble help over dialog controls; the options dialog shows an absent key
// as off (see views/options.h), the program starts with it on.
inline constexpr IntKey kBubbleHelp{kOptions, "Blasenhilfe", 1};
// Small fonts; the default depends on the screen width (views/options.h),
// so `def` here is only the value for a wide screen.
inline constexpr IntKey kSmallFonts{kOptions, "Kleine Zeichens\xE4tze", 0};
// The mineral description lists the mineral's localities.
inline constexpr IntKey kMineralLocalityList{kOptions, "Mineral Fundortliste", 1};
// The description of a synonym entry lists localities too.
inline constexpr IntKey kAliasLocalityList{kOptions, "Mineral AF-Liste", 1};
// Crystal angles in degrees and minutes.
inline constexpr IntKey kAnglesWithMinutes{kOptions, "Winkel mit Minuten", 0};
// The systematic classification as descriptive text.
inline constexpr IntKey kSystematicsAsText{kOptions, "Systematik als Text", 0};
// Specimen sort mode 0-4; the specimen sort takes an absent key as 0, the
// options dialog shows it as 1 (views/options.h).
inline constexpr IntKey kSpecimenSort{kOptions, "Stufensortierung", 0};
// Reference texts in descriptions drawn in the reference colour.
inline constexpr IntKey kReferenceColouring{kOptions, "Farbschaltung", 1};
// The reference colour as "%d %d %d" (red, green, blue).
inline constexpr TextKey kReferenceColour{kOptions, "RefFarbe", "0 127 0"};
// The label format used last in direct label entry.
inline constexpr IntKey kLastLabelFormat{kEdit, "Letztes Etikettenformat", 0};
// The locality used last in specimen entry.
inline constexpr IntKey kLastLocality{kEdit, "Fundort", 0};
// The collection index text used last in specimen entry.
inline constexpr TextKey kLastCollectionIndex{kCollection, "Index", ""};

// The key's integer, its default when absent.
inline int readInt(const Settings& s, const IntKey& k) { return s.getInt(k.section, k.key, k.def); }
// The key's flag (any non-zero number is on), its default when absent.
inline bool readFlag(const Settings& s, const IntKey& k) { return readInt(s, k) != 0; }
// The key's text, its default when absent.
inline std::string readText(const Settings& s, const TextKey& k) {
  return s.getString(k.section, k.key, k.def);
}
// Writes the integer as "%d"; false when the file cannot be written.
inline bool writeInt(Settings& s, const IntKey& k, int value) {
  return s.writeInt(k.section, k.key, value);
}
// Writes a flag as "1" or "0"; false when the file cannot be written.
inline bool writeFlag(Settings& s, const IntKey& k, bool on) {
  return s.writeString(k.section, k.key, on ? "1" : "0");
}

}  // namespace kalvor::ini
