#include "tools/cli/open_data_folder.h"

#include "base/file_io.h"
#include "refdb/strings.h"
#include "tools/cli/cli.h"

namespace kalvor::cli {
namespace {

// One line on stderr while the search index is built; the value-index
// rebuild lines are left out, they would flood the output.
class CliStartupProgress : public StartupProgress {
 public:
  void searchIndexRebuildStarted() override {
    printError("Der Suchindex (kalvor.si) wird aufgebaut.");
  }
  void searchIndexRebuildFinished() override {}
  void progress(const std::string&) override {}
};

}  // namespace

std::unique_ptr<OpenDataFolder> OpenDataFolder::open(const std::string& folder, bool forRepair) {
  std::unique_ptr<OpenDataFolder> opened(new OpenDataFolder());
  opened->settings_ = openPlatformSettings(joinPath(folder, "kalvor.ini"));
  CliStartupProgress progress;
  StartupResult result = openReferenceData(folder, {opened->settings_.get(), &progress, {}, forRepair});
  if (!result.ready()) {
    printError(loadResourceString(static_cast<unsigned>(result.messageId) - kStringIdBase));
    if (!result.detail.empty()) printError(result.detail);
    return nullptr;
  }
  opened->data_ = std::move(result.data);
  return opened;
}

}  // namespace kalvor::cli
