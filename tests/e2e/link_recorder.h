#pragma once
// Stands the link recorder in for the browser: registered as the program
// that opens http and https addresses in this Wine prefix, it writes each
// address it is given, a tab and the show command, one line each.
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "driver.h"

namespace e2e {

class LinkRecorder {
 public:
  // False on a real Windows, where it would take web addresses from the
  // user's browser.
  static bool CanRun() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  }

  // Registers the recorder, writing to a file in `folder`; false on failure.
  bool Register(const std::wstring& folder) {
    record_ = folder + L"\\opened.txt";
    const std::wstring command =
        Quoted(BinDir() + L"link_recorder.exe") + L" " + Quoted(record_) + L" \"%1\"";
    for (const wchar_t* key : {L"http\\shell\\open\\command", L"https\\shell\\open\\command"}) {
      if (::RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, command.c_str(),
                            static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) !=
          ERROR_SUCCESS) {
        return false;
      }
    }
    return true;
  }

  // The lines written so far.
  std::vector<std::string> Opened() const {
    std::ifstream in(record_.c_str());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

 private:
  std::wstring record_;
};

}  // namespace e2e
