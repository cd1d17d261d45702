// The program's settings file "kalvor.ini", read and written like the
// Windows private-profile functions: sections and keys are matched without
// regard to case, a missing key yields the caller's default, and writing one
// key keeps every other section, key and comment of the file.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace kalvor {

class Settings {
 public:
  virtual ~Settings() = default;

  // Returns the integer at the start of the value of [section] key (optional
  // sign, decimal digits); `def` when the key or its value is missing, 0 when
  // the value does not start with a number.
  virtual int getInt(std::string_view section, std::string_view key, int def) const = 0;

  // Returns the value of [section] key without surrounding blanks (and without
  // one pair of enclosing quotes), or `def` when the key is missing.
  virtual std::string getString(std::string_view section, std::string_view key,
                                std::string_view def) const = 0;

  // Sets [section] key = value, creating the file, section or key as needed.
  // Returns false when the file cannot be written.
  virtual bool writeString(std::string_view section, std::string_view key,
                           std::string_view value) = 0;

  // Removes [section] key if present. Returns false when the file cannot be written.
  virtual bool deleteKey(std::string_view section, std::string_view key) = 0;

  // Writes the integer as "%d". Returns false when the file cannot be written.
  bool writeInt(std::string_view section, std::string_view key, int value) {
    return writeString(section, key, std::to_string(value));
  }
};

// The portable implementation over a text file at `path` (Windows-1252,
// CRLF line ends for the lines it adds). The file is created on the first write.
std::unique_ptr<Settings> openIniSettings(const std::string& path);

// The platform's own implementation: the Win32 private-profile functions on
// Windows, the portable one elsewhere.
std::unique_ptr<Settings> openPlatformSettings(const std::string& path);

}  // namespace kalvor
