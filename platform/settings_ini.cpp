// Portable "kalvor.ini": the file is read afresh for every call and written
// whole (through a temporary file) for every change, as the Windows
// private-profile functions do, so several writers never see stale content.
#include <cctype>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "platform/settings.h"

namespace kalvor {
namespace {

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// One line of the file: its text without the line end, and the line end as found.
struct Line {
  std::string text;
  std::string end;
};

// What a line means to the profile reader.
struct Parsed {
  enum Type { kOther, kSection, kKey } type = kOther;
  std::string_view name;   // section or key name
  std::string_view value;  // key value, trimmed
};

Parsed parseLine(const std::string& text) {
  Parsed p;
  std::string_view s = trim(text);
  if (s.empty() || s.front() == ';') return p;
  if (s.front() == '[') {
    const std::size_t close = s.find(']');
    p.type = Parsed::kSection;
    p.name = trim(s.substr(1, close == std::string_view::npos ? s.size() - 1 : close - 1));
    return p;
  }
  p.type = Parsed::kKey;
  const std::size_t eq = s.find('=');
  if (eq == std::string_view::npos) {
    p.name = s;
  } else {
    p.name = trim(s.substr(0, eq));
    p.value = trim(s.substr(eq + 1));
  }
  return p;
}

std::vector<Line> splitLines(const Bytes& data) {
  std::vector<Line> lines;
  std::size_t i = 0;
  while (i < data.size()) {
    Line line;
    while (i < data.size() && data[i] != '\r' && data[i] != '\n') line.text.push_back(static_cast<char>(data[i++]));
    if (i < data.size() && data[i] == '\r') line.end.push_back(static_cast<char>(data[i++]));
    if (i < data.size() && data[i] == '\n') line.end.push_back(static_cast<char>(data[i++]));
    lines.push_back(std::move(line));
  }
  return lines;
}

class IniSettings final : public Settings {
 public:
  explicit IniSettings(std::string path) : path_(std::move(path)) {}

  int getInt(std::string_view section, std::string_view key, int def) const override {
    const std::optional<std::string> v = find(section, key);
    if (!v || v->empty()) return def;
    // Like the Windows function: the number at the start, 0 when there is none.
    const char* p = v->c_str();
    bool negative = false;
    if (*p == '-' || *p == '+') negative = *p++ == '-';
    long long n = 0;
    while (std::isdigit(static_cast<unsigned char>(*p)) && n <= 0x7FFFFFFFLL) n = n * 10 + (*p++ - '0');
    if (n > 0x7FFFFFFFLL) n = 0x7FFFFFFFLL;
    return static_cast<int>(negative ? -n : n);
  }

  std::string getString(std::string_view section, std::string_view key,
                        std::string_view def) const override {
    std::optional<std::string> v = find(section, key);
    if (!v) return std::string(def);
    if (v->size() >= 2 && (v->front() == '"' || v->front() == '\'') && v->back() == v->front()) {
      return v->substr(1, v->size() - 2);
    }
    return *v;
  }

  bool writeString(std::string_view section, std::string_view key, std::string_view value) override {
    return change(section, key, std::string(key) + "=" + std::string(value));
  }

  bool deleteKey(std::string_view section, std::string_view key) override {
    return change(section, key, std::nullopt);
  }

 private:
  std::vector<Line> load() const {
    const std::optional<Bytes> data = readWholeFile(path_);
    return data ? splitLines(*data) : std::vector<Line>{};
  }

  std::optional<std::string> find(std::string_view section, std::string_view key) const {
    const std::vector<Line> lines = load();
    bool inSection = false;
    bool sectionSeen = false;
    for (const Line& line : lines) {
      const Parsed p = parseLine(line.text);
      if (p.type == Parsed::kSection) {
        // The first section of a name is the one that counts.
        if (inSection) return std::nullopt;
        inSection = !sectionSeen && sameName(p.name, section);
        sectionSeen = sectionSeen || inSection;
      } else if (p.type == Parsed::kKey && inSection && sameName(p.name, key)) {
        return std::string(p.value);
      }
    }
    return std::nullopt;
  }

  // Replaces the key's line by `newLine` (removes it when absent), adding the
  // section or the key when missing; every other line stays as it was.
  bool change(std::string_view section, std::string_view key, const std::optional<std::string>& newLine) {
    std::vector<Line> lines = load();
    const std::string eol = !lines.empty() && lines.front().end == "\n" ? "\n" : "\r\n";
    std::optional<std::size_t> sectionAt;
    std::size_t lastContent = 0;  // last non-blank line of the section
    bool done = false;
    for (std::size_t i = 0; i < lines.size() && !done; ++i) {
      const Parsed p = parseLine(lines[i].text);
      if (p.type == Parsed::kSection) {
        if (sectionAt) break;
        if (sameName(p.name, section)) {
          sectionAt = i;
          lastContent = i;
        }
        continue;
      }
      if (!sectionAt) continue;
      if (!trim(lines[i].text).empty()) lastContent = i;
      if (p.type == Parsed::kKey && sameName(p.name, key)) {
        if (newLine) {
          lines[i].text = *newLine;
        } else {
          lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
        }
        done = true;
      }
    }
    if (!done) {
      if (!newLine) return true;
      if (sectionAt) {
        if (lines[lastContent].end.empty()) lines[lastContent].end = eol;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastContent) + 1, Line{*newLine, eol});
      } else {
        if (!lines.empty() && lines.back().end.empty()) lines.back().end = eol;
        lines.push_back(Line{"[" + std::string(section) + "]", eol});
        lines.push_back(Line{*newLine, eol});
      }
    }
    Bytes out;
    for (const Line& line : lines) {
      out.insert(out.end(), line.text.begin(), line.text.end());
      out.insert(out.end(), line.end.begin(), line.end.end());
    }
    return writeWholeFile(path_, out);
  }

  std::string path_;
};

}  // namespace

std::unique_ptr<Settings> openIniSettings(const std::string& path) {
  return std::make_unique<IniSettings>(path);
}

}  // namespace kalvor
