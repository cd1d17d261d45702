#include "tools/mkdb/report.h"

namespace kalvor::mkdb {

std::size_t Report::countOf(const std::string& what) const {
  const auto it = counts_.find(what);
  return it == counts_.end() ? 0 : it->second;
}

std::string Report::text() const {
  std::string out = "Zählungen:\n";
  for (const auto& [what, n] : counts_) out += "  " + what + ": " + std::to_string(n) + "\n";
  out += "Nicht zugeordnete Quellwörter:\n";
  if (unmapped_.empty()) out += "  keine\n";
  for (const auto& [field, words] : unmapped_) {
    out += "  " + field + ":\n";
    for (const auto& [word, n] : words) out += "    " + word + " (" + std::to_string(n) + "x)\n";
  }
  out += "Warnungen: " + std::to_string(warnings_.size()) + "\n";
  for (const auto& w : warnings_) out += "  " + w + "\n";
  out += "Fehler: " + std::to_string(errors_.size()) + "\n";
  for (const auto& e : errors_) out += "  " + e + "\n";
  return out;
}

std::string Report::errorText() const {
  std::string out;
  for (const auto& e : errors_) out += e + "\n";
  return out;
}

}  // namespace kalvor::mkdb
