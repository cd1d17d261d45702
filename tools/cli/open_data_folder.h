// Opening the data folder for a kalvor-cli command exactly as the program
// opens its working directory at start-up.
#pragma once

#include <memory>
#include <string>

#include "app/startup.h"
#include "platform/settings.h"

namespace kalvor::cli {

// The settings of the data folder ("kalvor.ini") and everything the start-up
// opened there. The settings are declared first: the data refers to them.
class OpenDataFolder {
 public:
  // Runs the start-up in `folder`; prints the message's text to stderr and returns nothing when the program
  // would not start. With forRepair a collection that does not open does not stop it.
  static std::unique_ptr<OpenDataFolder> open(const std::string& folder, bool forRepair = false);

  ReferenceData& data() { return *data_; }
  Settings* settings() { return settings_.get(); }

 private:
  OpenDataFolder() = default;
  std::unique_ptr<Settings> settings_;
  std::unique_ptr<ReferenceData> data_;
};

}  // namespace kalvor::cli
