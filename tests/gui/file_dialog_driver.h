// Helpers for the cases that go through the common file dialogs and message
// boxes of kalvor.exe and compare files on disk.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kalvor::uitest {

// Types `path` into the file name field of an open or save dialog and
// presses "OK" (Enter). False when the dialog has no such field.
bool enterFileName(HWND fileDialog, const std::string& path);

// A dialog of the process with that title other than `except`, or null on time-out.
HWND waitForOtherDialog(DWORD processId, const char* title, HWND except, DWORD timeoutMs);

// The texts of a message box (its message and buttons), joined by newlines.
std::string messageBoxText(HWND box);

// The bytes of a file, read while the program may hold it open; nothing when it cannot be read.
std::optional<std::string> readBytes(const std::string& path);
bool writeBytes(const std::string& path, const std::string& bytes);

// The bytes of the user's collection files in `folder` (name and contents of each that exists).
std::string collectionFiles(const std::string& folder);

// The generation folders in "Sicherung" of `folder`.
int backupGenerations(const std::string& folder);

}  // namespace kalvor::uitest
