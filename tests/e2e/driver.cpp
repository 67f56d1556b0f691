#include "driver.h"

#include <shellapi.h>

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

TempDir::TempDir() {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  for (unsigned n = ::GetTickCount() ^ ::GetCurrentProcessId();; ++n) {
    path_ = std::wstring(temp) + L"nestova-e2e-" + std::to_wstring(n);
    if (::CreateDirectoryW(path_.c_str(), nullptr)) return;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("no temp folder");
  }
}

TempDir::~TempDir() {
  // Double-null-terminated list for the shell's recursive delete.
  std::wstring from = path_ + L'\0';
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  ::SHFileOperationW(&op);
}

std::wstring TempDir::Make(const std::wstring& relative) const {
  const std::wstring full = path_ + L"\\" + relative;
  ::CreateDirectoryW(full.c_str(), nullptr);
  return full;
}

App::App(const std::wstring& commandLine, const std::wstring& currentDir) {
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const std::wstring exe = NestovaExe();
  if (!::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        currentDir.empty() ? nullptr : currentDir.c_str(), &si, &pi)) {
    throw std::runtime_error("CreateProcessW failed");
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
  struct Search {
    DWORD pid;
    const wchar_t* cls;
    HWND found;
  } search{processId_, className, nullptr};
  ::EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hwnd, &pid);
        if (pid != s->pid || !::IsWindowVisible(hwnd)) return TRUE;
        if (s->cls && ClassName(hwnd) != s->cls) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND App::WaitForWindow(const wchar_t* className) {
  HWND found = nullptr;
  PollUntil([&] { return (found = FindVisibleWindow(className)) != nullptr; });
  return found;
}

HWND App::WaitForMainWindow() {
  HWND main = WaitForWindow(L"TFrm_Main");
  // A person acts once the window has come up and settled: active, and done
  // with the messages of its first showing. Input sent earlier can be lost.
  if (main) {
    PollUntil([&] { return ::GetForegroundWindow() == main; });
    ::WaitForInputIdle(process_.get(), 5000);
    std::this_thread::sleep_for(200ms);
  }
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

void App::PressKey(UINT vk) const {
  HWND target = Focus();
  const UINT scan = ::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  ::PostMessageW(target, WM_KEYDOWN, vk, 1 | (scan << 16));
  ::PostMessageW(target, WM_KEYUP, vk, 1 | (scan << 16) | (3u << 30));
}

void App::Click(HWND control) const {
  RECT rc;
  ::GetWindowRect(control, &rc);
  ClickAt({(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
}

HWND FindControl(HWND top, int id) {
  struct Search {
    int id;
    HWND found;
  } search{id, nullptr};
  ::EnumChildWindows(
      top,
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (::GetDlgCtrlID(hwnd) != s->id) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
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

void ClickAt(POINT screen) {
  // Paced like a hand: the pointer arrives, then the button goes down and up.
  INPUT input[3] = {};
  for (INPUT& i : input) i.type = INPUT_MOUSE;
  input[0].mi.dx = MulDiv(screen.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
  input[0].mi.dy = MulDiv(screen.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
  input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  for (INPUT& i : input) {
    ::SendInput(1, &i, sizeof(INPUT));
    std::this_thread::sleep_for(50ms);
  }
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
    const LRESULT hit =
        ::SendMessageW(top, WM_NCHITTEST, 0, MAKELPARAM(x, captionMiddle));
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
  const HGDIOBJ old = ::SelectObject(mem.get(), dib.get());
  ::BitBlt(mem.get(), 0, 0, w, h, screen.get(), rc.left, rc.top, SRCCOPY);
  ::GdiFlush();
  ::SelectObject(mem.get(), old);
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
