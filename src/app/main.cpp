// The program's main block: set up, create the main window, run it.
#include <windows.h>
#include <commctrl.h>

#include <exception>

#include "app/Unit_Main.h"
#include "components/TacShellFolder.h"
#include "platform/handles.h"
#include "platform/system_platform.h"

namespace {

int RunMessageLoop(nestova::ui::Window& window) {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Tab, Enter and Esc work as in a dialog.
    if (window.TranslateDialogKeys(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES |
                                                           ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES};
  ::InitCommonControlsEx(&controls);
  try {
    // The shell's state for the chooser, made when the chooser first needs it.
    const nestova::components::ShellModule shell(nestova::platform::SystemPlatform());
    nestova::TFrm_Main Frm_Main(instance, nestova::platform::SystemPlatform());
    if (Frm_Main.FormCreate()) {
      Frm_Main.Show();
      RunMessageLoop(Frm_Main);
    }
  } catch (const std::exception& e) {
    // Start-up could not build its window; say so rather than vanish.
    ::MessageBoxA(nullptr, e.what(), "Nestova", MB_ICONERROR | MB_OK);
  }
  return 0;  // whatever happened
}
