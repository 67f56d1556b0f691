// The shell folder tree on a real folder tree under the temporary folder:
// roots, lazy branches, setting Path, refreshing, renaming, and what the
// context menu's commands leave behind.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <fstream>
#include <string>
#include <vector>

#include "components/TPathDialogForm.h"
#include "components/TsShellTreeView.h"
#include "components/shell_error.h"
#include "platform/text.h"
#include "shell_environment.h"
#include "temp_folder.h"

namespace nestova::components {
namespace {

using platform::FromWide;
using platform::ToWide;

std::u16string U(const std::wstring& text) { return FromWide(text); }

// The chooser's window, never shown, hosts the tree (it passes the tree's
// notifications on); every test gets its own folder tree on disk.
class ShellTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestPlatform().messages.clear();
    tree().OnChange = [this] { ++changes_; };
  }
  TsShellTreeView& tree() { return form_.sShellTreeView1(); }
  std::u16string Path(const std::wstring& relative) const {
    return U(temp_.path() + L"\\" + relative);
  }
  HTREEITEM Child(HTREEITEM parent, const std::u16string& text) {
    for (HTREEITEM c = tree().FirstChild(parent); c; c = tree().NextSibling(c)) {
      if (tree().Text(c) == text) return c;
    }
    return nullptr;
  }
  std::vector<std::u16string> ChildTexts(HTREEITEM parent) {
    std::vector<std::u16string> texts;
    for (HTREEITEM c = tree().FirstChild(parent); c; c = tree().NextSibling(c)) {
      texts.push_back(tree().Text(c));
    }
    return texts;
  }
  // The tree rooted at the test's folder, its root node opened.
  HTREEITEM RootAtTemp() {
    tree().SetRoot(U(temp_.path()));
    return tree().FirstNode();
  }
  void WriteFile(const std::wstring& relative) {
    std::ofstream((temp_.path() + L"\\" + relative).c_str()) << "x";
  }
  // Types a name into the label editor of the selected node and ends the edit.
  void Rename(HTREEITEM node, const std::wstring& name, bool keep = true) {
    tree().StartEdit(node);
    HWND edit = TreeView_GetEditControl(tree().hwnd());
    ASSERT_NE(edit, nullptr) << "no label editor";
    ::SetWindowTextW(edit, name.c_str());
    tree().EndEdit(keep);
  }

  TempFolder temp_;
  TPathDialogForm form_{::GetModuleHandleW(nullptr), TestPlatform()};
  int changes_ = 0;
};

TEST_F(ShellTreeTest, DesktopRootIsOneNodeOpenedAndSelected) {
  HTREEITEM root = tree().FirstNode();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(TreeView_GetNextSibling(tree().hwnd(), root), nullptr) << "one top-level node";
  EXPECT_TRUE(tree().IsExpanded(root));
  EXPECT_EQ(tree().Selected(), root);
  EXPECT_FALSE(tree().Text(root).empty());
  EXPECT_NE(tree().FirstChild(root), nullptr) << "the Desktop level is loaded at once";
  // The Desktop's path is the user's desktop directory.
  wchar_t desktop[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop)));
  EXPECT_EQ(tree().Path(), U(desktop));
  // Icons come from the system's small image list.
  EXPECT_EQ(TreeView_GetImageList(tree().hwnd(), TVSIL_NORMAL), ShellModule::SmallImages());
  EXPECT_NE(ShellModule::SmallImages(), nullptr);
}

TEST_F(ShellTreeTest, PathBelowUnopenedBranchesLoadsTheWayDown) {
  temp_.Make(L"a");
  temp_.Make(L"a\\b");
  const std::u16string target = U(temp_.Make(L"a\\b\\c"));
  const int before = changes_;
  tree().SetPath(target);
  EXPECT_EQ(tree().Path(), target);
  EXPECT_EQ(changes_, before + 1);
  HTREEITEM selected = tree().Selected();
  ASSERT_NE(selected, nullptr);
  EXPECT_EQ(tree().Text(selected), u"c");
  // Every node on the way is open.
  for (HTREEITEM up = TreeView_GetParent(tree().hwnd(), selected); up;
       up = TreeView_GetParent(tree().hwnd(), up)) {
    EXPECT_TRUE(tree().IsExpanded(up)) << testing::PrintToString(ToWide(tree().Text(up)));
  }
  // The selected item again: nothing changes, no change is announced.
  tree().SetPath(target);
  EXPECT_EQ(changes_, before + 1);
  EXPECT_EQ(tree().Selected(), selected);
}

TEST_F(ShellTreeTest, PathTheShellCannotParseIsAnError) {
  try {
    tree().SetPath(Path(L"no\\such\\folder"));
    FAIL() << "no error";
  } catch (const ShellError& e) {
    EXPECT_EQ(e.text(), u"Error Setting Path");
  }
}

TEST_F(ShellTreeTest, BranchesListFoldersHiddenOnesTooNeverFilesInTheShellsOrder) {
  temp_.Make(L"b");
  temp_.Make(L"A");
  temp_.Make(L"c");
  ::SetFileAttributesW(temp_.Make(L"hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
  WriteFile(L"file.txt");
  HTREEITEM root = RootAtTemp();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(tree().Text(root), PathRootText(U(temp_.path())));
  EXPECT_TRUE(tree().IsExpanded(root));
  EXPECT_EQ(ChildTexts(root), (std::vector<std::u16string>{u"A", u"b", u"c", u"hidden"}));
}

TEST_F(ShellTreeTest, OnAddFolderMayVetoANode) {
  temp_.Make(L"kept");
  temp_.Make(L"vetoed");
  std::vector<std::u16string> offered;
  tree().OnAddFolder = [&](TacShellFolder& folder) {
    offered.push_back(folder.DisplayName(TacShowExtension::seSystem));
    return offered.back() != u"vetoed";
  };
  HTREEITEM root = RootAtTemp();
  EXPECT_EQ(offered, (std::vector<std::u16string>{u"kept", u"vetoed"}));
  EXPECT_EQ(ChildTexts(root), std::vector<std::u16string>{u"kept"});
}

TEST_F(ShellTreeTest, FolderWithoutSubfoldersLosesItsExpandButtonWhenOpened) {
  temp_.Make(L"leaf");
  temp_.Make(L"branch");
  temp_.Make(L"branch\\inner");
  HTREEITEM root = RootAtTemp();
  HTREEITEM leaf = Child(root, u"leaf");
  HTREEITEM branch = Child(root, u"branch");
  ASSERT_TRUE(leaf && branch);
  EXPECT_EQ(tree().FirstChild(leaf), nullptr) << "children load only when opened";
  tree().Expand(leaf);
  EXPECT_FALSE(tree().HasExpandButton(leaf));
  tree().Expand(branch);
  EXPECT_TRUE(tree().HasExpandButton(branch));
  EXPECT_EQ(ChildTexts(branch), std::vector<std::u16string>{u"inner"});
}

TEST_F(ShellTreeTest, RootTheShellCannotFindKeepsThePreviousRoot) {
  HTREEITEM root = RootAtTemp();
  const std::u16string text = tree().Text(root);
  tree().SetRoot(Path(L"missing"));
  ASSERT_EQ(TestPlatform().messages.size(), 1u);
  EXPECT_EQ(TestPlatform().messages[0].text, u"Error Setting Path : " + Path(L"missing"));
  EXPECT_EQ(TestPlatform().messages[0].caption, u"Error");
  EXPECT_EQ(tree().Root(), U(temp_.path()));
  EXPECT_EQ(tree().Text(tree().FirstNode()), text);
}

TEST_F(ShellTreeTest, RefreshKeepsOpenBranchesAndTheSelection) {
  temp_.Make(L"a");
  temp_.Make(L"a\\b");
  temp_.Make(L"a\\b\\c");
  HTREEITEM root = RootAtTemp();
  tree().SetPath(Path(L"a\\b\\c"));
  temp_.Make(L"a\\new");
  tree().Refresh(root);
  EXPECT_EQ(tree().Path(), Path(L"a\\b\\c"));
  root = tree().FirstNode();
  HTREEITEM a = Child(root, u"a");
  ASSERT_NE(a, nullptr);
  EXPECT_TRUE(tree().IsExpanded(a));
  EXPECT_TRUE(tree().IsExpanded(Child(a, u"b")));
  EXPECT_EQ(ChildTexts(a), (std::vector<std::u16string>{u"b", u"new"}));
  EXPECT_EQ(tree().Text(root), PathRootText(U(temp_.path()))) << "the root keeps its text";
}

TEST_F(ShellTreeTest, RenameInPlace) {
  temp_.Make(L"old");
  temp_.Make(L"taken");
  HTREEITEM root = RootAtTemp();
  tree().Select(Child(root, u"old"));
  Rename(tree().Selected(), L"renamed");
  EXPECT_TRUE(TestPlatform().messages.empty());
  EXPECT_EQ(::GetFileAttributesW((temp_.path() + L"\\old").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(::GetFileAttributesW((temp_.path() + L"\\renamed").c_str()), INVALID_FILE_ATTRIBUTES);
  // The parent was rebuilt; the item stays selected under its new name.
  EXPECT_EQ(tree().Path(), Path(L"renamed"));
  EXPECT_EQ(ChildTexts(tree().FirstNode()), (std::vector<std::u16string>{u"renamed", u"taken"}));
}

TEST_F(ShellTreeTest, RefusedNamesKeepTheOldName) {
  temp_.Make(L"old");
  temp_.Make(L"taken");
  HTREEITEM root = RootAtTemp();
  const struct {
    const wchar_t* name;
    const char16_t* message;
  } cases[] = {
      {L"x?y", u"Rename to x?y failed"},        // ours: a character no name may hold
      {L"..\\up", u"Rename to ..\\up failed"},  // ours: would move the folder
      {L"taken", u"Rename to taken failed"},    // the shell's: the name is in use
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
    TestPlatform().messages.clear();
    HTREEITEM old = Child(tree().FirstNode(), u"old");
    ASSERT_NE(old, nullptr);
    Rename(old, c.name);
    ASSERT_EQ(TestPlatform().messages.size(), 1u);
    EXPECT_EQ(TestPlatform().messages[0].text, c.message);
    EXPECT_EQ(TestPlatform().messages[0].caption, u"Error");
    EXPECT_EQ(tree().Text(old), u"old");
    EXPECT_NE(::GetFileAttributesW((temp_.path() + L"\\old").c_str()), INVALID_FILE_ATTRIBUTES);
  }
  // An empty name is refused too; an edit the control cancels does nothing.
  TestPlatform().messages.clear();
  Rename(Child(tree().FirstNode(), u"old"), L"");
  ASSERT_EQ(TestPlatform().messages.size(), 1u);
  EXPECT_EQ(TestPlatform().messages[0].text, u"Rename to  failed");
  TestPlatform().messages.clear();
  Rename(Child(tree().FirstNode(), u"old"), L"whatever", false);
  EXPECT_TRUE(TestPlatform().messages.empty());
  EXPECT_NE(Child(root, u"old"), nullptr);
}

TEST_F(ShellTreeTest, DeleteCommandRemovesTheNodeOnlyWhenTheFolderIsGone) {
  temp_.Make(L"kept");
  const std::wstring gone = temp_.Make(L"gone");
  HTREEITEM root = RootAtTemp();
  // Cancelled or failed: the folder is still there, so is its node.
  tree().Select(Child(root, u"kept"));
  tree().CommandCompleted("delete", true);
  EXPECT_NE(Child(tree().FirstNode(), u"kept"), nullptr);
  EXPECT_EQ(tree().Path(), Path(L"kept"));
  // Done: the node goes.
  tree().Select(Child(tree().FirstNode(), u"gone"));
  ::RemoveDirectoryW(gone.c_str());
  tree().CommandCompleted("Delete", true);
  EXPECT_EQ(Child(tree().FirstNode(), u"gone"), nullptr);
  EXPECT_NE(Child(tree().FirstNode(), u"kept"), nullptr);
}

TEST_F(ShellTreeTest, RenameAndOpenCommands) {
  temp_.Make(L"a");
  temp_.Make(L"a\\b");
  HTREEITEM root = RootAtTemp();
  tree().SetPath(Path(L"a\\b"));
  bool handled = false;
  tree().ExecuteCommand("RENAME", handled);
  EXPECT_TRUE(handled);
  EXPECT_TRUE(tree().IsEditing());
  tree().EndEdit(false);
  // "open" runs in the item's folder and gives the current directory back.
  wchar_t before[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, before);
  handled = false;
  tree().ExecuteCommand("open", handled);
  EXPECT_FALSE(handled);
  wchar_t during[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, during);
  EXPECT_EQ(U(during), Path(L"a"));
  tree().CommandCompleted("open", true);
  wchar_t after[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, after);
  EXPECT_EQ(std::wstring(after), std::wstring(before));
  EXPECT_NE(root, nullptr);
}

TEST_F(ShellTreeTest, ItemTheShellDoesNotLetRenameKeepsItsText) {
  // An item at the Desktop's level the shell keeps its name (under Wine the
  // drive of the file system's root).
  HTREEITEM fixed = nullptr;
  for (HTREEITEM c = tree().FirstChild(tree().FirstNode()); c && !fixed;
       c = tree().NextSibling(c)) {
    if (!tree().FolderOf(c)->CanRename()) fixed = c;
  }
  ASSERT_NE(fixed, nullptr) << "every item at the Desktop's level can be renamed";
  const std::u16string text = tree().Text(fixed);
  const std::u16string path = tree().FolderOf(fixed)->PathName();
  Rename(fixed, L"zq renamed");
  EXPECT_EQ(tree().Text(fixed), text);
  EXPECT_EQ(tree().FolderOf(fixed)->PathName(), path);
  EXPECT_TRUE(TestPlatform().messages.empty()) << "nothing was tried, nothing failed";
}

// Records the context menu's commands instead of running them.
class RecordingTree : public TacCustomShellTreeView {
 public:
  using TacCustomShellTreeView::TacCustomShellTreeView;
  void ExecuteCommand(const std::string& verb, bool& handled) override {
    executed.push_back(verb);
    handled = true;
  }
  void CommandCompleted(const std::string& verb, bool) override { completed.push_back(verb); }
  std::vector<std::string> executed, completed;
};

// The popup menu this thread shows, once it is up, and what became of it.
struct SeenMenu {
  int items = -1;
  RECT rect{};
  bool escIgnored = false;
  int ticksAfterEsc = -1;
};
SeenMenu g_menu;

BOOL CALLBACK FindVisibleMenu(HWND hwnd, LPARAM found) {
  wchar_t name[16] = {};
  ::GetClassNameW(hwnd, name, 16);
  if (std::wstring(name) != L"#32768" || !::IsWindowVisible(hwnd)) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

HWND VisibleMenuWindow() {
  HWND found = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), FindVisibleMenu, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Runs inside the menu's modal loop: presses Esc once the menu is up. Should
// Esc be ignored, the menu is ended all the same, so the test cannot hang.
void CALLBACK EscapeFromMenu(HWND, UINT, UINT_PTR, DWORD) {
  HWND menu = VisibleMenuWindow();
  if (!menu) return;
  if (g_menu.ticksAfterEsc < 0) {
    const auto popup = reinterpret_cast<HMENU>(::SendMessageW(menu, MN_GETHMENU, 0, 0));
    g_menu.items = popup ? ::GetMenuItemCount(popup) : 0;
    ::GetWindowRect(menu, &g_menu.rect);
    g_menu.ticksAfterEsc = 0;
    ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ::PostMessageW(menu, WM_KEYUP, VK_ESCAPE, 0);
  } else if (++g_menu.ticksAfterEsc % 100 == 0) {
    g_menu.escIgnored = true;
    ::EndMenu();
  }
}

TEST_F(ShellTreeTest, KeyboardContextMenuOpensOnTheSelectedFolderAndEscRunsNothing) {
  temp_.Make(L"a");
  temp_.Make(L"b");
  RecordingTree menuTree(form_.hwnd(), 999, ::GetModuleHandleW(nullptr), TestPlatform(),
                         TVS_HASBUTTONS, U(temp_.path()), otFolders);
  HTREEITEM a = menuTree.FirstChild(menuTree.FirstNode());
  ASSERT_NE(a, nullptr);
  ASSERT_EQ(menuTree.Text(a), u"a");
  menuTree.Select(a);
  // Room below the node for the menu, wherever earlier windows were placed.
  ::SetWindowPos(form_.hwnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const int count = menuTree.NodeCount();
  RECT label{};
  TreeView_GetItemRect(menuTree.hwnd(), a, &label, TRUE);
  POINT below{label.left, label.bottom};
  ::ClientToScreen(menuTree.hwnd(), &below);

  g_menu = {};
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, EscapeFromMenu);
  // What the window procedure sends for Shift+F10 or the menu key: no point.
  ::SendMessageW(menuTree.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(menuTree.hwnd()), -1);
  ::KillTimer(nullptr, timer);

  EXPECT_GT(g_menu.items, 0) << "no menu opened";
  EXPECT_FALSE(g_menu.escIgnored) << "Esc did not close the menu";
  EXPECT_EQ(g_menu.rect.left, below.x) << "the menu opens below the selected node";
  EXPECT_EQ(g_menu.rect.top, below.y);
  EXPECT_TRUE(menuTree.executed.empty());
  EXPECT_TRUE(menuTree.completed.empty());
  EXPECT_EQ(menuTree.Selected(), a);
  EXPECT_EQ(menuTree.NodeCount(), count);
  EXPECT_EQ(menuTree.Text(a), u"a");
  EXPECT_FALSE(menuTree.IsEditing());
  EXPECT_TRUE(TestPlatform().messages.empty());
}

}  // namespace
}  // namespace nestova::components
