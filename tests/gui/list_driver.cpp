#include "tests/gui/list_driver.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "tests/gui/ui_driver.h"

namespace kalvor::uitest {

std::vector<StoredName> readStoredNames(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<StoredName> names;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t length = bytes[at] & 0x7F;
    if (at + 1 + length + 2 > bytes.size()) break;
    StoredName entry;
    entry.alias = (bytes[at] & 0x80) != 0;
    entry.name.assign(reinterpret_cast<const char*>(&bytes[at + 1]), length);
    entry.id = bytes[at + 1 + length] | (bytes[at + 2 + length] << 8);
    names.push_back(std::move(entry));
    at += 1 + length + 2;
  }
  return names;
}

std::vector<std::string> readGlossaryTerms(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto u16 = [&](std::size_t at) { return static_cast<std::size_t>(bytes[at] | (bytes[at + 1] << 8)); };
  std::vector<std::string> terms;
  if (bytes.size() < 2) return terms;
  const std::size_t count = u16(0);
  for (std::size_t i = 0; i < count && 2 + 4 * i + 4 <= bytes.size(); ++i) {
    const std::size_t at = 2 + 4 * i;
    const std::size_t offset = bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
                               (static_cast<std::size_t>(bytes[at + 3]) << 24);
    std::string term;
    if (offset + 2 <= bytes.size()) {
      const std::size_t length = std::min(u16(offset), bytes.size() - offset - 2);
      const std::string text(reinterpret_cast<const char*>(&bytes[offset + 2]), length);
      if (!text.empty() && text[0] == '#') term = text.substr(1, text.find('#', 1) - 1);
    }
    terms.push_back(term);
  }
  return terms;
}

HWND waitForChild(HWND parent, int id, DWORD timeoutMs) {
  for (DWORD waited = 0; waited <= timeoutMs; waited += 100) {
    if (const HWND child = GetDlgItem(parent, id)) return child;
    Sleep(100);  // poll interval only: the child decides
  }
  return nullptr;
}

bool waitForListSelection(HWND parent, int id, long selected, DWORD timeoutMs) {
  for (DWORD waited = 0; waited <= timeoutMs; waited += 100) {
    const HWND list = GetDlgItem(parent, id);
    if (list && listQuery(list, kListQuerySelected) == selected) return true;
    Sleep(100);  // poll interval only: the selection decides
  }
  return false;
}

std::vector<HWND> listHeaders(HWND list) {
  std::vector<std::pair<LONG, HWND>> found;
  for (HWND child = GetWindow(list, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "SysHeader32") != 0) continue;
    RECT r;
    GetWindowRect(child, &r);
    found.emplace_back(r.top, child);
  }
  std::sort(found.begin(), found.end());
  std::vector<HWND> headers;
  for (const auto& f : found) headers.push_back(f.second);
  return headers;
}

void dragHeaderDivider(HWND header, int x, int dx) {
  RECT r;
  GetClientRect(header, &r);
  const int y = r.bottom / 2;
  PostMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageA(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + dx / 2, y));
  PostMessageA(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + dx, y));
  PostMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(x + dx, y));
  settle(300);
}

int listRowsTop(HWND list) {
  int top = 0;
  for (HWND child = GetWindow(list, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "SysHeader32") != 0) continue;
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&r), 2);
    top = std::max(top, static_cast<int>(r.bottom));
  }
  return top;
}

long listQuery(HWND list, UINT message, WPARAM wParam) {
  return static_cast<long>(SendMessageA(list, message, wParam, 0));
}

std::vector<long> mainListRows(HWND main) {
  std::vector<long> rows;
  const HWND list = GetDlgItem(main, 1000);
  const long count = list ? listQuery(list, kListQueryCount) : 0;
  for (long row = 0; row < count; ++row) rows.push_back(listQuery(list, kListQueryItem, static_cast<WPARAM>(row)));
  return rows;
}

void typeLetters(HWND list, const std::string& letters) {
  for (const char c : letters) {
    const auto key = static_cast<WPARAM>(std::toupper(static_cast<unsigned char>(c)));
    PostMessageA(list, WM_KEYDOWN, key, 1);
    PostMessageA(list, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
  }
  settle(200);
}

bool beginsWithIgnoringCase(const std::string& name, const std::string& prefix) {
  if (name.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(name[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  }
  return true;
}

}  // namespace kalvor::uitest
