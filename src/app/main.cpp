// The program's main block: set up, create the main window, run it.
#include <windows.h>
#include <commctrl.h>

#include <exception>

#include "app/Unit_Main.h"
#include "platform/handles.h"

namespace {

int RunMessageLoop(HWND dialog) {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Tab, Enter and Esc work as in a dialog.
    if (::IsWindow(dialog) && ::IsDialogMessageW(dialog, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const nestova::platform::OleInit ole;
  const INITCOMMONCONTROLSEX controls{
      sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  try {
    nestova::TFrm_Main Frm_Main(instance);
    if (Frm_Main.FormCreate()) {
      Frm_Main.Show();
      RunMessageLoop(Frm_Main.hwnd());
    }
  } catch (const std::exception& e) {
    // Start-up could not build its window; say so rather than vanish.
    ::MessageBoxA(nullptr, e.what(), "Nestova", MB_ICONERROR | MB_OK);
  }
  return 0;  // whatever happened
}
