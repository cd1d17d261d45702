#include "tools/cli/data_session.h"

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

std::unique_ptr<DataSession> DataSession::open(const std::string& folder) {
  std::unique_ptr<DataSession> session(new DataSession());
  session->settings_ = openPlatformSettings(joinPath(folder, "kalvor.ini"));
  CliStartupProgress progress;
  StartupResult result = openReferenceData(folder, {session->settings_.get(), &progress, {}});
  if (!result.ready()) {
    printError(loadResourceString(static_cast<unsigned>(result.messageId) - kStringIdBase));
    if (!result.detail.empty()) printError(result.detail);
    return nullptr;
  }
  session->data_ = std::move(result.data);
  return session;
}

}  // namespace kalvor::cli
