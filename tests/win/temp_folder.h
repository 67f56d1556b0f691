#pragma once
// A fresh, empty folder under the temporary folder for one test, removed
// with everything in it afterwards.
#include <windows.h>
#include <shellapi.h>

#include <stdexcept>
#include <string>

#include "platform/handles.h"

namespace nestova {

class TempFolder {
 public:
  TempFolder() {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    for (unsigned n = ::GetTickCount() ^ ::GetCurrentProcessId();; ++n) {
      path_ = std::wstring(temp) + L"nestova-test-" + std::to_wstring(n);
      if (::CreateDirectoryW(path_.c_str(), nullptr)) return;
      if (::GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("no temp folder");
    }
  }
  ~TempFolder() {
    // Attributes that would block the delete go first.
    ClearAttributes(path_);
    std::wstring from = path_ + L'\0';  // double-null-terminated list
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    ::SHFileOperationW(&op);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& path() const { return path_; }
  // Creates a subfolder and returns its full path.
  std::wstring Make(const std::wstring& relative) const {
    const std::wstring full = path_ + L"\\" + relative;
    ::CreateDirectoryW(full.c_str(), nullptr);
    return full;
  }

 private:
  static void ClearAttributes(const std::wstring& folder) {
    ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    WIN32_FIND_DATAW data;
    const platform::UniqueFind search(::FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!search) return;
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = folder + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        ClearAttributes(full);
      } else {
        ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      }
    } while (::FindNextFileW(search.get(), &data));
  }

  std::wstring path_;
};

}  // namespace nestova
