#include "platform/held_settings.h"

#include <algorithm>
#include <cctype>

namespace kalvor {
namespace {

bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// The number at the start of a value, as the settings file reads it.
int leadingInt(const std::string& value) {
  const char* p = value.c_str();
  bool negative = false;
  if (*p == '-' || *p == '+') negative = *p++ == '-';
  long long n = 0;
  while (std::isdigit(static_cast<unsigned char>(*p)) && n <= 0x7FFFFFFFLL) n = n * 10 + (*p++ - '0');
  n = std::min(n, 0x7FFFFFFFLL);
  return static_cast<int>(negative ? -n : n);
}

}  // namespace

const HeldSettings::Change* HeldSettings::heldChange(std::string_view section, std::string_view key) const {
  for (auto it = changes_.rbegin(); it != changes_.rend(); ++it) {
    if (sameName(it->section, section) && sameName(it->key, key)) return &*it;
  }
  return nullptr;
}

int HeldSettings::getInt(std::string_view section, std::string_view key, int def) const {
  if (const Change* change = heldChange(section, key)) {
    if (!change->value || change->value->empty()) return def;
    return leadingInt(*change->value);
  }
  return target_->getInt(section, key, def);
}

std::string HeldSettings::getString(std::string_view section, std::string_view key,
                                    std::string_view def) const {
  if (const Change* change = heldChange(section, key)) {
    return change->value ? *change->value : std::string(def);
  }
  return target_->getString(section, key, def);
}

bool HeldSettings::writeString(std::string_view section, std::string_view key, std::string_view value) {
  if (!holding_) return target_->writeString(section, key, value);
  changes_.push_back({std::string(section), std::string(key), std::string(value)});
  return true;
}

bool HeldSettings::deleteKey(std::string_view section, std::string_view key) {
  if (!holding_) return target_->deleteKey(section, key);
  changes_.push_back({std::string(section), std::string(key), std::nullopt});
  return true;
}

bool HeldSettings::release() {
  holding_ = false;
  bool ok = true;
  for (const Change& change : changes_) {
    ok = (change.value ? target_->writeString(change.section, change.key, *change.value)
                       : target_->deleteKey(change.section, change.key)) &&
         ok;
  }
  changes_.clear();
  return ok;
}

}  // namespace kalvor
