// Browsing collections as a person does it: the program in a folder of its
// own with collections made for the test, the list and the icon view read
// back from the running program.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/main_layout.h"
#include "driver.h"

namespace e2e {
namespace {

using namespace nestova;

class Browser : public testing::Test {
 protected:
  void SetUp() override {
    program_ = temp_.Make(L"Программа");
    ASSERT_TRUE(::CopyFileW(NestovaExe().c_str(), (program_ + L"\\Nestova.exe").c_str(), FALSE));
    icons_ = temp_.Make(L"Программа\\Icons");
    target_ = temp_.Make(L"Работа");
  }
  void TearDown() override {
    if (app_ && app_->WaitForExit() == std::nullopt) ADD_FAILURE() << "the program did not end";
    app_.reset();
    PrepareDesktop();  // as at the start of the run, for the next test's first click
  }

  // A collection holding the named files: a sample icon each, or broken bytes.
  void Collection(const std::wstring& name, const std::vector<std::wstring>& files) {
    temp_.Make(L"Программа\\Icons\\" + name);
    const wchar_t* samples[] = {L"Синяя.ico", L"Красная.ico", L"Зелёная.ico"};
    for (size_t i = 0; i < files.size(); ++i) {
      const std::wstring path = icons_ + L"\\" + name + L"\\" + files[i];
      if (files[i].starts_with(L"broken")) {
        Write(path, "not an icon at all");
      } else {
        const std::wstring sample = BinDir() + L"Icons\\Цветные папки\\" + samples[i % 3];
        ASSERT_TRUE(::CopyFileW(sample.c_str(), path.c_str(), FALSE)) << "no sample icon";
      }
    }
  }
  static void Write(const std::wstring& path, const std::string& bytes) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
  }

  HWND Start() {
    const std::wstring exe = program_ + L"\\Nestova.exe";
    app_.emplace(Quoted(exe) + L" " + Quoted(target_), L"", exe);
    return app_->WaitForMainWindow();
  }

  // Item k shows picture k, with the files' names in order.
  static std::vector<ListViewItem> Expected(const std::vector<std::wstring>& names) {
    std::vector<ListViewItem> items;
    for (const std::wstring& name : names) items.push_back({name, static_cast<int>(items.size())});
    return items;
  }

  TempDir temp_;
  std::wstring program_, icons_, target_;
  std::optional<App> app_;
};

TEST_F(Browser, ListsVisibleCollectionsAndSkipsABrokenFileAfterSayingSo) {
  Collection(L"Офис", {L"A.ico", L"broken B.ico", L"C.ico"});
  Collection(L"Скрытая", {L"D.ico"});
  ASSERT_TRUE(::SetFileAttributesW((icons_ + L"\\Скрытая").c_str(), FILE_ATTRIBUTE_HIDDEN));
  Write(icons_ + L"\\Просто файл.ico", "a file, not a collection");

  const std::wstring exe = program_ + L"\\Nestova.exe";
  app_.emplace(Quoted(exe) + L" " + Quoted(target_), L"", exe);
  // The broken file stops the load with its message before the window is idle.
  HWND box = app_->WaitForWindow(L"#32770");
  ASSERT_NE(box, nullptr) << "no message for the broken file";
  EXPECT_EQ(WindowText(FindControl(box, 0xFFFF)),
            L"Cannot load " + icons_ +
                L"\\Офис\\broken B.ico\r\nInvalid or unexpected image "
                L"format.");
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);

  HWND main = app_->WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ListBoxItems(FindControl(main, MainControlId(kLBxColl))),
            std::vector<std::wstring>{L"Офис"});
  HWND view = FindControl(main, MainControlId(kLVIcons));
  EXPECT_TRUE(PollUntil([&] {
    return ListViewItems(view) == Expected({L"A.ico", L"C.ico"});
  })) << "items: "
      << ListViewItems(view).size();
  app_->PressKey(VK_ESCAPE);
}

TEST_F(Browser, AHeldArrowKeyLeavesOneItemPerFileWithItsOwnPicture) {
  const std::vector<std::wstring> first = {L"1.ico", L"2.ico", L"3.ico", L"4.ico"};
  const std::vector<std::wstring> second = {L"x.ico", L"y.ico", L"Z.ICO"};
  Collection(L"Первая", first);
  Collection(L"Вторая", second);
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  HWND list = FindControl(main, MainControlId(kLBxColl));
  HWND view = FindControl(main, MainControlId(kLVIcons));
  const std::vector<std::wstring> names = ListBoxItems(list);
  ASSERT_EQ(names.size(), 2u);

  // Key repeats come faster than a collection loads.
  for (int i = 0; i < 15; ++i) app_->PressKey(i % 2 ? VK_UP : VK_DOWN);
  app_->PressKey(VK_DOWN);
  const auto selected = [&] { return static_cast<int>(::SendMessageW(list, LB_GETCURSEL, 0, 0)); };
  ASSERT_TRUE(PollUntil([&] { return selected() == 1; }));
  const auto& files = names[1] == L"Первая" ? first : second;
  EXPECT_TRUE(PollUntil([&] { return ListViewItems(view) == Expected(files); }))
      << "items: " << ListViewItems(view).size();

  // The same collection once more builds the same view.
  app_->PressKey(VK_UP);
  app_->PressKey(VK_DOWN);
  EXPECT_TRUE(PollUntil([&] { return ListViewItems(view) == Expected(files); }));
  app_->PressKey(VK_ESCAPE);
}

}  // namespace
}  // namespace e2e
