#include "driver.h"

#include <shellapi.h>

#include <commctrl.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <vector>

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

std::wstring ClassName(HWND hwnd) {
  wchar_t name[256] = {};
  ::GetClassNameW(hwnd, name, 256);
  return name;
}

BOOL CALLBACK VisitWindow(HWND hwnd, LPARAM visit) {
  return (*reinterpret_cast<const std::function<bool(HWND)>*>(visit))(hwnd) ? TRUE : FALSE;
}

// Calls `visit` for every top-level window (parent null) or every descendant
// of `parent`, until it returns false.
void EnumerateWindows(HWND parent, const std::function<bool(HWND)>& visit) {
  const LPARAM param = reinterpret_cast<LPARAM>(&visit);
  if (parent) {
    ::EnumChildWindows(parent, VisitWindow, param);
  } else {
    ::EnumWindows(VisitWindow, param);
  }
}

}  // namespace

bool PollUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = Clock::now() + timeout;
  while (Clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(20ms);
  }
  return done();
}

std::wstring BinDir() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir = path;
  return dir.substr(0, dir.find_last_of(L'\\') + 1);
}

std::wstring NestovaExe() { return BinDir() + L"Nestova.exe"; }

std::wstring Quoted(const std::wstring& text) {
  std::wstring quoted;
  quoted.reserve(text.size() + 2);
  return quoted.append(1, L'"').append(text).append(1, L'"');
}

App::App(const std::wstring& commandLine, const std::wstring& currentDir,
         const std::optional<std::wstring>& program) {
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(program ? program->c_str() : nullptr, line.data(), nullptr, nullptr, FALSE,
                        0, nullptr, currentDir.empty() ? nullptr : currentDir.c_str(), &si, &pi)) {
    throw std::runtime_error("CreateProcessW failed, error " + std::to_string(::GetLastError()));
  }
  process_.reset(pi.hProcess);
  thread_.reset(pi.hThread);
  processId_ = pi.dwProcessId;
  threadId_ = pi.dwThreadId;
  ::WaitForInputIdle(process_.get(), 10000);
}

App::~App() {
  if (::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(process_.get(), 99);
    ::WaitForSingleObject(process_.get(), 5000);
  }
}

HWND App::FindVisibleWindow(const wchar_t* className) const {
  HWND found = nullptr;
  EnumerateWindows(nullptr, [&](HWND hwnd) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid != processId_ || !::IsWindowVisible(hwnd)) return true;
    if (className && ClassName(hwnd) != className) return true;
    found = hwnd;
    return false;
  });
  return found;
}

HWND App::WaitForWindow(const wchar_t* className) {
  HWND found = nullptr;
  PollUntil([&] { return (found = FindVisibleWindow(className)) != nullptr; });
  return found;
}

HWND App::WaitForMainWindow() { return WaitForActiveWindow(L"TFrm_Main"); }

HWND App::WaitForActiveWindow(const wchar_t* className) {
  HWND main = WaitForWindow(className);
  if (!main) return nullptr;
  // A person acts once the window has come up and settled: active, and done
  // with the messages of its first showing. Input sent earlier can be lost.
  if (!PollUntil([&] { return ::GetForegroundWindow() == main; })) return nullptr;
  if (::WaitForInputIdle(process_.get(), 5000) != 0) return nullptr;
  DWORD_PTR ignored = 0;
  if (!::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored)) return nullptr;
  return main;
}

std::optional<DWORD> App::WaitForExit() {
  const bool ended = PollUntil([&] {
    if (FindVisibleWindow(nullptr)) sawWindow_ = true;
    if (FindVisibleWindow(L"TFrm_Main")) sawMainWindow_ = true;
    return ::WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0;
  });
  if (!ended) return std::nullopt;
  DWORD code = 0;
  ::GetExitCodeProcess(process_.get(), &code);
  return code;
}

HWND App::Focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ::GetGUIThreadInfo(threadId_, &info);
  return info.hwndFocus;
}

void App::PressKeys(std::initializer_list<UINT> chord) const {
  std::vector<INPUT> input;
  auto key = [&](UINT vk, DWORD flags) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = static_cast<WORD>(vk);
    i.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    i.ki.dwFlags = flags;
    input.push_back(i);
  };
  for (UINT vk : chord) key(vk, 0);
  for (auto it = std::rbegin(chord); it != std::rend(chord); ++it) key(*it, KEYEVENTF_KEYUP);
  ::SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

void App::Type(const std::wstring& text) const {
  for (wchar_t c : text) {
    if (c >= L'a' && c <= L'z') {
      PressKey(c - L'a' + L'A');
    } else if (c >= L'0' && c <= L'9') {
      PressKey(c);
    } else if (c >= L'A' && c <= L'Z') {
      PressKeys({VK_SHIFT, static_cast<UINT>(c)});
    } else if (c == L' ') {
      PressKey(VK_SPACE);
    } else {
      throw std::invalid_argument("Type: letters, digits and spaces only");
    }
  }
}

void App::Click(HWND control, bool rightButton) const {
  RECT rc;
  ::GetWindowRect(control, &rc);
  ClickAt({(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}, rightButton);
}

HWND FindControl(HWND top, int id) {
  HWND found = nullptr;
  EnumerateWindows(top, [&](HWND hwnd) {
    if (::GetDlgCtrlID(hwnd) != id) return true;
    found = hwnd;
    return false;
  });
  return found;
}

std::wstring WindowText(HWND hwnd) {
  std::wstring text(::GetWindowTextLengthW(hwnd) + 1, L'\0');
  text.resize(::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size())));
  return text;
}

RECT RectInParent(HWND control) {
  RECT rc;
  ::GetWindowRect(control, &rc);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

std::vector<std::wstring> ListBoxItems(HWND list) {
  std::vector<std::wstring> items;
  const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring item(::SendMessageW(list, LB_GETTEXTLEN, i, 0) + 1, L'\0');
    item.resize(::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data())));
    items.push_back(item);
  }
  return items;
}

std::vector<ListViewItem> ListViewItems(HWND view) {
  // List view messages carry pointers the system does not carry across
  // processes, so the item record and its text buffer live in the program's
  // own memory.
  DWORD processId = 0;
  ::GetWindowThreadProcessId(view, &processId);
  const nestova::platform::UniqueKernelHandle process(
      ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
  if (!process) throw std::runtime_error("OpenProcess failed");
  constexpr int kTextMax = 1024;
  const SIZE_T size = sizeof(LVITEMW) + kTextMax * sizeof(wchar_t);
  void* remote = ::VirtualAllocEx(process.get(), nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  if (!remote) throw std::runtime_error("VirtualAllocEx failed");
  auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(LVITEMW));
  std::vector<ListViewItem> items;
  const auto count = static_cast<int>(::SendMessageW(view, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = i;
    item.pszText = remoteText;
    item.cchTextMax = kTextMax;
    std::vector<wchar_t> text(kTextMax);
    if (!::WriteProcessMemory(process.get(), remote, &item, sizeof item, nullptr) ||
        !::SendMessageW(view, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote)) ||
        !::ReadProcessMemory(process.get(), remote, &item, sizeof item, nullptr) ||
        !::ReadProcessMemory(process.get(), remoteText, text.data(), kTextMax * sizeof(wchar_t),
                             nullptr)) {
      break;
    }
    text.back() = L'\0';
    items.push_back({text.data(), item.iImage});
  }
  ::VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
  return items;
}

namespace {

INPUT MouseInput(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  return input;
}

// Under X the pointer can lag behind a synthetic move or be set back by a
// late motion event that the program under it has not read yet. So the move
// is repeated until the system says the pointer is there, also after the
// window under it has been through its message loop (which reads X events).
void MovePointerTo(POINT screen) {
  INPUT move = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
  move.mi.dx = MulDiv(screen.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
  move.mi.dy = MulDiv(screen.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
  const auto arrived = [&] {
    POINT at;
    return ::GetCursorPos(&at) && std::abs(at.x - screen.x) <= 1 && std::abs(at.y - screen.y) <= 1;
  };
  int settled = 0;  // consecutive checks at the point
  for (int round = 0; round < 50 && settled < 2; ++round) {
    if (!arrived()) ::SendInput(1, &move, sizeof(INPUT));
    std::this_thread::sleep_for(20ms);
    if (HWND under = ::WindowFromPoint(screen)) {
      DWORD_PTR ignored;
      ::SendMessageTimeoutW(under, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored);
    }
    settled = arrived() ? settled + 1 : 0;
  }
}

void PressAndRelease(bool rightButton, std::chrono::milliseconds pace) {
  for (DWORD flags : {rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN,
                      rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP}) {
    INPUT input = MouseInput(flags);
    ::SendInput(1, &input, sizeof(INPUT));
    std::this_thread::sleep_for(pace);
  }
}

}  // namespace

void ClickAt(POINT screen, bool rightButton) {
  // Paced like a hand: the pointer arrives, then the button goes down and up.
  MovePointerTo(screen);
  PressAndRelease(rightButton, 50ms);
}

void DoubleClickAt(POINT screen) {
  MovePointerTo(screen);
  // Close enough in time for the system to make a double-click of them.
  PressAndRelease(false, 30ms);
  PressAndRelease(false, 30ms);
}

std::optional<POINT> CloseBoxPoint(HWND top) {
  RECT rc;
  ::GetWindowRect(top, &rc);
  RECT client;
  ::GetClientRect(top, &client);
  POINT origin{0, 0};
  ::ClientToScreen(top, &origin);
  const int captionMiddle = (rc.top + origin.y) / 2;
  for (int x = rc.right - 1; x > rc.right - 80; --x) {
    const LRESULT hit = ::SendMessageW(top, WM_NCHITTEST, 0, MAKELPARAM(x, captionMiddle));
    if (hit == HTCLOSE) return POINT{x - 4, captionMiddle};
  }
  return std::nullopt;
}

bool SaveScreenshot(HWND top, const std::wstring& path) {
  RECT rc;
  ::GetWindowRect(top, &rc);
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;  // bottom-up, as BMP files store it
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  const nestova::platform::ScreenDC screen;
  const nestova::platform::UniqueMemoryDC mem(::CreateCompatibleDC(screen.get()));
  const nestova::platform::UniqueBitmap dib(
      ::CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  {
    const nestova::platform::ScopedSelect select(mem.get(), dib.get());
    ::BitBlt(mem.get(), 0, 0, w, h, screen.get(), rc.left, rc.top, SRCCOPY);
    ::GdiFlush();
  }
  const DWORD stride = (w * 3 + 3) & ~3u;
  const DWORD imageSize = stride * h;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
  fh.bfSize = fh.bfOffBits + imageSize;
  std::ofstream out(path.c_str(), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
  out.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
  out.write(static_cast<const char*>(bits), imageSize);
  const bool ok = static_cast<bool>(out);
  return ok;
}

void PrepareDesktop() {
  // Measure in real pixels, as the program (which is DPI aware) lays out.
  ::SetProcessDPIAware();
  // The first click on a new Wine desktop is lost; one on the bare desktop
  // makes every later click arrive.
  ClickAt({1, 1});
  std::this_thread::sleep_for(200ms);
}

}  // namespace e2e
