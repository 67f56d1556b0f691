// The main window's part of the daily update check: the gate at the end of
// FormCreate, the timer that polls the worker's answer, and the notice.
#include "app/Unit_Main.h"
#include "app/Unit_Update.h"

namespace nestova {

void TFrm_Main::RunDailyGate() {
  const bool started = nestova::RunDailyGate(
      platform_, programDir_, [] { StartVersionCheck(kUpdateUrl, kCurrentVersion); });
  if (started) ::SetTimer(hwnd(), kTmrUpdate, 2000, nullptr);
}

void TFrm_Main::Tmr_UpdateTimer() {
  if (!Update().NewVersion.Announced()) return;
  ::KillTimer(hwnd(), kTmrUpdate);
  ::ShowWindow(Control(kPnlNewVersion), SW_SHOW);
}

void TFrm_Main::sLabel1Click() {
  OpenAnnouncedPage(platform_, hwnd(), Update().NewVersion.Page());
  ::ShowWindow(Control(kPnlNewVersion), SW_HIDE);
  ::SendMessageW(hwnd(), WM_CLOSE, 0, 0);
}

}  // namespace nestova
