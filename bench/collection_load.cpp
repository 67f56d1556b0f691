// How long selecting a large collection takes, from the selection to every
// item in the icon view, against reading every file's bytes once in the same
// run. Usage: bench_collection_load <Icons-folder\> <collection> [runs]
// [--system]; --system also times the route that extracts a system icon for
// every icon file (slow: one run).
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "app/browser.h"
#include "app/icon_view_win.h"
#include "imagelist/TsAlphaImageList.h"
#include "imagelist/image_file.h"
#include "platform/system_platform.h"
#include "platform/text.h"

namespace {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;
using nestova::imagelist::TsAlphaImageList;

// The program's image list, with its icon route chosen.
class BenchImageList final : public nestova::ViewImageList {
 public:
  BenchImageList(nestova::platform::Platform& platform, bool systemIcons) : list_(platform) {
    list_.SetWidth(32);
    list_.SetHeight(32);
    list_.SystemIconsOnly = systemIcons;
  }
  int Count() const override { return list_.Count(); }
  void LoadFromFile(const std::u16string& path) override { list_.LoadFromFile(path); }
  void Reserve(int count) override { list_.Reserve(count); }
  HIMAGELIST Handle() const override { return list_.Handle(); }

 private:
  TsAlphaImageList list_;
};

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: bench_collection_load <Icons-folder\\> <collection> [runs] [--system]\n");
    return 2;
  }
  const std::u16string iconsDir = nestova::platform::FromWide(argv[1]);
  const std::u16string collection = nestova::platform::FromWide(argv[2]);
  int runs = 5;
  bool timeSystem = false;
  for (int i = 3; i < argc; ++i) {
    if (std::wcscmp(argv[i], L"--system") == 0) {
      timeSystem = true;
    } else {
      runs = std::max(1, _wtoi(argv[i]));
    }
  }

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&controls);
  WNDCLASSW cls{};
  cls.lpfnWndProc = ::DefWindowProcW;
  cls.hInstance = ::GetModuleHandleW(nullptr);
  cls.lpszClassName = L"BenchCollectionLoad";
  ::RegisterClassW(&cls);
  // Destroyed at process end.
  const HWND frame = ::CreateWindowExW(0, cls.lpszClassName, L"bench", WS_OVERLAPPEDWINDOW, 0, 0,
                                       800, 600, nullptr, nullptr, cls.hInstance, nullptr);
  const HWND view = ::CreateWindowExW(0, WC_LISTVIEWW, L"",
                                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_ICON |
                                          LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                                      0, 0, 780, 560, frame, nullptr, cls.hInstance, nullptr);
  ::ShowWindow(frame, SW_SHOW);
  Pump();

  nestova::platform::Platform& platform = nestova::platform::SystemPlatform();
  const std::u16string folder = iconsDir + collection + u"\\";
  const std::vector<std::u16string> names = nestova::ListIconFiles(platform, folder);
  if (names.empty()) {
    std::fprintf(stderr, "no icon files in the collection\n");
    return 1;
  }

  const auto floor = [&] {
    uint64_t bytes = 0;
    const auto start = Clock::now();
    for (const std::u16string& name : names) {
      std::vector<uint8_t> data;
      nestova::imagelist::ReadWholeFile(folder + name, data);
      bytes += data.size();
    }
    const double s = Seconds(Clock::now() - start).count();
    return std::make_pair(s, bytes);
  };
  const auto load = [&](bool systemIcons) {
    nestova::ListViewIconView iconView(
        view, [&] { return std::make_shared<BenchImageList>(platform, systemIcons); }, Pump);
    nestova::CollectionBrowser browser(platform, iconView);
    const auto start = Clock::now();
    browser.LoadCollectionIcons(iconsDir, collection);
    ::UpdateWindow(view);
    const double s = Seconds(Clock::now() - start).count();
    const int items = static_cast<int>(::SendMessageW(view, LVM_GETITEMCOUNT, 0, 0));
    if (items != static_cast<int>(names.size())) {
      std::fprintf(stderr, "%d items for %zu files\n", items, names.size());
      std::exit(1);
    }
    ::SendMessageW(view, LVM_DELETEALLITEMS, 0, 0);
    ::SendMessageW(view, LVM_SETIMAGELIST, LVSIL_NORMAL, 0);  // before the list goes
    return s;
  };

  // The image list alone, without the view: where the time goes.
  const auto listOnly = [&](bool systemIcons) {
    BenchImageList list(platform, systemIcons);
    const auto start = Clock::now();
    list.Reserve(static_cast<int>(names.size()));  // as the view does
    for (const std::u16string& name : names) list.LoadFromFile(folder + name);
    return Seconds(Clock::now() - start).count();
  };

  floor();  // warms the file cache for both
  std::vector<double> floors, loads;
  uint64_t bytes = 0;
  for (int i = 0; i < runs; ++i) {
    const auto [s, b] = floor();
    floors.push_back(s);
    bytes = b;
    loads.push_back(load(false));
  }
  const double f = Median(floors);
  const double l = Median(loads);
  std::printf("%zu files, %.1f KB each on average\n", names.size(),
              static_cast<double>(bytes) / 1024.0 / static_cast<double>(names.size()));
  std::printf("read-only floor     median %7.3f s  (%d runs)\n", f, runs);
  std::printf("program's loading   median %7.3f s  (%d runs)  ratio %.2f\n", l, runs, l / f);
  const double alone = listOnly(false);
  std::printf("image list alone           %7.3f s  (1 run)   ratio %.2f\n", alone, alone / f);
  if (timeSystem) {
    const double salone = listOnly(true);
    std::printf("system icons, list alone   %7.3f s  (1 run)   ratio %.2f\n", salone, salone / f);
    const double s = load(true);
    std::printf("system icons only          %7.3f s  (1 run)   ratio %.2f\n", s, s / f);
  }
  return 0;
}
