#include "app/Unit_Main.h"

#include "app/command_line.h"
#include "app/startup.h"
#include "platform/text.h"
#include "resource.h"
#include "ui/containers.h"
#include "ui/dpi.h"

namespace nestova {
namespace {

// Shared resource icons: the system owns them for the life of the process.
HICON LoadSharedIcon(HINSTANCE instance, int id, int metric) {
  const int size = ::GetSystemMetrics(metric);
  return static_cast<HICON>(
      ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_SHARED));
}

}  // namespace

const ui::ControlEvent<TFrm_Main> TFrm_Main::kEvents[] = {
    {MainControlId(kBtnCancel), BN_CLICKED, &TFrm_Main::Btn_CancelClick},
    {MainControlId(kLBxColl), LBN_SELCHANGE, &TFrm_Main::LBx_CollClick},
    {MainControlId(kBtnApply), BN_CLICKED, &TFrm_Main::Btn_ApplyClick},
    {MainControlId(kLVIcons), NM_DBLCLK, &TFrm_Main::Btn_ApplyClick},
    {MainControlId(kBtnClear), BN_CLICKED, &TFrm_Main::Btn_ClearClick},
    {MainControlId(kSLabel1), STN_CLICKED, &TFrm_Main::sLabel1Click},
};

TFrm_Main::TFrm_Main(HINSTANCE instance, platform::Platform& platform)
    : instance_(instance), platform_(platform), PathDialog(platform) {
  PathDialog.Path = u"D:\\";
  ui::RegisterOwnControlClasses(instance);
  const ui::WindowClass cls{L"TFrm_Main", LoadSharedIcon(instance, IDI_APP, SM_CXICON),
                            LoadSharedIcon(instance, IDI_APP, SM_CXSMICON), true};
  // Made at its final size and place, its controls too: nothing has to move
  // before the window shows.
  const int dpi = ui::SystemDpi();
  CreateTopLevel(instance, cls, kExStyle, kStyle, L"Nestova",
                 CentredPlace(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), dpi));
  dpi_ = ui::DpiForWindow(hwnd());
  CreateControls();
  CreateBrowser();
  ApplyDpi(dpi_);
  // Its monitor is denser or sparser than the system: sized for the monitor.
  if (dpi_ != dpi) CentreOnDesktop();
}

bool TFrm_Main::FormCreate() {
  programDir_ = ProgramDirFromModulePath(platform_.ModulePath());
  iconsDir_ = programDir_ + u"Icons\\";
  const std::optional<std::u16string> target =
      ResolveTargetFolder(FirstArgument(platform_.CommandLine()), platform_, [this] {
        return RunChooser(
            [this](bool onRoot) -> std::optional<std::u16string> {
              if (onRoot) PathDialog.Path.clear();
              if (!PathDialog.Execute()) return std::nullopt;
              return PathDialog.Path;
            },
            [this](const std::u16string& text) {
              platform_.ShowMessage(nullptr, text, u"Nestova", platform::MessageIcon::kError);
            });
      });
  if (!target) return false;
  targetFolder_ = *target;
  ::SetWindowTextW(Control(kLblFolder), platform::ToWide(targetFolder_).c_str());
  RunDailyGate();
  return true;
}

void TFrm_Main::Show() {
  ::ShowWindow(hwnd(), SW_SHOWDEFAULT);  // honours a shortcut's "run maximised"
  ::UpdateWindow(hwnd());
  // The focus starts on the first control in tab order.
  ::SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(kLBxColl)), TRUE);
}

void TFrm_Main::LV_IconsResize() {
  HWND view = Control(kLVIcons);
  if (!view) return;
  ListView_SetView(view, LV_VIEW_ICON);
  ListView_Arrange(view, LVA_DEFAULT);
}

void TFrm_Main::Btn_CancelClick() { ::SendMessageW(hwnd(), WM_CLOSE, 0, 0); }

LRESULT TFrm_Main::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) ApplyLayout();
      return 0;
    case WM_DPICHANGED: {
      ApplyDpi(HIWORD(wParam));
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyLayout();
      return 0;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
      if (ui::RouteControlEvent<TFrm_Main>(*this, kEvents, msg, wParam, lParam)) return 0;
      break;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
      ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == Control(kSLabel1)) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_SHOWWINDOW:
      if (wParam && !collectionsLoaded_) {
        collectionsLoaded_ = true;
        LoadCollections();
      }
      break;
    case WM_TIMER:
      if (wParam != kTmrUpdate) break;
      Tmr_UpdateTimer();
      return 0;
    case WM_CLOSE:
      ::DestroyWindow(hwnd());
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
  }
  return DefaultProc(msg, wParam, lParam);
}

}  // namespace nestova
