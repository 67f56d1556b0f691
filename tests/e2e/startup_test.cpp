// Start-up as the user meets it: which command lines open the window on
// which folder, which end the program silently, and how the window closes.
#include <gtest/gtest.h>

#include "app/main_layout.h"
#include "driver.h"

namespace e2e {
namespace {

using nestova::kBtnCancel;
using nestova::kLblFolder;
using nestova::MainControlId;

// Starts the program, expects its window on `shownFolder`, closes it with Esc.
void ExpectWindowOn(const std::wstring& commandLine, const std::wstring& shownFolder,
                    const std::wstring& currentDir = L"") {
  App app(commandLine, currentDir);
  HWND main = app.WaitForMainWindow();
  ASSERT_NE(main, nullptr) << "no window for: " << testing::PrintToString(commandLine);
  EXPECT_EQ(WindowText(main), L"Nestova");
  EXPECT_EQ(WindowText(FindControl(main, MainControlId(kLblFolder))), shownFolder);
  app.PressKey(VK_ESCAPE);
  EXPECT_EQ(app.WaitForExit(), 0u);
}

TEST(Startup, OpensOnTheFolderOfArgumentOne) {
  TempDir temp;
  const std::wstring spaced = temp.Make(L"My Folder");
  const std::wstring work = temp.Make(L"Work");
  const std::wstring exe = Quoted(NestovaExe());
  const struct {
    const char* name;
    std::wstring commandLine, shown;
  } cases[] = {
      {"quoted path with spaces", exe + L" " + Quoted(spaced), spaced + L"\\"},
      {"one trailing backslash, not two", exe + L" " + Quoted(work + L"\\"), work + L"\\"},
      {"spaces and tabs inside the quotes trimmed", exe + L" \" \t" + work + L" \t\"",
       work + L"\\"},
      {"empty quotes are not an argument", exe + L" \"\" " + Quoted(work), work + L"\\"},
      {"further arguments ignored", exe + L" " + Quoted(work) + L" C:\\", work + L"\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectWindowOn(c.commandLine, c.shown);
  }
}

TEST(Startup, RelativeFolderIsUsedAsItStands) {
  TempDir temp;
  temp.Make(L"Data1");
  ExpectWindowOn(Quoted(NestovaExe()) + L" Data1", L"Data1\\", temp.path());
}

TEST(Startup, StopsSilentlyWithoutAUsableFolder) {
  TempDir temp;
  temp.Make(L"abc");
  const std::wstring exe = Quoted(NestovaExe());
  const struct {
    const char* name;
    std::wstring commandLine;
  } cases[] = {
      {"drive root", exe + L" C:\\"},
      {"drive root, doubled backslash", exe + L" C:\\\\"},
      {"drive root, slash", exe + L" C:/"},
      {"drive root, two slashes", exe + L" C://"},
      {"drive root, dot", exe + L" C:\\."},
      {"drive root, device path", exe + L" \\\\?\\C:\\"},
      {"drive without backslash", exe + L" C:"},
      {"three-letter relative folder", exe + L" abc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    App app(c.commandLine, temp.path());
    EXPECT_EQ(app.WaitForExit(), 0u);
    EXPECT_FALSE(app.SawVisibleWindow());
  }
}

TEST(Startup, NoArgumentAsksForAFolderAndCancelStops) {
  App app(Quoted(NestovaExe()));
  HWND chooser = app.WaitForWindow(L"TPathDialogForm");
  ASSERT_NE(chooser, nullptr) << "the folder chooser did not appear";
  ::PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(app.WaitForExit(), 0u);
  EXPECT_FALSE(app.SawMainWindow());
}

TEST(Startup, EscCancelAndCloseBoxEndTheProgram) {
  TempDir temp;
  const std::wstring commandLine = Quoted(NestovaExe()) + L" " + Quoted(temp.Make(L"Work"));
  enum Way { kEsc, kCancelButton, kCloseBox, kAltF4, kSystemMenuClose, kEnterOnFocusedCancel };
  for (Way way :
       {kEsc, kCancelButton, kCloseBox, kAltF4, kSystemMenuClose, kEnterOnFocusedCancel}) {
    SCOPED_TRACE(way);
    App app(commandLine);
    HWND main = app.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    switch (way) {
      case kEsc:
        app.PressKey(VK_ESCAPE);
        break;
      case kCancelButton:
        app.Click(FindControl(main, MainControlId(kBtnCancel)));
        break;
      case kCloseBox: {
        const std::optional<POINT> box = CloseBoxPoint(main);
        ASSERT_TRUE(box.has_value()) << "no close box on the caption";
        ClickAt(*box);
        break;
      }
      case kAltF4:
        app.PressKeys({VK_MENU, VK_F4});
        break;
      case kSystemMenuClose:
        ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);  // what the system menu sends
        break;
      case kEnterOnFocusedCancel: {
        // Enter presses the focused button rather than the default one.
        HWND cancel = FindControl(main, MainControlId(kBtnCancel));
        app.PressKeys({VK_SHIFT, VK_TAB});
        app.PressKeys({VK_SHIFT, VK_TAB});
        ASSERT_TRUE(PollUntil([&] { return app.Focus() == cancel; }));
        app.PressKey(VK_RETURN);
        break;
      }
    }
    EXPECT_EQ(app.WaitForExit(), 0u);
  }
}

}  // namespace
}  // namespace e2e
