#include "win32/strings.h"

namespace kalvor::win32 {

std::string loadString(HINSTANCE instance, int id) {
  // The longest help texts of the table stay below this.
  char text[2000] = {};
  const int n = LoadStringA(instance, static_cast<UINT>(id), text, sizeof text);
  return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

}  // namespace kalvor::win32
