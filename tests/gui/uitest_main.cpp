// kalvor-uitest SUITE [CASE]: runs the UI test cases of a suite against
// kalvor.exe in the current folder.
#include <cstdio>
#include <cstring>
#include <vector>

#include <windows.h>

#include "tests/gui/uitest.h"

namespace kalvor::uitest {
namespace {

struct Case {
  const char* suite;
  const char* name;
  CaseFn fn;
};

std::vector<Case>& registry() {
  static std::vector<Case> cases;
  return cases;
}

int gFailures = 0;

}  // namespace

CaseRegistration::CaseRegistration(const char* suite, const char* name, CaseFn fn) {
  registry().push_back({suite, name, fn});
}

void fail(const char* file, int line, const std::string& what) {
  ++gFailures;
  std::printf("  %s:%d: %s\n", file, line, what.c_str());
  std::fflush(stdout);
}

}  // namespace kalvor::uitest

int main(int argc, char** argv) {
  using namespace kalvor::uitest;
  if (argc < 2) {
    std::fprintf(stderr, "usage: kalvor-uitest SUITE [CASE]\n");
    return 2;
  }
  CreateDirectoryA("screenshots", nullptr);
  int passed = 0, failed = 0;
  for (const Case& c : registry()) {
    if (std::strcmp(c.suite, argv[1]) != 0) continue;
    if (argc > 2 && std::strcmp(c.name, argv[2]) != 0) continue;
    std::printf("[ RUN ] %s.%s\n", c.suite, c.name);
    std::fflush(stdout);
    const int before = gFailures;
    c.fn();
    const bool ok = gFailures == before;
    std::printf("[ %s ] %s.%s\n", ok ? " OK " : "FAIL", c.suite, c.name);
    (ok ? passed : failed)++;
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return (failed == 0 && passed > 0) ? 0 : 1;
}
