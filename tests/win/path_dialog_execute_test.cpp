// TsPathDialog::Execute end to end in this process: the window is worked
// from a timer inside its own modal loop.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "components/TPathDialogForm.h"
#include "components/TsPathDialog.h"
#include "components/shell_error.h"
#include "platform/text.h"
#include "shell_environment.h"
#include "temp_folder.h"

namespace nestova {
namespace {

using platform::FromWide;

// What the window showed once it was up, and how it was then closed.
struct Seen {
  std::u16string selected;
  std::wstring currentDirectory;
  bool okEnabled = false;
};

std::function<void()> g_onShown;  // runs once, on the UI thread

void CALLBACK WhenShown(HWND, UINT, UINT_PTR id, DWORD) {
  if (!PathDialogForm || !::IsWindowVisible(PathDialogForm->hwnd())) return;
  ::KillTimer(nullptr, id);
  if (g_onShown) std::exchange(g_onShown, nullptr)();
}

// Runs Execute and, once the window is up, records it and sends `command`
// (IDOK or IDCANCEL) as its buttons do.
bool ExecuteThen(TsPathDialog& dialog, int command, Seen& seen) {
  g_onShown = [&seen, command] {
    components::TPathDialogForm& form = *PathDialogForm;
    seen.selected = form.sShellTreeView1().Path();
    wchar_t current[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, current);
    seen.currentDirectory = current;
    seen.okEnabled = ::IsWindowEnabled(form.Control(components::kOk));
    ::PostMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(command, BN_CLICKED),
                   reinterpret_cast<LPARAM>(
                       form.Control(command == IDOK ? components::kOk : components::kCancel)));
  };
  // Stopped however Execute ends: a timer left behind would act in a later call.
  struct Timer {
    UINT_PTR id = ::SetTimer(nullptr, 0, 20, WhenShown);
    ~Timer() {
      ::KillTimer(nullptr, id);
      g_onShown = nullptr;
    }
  } timer;
  const bool result = dialog.Execute();
  EXPECT_EQ(PathDialogForm, nullptr) << "the window is gone after Execute";
  return result;
}

BOOL CALLBACK MarkChooserWindow(HWND hwnd, LPARAM found) {
  wchar_t name[64] = {};
  ::GetClassNameW(hwnd, name, 64);
  if (std::wstring(name) == L"TPathDialogForm") *reinterpret_cast<bool*>(found) = true;
  return TRUE;
}

// Whether this thread has a window of the chooser's class, shown or not.
bool ChooserWindowExists() {
  bool found = false;
  ::EnumThreadWindows(::GetCurrentThreadId(), MarkChooserWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

class ExecuteTest : public ::testing::Test {
 protected:
  void SetUp() override { ::SetCurrentDirectoryW(L"C:\\"); }
  void TearDown() override { ::SetCurrentDirectoryW(L"C:\\"); }
  TempFolder temp_;
  TsPathDialog dialog_{TestPlatform()};
};

TEST_F(ExecuteTest, OpensOnPathMakesItCurrentAndReturnsTheChoice) {
  const std::wstring work = temp_.Make(L"Work");
  dialog_.Path = FromWide(work);
  Seen seen;
  EXPECT_TRUE(ExecuteThen(dialog_, IDOK, seen));
  EXPECT_EQ(seen.selected, FromWide(work));
  EXPECT_EQ(seen.currentDirectory, work);
  EXPECT_TRUE(seen.okEnabled);
  EXPECT_EQ(dialog_.Path, FromWide(work));
}

TEST_F(ExecuteTest, RelativeInitialFolderCountsFromTheCurrentDirectory) {
  const std::wstring work = temp_.Make(L"Work");
  ::SetCurrentDirectoryW(temp_.path().c_str());
  dialog_.Path = u"Work";
  Seen seen;
  EXPECT_TRUE(ExecuteThen(dialog_, IDOK, seen));
  EXPECT_EQ(seen.selected, FromWide(work));
  EXPECT_EQ(seen.currentDirectory, work);
  EXPECT_EQ(dialog_.Path, FromWide(work));
}

TEST_F(ExecuteTest, CancelLeavesPathAsItWas) {
  const std::wstring work = temp_.Make(L"Work");
  dialog_.Path = FromWide(work);
  Seen seen;
  EXPECT_FALSE(ExecuteThen(dialog_, IDCANCEL, seen));
  EXPECT_EQ(dialog_.Path, FromWide(work));
}

TEST_F(ExecuteTest, NoUsableInitialFolderSelectsTheRootAndKeepsTheDirectory) {
  for (const std::u16string start : {u".", u"", u"Q:\\no\\such", u"C:\\windows\\win.ini"}) {
    SCOPED_TRACE(std::string(start.begin(), start.end()));
    dialog_.Path = start;
    Seen seen;
    EXPECT_TRUE(ExecuteThen(dialog_, IDOK, seen));
    wchar_t desktop[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop);
    EXPECT_EQ(seen.selected, FromWide(desktop)) << "the root, the Desktop, is selected";
    EXPECT_EQ(seen.currentDirectory, L"C:\\");
    EXPECT_EQ(dialog_.Path, FromWide(desktop));
  }
}

TEST_F(ExecuteTest, NoChangeDirKeepsTheCurrentDirectory) {
  const std::wstring work = temp_.Make(L"Work");
  dialog_.Path = FromWide(work);
  dialog_.NoChangeDir = true;
  Seen seen;
  EXPECT_TRUE(ExecuteThen(dialog_, IDOK, seen));
  EXPECT_EQ(seen.currentDirectory, L"C:\\");
}

// Folders nested until the innermost path is longer than the shell's
// parser takes; removed innermost first, which the shell could not do.
class DeepFolder {
 public:
  explicit DeepFolder(const std::wstring& base) : path_(base) {
    while (path_.size() <= MAX_PATH) {
      path_ += L"\\" + std::wstring(60, L'd');
      if (!::CreateDirectoryW(path_.c_str(), nullptr)) break;
      made_.push_back(path_);
    }
  }
  ~DeepFolder() {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) ::RemoveDirectoryW(it->c_str());
  }
  DeepFolder(const DeepFolder&) = delete;
  DeepFolder& operator=(const DeepFolder&) = delete;
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
  std::vector<std::wstring> made_;
};

TEST_F(ExecuteTest, ErrorWhilePreparingDestroysTheWindowAndPropagates) {
  const DeepFolder deep(temp_.path());
  ASSERT_NE(::GetFileAttributesW(deep.path().c_str()), INVALID_FILE_ATTRIBUTES);
  dialog_.Path = FromWide(deep.path());
  dialog_.NoChangeDir = true;
  Seen seen;
  try {
    ExecuteThen(dialog_, IDCANCEL, seen);
    FAIL() << "no error";
  } catch (const components::ShellError& e) {
    EXPECT_EQ(e.text(), u"Error Setting Path");
  }
  EXPECT_EQ(PathDialogForm, nullptr);
  EXPECT_FALSE(ChooserWindowExists()) << "the window outlived the error";
  // The next call works as if nothing had happened.
  const std::wstring work = temp_.Make(L"Work");
  dialog_.Path = FromWide(work);
  EXPECT_TRUE(ExecuteThen(dialog_, IDOK, seen));
  EXPECT_EQ(seen.selected, FromWide(work));
  EXPECT_EQ(dialog_.Path, FromWide(work));
}

}  // namespace
}  // namespace nestova
