// Settings that hold back their writes: a start of the program that fails must
// leave "kalvor.ini" as it was, although the start-up records flags as it goes.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/settings.h"

namespace kalvor {

// Wraps the settings file. Until release() every write and deletion is kept
// in memory (and seen by the reads); release() applies them in order and from
// then on passes everything straight through.
class HeldSettings final : public Settings {
 public:
  explicit HeldSettings(std::unique_ptr<Settings> target) : target_(std::move(target)) {}

  int getInt(std::string_view section, std::string_view key, int def) const override;
  std::string getString(std::string_view section, std::string_view key,
                        std::string_view def) const override;
  // While holding: remembered, true. Afterwards: written to the file.
  bool writeString(std::string_view section, std::string_view key, std::string_view value) override;
  bool deleteKey(std::string_view section, std::string_view key) override;

  // Applies the held changes in order and stops holding. False when one failed
  // (the others are applied all the same).
  bool release();
  // True until release().
  bool holding() const { return holding_; }

 private:
  struct Change {
    std::string section;
    std::string key;
    std::optional<std::string> value;  // nothing = deleted
  };
  // The last held change of [section] key, null when there is none.
  const Change* heldChange(std::string_view section, std::string_view key) const;

  std::unique_ptr<Settings> target_;
  bool holding_ = true;
  std::vector<Change> changes_;
};

}  // namespace kalvor
