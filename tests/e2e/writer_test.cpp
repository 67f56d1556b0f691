// Giving a folder an icon as a person does it: the program in a folder of
// its own with one collection, a target folder, keys and clicks, and then
// what is on disk.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <string>

#include "app/main_layout.h"
#include "driver.h"

namespace e2e {
namespace {

using namespace nestova;

std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Utf16File(std::wstring_view text) {
  std::string out = "\xFF\xFE";
  for (wchar_t c : text) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  return out;
}

DWORD Attributes(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }
constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

class Writer : public testing::Test {
 protected:
  void SetUp() override {
    program_ = temp_.Make(L"Программа");
    ASSERT_TRUE(::CopyFileW(NestovaExe().c_str(), (program_ + L"\\Nestova.exe").c_str(), FALSE));
    temp_.Make(L"Программа\\Icons");
    temp_.Make(L"Программа\\Icons\\Офис");
    // One real icon from the sample collections, so the view shows it.
    const std::wstring sample = BinDir() + L"Icons\\Цветные папки\\Синяя.ico";
    icon_ = program_ + L"\\Icons\\Офис\\Папка.ico";
    ASSERT_TRUE(::CopyFileW(sample.c_str(), icon_.c_str(), FALSE));
    target_ = temp_.Make(L"Работа") + L"\\";
    copy_ = target_ + L"ico_Офис_Папка.ico";
    ini_ = target_ + L"Desktop.ini";
  }
  void TearDown() override {
    if (app_ && app_->WaitForExit() == std::nullopt) ADD_FAILURE() << "the program did not end";
    app_.reset();
    // A click on the bare desktop, as at the start of the run, so that the
    // first click of the next test is not lost to the window that was here.
    PrepareDesktop();
  }

  // Starts the program on the target folder and waits for its one icon.
  HWND Start() {
    const std::wstring exe = program_ + L"\\Nestova.exe";
    app_.emplace(Quoted(exe) + L" " + Quoted(target_), L"", exe);
    HWND main = app_->WaitForMainWindow();
    if (!main) {
      ADD_FAILURE() << "no main window";
      return nullptr;
    }
    view_ = FindControl(main, MainControlId(kLVIcons));
    if (!PollUntil([&] { return ListView_GetItemCount(view_) == 1; })) {
      ADD_FAILURE() << "items: " << ListView_GetItemCount(view_) << ", collections: "
                    << ::SendMessageW(FindControl(main, MainControlId(kLBxColl)), LB_GETCOUNT, 0,
                                      0);
      return nullptr;
    }
    return main;
  }

  // The message box the program shows, its text and its caption.
  struct Box {
    HWND hwnd = nullptr;
    std::wstring text, caption;
  };
  Box WaitForMessageBox() {
    Box box;
    box.hwnd = app_->WaitForWindow(L"#32770");
    if (box.hwnd) {
      box.text = WindowText(FindControl(box.hwnd, 0xFFFF));  // the box's text control
      box.caption = WindowText(box.hwnd);
    }
    return box;
  }

  void ExpectApplied() {
    EXPECT_EQ(ReadBytes(copy_), ReadBytes(icon_));
    EXPECT_EQ(ReadBytes(ini_), Utf16File(L"[.ShellClassInfo]\r\nIconFile=ico_Офис_Папка.ico\r\n"
                                         L"IconIndex=0\r\n"));
    EXPECT_EQ(Attributes(copy_) & kHiddenSystem, kHiddenSystem);
    EXPECT_EQ(Attributes(ini_) & kHiddenSystem, kHiddenSystem);
  }

  TempDir temp_;
  std::wstring program_, icon_, target_, copy_, ini_;
  std::optional<App> app_;
  HWND view_ = nullptr;
};

TEST_F(Writer, KeyboardPicksTheIconAndEnterApplies) {
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  app_->PressKey(VK_TAB);  // from the collection list to the icon view
  ASSERT_TRUE(PollUntil([&] { return app_->Focus() == view_; }));
  app_->PressKey(VK_HOME);
  ASSERT_TRUE(PollUntil([&] { return ListView_GetSelectedCount(view_) == 1; }));
  app_->PressKey(VK_RETURN);
  EXPECT_EQ(app_->WaitForExit(), 0u);
  ExpectApplied();
}

TEST_F(Writer, DoubleClickAppliesAndStandardRestores) {
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  // The first icon sits at the top left of the view.
  POINT onIcon{40, 22};
  ::ClientToScreen(view_, &onIcon);
  DoubleClickAt(onIcon);
  EXPECT_EQ(app_->WaitForExit(), 0u);
  ExpectApplied();

  // A second start on the same folder; "Стандарт" takes the icon away.
  main = Start();
  ASSERT_NE(main, nullptr);
  HWND clear = FindControl(main, MainControlId(kBtnClear));
  app_->PressKeys({VK_SHIFT, VK_TAB});  // from the collection list back to "Стандарт"
  ASSERT_TRUE(PollUntil([&] { return app_->Focus() == clear; }));
  app_->PressKey(VK_SPACE);
  EXPECT_EQ(app_->WaitForExit(), 0u);
  EXPECT_EQ(Attributes(ini_), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(Attributes(copy_), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Writer, ApplyWithoutASelectionSaysChooseAnIcon) {
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  ASSERT_EQ(ListView_GetSelectedCount(view_), 0u);
  app_->PressKey(VK_RETURN);  // the collection list has the focus; Enter presses "Применить"
  const Box box = WaitForMessageBox();
  ASSERT_NE(box.hwnd, nullptr);
  EXPECT_EQ(box.text, L"Выберите иконку");
  EXPECT_EQ(box.caption, L"");
  EXPECT_EQ(::GetWindow(box.hwnd, GW_OWNER), main);
  app_->PressKey(VK_RETURN);
  ASSERT_TRUE(PollUntil([&] { return !::IsWindow(box.hwnd); }));
  EXPECT_TRUE(::IsWindowVisible(main));  // still open, nothing written
  EXPECT_EQ(Attributes(ini_), INVALID_FILE_ATTRIBUTES);
  app_->PressKey(VK_ESCAPE);
  EXPECT_EQ(app_->WaitForExit(), 0u);
}

TEST_F(Writer, AFailedCopyKeepsTheWindowOpenAndSaysWhy) {
  // A folder where the copy has to go: the copy cannot be made.
  ASSERT_TRUE(::CreateDirectoryW(copy_.c_str(), nullptr));
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  app_->PressKey(VK_TAB);
  ASSERT_TRUE(PollUntil([&] { return app_->Focus() == view_; }));
  app_->PressKey(VK_HOME);
  ASSERT_TRUE(PollUntil([&] { return ListView_GetSelectedCount(view_) == 1; }));
  app_->PressKey(VK_RETURN);
  const Box box = WaitForMessageBox();
  ASSERT_NE(box.hwnd, nullptr);
  EXPECT_EQ(box.text.rfind(L"Не удалось скопировать иконку в папку " + target_ + L".\n\n", 0), 0u)
      << std::string(box.text.begin(), box.text.end());
  EXPECT_GT(box.text.size(),
            (L"Не удалось скопировать иконку в папку " + target_ + L".\n\n").size());
  app_->PressKey(VK_RETURN);
  ASSERT_TRUE(PollUntil([&] { return !::IsWindow(box.hwnd); }));
  EXPECT_TRUE(::IsWindowVisible(main));
  EXPECT_EQ(Attributes(ini_), INVALID_FILE_ATTRIBUTES);
  app_->PressKey(VK_ESCAPE);
  EXPECT_EQ(app_->WaitForExit(), 0u);
}

}  // namespace
}  // namespace e2e
