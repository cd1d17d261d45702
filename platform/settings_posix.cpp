#include "platform/settings.h"

namespace kalvor {

// Elsewhere than on Windows the portable implementation is the platform's.
std::unique_ptr<Settings> openPlatformSettings(const std::string& path) {
  return openIniSettings(path);
}

}  // namespace kalvor
