#include "components/TsPathDialog.h"

#include <windows.h>
#include <shlobj.h>

#include <memory>

#include "platform/os.h"
#include "platform/text.h"

namespace nestova {
namespace {

int CALLBACK SelectInitialFolder(HWND dialog, UINT msg, LPARAM, LPARAM data) {
  if (msg == BFFM_INITIALIZED && data) ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

struct PidlDeleter {
  void operator()(LPITEMIDLIST pidl) const { ::CoTaskMemFree(pidl); }
};

}  // namespace

bool TsPathDialog::Execute() {
  const std::wstring initial = platform::ToWide(Path);
  BROWSEINFOW info{};
  info.hwndOwner = nullptr;  // the main window is not shown yet: the chooser stands alone
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = SelectInitialFolder;
  info.lParam = reinterpret_cast<LPARAM>(initial.c_str());
  // The item-id list is ours to free.
  std::unique_ptr<ITEMIDLIST, PidlDeleter> chosen(::SHBrowseForFolderW(&info));
  if (!chosen) return false;
  wchar_t path[MAX_PATH] = {};
  if (::SHGetPathFromIDListW(chosen.get(), path)) {
    std::u16string result = platform::FromWide(path);
    if (platform::IsExistingDirectory(result)) Path = std::move(result);
  }
  return true;
}

}  // namespace nestova
