// The setup program: kalvor-setup.exe /S installs for the current user into
// the local programs folder, the installed kalvor.exe starts on the shipped
// data, an update keeps the collection and the settings, and the uninstaller
// removes program and reference files but never the collection or backups.
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <fstream>
#include <iterator>
#include <map>

#include "tests/gui/list_driver.h"
#include "tests/gui/ui_driver.h"
#include "tests/gui/uitest.h"

using namespace kalvor::uitest;

namespace {

constexpr DWORD kSetupTimeoutMs = 300000;

const char* const kProgramFiles[] = {"kalvor.exe", "kalvor-cli.exe", "kalvor-deinstallation.exe"};
const char* const kReferenceFiles[] = {"kalvor.mi", "kalvor.db", "kalvor.sy", "kalvor.gl",
                                       "kalvor.lf", "kalvor.kf", "logos.pf",  "kalvor-daten-lizenz.txt"};
// What the program derives from the reference files at start-up.
const char* const kDerivedFiles[] = {"kalvor.fl", "kalvor.si"};

std::string knownFolder(int csidl) {
  char path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::optional<std::string> contentOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool writeText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

// Removes a folder with everything in it (one level of subfolders is all a
// Kalvor folder has).
void removeTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeTree(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(find, &found));
    FindClose(find);
  }
  RemoveDirectoryA(folder.c_str());
}

// The working folder and target of a shortcut, through the shell's own link object.
struct Shortcut {
  std::string target;
  std::string workingFolder;
};
std::optional<Shortcut> readShortcut(const std::string& path) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return std::nullopt;
  std::optional<Shortcut> result;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    char target[MAX_PATH] = {}, folder[MAX_PATH] = {};
    if (SUCCEEDED(file->Load(wide, STGM_READ)) && SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0)) &&
        SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH)))
      result = Shortcut{target, folder};
    file->Release();
  }
  link->Release();
  return result;
}

// Runs a program and waits until it and every process it started have ended:
// an NSIS uninstaller copies itself to the temporary folder and runs from there.
std::optional<DWORD> runWithChildrenToEnd(const std::string& commandLine, const std::string& folder) {
  const HANDLE job = CreateJobObjectA(nullptr, nullptr);
  if (!job) return std::nullopt;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                      folder.c_str(), &startup, &info)) {
    CloseHandle(job);
    return std::nullopt;
  }
  AssignProcessToJobObject(job, info.hProcess);
  ResumeThread(info.hThread);
  std::optional<DWORD> code;
  if (WaitForSingleObject(info.hProcess, kSetupTimeoutMs) == WAIT_OBJECT_0) {
    DWORD exitCode = 0;
    GetExitCodeProcess(info.hProcess, &exitCode);
    code = exitCode;
  }
  // The job's process count falls to zero when the copy has finished too.
  for (DWORD waited = 0; code && waited < kSetupTimeoutMs; waited += 100) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting, sizeof accounting,
                                   nullptr) ||
        accounting.ActiveProcesses == 0)
      break;
    Sleep(100);  // poll interval only: the condition above decides, the time-out only ends a hang
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  CloseHandle(job);
  return code;
}

// The full path of the setup program beside the driver.
std::string setupProgram() {
  char full[MAX_PATH];
  if (GetFullPathNameA("kalvor-setup.exe", MAX_PATH, full, nullptr) == 0) return {};
  return full;
}

}  // namespace

UI_CASE(installer, installUpdateAndUninstall) {
  const std::string setup = setupProgram();
  UI_CHECK(exists(setup));
  const std::string localAppData = knownFolder(CSIDL_LOCAL_APPDATA);
  const std::string startMenu = knownFolder(CSIDL_PROGRAMS);
  UI_CHECK(!localAppData.empty() && !startMenu.empty());
  if (!exists(setup) || localAppData.empty() || startMenu.empty()) return;
  const std::string folder = localAppData + "\\Programs\\Kalvor";
  // A clean start: whatever an earlier run of this test left behind goes.
  removeTree(folder);
  removeTree(startMenu + "\\Kalvor");

  // Silent installation, for this user, without administrator rights.
  UI_CHECK_EQ(runToEnd("\"" + setup + "\" /S", localAppData, kSetupTimeoutMs).value_or(99), 0u);
  for (const char* name : kProgramFiles) UI_CHECK(exists(folder + "\\" + name));
  for (const char* name : kReferenceFiles) UI_CHECK(exists(folder + "\\" + name));
  // The licence text is UTF-8 with a byte-order mark, as Notepad needs it.
  UI_CHECK(contentOf(folder + "\\kalvor-daten-lizenz.txt").value_or("").rfind("\xEF\xBB\xBF", 0) == 0);

  // The Start-menu entry starts kalvor.exe in the installation folder.
  CoInitialize(nullptr);
  const auto shortcut = readShortcut(startMenu + "\\Kalvor\\Kalvor.lnk");
  CoUninitialize();
  UI_CHECK(shortcut.has_value());
  if (shortcut) {
    UI_CHECK_EQ(lstrcmpiA(shortcut->target.c_str(), (folder + "\\kalvor.exe").c_str()), 0);
    UI_CHECK_EQ(lstrcmpiA(shortcut->workingFolder.c_str(), folder.c_str()), 0);
  }

  // The installed program starts on the shipped data and fills the mineral list.
  {
    Program kalvor;
    const HWND main = startKalvor(kalvor, folder);
    UI_CHECK(main != nullptr);
    if (!main) return;
    const HWND list = waitForChild(main, 1000, 60000);
    UI_CHECK(list != nullptr);
    UI_CHECK(list && listQuery(list, kListQueryCount) > 1000);
    saveScreenshot(main, "screenshots\\installer_installed.png");
    UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
  }
  for (const char* name : kDerivedFiles) UI_CHECK(exists(folder + "\\" + name));

  // The user's own files: a locality, the settings, a backup folder.
  UI_CHECK_EQ(
      runToEnd("\"" + folder + "\\kalvor-cli.exe\" fundort neu --name \"Grube Clara\" --ort Oberwolfach",
               folder, 60000)
          .value_or(99),
      0u);
  UI_CHECK(exists(folder + "\\kalvor.ini"));
  CreateDirectoryA((folder + "\\Sicherung").c_str(), nullptr);
  CreateDirectoryA((folder + "\\Sicherung\\20260101-120000").c_str(), nullptr);
  UI_CHECK(writeText(folder + "\\Sicherung\\20260101-120000\\kalvor.fs", "a generation"));
  const char* const kUserFiles[] = {"kalvor.fs", "kalvor.vi", "kalvor.ini",
                                    "Sicherung\\20260101-120000\\kalvor.fs"};
  std::map<std::string, std::string> before;
  for (const char* name : kUserFiles) {
    const auto content = contentOf(folder + "\\" + name);
    UI_CHECK(content.has_value());
    before[name] = content.value_or("");
  }
  UI_CHECK(!before["kalvor.fs"].empty());

  // An update over the installed version keeps all of them, byte for byte, and
  // drops what was derived from the old reference data.
  UI_CHECK_EQ(runToEnd("\"" + setup + "\" /S", localAppData, kSetupTimeoutMs).value_or(99), 0u);
  for (const char* name : kUserFiles) UI_CHECK(contentOf(folder + "\\" + name) == before[name]);
  for (const char* name : kDerivedFiles) UI_CHECK(!exists(folder + "\\" + name));
  {
    Program kalvor;
    const HWND main = startKalvor(kalvor, folder);
    UI_CHECK(main != nullptr);
    if (!main) return;
    UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
  }
  UI_CHECK(contentOf(folder + "\\kalvor.fs") == before["kalvor.fs"]);

  // The uninstaller takes the program, the reference files, what was derived
  // from them and the Start-menu entries, and leaves the user's files.
  UI_CHECK_EQ(runWithChildrenToEnd("\"" + folder + "\\kalvor-deinstallation.exe\" /S", folder).value_or(99),
              0u);
  for (const char* name : kProgramFiles) UI_CHECK(!exists(folder + "\\" + name));
  for (const char* name : kReferenceFiles) UI_CHECK(!exists(folder + "\\" + name));
  for (const char* name : kDerivedFiles) UI_CHECK(!exists(folder + "\\" + name));
  UI_CHECK(!exists(startMenu + "\\Kalvor"));
  for (const char* name : kUserFiles) UI_CHECK(contentOf(folder + "\\" + name) == before[name]);
  removeTree(folder);
}
