// How long Nestova takes from process start to a visible main window, and
// to end after Esc. Runs the real program a number of times under the same
// conditions as the end-to-end tests and prints min / median / max.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "driver.h"

namespace {

using Ms = std::chrono::duration<double, std::milli>;

void Report(const char* what, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  std::printf("%-28s min %7.1f ms  median %7.1f ms  max %7.1f ms  (%zu runs)\n", what, ms.front(),
              ms[ms.size() / 2], ms.back(), ms.size());
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  e2e::PrepareDesktop();
  e2e::TempDir temp;
  const std::wstring commandLine =
      e2e::Quoted(e2e::NestovaExe()) + L" " + e2e::Quoted(temp.Make(L"Work"));
  std::vector<double> toWindow, toExit;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    e2e::App app(commandLine);
    if (!app.WaitForWindow(L"TFrm_Main")) {
      std::fprintf(stderr, "no window on run %d\n", i);
      return 1;
    }
    toWindow.push_back(Ms(std::chrono::steady_clock::now() - start).count());
    app.WaitForMainWindow();  // settled, so the key is not lost
    const auto close = std::chrono::steady_clock::now();
    app.PressKey(VK_ESCAPE);
    if (app.WaitForExit() != 0u) {
      std::fprintf(stderr, "did not end with code 0 on run %d\n", i);
      return 1;
    }
    toExit.push_back(Ms(std::chrono::steady_clock::now() - close).count());
  }
  Report("start to visible window", toWindow);
  Report("Esc to process end", toExit);
  return 0;
}
