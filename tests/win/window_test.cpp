// The window base: a handler that throws leaves the window working, control
// notifications reach their handlers only for the code they name, and a
// control the system refuses to make fails loudly.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <string>

#include "ui/routing.h"
#include "ui/subclass.h"
#include "ui/window.h"

namespace nestova::ui {
namespace {

constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kCount = WM_APP + 2;

class ThrowingWindow final : public Window {
 public:
  ThrowingWindow() {
    CreateTopLevel(::GetModuleHandleW(nullptr), {L"NestovaThrowingWindow"}, 0, WS_POPUP, L"",
                   kSystemPlace);
  }
  int counted = 0;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == kThrow) throw std::runtime_error("handler failed");
    if (msg == kCount) return ++counted;
    return Window::HandleMessage(msg, wParam, lParam);
  }
};

TEST(WindowBarrier, AThrowingHandlerGetsTheDefaultAnswerAndTheWindowCarriesOn) {
  ThrowingWindow window;
  ASSERT_NE(window.hwnd(), nullptr);
  EXPECT_EQ(::SendMessageW(window.hwnd(), kThrow, 0, 0), 0);  // DefWindowProc's answer
  EXPECT_TRUE(::IsWindow(window.hwnd()));
  EXPECT_EQ(::SendMessageW(window.hwnd(), kCount, 0, 0), 1);
}

TEST(WindowBarrier, AFailingFallbackIsSwallowedToo) {
  const LRESULT result = Guarded([]() -> LRESULT { throw std::runtime_error("handler"); },
                                 []() -> LRESULT { throw 42; });
  EXPECT_EQ(result, 0);
}

struct Owner {
  std::string calls;
  void Cancel() { calls += "cancel "; }
  void Open() { calls += "open "; }
};

constexpr int kList = 1001;
constexpr std::array<ControlEvent<Owner>, 2> kTable{{
    {IDCANCEL, BN_CLICKED, &Owner::Cancel},
    {kList, NM_DBLCLK, &Owner::Open},
}};

TEST(ControlRouting, OnlyTheNamedNotificationOfTheNamedControlRuns) {
  const LPARAM control = 0x1234;  // any control window: not looked at
  NMHDR doubleClick{nullptr, kList, static_cast<UINT>(NM_DBLCLK)};
  NMHDR click{nullptr, kList, static_cast<UINT>(NM_CLICK)};
  struct Case {
    const char* what;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    const char* calls;
  };
  const Case cases[] = {
      {"Cancel clicked", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), control, "cancel "},
      {"Cancel gets the focus", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_SETFOCUS), control, ""},
      {"Esc through the dialog manager", WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0, "cancel "},
      {"a menu command with the list's id", WM_COMMAND, MAKEWPARAM(kList, 0), 0, ""},
      {"double-click in the list", WM_NOTIFY, kList, reinterpret_cast<LPARAM>(&doubleClick),
       "open "},
      {"click in the list", WM_NOTIFY, kList, reinterpret_cast<LPARAM>(&click), ""},
      {"another message", WM_PAINT, 0, 0, ""},
  };
  for (const Case& c : cases) {
    Owner owner;
    const bool routed = RouteControlEvent<Owner>(owner, kTable, c.msg, c.wParam, c.lParam);
    EXPECT_EQ(owner.calls, c.calls) << c.what;
    EXPECT_EQ(routed, !owner.calls.empty()) << c.what;
  }
}

TEST(CreateChild, ARefusedControlThrowsWithItsClass) {
  const HWND top = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     nullptr, nullptr);
  ASSERT_NE(top, nullptr);
  try {
    CreateChild(top, 1, L"NoSuchClassHere", L"", 0, 0, ::GetModuleHandleW(nullptr));
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("NoSuchClassHere"), std::string::npos) << e.what();
  }
  ::DestroyWindow(top);
}

// What a subclass procedure saw, by message.
struct Seen {
  int pings = 0;
  int destroys = 0;
  std::wstring textAtDestroy;
};
constexpr UINT kPing = WM_APP + 7;

LRESULT Watching(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, DWORD_PTR data) {
  auto& seen = *reinterpret_cast<Seen*>(data);
  if (msg == kPing) return ++seen.pings + 100;  // ours: the control never sees it
  if (msg == WM_NCDESTROY) {
    ++seen.destroys;
    wchar_t text[16] = {};
    CallOriginal(hwnd, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(text));
    seen.textAtDestroy = text;
  }
  return CallOriginal(hwnd, msg, wParam, lParam);
}

TEST(Subclass, OurProcedureComesFirstAndTheControlKeepsItsOwnHandling) {
  const HWND button = ::CreateWindowExW(0, L"BUTTON", L"Press", WS_POPUP, 0, 0, 50, 20, nullptr,
                                        nullptr, nullptr, nullptr);
  ASSERT_NE(button, nullptr);
  Seen seen;
  Subclass(button, Watching, reinterpret_cast<DWORD_PTR>(&seen));
  EXPECT_EQ(::SendMessageW(button, kPing, 0, 0), 101);
  wchar_t text[16] = {};
  ::GetWindowTextW(button, text, 16);
  EXPECT_STREQ(text, L"Press");  // the button's own handling, through ours
  EXPECT_THROW(Subclass(button, Watching, 0), std::logic_error);

  // Removed, the window is the control's alone again; a new subclass works.
  RemoveSubclass(button);
  EXPECT_EQ(::SendMessageW(button, kPing, 0, 0), 0);
  Subclass(button, Watching, reinterpret_cast<DWORD_PTR>(&seen));
  EXPECT_EQ(::SendMessageW(button, kPing, 0, 0), 102);

  // The last message still gets both handlings; then the subclass is gone.
  ::DestroyWindow(button);
  EXPECT_EQ(seen.destroys, 1);
  EXPECT_EQ(seen.textAtDestroy, L"Press");
  const HWND again = ::CreateWindowExW(0, L"BUTTON", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                       nullptr, nullptr);
  EXPECT_NO_THROW(Subclass(again, Watching, reinterpret_cast<DWORD_PTR>(&seen)));
  ::DestroyWindow(again);
  EXPECT_EQ(seen.destroys, 2);
}

}  // namespace
}  // namespace nestova::ui
