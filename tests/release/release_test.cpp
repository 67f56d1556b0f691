// The release packages as a user meets them: the installer run silently, the
// Explorer command it registers for folders, its uninstaller, and the
// portable zip unpacked into an empty folder.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/main_layout.h"
#include "driver.h"

namespace e2e {
namespace {

using nestova::kLblFolder;
using nestova::kLBxColl;
using nestova::kLVIcons;
using nestova::MainControlId;
using nestova::platform::UniqueFind;
using nestova::platform::UniqueRegKey;

const wchar_t kMenuKey[] = L"Software\\Classes\\Directory\\shell\\Nestova";
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nestova";

// A path the test was given by CTest.
std::wstring Given(const wchar_t* name) {
  std::wstring value(32768, L'\0');
  value.resize(::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size())));
  if (value.empty()) throw std::runtime_error("the test needs its environment from CTest");
  return value;
}

bool Exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Bytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

// The names of a folder's subfolders, or of its files, sorted.
std::vector<std::wstring> Entries(const std::wstring& folder, bool subfolders) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  const UniqueFind search(::FindFirstFileW((folder + L"\\*").c_str(), &data));
  if (!search) return names;
  do {
    const std::wstring name = data.cFileName;
    const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (isFolder == subfolders && name != L"." && name != L"..") names.push_back(name);
  } while (::FindNextFileW(search.get(), &data));
  std::sort(names.begin(), names.end());
  return names;
}
std::vector<std::wstring> Subfolders(const std::wstring& folder) { return Entries(folder, true); }
std::vector<std::wstring> Files(const std::wstring& folder) { return Entries(folder, false); }

std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) {
    throw std::runtime_error("no shell folder " + std::to_string(csidl));
  }
  return path;
}

std::wstring InstallDir() { return ShellFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Nestova"; }
std::wstring StartMenuShortcut() { return ShellFolder(CSIDL_PROGRAMS) + L"\\Nestova.lnk"; }

// The program a shortcut starts, or an empty string.
std::wstring ShortcutTarget(const std::wstring& shortcut) {
  const nestova::platform::OleInit ole;
  nestova::platform::ComPtr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.put_void()))) {
    return L"";
  }
  const auto file = link.As<IPersistFile>();
  if (!file || FAILED(file->Load(shortcut.c_str(), STGM_READ))) return L"";
  wchar_t target[MAX_PATH] = {};
  if (FAILED(link->GetPath(target, MAX_PATH, nullptr, 0))) return L"";
  return target;
}

bool KeyExists(const wchar_t* key) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  const UniqueRegKey owner(opened);
  return true;
}

// A string value of a key under HKEY_CURRENT_USER; nullptr names the default.
std::optional<std::wstring> RegString(const wchar_t* key, const wchar_t* value) {
  DWORD size = 0;
  if (::RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (::RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_REG_SZ, nullptr, text.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  text.resize(size / sizeof(wchar_t) - 1);  // without the final null
  return text;
}

// The version in the file's properties, from its fixed part and its text.
struct FileVersion {
  std::wstring fixed, text;
};
FileVersion VersionOf(const std::wstring& file) {
  DWORD ignored = 0;
  std::vector<char> info(::GetFileVersionInfoSizeW(file.c_str(), &ignored));
  if (info.empty() ||
      !::GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(info.size()), info.data())) {
    return {};
  }
  FileVersion version;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  if (::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size) && fixed) {
    version.fixed = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                    std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                    std::to_wstring(HIWORD(fixed->dwFileVersionLS));
  }
  wchar_t* text = nullptr;
  if (::VerQueryValueW(info.data(), L"\\StringFileInfo\\041904B0\\ProductVersion",
                       reinterpret_cast<void**>(&text), &size) &&
      text) {
    version.text = text;
  }
  return version;
}

// Runs a program to its end; its exit code, or nullopt when it did not end in time.
std::optional<DWORD> RunToEnd(const std::wstring& commandLine) {
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
    return std::nullopt;
  }
  const nestova::platform::UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
  if (::WaitForSingleObject(pi.hProcess, 120000) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  ::GetExitCodeProcess(pi.hProcess, &code);
  return code;
}

// Files that every package carries beside the program.
const wchar_t* const kShippedFiles[] = {L"Nestova.exe", L"ReadMe.txt", L"Guide.ru.txt",
                                        L"Guide.en.txt", L"LICENSE.txt"};

// What a failed earlier run may have left in this test's own prefix.
void RemoveLeftovers() {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kMenuKey);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
  ::DeleteFileW(StartMenuShortcut().c_str());
  const std::wstring from = InstallDir() + L'\0';  // double-null-terminated list
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  ::SHFileOperationW(&op);
}

// Installs silently; the uninstall command it registers.
std::wstring Install() {
  RemoveLeftovers();
  EXPECT_FALSE(Exists(InstallDir()));
  EXPECT_EQ(RunToEnd(Quoted(Given(L"NESTOVA_SETUP")) + L" /S"), 0u);
  const std::optional<std::wstring> uninstall = RegString(kUninstallKey, L"UninstallString");
  if (!uninstall) throw std::runtime_error("the installer registered no uninstaller");
  return *uninstall;
}

// Runs the uninstaller silently. It works on from a copy of itself once the
// one started has ended, so its results are waited for.
void Uninstall(const std::wstring& command) { ASSERT_EQ(RunToEnd(command + L" /S"), 0u); }

TEST(Installer, SilentInstallMenuCommandAndSilentUninstall) {
  const std::wstring uninstall = Install();
  const std::wstring dir = InstallDir();

  // Files: the same build as the one this test was built with.
  for (const wchar_t* file : kShippedFiles) {
    EXPECT_TRUE(Exists(dir + L"\\" + file)) << testing::PrintToString(std::wstring(file));
  }
  EXPECT_TRUE(IsFolder(dir + L"\\Icons"));
  EXPECT_EQ(Subfolders(dir + L"\\Icons"), Subfolders(BinDir() + L"Icons"));
  const std::wstring exe = dir + L"\\Nestova.exe";
  EXPECT_TRUE(Bytes(exe) == Bytes(NestovaExe())) << "the installed program is not this build";
  const FileVersion version = VersionOf(exe);
  EXPECT_EQ(version.fixed, NESTOVA_VERSION);
  EXPECT_EQ(version.text, NESTOVA_VERSION);
  EXPECT_TRUE(::lstrcmpiW(ShortcutTarget(StartMenuShortcut()).c_str(), exe.c_str()) == 0)
      << "the Start-menu shortcut does not start the installed program";
  EXPECT_EQ(RegString(kUninstallKey, L"DisplayVersion"), NESTOVA_VERSION);

  // Explorer's entry for folders: Russian text, the program's icon, and a
  // command with the folder quoted as argument 1.
  EXPECT_EQ(RegString(kMenuKey, nullptr), L"Изменить значок папки");
  EXPECT_EQ(RegString(kMenuKey, L"Icon"), exe + L",0");
  const std::optional<std::wstring> command =
      RegString((std::wstring(kMenuKey) + L"\\command").c_str(), nullptr);
  ASSERT_EQ(command, Quoted(exe) + L" \"%1\"");
  TempDir temp;
  const std::wstring folder = temp.Make(L"Мои фото 2026");
  const std::wstring desktopIni = folder + L"\\Desktop.ini";
  {
    // As Explorer runs it on a folder whose name has spaces: %1 becomes the
    // folder's path, and the first word of the command names the program.
    std::wstring line = *command;
    line.replace(line.find(L"%1"), 2, folder);
    App app(line, L"", std::nullopt);
    HWND main = app.WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "no window for the menu command";
    EXPECT_EQ(WindowText(FindControl(main, MainControlId(kLblFolder))), folder + L"\\");
    // The user gives the folder the first icon of the first collection.
    HWND view = FindControl(main, MainControlId(kLVIcons));
    ASSERT_TRUE(PollUntil([&] { return ListView_GetItemCount(view) > 0; }));
    app.PressKey(VK_TAB);
    ASSERT_TRUE(PollUntil([&] { return app.Focus() == view; }));
    app.PressKey(VK_HOME);
    ASSERT_TRUE(PollUntil([&] { return ListView_GetSelectedCount(view) == 1; }));
    app.PressKey(VK_RETURN);
    EXPECT_EQ(app.WaitForExit(), 0u);
  }
  const std::string customised = Bytes(desktopIni);
  ASSERT_FALSE(customised.empty()) << "the folder got no icon";
  const std::vector<std::wstring> customisedFiles = Files(folder);

  Uninstall(uninstall);
  EXPECT_TRUE(PollUntil([&] { return !Exists(dir); }, 60s))
      << "the uninstaller left the program's folder";
  EXPECT_TRUE(PollUntil([&] { return !KeyExists(kMenuKey) && !KeyExists(kUninstallKey); }))
      << "the uninstaller left a registry key";
  EXPECT_FALSE(Exists(StartMenuShortcut()));
  // The customised folder keeps its icon.
  EXPECT_EQ(Bytes(desktopIni), customised);
  EXPECT_EQ(Files(folder), customisedFiles);
}

TEST(Installer, UninstallKeepsACollectionOfTheUsersOwn) {
  const std::wstring uninstall = Install();
  const std::wstring dir = InstallDir();
  // The program's settings go with it; what the user added stays.
  WriteFile(dir + L"\\config.ini", "[Update]\r\nLast=01.01.2026\r\n");
  const std::wstring own = dir + L"\\Icons\\Моя коллекция";
  ASSERT_TRUE(::CreateDirectoryW(own.c_str(), nullptr));
  WriteFile(own + L"\\mine.ico", "not ours");

  Uninstall(uninstall);
  const auto onlyOwnLeft = [&] {
    for (const wchar_t* file : kShippedFiles) {
      if (Exists(dir + L"\\" + file)) return false;
    }
    return !Exists(dir + L"\\Uninstall.exe") && !Exists(dir + L"\\config.ini") &&
           Subfolders(dir + L"\\Icons") == std::vector<std::wstring>{L"Моя коллекция"} &&
           !KeyExists(kMenuKey) && !KeyExists(kUninstallKey) && !Exists(StartMenuShortcut());
  };
  EXPECT_TRUE(PollUntil(onlyOwnLeft, 60s)) << "the uninstaller left something of ours";
  EXPECT_EQ(Bytes(own + L"\\mine.ico"), "not ours");
  RemoveLeftovers();
}

TEST(PortableZip, UnpackedIntoAnEmptyFolderRunsAndListsTheCollections) {
  const std::wstring dir = Given(L"NESTOVA_PORTABLE");
  for (const wchar_t* file : kShippedFiles) {
    EXPECT_TRUE(Exists(dir + L"\\" + file)) << testing::PrintToString(std::wstring(file));
  }
  ASSERT_TRUE(IsFolder(dir + L"\\Icons"));
  const std::vector<std::wstring> collections = Subfolders(dir + L"\\Icons");
  EXPECT_EQ(collections, Subfolders(BinDir() + L"Icons"));
  EXPECT_GE(collections.size(), 2u) << "the sample collections are missing";
  const std::wstring exe = dir + L"\\Nestova.exe";
  EXPECT_TRUE(Bytes(exe) == Bytes(NestovaExe())) << "the zip does not carry this build";

  TempDir temp;
  const std::wstring folder = temp.Make(L"Work");
  App app(Quoted(exe) + L" " + Quoted(folder), L"", exe);
  HWND main = app.WaitForMainWindow();
  ASSERT_NE(main, nullptr) << "the unpacked program shows no window";
  EXPECT_EQ(WindowText(FindControl(main, MainControlId(kLblFolder))), folder + L"\\");
  std::vector<std::wstring> listed = ListBoxItems(FindControl(main, MainControlId(kLBxColl)));
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, collections);
  HWND icons = FindControl(main, MainControlId(kLVIcons));
  EXPECT_TRUE(PollUntil([&] { return ListView_GetItemCount(icons) >= 12; }))
      << "the first collection shows no icons";
  app.PressKey(VK_ESCAPE);
  EXPECT_EQ(app.WaitForExit(), 0u);
}

}  // namespace
}  // namespace e2e
