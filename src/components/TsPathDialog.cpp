#include "components/TsPathDialog.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/handles.h"
#include "platform/text.h"

namespace nestova {
namespace {

int CALLBACK SelectInitialFolder(HWND dialog, UINT msg, LPARAM, LPARAM data) {
  if (msg == BFFM_INITIALIZED && data) ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

}  // namespace

bool TsPathDialog::Execute() {
  const std::wstring initial = platform::ToWide(Path);
  BROWSEINFOW info{};
  info.hwndOwner = nullptr;  // the main window is not shown yet: the chooser stands alone
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = SelectInitialFolder;
  info.lParam = reinterpret_cast<LPARAM>(initial.c_str());
  // The item-id list is ours to free.
  const platform::UniquePidl chosen(::SHBrowseForFolderW(&info));
  if (!chosen) return false;
  wchar_t path[MAX_PATH] = {};
  if (::SHGetPathFromIDListW(chosen.get(), path)) {
    std::u16string result = platform::FromWide(path);
    if (platform::IsExistingDirectory(platform_, result)) Path = std::move(result);
  }
  return true;
}

}  // namespace nestova
