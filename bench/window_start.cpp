// Start-up of the real program against the floor of an empty window, in the
// same run and interleaved, so that both see the same machine: from process
// start to the main window showing its first collection (every icon in the
// view, and the window answering messages), and from WM_CLOSE to the end of
// the process. Prints min / median / max of each and the ratio of medians.
// Usage: bench_window_start [runs]
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/main_layout.h"
#include "driver.h"
#include "platform/handles.h"

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;
using nestova::platform::UniqueKernelHandle;

struct Process {
  UniqueKernelHandle process, thread;
  DWORD id = 0;
};

Process Start(const std::wstring& program, const std::wstring& commandLine) {
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi)) {
    std::fprintf(stderr, "cannot start %ls\n", program.c_str());
    std::exit(1);
  }
  return {UniqueKernelHandle(pi.hProcess), UniqueKernelHandle(pi.hThread), pi.dwProcessId};
}

struct TopSearch {
  DWORD processId;
  const wchar_t* className;
  HWND found = nullptr;
};

BOOL CALLBACK MatchTop(HWND hwnd, LPARAM param) {
  auto& s = *reinterpret_cast<TopSearch*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  wchar_t name[64] = {};
  ::GetClassNameW(hwnd, name, 64);
  if (pid != s.processId || !::IsWindowVisible(hwnd) || std::wcscmp(name, s.className) != 0)
    return TRUE;
  s.found = hwnd;
  return FALSE;
}

// The process's visible top-level window of the class, or nullptr.
HWND VisibleTop(DWORD processId, const wchar_t* className) {
  TopSearch search{processId, className};
  ::EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Polls finely, as the times are tens of milliseconds.
HWND WaitFor(const std::function<HWND()>& ready) {
  const auto end = Clock::now() + e2e::kTimeout;
  while (Clock::now() < end) {
    if (HWND hwnd = ready()) return hwnd;
    ::Sleep(1);
  }
  return nullptr;
}

struct Timing {
  double start = 0, end = 0;
};

// Starts a program, waits until `ready` gives its window and the window
// answers, closes it and waits for the process to end.
std::optional<Timing> Run(const std::wstring& program, const std::wstring& commandLine,
                          const std::function<HWND(DWORD)>& ready) {
  Timing t;
  const auto begin = Clock::now();
  const Process p = Start(program, commandLine);
  HWND top = WaitFor([&] { return ready(p.id); });
  DWORD_PTR ignored = 0;
  if (!top || !::SendMessageTimeoutW(top, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &ignored)) {
    ::TerminateProcess(p.process.get(), 99);
    return std::nullopt;
  }
  t.start = Ms(Clock::now() - begin).count();
  const auto close = Clock::now();
  ::PostMessageW(top, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(p.process.get(), 20000) != WAIT_OBJECT_0) return std::nullopt;
  t.end = Ms(Clock::now() - close).count();
  return t;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void Report(const char* what, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  std::printf("%-40s min %7.1f ms  median %7.1f ms  max %7.1f ms  (%zu runs)\n", what, ms.front(),
              ms[ms.size() / 2], ms.back(), ms.size());
}

int IconCount(HWND top) {
  return ListView_GetItemCount(e2e::FindControl(top, nestova::MainControlId(nestova::kLVIcons)));
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  e2e::PrepareDesktop();
  e2e::TempDir temp;
  const std::wstring nestova = e2e::NestovaExe();
  const std::wstring floor = e2e::BinDir() + L"bench_empty_window.exe";
  const std::wstring nestovaLine = e2e::Quoted(nestova) + L" " + e2e::Quoted(temp.Make(L"Work"));
  const std::wstring floorLine = e2e::Quoted(floor);

  // A first start of each, untimed: it warms Wine's caches, writes the
  // day's update check, and tells how many icons the first collection holds.
  int icons = 0;
  const auto settled = [&](DWORD pid) -> HWND {
    HWND top = VisibleTop(pid, L"TFrm_Main");
    if (!top) return nullptr;
    int seen = -1;
    while (seen != IconCount(top)) {
      seen = IconCount(top);
      ::Sleep(500);
    }
    icons = seen;
    return top;
  };
  const auto floorUp = [](DWORD pid) { return VisibleTop(pid, L"NestovaFloor"); };
  if (!Run(nestova, nestovaLine, settled) || !Run(floor, floorLine, floorUp) || icons == 0) {
    std::fprintf(stderr, "warm-up failed (icons in the first collection: %d)\n", icons);
    return 1;
  }
  const auto nestovaUp = [&](DWORD pid) -> HWND {
    HWND top = VisibleTop(pid, L"TFrm_Main");
    return top && IconCount(top) == icons ? top : nullptr;
  };

  std::vector<double> floorStart, floorEnd, nestovaStart, nestovaEnd;
  for (int i = 0; i < runs; ++i) {
    const std::optional<Timing> f = Run(floor, floorLine, floorUp);
    const std::optional<Timing> n = Run(nestova, nestovaLine, nestovaUp);
    if (!f || !n) {
      std::fprintf(stderr, "run %d failed (%s)\n", i, f ? "Nestova" : "floor");
      return 1;
    }
    floorStart.push_back(f->start);
    floorEnd.push_back(f->end);
    nestovaStart.push_back(n->start);
    nestovaEnd.push_back(n->end);
  }
  std::printf("Nestova's first collection holds %d icons\n", icons);
  Report("empty window: start to shown", floorStart);
  Report("Nestova: start to first collection shown", nestovaStart);
  Report("empty window: WM_CLOSE to process end", floorEnd);
  Report("Nestova: WM_CLOSE to process end", nestovaEnd);
  std::printf("start-up ratio (medians): %.2f\n", Median(nestovaStart) / Median(floorStart));
  return 0;
}
