#pragma once
// The main window: start-up decisions, the controls and their handlers.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/browser.h"
#include "app/icon_view_win.h"
#include "app/main_layout.h"
#include "components/TsLabelFX.h"
#include "components/TsPathDialog.h"
#include "components/TsWebLabel.h"
#include "platform/handles.h"
#include "platform/platform.h"
#include "ui/routing.h"
#include "ui/window.h"

namespace nestova {

class TFrm_Main final : public ui::Window {
 public:
  // Creates the window and all its controls, hidden. Everything it does to
  // the outside world goes through `platform`.
  TFrm_Main(HINSTANCE instance, platform::Platform& platform);
  // The controls go before the fonts and glyphs they use.
  ~TFrm_Main() override { Destroy(); }

  // Fixes the program's folders and the target folder. False when the
  // program has to stop without ever showing the window.
  bool FormCreate();

  // Shows the window for the first time, with the focus on the first
  // control in tab order.
  void Show();

  const std::u16string& ProgramDir() const { return programDir_; }
  const std::u16string& IconsDir() const { return iconsDir_; }
  const std::u16string& TargetFolder() const { return targetFolder_; }
  const std::u16string& CurrentCollection() const { return currentCollection_; }

 private:
  // Sizeable, with maximise but no minimise button; above ordinary windows;
  // its own taskbar button.
  static constexpr DWORD kStyle = (WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX) | WS_CLIPCHILDREN;
  static constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  void LV_IconsResize();
  void Btn_CancelClick();

  // The collection and icon browser, in Unit_Main_browser.cpp.
  void LoadCollections();
  void LBx_CollClick();
  void LoadCollectionIcons();
  void ProcessPendingMessages();
  void CreateBrowser();

  // The folder icon writer's buttons, in Unit_Main_writer.cpp.
  void Btn_ApplyClick();
  void Btn_ClearClick();

  // The update notice, in Unit_Main_update.cpp.
  static constexpr UINT_PTR kTmrUpdate = 1;  // Tmr_Update: 2000 ms, enabled by the gate
  void RunDailyGate();
  void Tmr_UpdateTimer();
  void sLabel1Click();

  // Which control notification runs which handler.
  static const ui::ControlEvent<TFrm_Main> kEvents[];

  // Window furniture, in Unit_Main_controls.cpp.
  void CreateControls();
  void ApplyDpi(int dpi);
  // Where the controls belong at the window's present size and density.
  std::vector<ui::Rect> Layout() const;
  void ApplyLayout();
  void CentreOnDesktop();
  // The window's outer rectangle at `dpi`, centred on the monitor's work area.
  static ui::Rect CentredPlace(HMONITOR monitor, int dpi);
  HWND Control(MainControl c) const { return controls_[c]; }
  // The labels, in Unit_Main_labels.cpp: nullptr for other controls.
  HWND CreateLabel(MainControl control, HWND parent, const ui::Rect& place);
  void ApplyLabelFonts();
  static const wchar_t kIconSetUrl[];
  static const wchar_t kOwnSiteUrl[];
  static LRESULT IconViewProc(HWND, UINT, WPARAM, LPARAM, DWORD_PTR);

  HINSTANCE instance_;
  platform::Platform& platform_;
  int dpi_ = ui::kDesignDpi;
  std::array<HWND, kMainControlCount> controls_{};  // children: destroyed with the window
  platform::UniqueFont windowFont_;
  platform::UniqueFont boldFont_;
  platform::UniqueFont linkFont_;
  std::array<platform::UniqueImageList, 3> glyphs_;  // Apply, Cancel, Clear

  TsPathDialog PathDialog;
  components::TsLabelFX Lbl_Folder;
  components::TsWebLabel sWebLabel1{platform_};
  components::TsWebLabel sWebLabel2{platform_};

  std::u16string programDir_;
  std::u16string iconsDir_;
  std::u16string targetFolder_;
  std::u16string currentCollection_;

  bool collectionsLoaded_ = false;  // the list is filled when the window is first shown
  std::unique_ptr<ListViewIconView> iconView_;
  std::unique_ptr<CollectionBrowser> browser_;
};

}  // namespace nestova
