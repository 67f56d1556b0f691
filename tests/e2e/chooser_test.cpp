// The folder chooser as the user meets it when Nestova starts without a
// folder: its window, choosing with the keyboard, Create and naming in
// place, and the ways of leaving it.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include "app/main_layout.h"
#include "components/path_dialog_layout.h"
#include "driver.h"

namespace e2e {
namespace {

using nestova::kLblFolder;
using nestova::MainControlId;
namespace chooser = nestova::components;

constexpr wchar_t kChooserClass[] = L"TPathDialogForm";

std::wstring DesktopDirectory() {
  wchar_t path[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

// A folder on the user's Desktop, which the chooser lists at its first
// level; a name no other item there starts with, so typing it selects it.
class DesktopFolder {
 public:
  DesktopFolder() {
    ::CreateDirectoryW(DesktopDirectory().c_str(), nullptr);
    name_ = L"zq" + std::to_wstring(::GetTickCount() % 100000);
    path_ = DesktopDirectory() + L"\\" + name_;
    ::CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~DesktopFolder() {
    // Whatever the test made inside goes too.
    std::wstring from = path_ + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    ::SHFileOperationW(&op);
  }
  DesktopFolder(const DesktopFolder&) = delete;
  DesktopFolder& operator=(const DesktopFolder&) = delete;
  const std::wstring& name() const { return name_; }
  const std::wstring& path() const { return path_; }

 private:
  std::wstring name_, path_;
};

bool Exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(Chooser, AppearsWithoutAnArgument) {
  App app(Quoted(NestovaExe()));
  HWND window = app.WaitForActiveWindow(kChooserClass);
  ASSERT_NE(window, nullptr) << "the folder chooser did not appear";
  EXPECT_EQ(WindowText(window), L"Select directory");
  EXPECT_EQ(WindowText(FindControl(window, chooser::PathDialogControlId(chooser::kOk))), L"OK");
  EXPECT_EQ(WindowText(FindControl(window, chooser::PathDialogControlId(chooser::kCancel))),
            L"Cancel");
  HWND create = FindControl(window, chooser::PathDialogControlId(chooser::kCreate));
  EXPECT_EQ(WindowText(create), L"Create");
  EXPECT_TRUE(::IsWindowVisible(create));
  HWND tree = FindControl(window, chooser::PathDialogControlId(chooser::kTree));
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(app.Focus(), tree);
  // Without a D: drive the Desktop is selected: a folder, so OK is on.
  EXPECT_TRUE(::IsWindowEnabled(FindControl(window, chooser::PathDialogControlId(chooser::kOk))));
  RECT outer{};
  ::GetWindowRect(window, &outer);
  EXPECT_EQ(outer.right - outer.left, 350);
  EXPECT_EQ(outer.bottom - outer.top, 420);
  EXPECT_TRUE(SaveScreenshot(window, BinDir() + L"\\chooser.bmp"));
  app.PressKey(VK_ESCAPE);
  EXPECT_EQ(app.WaitForExit(), 0u);
  EXPECT_FALSE(app.SawMainWindow());
}

TEST(Chooser, CancelEscAndCloseBoxEndTheProgram) {
  enum Way { kEsc, kCancelButton, kCloseBox };
  for (Way way : {kEsc, kCancelButton, kCloseBox}) {
    SCOPED_TRACE(way);
    App app(Quoted(NestovaExe()));
    HWND window = app.WaitForActiveWindow(kChooserClass);
    ASSERT_NE(window, nullptr);
    switch (way) {
      case kEsc:
        app.PressKey(VK_ESCAPE);
        break;
      case kCancelButton: {
        HWND cancel = FindControl(window, chooser::PathDialogControlId(chooser::kCancel));
        app.PressKey(VK_TAB);
        app.PressKey(VK_TAB);
        ASSERT_TRUE(PollUntil([&] { return app.Focus() == cancel; }));
        app.PressKey(VK_RETURN);
        break;
      }
      case kCloseBox: {
        const std::optional<POINT> box = CloseBoxPoint(window);
        ASSERT_TRUE(box.has_value()) << "no close box on the caption";
        ClickAt(*box);
        break;
      }
    }
    EXPECT_EQ(app.WaitForExit(), 0u);
    EXPECT_FALSE(app.SawMainWindow());
  }
  // After a click on a close box Wine's desktop drops the next click; this
  // one goes to the bare desktop, so later tests' clicks arrive.
  ClickAt({1, 1});
}

TEST(Chooser, FolderChosenWithTheKeyboardOpensTheMainWindowOnIt) {
  DesktopFolder folder;
  App app(Quoted(NestovaExe()));
  HWND window = app.WaitForActiveWindow(kChooserClass);
  ASSERT_NE(window, nullptr);
  app.Type(folder.name());  // the tree's type-ahead selects it
  app.PressKey(VK_RETURN);  // OK, the default button
  HWND main = app.WaitForMainWindow();
  ASSERT_NE(main, nullptr) << "no main window after choosing a folder";
  EXPECT_EQ(WindowText(FindControl(main, MainControlId(kLblFolder))), folder.path() + L"\\");
  app.PressKey(VK_ESCAPE);
  EXPECT_EQ(app.WaitForExit(), 0u);
}

// In the chooser of a program started without an argument: selects
// `folder`, presses Create with the keyboard and waits until the new
// folder's name is open for editing. The chooser's window, or nullptr.
HWND CreateFolderIn(App& app, const DesktopFolder& folder) {
  HWND window = app.WaitForActiveWindow(kChooserClass);
  if (!window) return nullptr;
  app.Type(folder.name());  // the tree's type-ahead selects it
  HWND tree = FindControl(window, chooser::PathDialogControlId(chooser::kTree));
  HWND create = FindControl(window, chooser::PathDialogControlId(chooser::kCreate));
  for (int i = 0; i < 3; ++i) app.PressKey(VK_TAB);  // tree, OK, Cancel, Create
  if (!PollUntil([&] { return app.Focus() == create; })) return nullptr;
  app.PressKey(VK_RETURN);  // presses the focused button
  if (!PollUntil([&] {
        return Exists(folder.path() + L"\\New folder1") && TreeView_GetEditControl(tree);
      })) {
    return nullptr;
  }
  return window;
}

TEST(Chooser, CreateThenEnterRenamesAndASecondEnterConfirms) {
  DesktopFolder folder;
  App app(Quoted(NestovaExe()));
  HWND window = CreateFolderIn(app, folder);
  ASSERT_NE(window, nullptr) << "no new folder open for editing";
  app.Type(L"Renamed 2");  // over the new folder's name
  app.PressKey(VK_RETURN);
  ASSERT_TRUE(PollUntil([&] { return Exists(folder.path() + L"\\Renamed 2"); }))
      << "Enter did not rename the folder";
  EXPECT_FALSE(Exists(folder.path() + L"\\New folder1"));
  EXPECT_TRUE(::IsWindowVisible(window)) << "the first Enter only ends the edit";
  app.PressKey(VK_RETURN);
  HWND main = app.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(WindowText(FindControl(main, MainControlId(kLblFolder))),
            folder.path() + L"\\Renamed 2\\");
  app.PressKey(VK_ESCAPE);
  EXPECT_EQ(app.WaitForExit(), 0u);
}

TEST(Chooser, EscWhileANameIsEditedEndsTheEditAndASecondEscCloses) {
  DesktopFolder folder;
  App app(Quoted(NestovaExe()));
  HWND window = CreateFolderIn(app, folder);
  ASSERT_NE(window, nullptr) << "no new folder open for editing";
  HWND tree = FindControl(window, chooser::PathDialogControlId(chooser::kTree));
  app.Type(L"Typed");
  app.PressKey(VK_ESCAPE);
  ASSERT_TRUE(PollUntil([&] { return TreeView_GetEditControl(tree) == nullptr; }))
      << "Esc did not end the edit";
  EXPECT_TRUE(Exists(folder.path() + L"\\New folder1")) << "Esc drops the typed name";
  EXPECT_FALSE(Exists(folder.path() + L"\\Typed"));
  // Whatever the key did has been done once the window answers again.
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  EXPECT_TRUE(::IsWindowVisible(window)) << "the first Esc only ends the edit";
  app.PressKey(VK_ESCAPE);
  EXPECT_EQ(app.WaitForExit(), 0u);
  EXPECT_FALSE(app.SawMainWindow());
}

// Run with a D: drive holding the folder Work (with-drive-d.sh).
TEST(DriveD, TheChooserOpensOnDAndADriveRootEndsTheProgramSilently) {
  ASSERT_TRUE(Exists(L"D:\\Work")) << "no D: drive: run through with-drive-d.sh";
  App app(Quoted(NestovaExe()));
  HWND window = app.WaitForActiveWindow(kChooserClass);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(::IsWindowEnabled(FindControl(window, chooser::PathDialogControlId(chooser::kOk))));
  app.PressKey(VK_RETURN);  // D:\ as it stands
  EXPECT_EQ(app.WaitForExit(), 0u);
  EXPECT_FALSE(app.SawMainWindow());
}

TEST(DriveD, AFolderBelowTheSelectedDriveOpensTheMainWindow) {
  App app(Quoted(NestovaExe()));
  HWND window = app.WaitForActiveWindow(kChooserClass);
  ASSERT_NE(window, nullptr);
  app.PressKey(VK_RIGHT);  // opens D:
  app.PressKey(VK_DOWN);   // its only folder, Work
  app.PressKey(VK_RETURN);
  HWND main = app.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(WindowText(FindControl(main, MainControlId(kLblFolder))), L"D:\\Work\\");
  app.PressKey(VK_ESCAPE);
  EXPECT_EQ(app.WaitForExit(), 0u);
}

}  // namespace
}  // namespace e2e
