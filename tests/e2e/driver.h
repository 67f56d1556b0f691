#pragma once
// Drives the real Nestova.exe as a person would: starts it with an exact
// command line, finds its window, presses keys and clicks, and watches how
// the process ends.
#include <windows.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "platform/handles.h"
#include "temp_folder.h"

namespace e2e {

using namespace std::chrono_literals;
inline constexpr auto kTimeout = 20s;

// Folder of the test executable; Nestova.exe is built beside it.
std::wstring BinDir();
std::wstring NestovaExe();
// The text in double quotes, as one command-line argument.
std::wstring Quoted(const std::wstring& text);

// A fresh, empty folder under the temporary folder, removed afterwards.
using TempDir = nestova::TempFolder;

class App {
 public:
  // commandLine is passed to CreateProcessW exactly as given. The program
  // started is `program`, by default the built Nestova.exe; with nullopt it
  // is the first word of the command line, as when Explorer runs a command.
  App(const std::wstring& commandLine, const std::wstring& currentDir = L"",
      const std::optional<std::wstring>& program = NestovaExe());
  ~App();  // kills the process if it is still running
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // The visible main window, active and ready for input, or nullptr when
  // none appeared and settled in time.
  HWND WaitForMainWindow();
  // The visible window of the class, active and ready for input, or nullptr.
  HWND WaitForActiveWindow(const wchar_t* className);
  // A visible top-level window of the given class, or nullptr.
  HWND WaitForWindow(const wchar_t* className);
  // The exit code, or nullopt when the process is still running at the
  // timeout. Records whether a window of the program, and its main window,
  // were visible while it ran.
  std::optional<DWORD> WaitForExit();
  bool SawVisibleWindow() const { return sawWindow_; }
  bool SawMainWindow() const { return sawMainWindow_; }

  HWND Focus() const;  // the control with the keyboard focus
  // Types keys as a keyboard does (SendInput), into the active window: all
  // keys of the chord go down in order and come up in reverse, so
  // PressKeys({VK_SHIFT, VK_TAB}) is Shift+Tab.
  void PressKey(UINT vk) const { PressKeys({vk}); }
  void PressKeys(std::initializer_list<UINT> chord) const;
  // Types letters, digits and spaces as key presses (Shift for capitals).
  void Type(const std::wstring& text) const;
  // A button's press and release in the control's middle.
  void Click(HWND control, bool rightButton = false) const;

 private:
  HWND FindVisibleWindow(const wchar_t* className) const;

  nestova::platform::UniqueKernelHandle process_;
  nestova::platform::UniqueKernelHandle thread_;
  DWORD processId_ = 0;
  DWORD threadId_ = 0;
  bool sawWindow_ = false;
  bool sawMainWindow_ = false;
};

// Polls until `done` holds; false when it still does not at the timeout.
bool PollUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = kTimeout);

// A child control of the window by its identifier, at any depth.
HWND FindControl(HWND top, int id);
std::wstring WindowText(HWND hwnd);
// The control's rectangle in its parent's client area.
RECT RectInParent(HWND control);

// The items of a list box in another process, in order.
std::vector<std::wstring> ListBoxItems(HWND list);
// The items of a list view in another process: caption and picture index.
struct ListViewItem {
  std::wstring text;
  int image = -1;
  bool operator==(const ListViewItem&) const = default;
};
std::vector<ListViewItem> ListViewItems(HWND view);

// Clicks on the screen at a point, as the mouse does.
void ClickAt(POINT screen, bool rightButton = false);
// Two clicks at one point, close enough in time to make a double-click.
void DoubleClickAt(POINT screen);
// The screen point of the window's close box, found by hit-testing its caption.
std::optional<POINT> CloseBoxPoint(HWND top);

// Once per run, before driving any window.
void PrepareDesktop();

// Saves what the screen shows of the window as a 24-bit BMP file.
bool SaveScreenshot(HWND top, const std::wstring& path);

}  // namespace e2e
