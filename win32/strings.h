// Texts of the program's string table (Windows-1252, as the core keeps them).
#pragma once

#include <windows.h>

#include <string>

namespace kalvor::win32 {

// The string-table text `id` of `instance`; empty when it is missing.
std::string loadString(HINSTANCE instance, int id);

}  // namespace kalvor::win32
