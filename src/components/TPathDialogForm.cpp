#include "components/TPathDialogForm.h"

#include <iterator>
#include <stdexcept>

#include "components/path_rules.h"
#include "platform/text.h"
#include "resource.h"
#include "ui/containers.h"

namespace nestova::components {
namespace {

std::u16string LoadText(HINSTANCE instance, UINT id) {
  const wchar_t* text = nullptr;  // points into the loaded resource
  const int length = ::LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 ? std::u16string(reinterpret_cast<const char16_t*>(text), length)
                    : std::u16string();
}

struct ControlSpec {
  const wchar_t* cls;
  DWORD style;
  DWORD exStyle;
};

// Indexed by PathDialogControl; the tree makes its own window.
const std::array<ControlSpec, kPathDialogControlCount> kSpecs = [] {
  std::array<ControlSpec, kPathDialogControlCount> s{};
  s[kTree] = {nullptr, 0, 0};
  s[kOk] = {WC_BUTTONW, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0};
  s[kCancel] = {WC_BUTTONW, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0};
  // Disabled until a folder is selected.
  s[kCreate] = {WC_BUTTONW, WS_VISIBLE | WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON, 0};
  s[kRootPanel] = {ui::kPanelClass, WS_TABSTOP | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
  s[kRootLabel] = {WC_STATICW, SS_LEFTNOWORDWRAP, 0};
  s[kCaptionLine] = {WC_STATICW, WS_VISIBLE | SS_LEFTNOWORDWRAP, 0};
  return s;
}();

constexpr PathDialogControl kTabOrder[] = {kTree, kOk, kCancel, kCreate, kRootPanel};

// The tree: labels edited in place, buttons and lines below the root
// level only, the selection hidden while the tree has no focus.
constexpr DWORD kTreeStyle = TVS_HASBUTTONS | TVS_HASLINES | TVS_EDITLABELS;
constexpr int kTreeIndent = 19;
constexpr unsigned kChooserObjectTypes = otFolders | otHidden;

// The root buttons' folders, top to bottom, by their ordinal among the root
// names: Desktop, Computer, Personal, Network.
constexpr int kRootButtonTags[] = {0, 1, 14, 2};

}  // namespace

const ChooserTexts& LoadedChooserTexts() {
  static const ChooserTexts texts = [] {
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    return ChooserTexts{LoadText(module, IDS_SELECT_DIRECTORY), LoadText(module, IDS_ROOT),
                        LoadText(module, IDS_OK), LoadText(module, IDS_CANCEL),
                        LoadText(module, IDS_CREATE)};
  }();
  return texts;
}

const ui::ControlEvent<TPathDialogForm> TPathDialogForm::kEvents[] = {
    {PathDialogControlId(kOk), BN_CLICKED, &TPathDialogForm::sBitBtn1Click},
    {PathDialogControlId(kCancel), BN_CLICKED, &TPathDialogForm::sBitBtn2Click},
    {PathDialogControlId(kCreate), BN_CLICKED, &TPathDialogForm::sBitBtn3Click},
    {kRootButtonFirstId + 0, BN_CLICKED, &TPathDialogForm::RootButton0},
    {kRootButtonFirstId + 1, BN_CLICKED, &TPathDialogForm::RootButton1},
    {kRootButtonFirstId + 2, BN_CLICKED, &TPathDialogForm::RootButton2},
    {kRootButtonFirstId + 3, BN_CLICKED, &TPathDialogForm::RootButton3},
};

TPathDialogForm::TPathDialogForm(HINSTANCE instance, platform::Platform& platform)
    : instance_(instance), platform_(platform) {
  ui::RegisterOwnControlClasses(instance);
  CreateTopLevel(instance, ui::WindowClass{L"TPathDialogForm", nullptr, nullptr, true}, kExStyle,
                 kStyle, L"",
                 {CW_USEDEFAULT, CW_USEDEFAULT, kPathDialogOuter.width, kPathDialogOuter.height});
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  designClient_ = {client.right, client.bottom};

  HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));  // the system's
  for (int i = 0; i < kPathDialogControlCount; ++i) {
    const auto control = static_cast<PathDialogControl>(i);
    if (control == kTree) {
      tree_ =
          std::make_unique<TsShellTreeView>(hwnd(), PathDialogControlId(kTree), instance, platform,
                                            kTreeStyle, u"rfDesktop", kChooserObjectTypes);
      controls_[i] = tree_->hwnd();
      TreeView_SetIndent(controls_[i], kTreeIndent);
    } else {
      controls_[i] =
          ui::CreateChild(hwnd(), PathDialogControlId(control), kSpecs[i].cls, L"",
                          WS_CLIPSIBLINGS | kSpecs[i].style, kSpecs[i].exStyle, instance);
    }
    ::SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  tree_->OnChange = [this] { sShellTreeView1Change(); };
  std::vector<HWND> order;
  for (PathDialogControl c : kTabOrder) order.push_back(Control(c));
  SetTabOrder(std::move(order));
  ::SendMessageW(hwnd(), DM_SETDEFID, PathDialogControlId(kOk), 0);
  ApplyLayout();
  // What the tree selected while it was built decides the buttons.
  sShellTreeView1Change();
}

void TPathDialogForm::InitLngCaptions() {
  const ChooserTexts& texts = LoadedChooserTexts();
  ::SetWindowTextW(hwnd(), platform::ToWide(texts.caption).c_str());
  ::SetWindowTextW(Control(kRootLabel), platform::ToWide(texts.root).c_str());
  ::SetWindowTextW(Control(kOk), platform::ToWide(texts.ok).c_str());
  ::SetWindowTextW(Control(kCancel), platform::ToWide(texts.cancel).c_str());
  ::SetWindowTextW(Control(kCreate), platform::ToWide(texts.create).c_str());
}

void TPathDialogForm::ShowCreate(bool visible) {
  ::ShowWindow(Control(kCreate), visible ? SW_SHOWNA : SW_HIDE);
}

void TPathDialogForm::ShowRootButtons(bool visible) {
  ::ShowWindow(Control(kRootPanel), visible ? SW_SHOWNA : SW_HIDE);
  ::ShowWindow(Control(kRootLabel), visible ? SW_SHOWNA : SW_HIDE);
  if (!visible) return;
  for (PathDialogControl c : {kTree, kOk, kCancel, kCaptionLine}) {
    layout_[c].design.left += kRootPanelShift;
  }
  const int widen = kRootPanelShift + ::GetSystemMetrics(SM_CXSIZEFRAME);
  designClient_.width += widen;
  RECT rc{};
  ::GetWindowRect(hwnd(), &rc);
  ::SetWindowPos(hwnd(), nullptr, 0, 0, rc.right - rc.left + widen, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  GenerateButtons();
  ApplyLayout();
}

void TPathDialogForm::GenerateButtons() {
  HIMAGELIST large = ShellModule::LargeImages();  // the system's: never freed here
  RECT panel{};
  ::GetClientRect(Control(kRootPanel), &panel);
  const std::span<const RootFolder> roots = RootFolders();
  HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  for (int tag : kRootButtonTags) {
    ITEMIDLIST* raw = nullptr;  // ours to free
    ::SHGetSpecialFolderLocation(hwnd(), roots[tag].id, &raw);
    const platform::UniquePidl special(raw);
    std::u16string caption;
    int icon = -1;
    if (special) {
      caption = DisplayNameOf(ShellModule::Desktop().ShellFolder(), special.get(), SHGDN_NORMAL,
                              TacShowExtension::seHide);
      SHFILEINFOW info{};
      ::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(special.get()), 0, &info, sizeof info,
                       SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_LARGEICON);
      icon = info.iIcon;
    }
    const int index = static_cast<int>(rootButtons_.size());
    HWND button = ui::CreateChild(
        Control(kRootPanel), kRootButtonFirstId + index, WC_BUTTONW,
        platform::ToWide(caption).c_str(),
        WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_TOP | BS_FLAT | BS_MULTILINE, 0, instance_);
    ::SetWindowPos(button, nullptr, 0, index * kRootButtonHeight, panel.right, kRootButtonHeight,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (large && icon >= 0) {
      platform::UniqueIcon picture(ImageList_GetIcon(large, icon, ILD_NORMAL));
      ::SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(picture.get()));
      rootIcons_.push_back(std::move(picture));
    }
    rootButtons_.push_back(button);
  }
}

void TPathDialogForm::BtnOnClick(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kRootButtonTags))) return;
  tree_->SetRoot(std::u16string(RootFolders()[kRootButtonTags[index]].name));
}

void TPathDialogForm::UpdateAnchors() {
  using namespace ui;
  layout_[kTree].anchors |= kAnchorRight | kAnchorBottom;
  layout_[kRootPanel].anchors |= kAnchorBottom;
  layout_[kOk].anchors = kAnchorRight | kAnchorBottom;
  layout_[kCancel].anchors = kAnchorRight | kAnchorBottom;
  layout_[kCreate].anchors = kAnchorLeft | kAnchorBottom;
  ApplyLayout();
}

void TPathDialogForm::SetTreeCaption(const std::u16string& caption) {
  ::SetWindowTextW(Control(kCaptionLine), platform::ToWide(caption).c_str());
}

void TPathDialogForm::ApplyLayout() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const std::vector<ui::Rect> rects =
      ui::ComputeLayout(layout_, designClient_, ui::kDesignDpi, {client.right, client.bottom});
  for (int i = 0; i < kPathDialogControlCount; ++i) {
    const ui::Rect& r = rects[i];
    ::SetWindowPos(controls_[i], nullptr, r.left, r.top, r.width, r.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

int TPathDialogForm::ShowModal() {
  // Centred on the screen's work area.
  RECT work{}, rc{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  ::GetWindowRect(hwnd(), &rc);
  const int width = rc.right - rc.left, height = rc.bottom - rc.top;
  ::SetWindowPos(hwnd(), nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::ShowWindow(hwnd(), SW_SHOW);
  ::SetForegroundWindow(hwnd());
  ::SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(kTree)), TRUE);
  modalResult_ = 0;
  MSG msg;
  while (modalResult_ == 0 && hwnd()) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      // The program is ending: leave the quit message for the outer loop.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return IDCANCEL;
    }
    if (got < 0) break;
    if (TranslateDialogKeys(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  if (hwnd()) ::ShowWindow(hwnd(), SW_HIDE);
  return modalResult_ == IDOK ? IDOK : IDCANCEL;
}

void TPathDialogForm::SetChoosable(bool enabled) {
  ::EnableWindow(Control(kOk), enabled);
  ::EnableWindow(Control(kCreate), enabled);
}

void TPathDialogForm::sShellTreeView1Change() {
  if (!tree_) return;
  SetChoosable(CanChoose(platform_, tree_->Path()));
}

void TPathDialogForm::sBitBtn1Click() {
  switch (OkAction(tree_->IsEditing())) {
    case ButtonAction::kEndEditKeepingText:
      tree_->EndEdit(true);
      ::SetFocus(Control(kTree));
      return;
    case ButtonAction::kClose:
      // Tested again: the folder may have gone since it was selected.
      if (!CanChoose(platform_, tree_->Path())) {
        SetChoosable(false);
        return;
      }
      modalResult_ = IDOK;
      return;
    case ButtonAction::kStayOpen:
      return;
  }
}

void TPathDialogForm::sBitBtn2Click() {
  if (CancelAction(tree_->IsEditing()) == ButtonAction::kClose) modalResult_ = IDCANCEL;
}

void TPathDialogForm::sBitBtn3Click() {
  const TacShellFolder* selected = tree_->SelectedFolder();
  if (!selected) return;
  const std::u16string folder = selected->PathName();
  if (!CanChoose(platform_, folder)) return;  // no folder to create in
  const std::u16string name = NewFolderName(platform_, folder);
  platform_.MakeDirectory(name);  // the result is judged by what is there afterwards
  if (!platform::IsExistingDirectory(platform_, name)) {
    platform_.ShowMessage(hwnd(), u"Directory " + name + u" can`t be created!", u"Error",
                          platform::MessageIcon::kError);
    return;
  }
  tree_->Refresh(tree_->Selected());
  HTREEITEM parent = tree_->Selected();
  for (HTREEITEM child = parent ? tree_->FirstChild(parent) : nullptr; child;
       child = tree_->NextSibling(child)) {
    const TacShellFolder* object = tree_->FolderOf(child);
    if (object && object->PathName() == name) {
      tree_->Select(child);
      ::SetFocus(Control(kTree));
      tree_->Expand(child);
      tree_->StartEdit(child);
      return;
    }
  }
}

LRESULT TPathDialogForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (tree_ && tree_->HandleNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) {
        // A dialog window answers notifications through DWLP_MSGRESULT.
        ::SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, result);
        return result;
      }
      break;
    }
    case WM_COMMAND:
      if (ui::RouteControlEvent<TPathDialogForm>(*this, kEvents, msg, wParam, lParam)) return 0;
      break;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {kPathDialogMinimum.width, kPathDialogMinimum.height};
      return 0;
    }
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) ApplyLayout();
      return 0;
    case WM_CLOSE:
      modalResult_ = IDCANCEL;
      return 0;
  }
  return DefaultProc(msg, wParam, lParam);
}

}  // namespace nestova::components
