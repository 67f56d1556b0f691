#pragma once
// The folder chooser's window: the shell tree, OK, Cancel, Create and the
// optional root buttons. Exists only while TsPathDialog::Execute runs.
#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "components/TsShellTreeView.h"
#include "components/path_dialog_layout.h"
#include "platform/handles.h"
#include "platform/platform.h"
#include "ui/routing.h"
#include "ui/window.h"

namespace nestova::components {

// The window's texts from the string table, loaded once per process.
struct ChooserTexts {
  std::u16string caption, root, ok, cancel, create;
};
const ChooserTexts& LoadedChooserTexts();

class TPathDialogForm final : public ui::Window {
 public:
  TPathDialogForm(HINSTANCE instance, platform::Platform& platform);
  ~TPathDialogForm() override { Destroy(); }  // the tree's notifications need the members

  TsShellTreeView& sShellTreeView1() { return *tree_; }
  HWND Control(PathDialogControl c) const { return controls_[c]; }

  // The preparation steps.
  void InitLngCaptions();
  void ShowCreate(bool visible);
  void ShowRootButtons(bool visible);
  void UpdateAnchors();
  void SetTreeCaption(const std::u16string& caption);

  // Shows the window and runs its messages until it closes: IDOK or IDCANCEL.
  int ShowModal();
  // What the buttons decided so far: 0 (stay open), IDOK or IDCANCEL.
  int ModalResult() const { return modalResult_; }

  // The handlers.
  void sShellTreeView1Change();
  void sBitBtn1Click();
  void sBitBtn2Click();
  void sBitBtn3Click();
  void BtnOnClick(int index);

 private:
  static constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  static constexpr DWORD kExStyle = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME;

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void GenerateButtons();
  void ApplyLayout();
  void SetChoosable(bool enabled);
  void RootButton0() { BtnOnClick(0); }
  void RootButton1() { BtnOnClick(1); }
  void RootButton2() { BtnOnClick(2); }
  void RootButton3() { BtnOnClick(3); }
  static const ui::ControlEvent<TPathDialogForm> kEvents[];

  HINSTANCE instance_;
  platform::Platform& platform_;
  std::array<HWND, kPathDialogControlCount> controls_{};  // children: go with the window
  std::array<ui::LayoutItem, kPathDialogControlCount> layout_ = kPathDialogLayout;
  ui::Size designClient_{};
  std::unique_ptr<TsShellTreeView> tree_;
  std::vector<HWND> rootButtons_;                // children of the panel
  std::vector<platform::UniqueIcon> rootIcons_;  // shown on the root buttons
  int modalResult_ = 0;
};

}  // namespace nestova::components
