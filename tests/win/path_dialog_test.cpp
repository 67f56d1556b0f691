// The chooser's window, not shown: texts, when OK and Create are enabled,
// what OK does when the folder has gone, Create's naming and its error, and
// OK and Cancel while a name is being edited.
#include <gtest/gtest.h>

#include <fstream>

#include "components/TPathDialogForm.h"
#include "components/path_rules.h"
#include "platform/text.h"
#include "shell_environment.h"
#include "temp_folder.h"

namespace nestova::components {
namespace {

using platform::FromWide;

std::wstring Text(HWND hwnd) {
  wchar_t buffer[256] = {};
  ::GetWindowTextW(hwnd, buffer, 256);
  return buffer;
}

bool Exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class PathDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { TestPlatform().messages.clear(); }
  TsShellTreeView& tree() { return form_.sShellTreeView1(); }
  bool OkEnabled() const { return ::IsWindowEnabled(form_.Control(kOk)); }
  bool CreateEnabled() const { return ::IsWindowEnabled(form_.Control(kCreate)); }
  std::wstring In(const std::wstring& relative) const { return temp_.path() + L"\\" + relative; }
  void SelectTempRoot() {
    tree().SetRoot(FromWide(temp_.path()));
    tree().Select(tree().FirstNode());
  }

  TempFolder temp_;
  TPathDialogForm form_{::GetModuleHandleW(nullptr), TestPlatform()};
};

TEST_F(PathDialogTest, TextsComeFromTheStringTable) {
  form_.InitLngCaptions();
  EXPECT_EQ(Text(form_.hwnd()), L"Select directory");
  EXPECT_EQ(Text(form_.Control(kRootLabel)), L"Root :");
  EXPECT_EQ(Text(form_.Control(kOk)), L"OK");
  EXPECT_EQ(Text(form_.Control(kCancel)), L"Cancel");
  EXPECT_EQ(Text(form_.Control(kCreate)), L"Create");
}

TEST_F(PathDialogTest, OkAndCreateOnlyForRealFolders) {
  HTREEITEM root = tree().FirstNode();
  int virtualItems = 0;
  for (HTREEITEM item = tree().FirstChild(root); item; item = tree().NextSibling(item)) {
    tree().Select(item);
    const std::u16string path = tree().Path();
    SCOPED_TRACE(testing::PrintToString(platform::ToWide(path)));
    const bool real =
        IsAbsolutePath(path) &&
        (::GetFileAttributesW(platform::ToWide(path).c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
        ::GetFileAttributesW(platform::ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    EXPECT_EQ(OkEnabled(), real);
    EXPECT_EQ(CreateEnabled(), real);
    if (!IsAbsolutePath(path)) {
      ++virtualItems;
      // A real folder named like the virtual item in the current directory
      // does not make it a choice.
      ::CreateDirectoryW(In(platform::ToWide(path)).c_str(), nullptr);
      ::SetCurrentDirectoryW(temp_.path().c_str());
      tree().Select(root);
      tree().Select(item);
      EXPECT_FALSE(OkEnabled());
      form_.sBitBtn1Click();
      EXPECT_EQ(form_.ModalResult(), 0);
    }
  }
  EXPECT_GT(virtualItems, 0) << "the Desktop lists Computer";
  tree().Select(root);  // the Desktop: the user's desktop directory
  EXPECT_TRUE(OkEnabled());
  EXPECT_TRUE(CreateEnabled());
  ::SetCurrentDirectoryW(L"C:\\");
}

TEST_F(PathDialogTest, OkClosesOnAFolderButNotOnOneThatHasGone) {
  temp_.Make(L"a");
  temp_.Make(L"b");
  SelectTempRoot();
  tree().SetPath(FromWide(In(L"a")));
  ASSERT_TRUE(OkEnabled());
  ::RemoveDirectoryW(In(L"a").c_str());
  form_.sBitBtn1Click();
  EXPECT_EQ(form_.ModalResult(), 0) << "the window stays open";
  EXPECT_FALSE(OkEnabled());
  EXPECT_FALSE(CreateEnabled());
  tree().SetPath(FromWide(In(L"b")));
  EXPECT_TRUE(OkEnabled());
  form_.sBitBtn1Click();
  EXPECT_EQ(form_.ModalResult(), IDOK);
}

TEST_F(PathDialogTest, CancelCloses) {
  form_.sBitBtn2Click();
  EXPECT_EQ(form_.ModalResult(), IDCANCEL);
}

TEST_F(PathDialogTest, CreateTakesTheNextFreeNumberAndOpensTheNameForEditing) {
  temp_.Make(L"New folder1");
  temp_.Make(L"New folder2");
  SelectTempRoot();
  form_.sBitBtn3Click();
  EXPECT_TRUE(Exists(In(L"New folder3")));
  EXPECT_EQ(tree().Path(), FromWide(In(L"New folder3")));
  EXPECT_TRUE(tree().IsEditing());
  EXPECT_TRUE(TestPlatform().messages.empty());
}

TEST_F(PathDialogTest, AFileTakesItsNumberToo) {
  std::ofstream(In(L"New folder1").c_str()) << "x";
  SelectTempRoot();
  form_.sBitBtn3Click();
  EXPECT_TRUE(TestPlatform().messages.empty());
  EXPECT_TRUE(::GetFileAttributesW(In(L"New folder2").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_TRUE(Exists(In(L"New folder2")));
  EXPECT_EQ(tree().Path(), FromWide(In(L"New folder2")));
}

TEST_F(PathDialogTest, CreateThatFailsSaysSo) {
  SelectTempRoot();
  const std::u16string name = FromWide(In(L"New folder1"));
  TestPlatform().failMakeDirectory.insert(name);
  form_.sBitBtn3Click();
  TestPlatform().failMakeDirectory.clear();
  ASSERT_EQ(TestPlatform().messages.size(), 1u);
  EXPECT_EQ(TestPlatform().messages[0].text, u"Directory " + name + u" can`t be created!");
  EXPECT_EQ(TestPlatform().messages[0].caption, u"Error");
  EXPECT_EQ(TestPlatform().messages[0].icon, platform::MessageIcon::kError);
  EXPECT_FALSE(tree().IsEditing());
}

TEST_F(PathDialogTest, WhileANameIsEditedOkRenamesAndCancelWaits) {
  SelectTempRoot();
  form_.sBitBtn3Click();
  ASSERT_TRUE(tree().IsEditing());
  form_.sBitBtn2Click();
  EXPECT_EQ(form_.ModalResult(), 0);
  EXPECT_TRUE(tree().IsEditing()) << "Cancel leaves the edit to its editor";
  ::SetWindowTextW(TreeView_GetEditControl(tree().hwnd()), L"Named");
  form_.sBitBtn1Click();
  EXPECT_EQ(form_.ModalResult(), 0) << "the first OK only ends the edit";
  EXPECT_FALSE(tree().IsEditing());
  EXPECT_TRUE(Exists(In(L"Named")));
  EXPECT_FALSE(Exists(In(L"New folder1")));
  EXPECT_EQ(tree().Path(), FromWide(In(L"Named")));
  form_.sBitBtn1Click();
  EXPECT_EQ(form_.ModalResult(), IDOK);
}

}  // namespace
}  // namespace nestova::components

namespace nestova::components {
namespace {

TEST(PathDialogRootButtons, FourButtonsBesideTheTreeSwitchItsRoot) {
  TPathDialogForm form(::GetModuleHandleW(nullptr), TestPlatform());
  RECT before{}, treeBefore{};
  ::GetWindowRect(form.hwnd(), &before);
  ::GetWindowRect(form.Control(kTree), &treeBefore);
  form.ShowRootButtons(true);
  RECT after{}, treeAfter{};
  ::GetWindowRect(form.hwnd(), &after);
  ::GetWindowRect(form.Control(kTree), &treeAfter);
  EXPECT_EQ((after.right - after.left) - (before.right - before.left),
            kRootPanelShift + ::GetSystemMetrics(SM_CXSIZEFRAME));
  EXPECT_EQ(treeAfter.left - treeBefore.left, kRootPanelShift);
  EXPECT_TRUE(::IsWindowVisible(form.Control(kRootPanel)) ||
              (::GetWindowLongW(form.Control(kRootPanel), GWL_STYLE) & WS_VISIBLE));
  std::vector<HWND> buttons;
  for (HWND b = ::GetWindow(form.Control(kRootPanel), GW_CHILD); b;
       b = ::GetWindow(b, GW_HWNDNEXT)) {
    buttons.push_back(b);
  }
  ASSERT_EQ(buttons.size(), 4u);
  for (HWND b : buttons) {
    RECT rc{};
    ::GetWindowRect(b, &rc);
    EXPECT_EQ(rc.bottom - rc.top, kRootButtonHeight);
    EXPECT_FALSE(Text(b).empty()) << "each button shows its folder's name";
  }
  // Top to bottom: Desktop, Computer, Personal, Network.
  TsShellTreeView& tree = form.sShellTreeView1();
  const std::u16string roots[] = {u"rfDesktop", u"rfMyComputer", u"rfPersonal", u"rfNetwork"};
  for (int i = 0; i < 4; ++i) {
    form.BtnOnClick(i);
    EXPECT_EQ(tree.Root(), roots[i]) << "button " << i;
  }
  // The second button: Computer, whose items are the drives.
  form.BtnOnClick(1);
  EXPECT_EQ(tree.Root(), u"rfMyComputer");
  EXPECT_EQ(FromWide(Text(buttons[1])), tree.Text(tree.FirstNode()));
  EXPECT_FALSE(IsAbsolutePath(tree.Path()));
  bool drive = false;
  for (HTREEITEM c = tree.FirstChild(tree.FirstNode()); c; c = tree.NextSibling(c)) {
    drive = drive || tree.FolderOf(c)->PathName() == u"C:\\";
  }
  EXPECT_TRUE(drive) << "C:\\ is listed under Computer";
}

}  // namespace
}  // namespace nestova::components
