#include "components/TsShellTreeView.h"

#include <windowsx.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "components/shell_error.h"
#include "platform/text.h"
#include "ui/subclass.h"
#include "ui/window.h"

namespace nestova::components {
namespace {

// The context menu's second-level handler while a menu is tracked; menu
// messages reach it through the control (not owned).
IContextMenu2* g_activeMenu = nullptr;

class ActiveMenu {
 public:
  explicit ActiveMenu(IContextMenu2* menu) { g_activeMenu = menu; }
  ~ActiveMenu() { g_activeMenu = nullptr; }
  ActiveMenu(const ActiveMenu&) = delete;
  ActiveMenu& operator=(const ActiveMenu&) = delete;
};

// Bulk changes run with drawing suspended and the hourglass shown.
class BusyTree {
 public:
  explicit BusyTree(HWND tree)
      : tree_(tree), cursor_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {
    ::SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
  }
  ~BusyTree() {
    ::SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(tree_, nullptr, TRUE);
    ::SetCursor(cursor_);
  }
  BusyTree(const BusyTree&) = delete;
  BusyTree& operator=(const BusyTree&) = delete;

 private:
  HWND tree_;
  HCURSOR cursor_;  // shared system cursor
};

class Flag {
 public:
  explicit Flag(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
  ~Flag() { flag_ = old_; }
  Flag(const Flag&) = delete;
  Flag& operator=(const Flag&) = delete;

 private:
  bool& flag_;
  bool old_;
};

bool EqualNoCase(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  const std::wstring wa = platform::ToWide(a), wb = platform::ToWide(b);
  return ::CompareStringOrdinal(wa.c_str(), -1, wb.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

int CALLBACK CompareNodes(LPARAM a, LPARAM b, LPARAM parentFolder) {
  auto* folder = reinterpret_cast<IShellFolder*>(parentFolder);
  const auto* left = reinterpret_cast<const TacShellFolder*>(a);
  const auto* right = reinterpret_cast<const TacShellFolder*>(b);
  return CompareResult(
      static_cast<uint32_t>(folder->CompareIDs(0, left->RelativeID(), right->RelativeID())));
}

}  // namespace

platform::ComPtr<IContextMenu> ItemContextMenu(IShellFolder* parent, const ITEMIDLIST* item,
                                               HWND owner, HMENU popup) {
  platform::ComPtr<IContextMenu> menu;
  if (FAILED(parent->GetUIObjectOf(owner, 1, &item, IID_IContextMenu, nullptr, menu.put_void())) ||
      !menu) {
    return {};
  }
  if (FAILED(menu->QueryContextMenu(popup, 0, 1, 0x7FFF, CMF_EXPLORE | CMF_CANRENAME))) return {};
  return menu;
}

std::string CommandVerb(IContextMenu* menu, UINT command) {
  char buffer[256] = {};
  if (FAILED(menu->GetCommandString(command, GCS_VERBA, nullptr, buffer, sizeof buffer))) {
    return {};
  }
  // A verb that fills the buffer comes without its terminating zero.
  buffer[sizeof buffer - 1] = '\0';
  return buffer;
}

TacCustomShellTreeView::TacCustomShellTreeView(HWND parent, int id, HINSTANCE instance,
                                               platform::Platform& platform, DWORD style,
                                               const std::u16string& root, unsigned objectTypes)
    : platform_(platform), root_(root), previousRoot_(root), objectTypes_(objectTypes) {
  hwnd_ = ui::CreateChild(parent, id, WC_TREEVIEWW, L"",
                          WS_CLIPSIBLINGS | WS_TABSTOP | WS_VISIBLE | style, WS_EX_CLIENTEDGE,
                          instance);
  ui::Subclass(hwnd_, SubclassProc, reinterpret_cast<DWORD_PTR>(this));
  SetUseShellImages(true);
  BuildRoot();
}

TacCustomShellTreeView::~TacCustomShellTreeView() {
  if (hwnd_ && ::IsWindow(hwnd_)) {
    ui::RemoveSubclass(hwnd_);
    ::DestroyWindow(hwnd_);
  }
}

void TacCustomShellTreeView::SetRoot(const std::u16string& root) {
  if (EqualNoCase(root, root_)) return;
  previousRoot_ = root_;
  root_ = root;
  if (!updating_) BuildRoot();
}

void TacCustomShellTreeView::SetObjectTypes(unsigned types) {
  objectTypes_ = types;
  BuildRoot();
}

void TacCustomShellTreeView::SetUseShellImages(bool use) {
  useShellImages_ = use;
  TreeView_SetImageList(hwnd_, use ? ShellModule::SmallImages() : nullptr, TVSIL_NORMAL);
}

platform::UniquePidl TacCustomShellTreeView::ParsePath(const std::u16string& path) const {
  if (path.empty()) return {};
  const std::wstring wide = platform::ToWide(path);
  // Relative paths count from the process's current directory.
  std::wstring absolute(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(absolute.size()),
                                       absolute.data(), nullptr);
    if (n == 0) return {};
    if (n < absolute.size()) {
      absolute.resize(n);
      break;
    }
    absolute.resize(n);
  }
  ITEMIDLIST* parsed = nullptr;  // ours to free
  if (FAILED(ShellModule::Desktop().ShellFolder()->ParseDisplayName(
          Owner(), nullptr, absolute.data(), nullptr, &parsed, nullptr))) {
    return {};
  }
  return platform::UniquePidl(parsed);
}

platform::UniquePidl TacCustomShellTreeView::ResolveRoot(const std::u16string& root) const {
  if (const std::optional<int> id = RootFolderId(root)) {
    ITEMIDLIST* special = nullptr;  // ours to free
    if (FAILED(::SHGetSpecialFolderLocation(Owner(), *id, &special))) return {};
    return platform::UniquePidl(special);
  }
  return ParsePath(DirectoryPrefix(root));
}

void TacCustomShellTreeView::BuildRoot() {
  if (loading_) return;
  std::u16string error;
  platform::UniquePidl rootId = ResolveRoot(root_);
  if (!rootId) {
    const std::u16string message = u"Error Setting Path : " + root_;
    root_ = previousRoot_;
    rootId = ResolveRoot(root_);
    if (!rootId) throw ShellError(message);
    ShowError(message);
  }
  {
    platform::ComPtr<IShellFolder> folder =
        BindFolder(ShellModule::Desktop().ShellFolder(), rootId.get(), rootId.get(), Owner());
    if (!folder) folder = ShellModule::Desktop().ShellFolderRef();
    rootFolder_ = std::make_unique<TacShellFolder>(nullptr, rootId.get(), std::move(folder));
  }
  const Flag loading(loading_);
  Clear();
  auto node = std::make_unique<TacShellFolder>(nullptr, rootFolder_->RelativeID(),
                                               rootFolder_->ShellFolderRef());
  std::u16string text;
  if (RootFolderId(root_)) {
    text = DisplayNameOf(ShellModule::Desktop().ShellFolder(), node->AbsoluteID(), SHGDN_NORMAL,
                         TacShowExtension::seSystem);
  } else {
    text = PathRootText(root_);
  }
  const bool hasChildren = node->SubFolders();
  TacShellFolder& folder = *node;
  HTREEITEM item = AddNode(TVI_ROOT, TVI_LAST, std::move(node), text, hasChildren);
  if (useShellImages_) SetIcons(item, folder);
  Expand(item);
  Select(item);
}

void TacCustomShellTreeView::Clear() {
  const Flag updating(updating_);
  TreeView_DeleteAllItems(hwnd_);
  // Notifications that did not reach us leave nothing behind.
  folders_.clear();
  loaded_.clear();
}

HTREEITEM TacCustomShellTreeView::AddNode(HTREEITEM parent, HTREEITEM after,
                                          std::unique_ptr<TacShellFolder> folder,
                                          const std::u16string& text, bool hasChildren) {
  std::wstring wide = platform::ToWide(text);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
  insert.item.pszText = wide.data();
  insert.item.cChildren = hasChildren ? 1 : 0;
  insert.item.lParam = reinterpret_cast<LPARAM>(folder.get());
  const TacShellFolder* key = folder.get();
  folders_.emplace(key, std::move(folder));
  HTREEITEM item = TreeView_InsertItem(hwnd_, &insert);
  if (!item) {
    folders_.erase(key);
    throw std::runtime_error("the tree refused a node");
  }
  return item;
}

void TacCustomShellTreeView::SetIcons(HTREEITEM node, const TacShellFolder& folder) {
  const int icon = folder.ImageIndex(false);
  int open = folder.ImageIndex(false, true);
  if (open == 0) open = icon;
  TVITEMW item{};
  item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  item.hItem = node;
  item.iImage = icon;
  item.iSelectedImage = open;
  TreeView_SetItem(hwnd_, &item);
}

void TacCustomShellTreeView::SetExpandButton(HTREEITEM node, bool shown) {
  TVITEMW item{};
  item.mask = TVIF_CHILDREN;
  item.hItem = node;
  item.cChildren = shown ? 1 : 0;
  TreeView_SetItem(hwnd_, &item);
}

TacShellFolder* TacCustomShellTreeView::FolderOf(HTREEITEM node) const {
  if (!node) return nullptr;
  TVITEMW item{};
  item.mask = TVIF_PARAM;
  item.hItem = node;
  if (!TreeView_GetItem(hwnd_, &item)) return nullptr;
  const auto found = folders_.find(reinterpret_cast<const TacShellFolder*>(item.lParam));
  return found == folders_.end() ? nullptr : found->second.get();
}

std::u16string TacCustomShellTreeView::Text(HTREEITEM node) const {
  std::wstring buffer(1024, L'\0');
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = node;
  item.pszText = buffer.data();
  item.cchTextMax = static_cast<int>(buffer.size());
  if (!TreeView_GetItem(hwnd_, &item)) return {};
  return platform::FromWide(item.pszText);
}

bool TacCustomShellTreeView::HasExpandButton(HTREEITEM node) const {
  TVITEMW item{};
  item.mask = TVIF_CHILDREN;
  item.hItem = node;
  return TreeView_GetItem(hwnd_, &item) && item.cChildren != 0;
}

bool TacCustomShellTreeView::IsExpanded(HTREEITEM node) const {
  return (TreeView_GetItemState(hwnd_, node, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

void TacCustomShellTreeView::Expand(HTREEITEM node) {
  TacShellFolder* folder = FolderOf(node);
  if (folder && !loaded_.contains(folder)) LoadChildren(node);
  TreeView_Expand(hwnd_, node, TVE_EXPAND);
}

void TacCustomShellTreeView::LoadChildren(HTREEITEM node) {
  TacShellFolder* folder = FolderOf(node);
  if (!folder) return;
  loaded_.insert(folder);
  if (folder->ShellFolder()) {
    const BusyTree busy(hwnd_);
    SHCONTF flags = 0;
    if (objectTypes_ & otFolders) flags |= SHCONTF_FOLDERS;
    if (objectTypes_ & otNonFolders) flags |= SHCONTF_NONFOLDERS;
    if (objectTypes_ & otHidden) flags |= SHCONTF_INCLUDEHIDDEN;
    for (const platform::UniquePidl& child :
         EnumerateItems(folder->ShellFolder(), Owner(), flags, SIZE_MAX)) {
      AddChild(node, *folder, child.get());
    }
    TVSORTCB sort{};
    sort.hParent = node;
    sort.lpfnCompare = CompareNodes;
    sort.lParam = reinterpret_cast<LPARAM>(folder->ShellFolder());
    TreeView_SortChildrenCB(hwnd_, &sort, FALSE);
  }
  SetExpandButton(node, FirstChild(node) != nullptr);
}

void TacCustomShellTreeView::AddChild(HTREEITEM node, TacShellFolder& folder,
                                      const ITEMIDLIST* relative) {
  const platform::UniquePidl absolute = CombinePidls(folder.AbsoluteID(), relative);
  auto child = std::make_unique<TacShellFolder>(
      &folder, relative, BindFolder(folder.ShellFolder(), relative, absolute.get(), Owner()));
  TacShellFolder& object = *child;
  bool hasChildren = object.SubFolders();
  if ((objectTypes_ & otNonFolders) && object.ShellFolder()) {
    // Files count as children too: look for any item at all.
    const UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    SHCONTF flags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS;
    if (objectTypes_ & otHidden) flags |= SHCONTF_INCLUDEHIDDEN;
    hasChildren = !EnumerateItems(object.ShellFolder(), Owner(), flags, 1).empty();
    ::SetErrorMode(oldMode);
  }
  const std::u16string text = object.DisplayName(ShowExt);
  HTREEITEM item = AddNode(node, TVI_LAST, std::move(child), text, hasChildren);
  if (useShellImages_) SetIcons(item, object);
  if (object.IsShared()) {
    TreeView_SetItemState(hwnd_, item, INDEXTOOVERLAYMASK(1), TVIS_OVERLAYMASK);
  }
  if (OnAddFolder && !OnAddFolder(object)) TreeView_DeleteItem(hwnd_, item);
}

std::u16string TacCustomShellTreeView::Path() const {
  const TacShellFolder* folder = SelectedFolder();
  return folder ? folder->PathName() : std::u16string();
}

TacShellFolder* TacCustomShellTreeView::SelectedFolder() const { return FolderOf(Selected()); }

void TacCustomShellTreeView::SetPath(const std::u16string& path) {
  const platform::UniquePidl target = ParsePath(path);
  if (!target) throw ShellError(u"Error Setting Path");
  if (!updating_) SelectPidl(target.get());
}

bool TacCustomShellTreeView::SamePidl(const ITEMIDLIST* a, const ITEMIDLIST* b) const {
  const HRESULT order = ShellModule::Desktop().ShellFolder()->CompareIDs(0, a, b);
  return SUCCEEDED(order) && CompareResult(static_cast<uint32_t>(order)) == 0;
}

HTREEITEM TacCustomShellTreeView::FindInSubtree(HTREEITEM start, const ITEMIDLIST* pidl) const {
  if (!start) return nullptr;
  if (const TacShellFolder* folder = FolderOf(start);
      folder && SamePidl(folder->AbsoluteID(), pidl)) {
    return start;
  }
  for (HTREEITEM child = FirstChild(start); child; child = NextSibling(child)) {
    if (HTREEITEM found = FindInSubtree(child, pidl)) return found;
  }
  return nullptr;
}

void TacCustomShellTreeView::SelectPidl(const ITEMIDLIST* pidl) {
  if (loading_ || !FirstNode()) return;
  if (const TacShellFolder* selected = SelectedFolder();
      selected && SamePidl(selected->AbsoluteID(), pidl)) {
    return;
  }
  const Flag updating(updating_);
  const BusyTree busy(hwnd_);
  HTREEITEM node = FirstNode();
  const int count = PidlItemCount(pidl);
  for (int k = 0; k < count; ++k) {
    const platform::UniquePidl prefix = PidlPrefix(pidl, k);
    if (HTREEITEM found = FindInSubtree(node, prefix.get())) {
      Expand(found);
      node = found;
    }
  }
  // Not found: it lies outside the root, or a branch failed to load.
  Select(FindInSubtree(node, pidl));
}

void TacCustomShellTreeView::Refresh(HTREEITEM node) {
  TacShellFolder* old = FolderOf(node);
  if (!old || !old->ShellFolder()) return;
  const auto absoluteOf = [this](HTREEITEM item) -> platform::UniquePidl {
    const TacShellFolder* folder = FolderOf(item);
    return folder ? ClonePidl(folder->AbsoluteID()) : platform::UniquePidl();
  };
  const platform::UniquePidl top = absoluteOf(TreeView_GetFirstVisible(hwnd_));
  const platform::UniquePidl selected = absoluteOf(Selected());
  HTREEITEM fresh = nullptr;
  {
    const BusyTree busy(hwnd_);
    HTREEITEM previous = TreeView_GetPrevSibling(hwnd_, node);
    HTREEITEM parent = TreeView_GetParent(hwnd_, node);
    auto object = std::make_unique<TacShellFolder>(
        old->Parent() == &ShellModule::Desktop() ? nullptr : old->Parent(), old->RelativeID(),
        old->ShellFolderRef());
    TacShellFolder& folder = *object;
    fresh = AddNode(parent ? parent : TVI_ROOT, previous ? previous : TVI_FIRST, std::move(object),
                    folder.DisplayName(ShowExt), folder.SubFolders());
    SetIcons(fresh, folder);
    LoadChildren(fresh);
    // The old subtree in display order: what was open opens again.
    std::vector<HTREEITEM> walk{node};
    while (!walk.empty()) {
      HTREEITEM item = walk.back();
      walk.pop_back();
      if (!IsExpanded(item)) continue;
      if (const TacShellFolder* was = FolderOf(item)) {
        if (HTREEITEM again = FindInSubtree(fresh, was->AbsoluteID())) Expand(again);
      }
      std::vector<HTREEITEM> children;
      for (HTREEITEM c = FirstChild(item); c; c = NextSibling(c)) children.push_back(c);
      walk.insert(walk.end(), children.rbegin(), children.rend());
    }
    if (!parent) {
      // The root node's text is the root's own, not a display name.
      std::wstring text = platform::ToWide(Text(node));
      TVITEMW item{};
      item.mask = TVIF_TEXT;
      item.hItem = fresh;
      item.pszText = text.data();
      TreeView_SetItem(hwnd_, &item);
    }
    TreeView_DeleteItem(hwnd_, node);
  }
  if (selected) Select(FindInSubtree(FirstNode(), selected.get()));
  if (top) {
    if (HTREEITEM again = FindInSubtree(FirstNode(), top.get())) {
      TreeView_Select(hwnd_, again, TVGN_FIRSTVISIBLE);
    }
  }
}

LRESULT TacCustomShellTreeView::EndLabelEdit(const NMTVDISPINFOW& info) {
  if (!info.item.pszText) return FALSE;  // cancelled
  HTREEITEM node = info.item.hItem;
  TacShellFolder* folder = FolderOf(node);
  if (!folder) return FALSE;
  std::u16string name = platform::FromWide(info.item.pszText);
  if (OnEdited) OnEdited(name);
  try {
    if (!folder->Rename(name, hwnd_)) return FALSE;
  } catch (const ShellError& e) {
    ShowError(e.text());
    return FALSE;  // the node keeps its old text
  }
  if (HTREEITEM parent = TreeView_GetParent(hwnd_, node)) {
    // Rebuilds the node too: nothing here may touch it afterwards.
    Refresh(parent);
    return FALSE;
  }
  std::wstring text = platform::ToWide(name);
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = node;
  item.pszText = text.data();
  TreeView_SetItem(hwnd_, &item);
  return FALSE;
}

bool TacCustomShellTreeView::HandleNotify(const NMHDR& header, LRESULT& result) {
  if (header.hwndFrom != hwnd_) return false;
  result = 0;
  switch (header.code) {
    case TVN_ITEMEXPANDINGW: {
      const auto& info = reinterpret_cast<const NMTREEVIEWW&>(header);
      if (info.action & TVE_EXPAND) {
        TacShellFolder* folder = FolderOf(info.itemNew.hItem);
        if (folder && !loaded_.contains(folder)) LoadChildren(info.itemNew.hItem);
      }
      return true;
    }
    case TVN_SELCHANGEDW:
      if (OnChange) OnChange();
      return true;
    case TVN_DELETEITEMW: {
      const auto& info = reinterpret_cast<const NMTREEVIEWW&>(header);
      const auto* folder = reinterpret_cast<const TacShellFolder*>(info.itemOld.lParam);
      loaded_.erase(folder);
      folders_.erase(folder);
      return true;
    }
    case TVN_BEGINLABELEDITW:
      editOpen_ = FolderOf(reinterpret_cast<const NMTVDISPINFOW&>(header).item.hItem) != nullptr;
      result = editOpen_ ? FALSE : TRUE;
      return true;
    case TVN_ENDLABELEDITW:
      // The control may end one edit twice (the error box takes the focus
      // from the editor while the first end is handled): the first counts.
      if (editOpen_) {
        editOpen_ = false;
        result = EndLabelEdit(reinterpret_cast<const NMTVDISPINFOW&>(header));
      }
      return true;
    case NM_RCLICK: {
      if (!AutoContextMenus) return false;
      POINT screen;
      ::GetCursorPos(&screen);
      ShowContextMenu(screen, true);
      result = TRUE;
      return true;
    }
    default:
      return false;
  }
}

void TacCustomShellTreeView::ShowContextMenu(POINT screen, bool byMouse) {
  if (byMouse && RightClickSelect) {
    TVHITTESTINFO hit{};
    hit.pt = screen;
    ::ScreenToClient(hwnd_, &hit.pt);
    if (HTREEITEM item = TreeView_HitTest(hwnd_, &hit)) Select(item);
  }
  TacShellFolder* folder = SelectedFolder();
  if (!folder || !folder->Parent() || !folder->Parent()->ShellFolder()) return;
  if (!byMouse) {
    RECT rc{};
    TreeView_GetItemRect(hwnd_, Selected(), &rc, TRUE);
    screen = {rc.left, rc.bottom};
    ::ClientToScreen(hwnd_, &screen);
  }
  const platform::UniqueMenu popup(::CreatePopupMenu());
  if (!popup) return;
  const platform::ComPtr<IContextMenu> menu =
      ItemContextMenu(folder->Parent()->ShellFolder(), folder->RelativeID(), hwnd_, popup.get());
  if (!menu) return;  // the item offers no menu
  const platform::ComPtr<IContextMenu2> menu2 = menu.As<IContextMenu2>();
  int command = 0;
  {
    const ActiveMenu active(menu2.get());
    command = ::TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0,
                               hwnd_, nullptr);
  }
  if (command <= 0) return;
  const std::string verb = CommandVerb(menu.get(), command - 1);
  bool handled = false;
  ExecuteCommand(verb, handled);
  bool succeeded = handled;
  if (!handled) {
    CMINVOKECOMMANDINFO invoke{};
    invoke.cbSize = sizeof invoke;
    invoke.hwnd = hwnd_;
    invoke.lpVerb = MAKEINTRESOURCEA(command - 1);
    invoke.nShow = SW_SHOWNORMAL;
    succeeded = SUCCEEDED(menu->InvokeCommand(&invoke));
  }
  CommandCompleted(verb, succeeded);
}

void TacCustomShellTreeView::ExecuteCommand(const std::string& verb, bool& handled) {
  const std::string lower = LowerAscii(verb);
  if (lower == "rename" && Selected()) {
    StartEdit(Selected());
    handled = true;
  } else if (lower == "open") {
    wchar_t current[MAX_PATH + 1] = {};
    ::GetCurrentDirectoryW(MAX_PATH, current);
    savedDirectory_ = current;
    const std::wstring path = platform::ToWide(Path());
    const size_t sep = path.find_last_of(L'\\');
    if (sep != std::wstring::npos) {
      ::SetCurrentDirectoryW(path.substr(0, sep + 1).c_str());
    }
  }
}

void TacCustomShellTreeView::CommandCompleted(const std::string& verb, bool succeeded) {
  HTREEITEM node = Selected();
  if (!succeeded || !node) return;
  const std::string lower = LowerAscii(verb);
  if (lower == "delete") {
    const std::u16string path = Path();
    // A cancelled or half-done delete leaves the folder: show what is left.
    if (IsAbsolutePath(path) && AfterDeleteCommand(platform_, path) == AfterDelete::kRemoveNode) {
      TreeView_DeleteItem(hwnd_, node);
    } else {
      HTREEITEM parent = TreeView_GetParent(hwnd_, node);
      Refresh(parent ? parent : node);
    }
  } else if (lower == "paste") {
    Refresh(node);
  } else if (lower == "open") {
    if (!savedDirectory_.empty()) ::SetCurrentDirectoryW(savedDirectory_.c_str());
  }
}

HWND TacCustomShellTreeView::Owner() const {
  HWND top = hwnd_ ? ::GetAncestor(hwnd_, GA_ROOT) : nullptr;
  return top ? top : hwnd_;
}

void TacCustomShellTreeView::ShowError(const std::u16string& text) const {
  platform_.ShowMessage(::GetActiveWindow() ? ::GetActiveWindow() : Owner(), text, u"Error",
                        platform::MessageIcon::kError);
}

LRESULT TacCustomShellTreeView::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                             DWORD_PTR data) {
  auto* self = reinterpret_cast<TacCustomShellTreeView*>(data);
  const auto fallback = [&] { return ui::CallOriginal(hwnd, msg, wParam, lParam); };
  return ui::Guarded(
      [&]() -> LRESULT {
        switch (msg) {
          case WM_INITMENUPOPUP:
          case WM_MEASUREITEM:
          case WM_MENUCHAR:
            if (g_activeMenu) {
              g_activeMenu->HandleMenuMsg(msg, wParam, lParam);
              return 0;
            }
            break;
          case WM_CONTEXTMENU:
            if (self->AutoContextMenus) {
              const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
              self->ShowContextMenu(at, lParam != -1);
              return 0;
            }
            break;
          case WM_NCDESTROY:
            self->hwnd_ = nullptr;
            break;
        }
        return fallback();
      },
      fallback);
}

}  // namespace nestova::components
