// What kalvor-mkdb tells about a build: counts per field and mapping, the
// source words it could not map, warnings, and the errors that fail the build.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace kalvor::mkdb {

class Report {
 public:
  void count(const std::string& what, std::size_t n = 1) { counts_[what] += n; }
  void unmapped(const std::string& field, const std::string& word) { unmapped_[field][word]++; }
  void warning(std::string text) { warnings_.push_back(std::move(text)); }
  void error(std::string text) { errors_.push_back(std::move(text)); }

  bool hasErrors() const { return !errors_.empty(); }
  const std::vector<std::string>& errors() const { return errors_; }
  const std::vector<std::string>& warnings() const { return warnings_; }
  std::size_t countOf(const std::string& what) const;

  // The full report ("--bericht"), German, UTF-8.
  std::string text() const;
  // The errors, one per line.
  std::string errorText() const;

 private:
  std::map<std::string, std::size_t> counts_;
  std::map<std::string, std::map<std::string, std::size_t>> unmapped_;
  std::vector<std::string> warnings_;
  std::vector<std::string> errors_;
};

}  // namespace kalvor::mkdb
