#pragma once
// A tree-view control of the shell namespace below a root: branches load on
// first expansion, icons and names come from the shell, items can be renamed
// in place and have the shell's context menu. The control's parent passes
// on every WM_NOTIFY the control sends (HandleNotify).
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "components/TacShellFolder.h"
#include "platform/platform.h"

namespace nestova::components {

// Which items are listed.
enum TacObjectType : unsigned { otFolders = 1, otNonFolders = 2, otHidden = 4 };

// The context menu `parent` gives for its `item`, its commands added to
// `popup` from id 1; empty when the item gives no menu or the menu adds
// nothing.
platform::ComPtr<IContextMenu> ItemContextMenu(IShellFolder* parent, const ITEMIDLIST* item,
                                               HWND owner, HMENU popup);
// The language-independent name of the menu's command at `command` (an
// offset from the first id), empty when the menu cannot tell it.
std::string CommandVerb(IContextMenu* menu, UINT command);

class TacCustomShellTreeView {
 public:
  // Creates the control (hidden until shown with its parent) and builds its
  // root. `style` adds tree-view styles to the child window's.
  TacCustomShellTreeView(HWND parent, int id, HINSTANCE instance, platform::Platform& platform,
                         DWORD style, const std::u16string& root = u"rfDesktop",
                         unsigned objectTypes = otFolders);
  virtual ~TacCustomShellTreeView();
  TacCustomShellTreeView(const TacCustomShellTreeView&) = delete;
  TacCustomShellTreeView& operator=(const TacCustomShellTreeView&) = delete;

  HWND hwnd() const { return hwnd_; }

  // A root name (rfDesktop, rfMyComputer, ...) or a folder path. A name equal
  // to the current one, letter case ignored, changes nothing.
  const std::u16string& Root() const { return root_; }
  void SetRoot(const std::u16string& root);
  unsigned ObjectTypes() const { return objectTypes_; }
  void SetObjectTypes(unsigned types);
  TacShowExtension ShowExt = TacShowExtension::seSystem;
  bool UseShellImages() const { return useShellImages_; }
  void SetUseShellImages(bool use);
  bool AutoContextMenus = true;
  bool RightClickSelect = true;

  // The selected item's path; empty when nothing is selected.
  std::u16string Path() const;
  // Selects the item with this path, loading the branches on the way;
  // throws "Error Setting Path" when the shell cannot parse it.
  void SetPath(const std::u16string& path);
  TacShellFolder* SelectedFolder() const;
  bool InUpdating() const { return updating_; }

  // Rebuilds a node and its loaded subtree, keeping expansion and selection.
  void Refresh(HTREEITEM node);

  // Around a context-menu command: a verb handled here is not invoked.
  virtual void ExecuteCommand(const std::string& verb, bool& handled);
  virtual void CommandCompleted(const std::string& verb, bool succeeded);
  // Shows the shell's context menu of the selected item (after selecting
  // the item under `screen` when the mouse asked for it).
  void ShowContextMenu(POINT screen, bool byMouse);

  std::function<void()> OnChange;                    // selection changed
  std::function<bool(TacShellFolder&)> OnAddFolder;  // false vetoes the node
  std::function<void(std::u16string&)> OnEdited;     // may change a typed name

  // Nodes, for the chooser.
  TacShellFolder* FolderOf(HTREEITEM node) const;
  HTREEITEM Selected() const { return TreeView_GetSelection(hwnd_); }
  HTREEITEM FirstNode() const { return TreeView_GetRoot(hwnd_); }
  HTREEITEM FirstChild(HTREEITEM node) const { return TreeView_GetChild(hwnd_, node); }
  HTREEITEM NextSibling(HTREEITEM node) const { return TreeView_GetNextSibling(hwnd_, node); }
  int NodeCount() const { return static_cast<int>(TreeView_GetCount(hwnd_)); }
  std::u16string Text(HTREEITEM node) const;
  bool HasExpandButton(HTREEITEM node) const;
  bool IsExpanded(HTREEITEM node) const;
  void Select(HTREEITEM node) { TreeView_SelectItem(hwnd_, node); }
  // Loads the node's children when not yet loaded, then opens it.
  void Expand(HTREEITEM node);
  bool IsEditing() const { return TreeView_GetEditControl(hwnd_) != nullptr; }
  void StartEdit(HTREEITEM node) { TreeView_EditLabel(hwnd_, node); }
  // Ends the label edit; with keepText the typed name is applied.
  void EndEdit(bool keepText) { TreeView_EndEditLabelNow(hwnd_, !keepText); }

  // A notification this control sent to its parent; true when it was ours,
  // with the answer in `result`.
  bool HandleNotify(const NMHDR& header, LRESULT& result);

 private:
  void BuildRoot();
  platform::UniquePidl ResolveRoot(const std::u16string& root) const;
  platform::UniquePidl ParsePath(const std::u16string& path) const;
  void Clear();
  HTREEITEM AddNode(HTREEITEM parent, HTREEITEM after, std::unique_ptr<TacShellFolder> folder,
                    const std::u16string& text, bool hasChildren);
  void LoadChildren(HTREEITEM node);
  void AddChild(HTREEITEM node, TacShellFolder& folder, const ITEMIDLIST* relative);
  void SetExpandButton(HTREEITEM node, bool shown);
  void SetIcons(HTREEITEM node, const TacShellFolder& folder);
  bool SamePidl(const ITEMIDLIST* a, const ITEMIDLIST* b) const;
  HTREEITEM FindInSubtree(HTREEITEM start, const ITEMIDLIST* pidl) const;
  void SelectPidl(const ITEMIDLIST* pidl);
  LRESULT EndLabelEdit(const NMTVDISPINFOW& info);
  HWND Owner() const;
  void ShowError(const std::u16string& text) const;
  static LRESULT SubclassProc(HWND, UINT, WPARAM, LPARAM, DWORD_PTR);

  HWND hwnd_ = nullptr;  // child of the parent: destroyed with it or by us
  platform::Platform& platform_;
  std::u16string root_;
  std::u16string previousRoot_;
  unsigned objectTypes_;
  bool useShellImages_ = true;
  std::unique_ptr<TacShellFolder> rootFolder_;
  bool loading_ = false;
  bool updating_ = false;
  bool editOpen_ = false;  // a label edit began and has not ended yet
  // Each node's folder object, keyed by the pointer its item carries.
  std::unordered_map<const TacShellFolder*, std::unique_ptr<TacShellFolder>> folders_;
  std::unordered_set<const TacShellFolder*> loaded_;  // children enumerated
  std::wstring savedDirectory_;                       // around the "open" verb
};

// The tree as the chooser publishes it.
class TsShellTreeView : public TacCustomShellTreeView {
 public:
  using TacCustomShellTreeView::TacCustomShellTreeView;
};

}  // namespace nestova::components
