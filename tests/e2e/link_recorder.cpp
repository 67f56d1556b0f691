// Stands in for the browser in end-to-end tests: registered as the handler
// of web addresses, it appends the address it was asked to open and the show
// command it was started with to a file, one line each:
//   link_recorder.exe <file> <address>
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/handles.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  const nestova::platform::UniqueLocal args(::CommandLineToArgvW(::GetCommandLineW(), &count));
  if (!args || count != 3) return 2;
  const auto* argv = static_cast<wchar_t**>(args.get());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  ::GetStartupInfoW(&startup);
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
  const std::wstring line = std::wstring(argv[2]) + L"\t" + std::to_wstring(show) + L"\n";

  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()),
                                          nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), bytes,
                        nullptr, nullptr);
  const nestova::platform::UniqueFile file(
      ::CreateFileW(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 1;
  DWORD written = 0;
  return ::WriteFile(file.get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) &&
                 written == utf8.size()
             ? 0
             : 1;
}
