// A small test runner for the UI tests: each case registers itself by name,
// checks record failures, and the run ends with the line "N passed, N failed".
#pragma once

#include <string>
#include <vector>

namespace kalvor::uitest {

using CaseFn = void (*)();

struct CaseRegistration {
  CaseRegistration(const char* suite, const char* name, CaseFn fn);
};

// Records a failed check with its place; the case goes on.
void fail(const char* file, int line, const std::string& what);

}  // namespace kalvor::uitest

#define UI_CASE(suite, name)                                                           \
  static void uiCase_##suite##_##name();                                               \
  static const ::kalvor::uitest::CaseRegistration uiReg_##suite##_##name(#suite, #name, \
                                                                         uiCase_##suite##_##name); \
  static void uiCase_##suite##_##name()

#define UI_CHECK(cond)                                                     \
  do {                                                                     \
    if (!(cond)) ::kalvor::uitest::fail(__FILE__, __LINE__, "CHECK " #cond); \
  } while (0)

#define UI_CHECK_EQ(a, b)                                                                 \
  do {                                                                                    \
    const auto& uiA = (a);                                                                \
    const auto& uiB = (b);                                                                \
    if (!(uiA == uiB)) ::kalvor::uitest::fail(__FILE__, __LINE__, "CHECK_EQ " #a " == " #b); \
  } while (0)
