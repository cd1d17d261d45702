// The UI test hook: a DLL that the driver hooks into kalvor.exe's thread to
// read what only that process can read (its menus; Wine keeps menus
// process-local). Requests and answers travel through a shared memory block.
#pragma once

#include <cstdint>

namespace kalvor::uitest {

inline constexpr char kHookMessageName[] = "KalvorUiTestQuery";
inline constexpr char kHookMemoryName[] = "KalvorUiTestMemory";
inline constexpr std::uint32_t kHookMemorySize = 65536;

enum class HookRequest : std::uint32_t {
  kMenuBar = 1,    // the menu bar's items: one line "text<TAB>state<TAB>id" each
  kPopupItems = 2, // the items of popup `argument` of the menu bar, same form
  kPreparedPopupItems = 3,  // as kPopupItems, after WM_INITMENUPOPUP as when the user opens it
};

// Layout of the shared block: request, argument, then the answer text (NUL-terminated).
struct HookBlock {
  std::uint32_t request;
  std::uint32_t argument;
  char answer[kHookMemorySize - 8];
};

}  // namespace kalvor::uitest
