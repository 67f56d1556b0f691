#include "platform/system_platform.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "platform/handles.h"
#include "platform/text.h"

namespace nestova::platform {
namespace {

const wchar_t* NullIfEmpty(const std::wstring& text) {
  return text.empty() ? nullptr : text.c_str();
}

ErrorCode Result(BOOL ok) { return ok ? error::kNone : ::GetLastError(); }

class Win32Platform final : public Platform {
 public:
  Win32Platform() : shortDateFormat_(ReadShortDateFormat()) {}

  AttributeQuery Attributes(const Text& path) override {
    const DWORD attributes = ::GetFileAttributesW(ToWide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return {0, ::GetLastError()};
    return {attributes, error::kNone};
  }

  ErrorCode SetAttributes(const Text& path, uint32_t attributes) override {
    return Result(::SetFileAttributesW(ToWide(path).c_str(), attributes));
  }

  ErrorCode Copy(const Text& from, const Text& to) override {
    return Result(::CopyFileW(ToWide(from).c_str(), ToWide(to).c_str(), FALSE));
  }

  ErrorCode Delete(const Text& path) override {
    return Result(::DeleteFileW(ToWide(path).c_str()));
  }

  ErrorCode ChangeDirectory(const Text& path) override {
    return Result(::SetCurrentDirectoryW(ToWide(path).c_str()));
  }

  ErrorCode MakeDirectory(const Text& path) override {
    return Result(::CreateDirectoryW(ToWide(path).c_str(), nullptr));
  }

  std::vector<FoundEntry> Find(const Text& pattern) override {
    std::vector<FoundEntry> entries;
    WIN32_FIND_DATAW data;
    const UniqueFind search(::FindFirstFileW(ToWide(pattern).c_str(), &data));
    if (!search) return entries;
    do {
      entries.push_back({FromWide(data.cFileName), data.dwFileAttributes});
    } while (::FindNextFileW(search.get(), &data));
    return entries;
  }

  ErrorCode CreateNewFile(const Text& path, const std::string& bytes) override {
    const UniqueFile file(::CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ::GetLastError();
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr)) {
      return ::GetLastError();
    }
    return written == bytes.size() ? error::kNone : ERROR_WRITE_FAULT;
  }

  ErrorCode ReadWholeFile(const Text& path, std::string& bytes) override {
    bytes.clear();
    const UniqueFile file(::CreateFileW(ToWide(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ::GetLastError();
    char buffer[4096];
    for (;;) {
      DWORD read = 0;
      if (!::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) return ::GetLastError();
      if (read == 0) return error::kNone;
      bytes.append(buffer, read);
    }
  }

  void NotifyFolderChanged(const Text& path) override {
    ::SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_PATHW | SHCNF_FLUSHNOWAIT, ToWide(path).c_str(),
                     nullptr);
  }

  Text ProfileRead(const Text& file, const Text& section, const Text& key,
                   const Text& fallback) override {
    const std::wstring f = ToWide(file), s = ToWide(section), k = ToWide(key), d = ToWide(fallback);
    // The call cuts a value that does not fit; grow until it fits.
    std::vector<wchar_t> buffer(256);
    for (;;) {
      const DWORD n = ::GetPrivateProfileStringW(s.c_str(), k.c_str(), d.c_str(), buffer.data(),
                                                 static_cast<DWORD>(buffer.size()), f.c_str());
      if (n + 1 < buffer.size()) return FromWide(std::wstring_view(buffer.data(), n));
      buffer.resize(buffer.size() * 2);
    }
  }

  ErrorCode ProfileWrite(const Text& file, const Text& section, const Text& key,
                         const Text& value) override {
    return Result(::WritePrivateProfileStringW(ToWide(section).c_str(), ToWide(key).c_str(),
                                               ToWide(value).c_str(), ToWide(file).c_str()));
  }

  ErrorCode ProfileDeleteKey(const Text& file, const Text& section, const Text& key) override {
    return Result(::WritePrivateProfileStringW(ToWide(section).c_str(), ToWide(key).c_str(),
                                               nullptr, ToWide(file).c_str()));
  }

  void ProfileFlush(const Text& file) override {
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, ToWide(file).c_str());
  }

  Date Today() override {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
  }

  Text ShortDate(const Date& date) override {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(date.year);
    st.wMonth = static_cast<WORD>(date.month);
    st.wDay = static_cast<WORD>(date.day);
    const wchar_t* format = NullIfEmpty(shortDateFormat_);
    const DWORD flags = format ? 0 : DATE_SHORTDATE;
    const int n = ::GetDateFormatW(LOCALE_USER_DEFAULT, flags, &st, format, nullptr, 0);
    if (n <= 0) return {};
    std::wstring text(static_cast<size_t>(n), L'\0');
    ::GetDateFormatW(LOCALE_USER_DEFAULT, flags, &st, format, text.data(), n);
    text.resize(static_cast<size_t>(n - 1));
    return FromWide(text);
  }

  uint64_t MonotonicMs() override { return ::GetTickCount64(); }

  void ShowMessage(WindowHandle owner, const Text& text, const Text& caption,
                   MessageIcon icon) override {
    UINT flags = MB_OK;
    switch (icon) {
      case MessageIcon::kNone:
        break;
      case MessageIcon::kInformation:
        flags |= MB_ICONINFORMATION;
        break;
      case MessageIcon::kWarning:
        flags |= MB_ICONWARNING;
        break;
      case MessageIcon::kError:
        flags |= MB_ICONERROR;
        break;
    }
    ::MessageBoxW(static_cast<HWND>(owner), ToWide(text).c_str(), ToWide(caption).c_str(), flags);
  }

  void OpenInShell(WindowHandle owner, const Text& target, int showCommand,
                   ShellVerb verb) override {
    ::ShellExecuteW(static_cast<HWND>(owner), verb == ShellVerb::kOpen ? L"open" : nullptr,
                    ToWide(target).c_str(), nullptr, nullptr, showCommand);
  }

  Text ErrorText(ErrorCode code) override {
    wchar_t* buffer = nullptr;  // allocated by the system, freed with LocalFree
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const UniqueLocal owner(buffer);
    std::wstring text(buffer ? buffer : L"", n);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
      text.pop_back();
    }
    return FromWide(text);
  }

  Text ModulePath() override {
    // Long paths can exceed MAX_PATH; grow until the whole name fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
      const DWORD n =
          ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
      if (n == 0) return {};
      if (n < buffer.size()) return FromWide(std::wstring_view(buffer.data(), n));
      buffer.resize(buffer.size() * 2);
    }
  }

  Text CommandLine() override { return FromWide(::GetCommandLineW()); }

 private:
  static std::wstring ReadShortDateFormat() {
    wchar_t format[80] = {};
    const int n = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, format, 80);
    return n > 0 ? std::wstring(format) : std::wstring();
  }

  const std::wstring shortDateFormat_;
};

}  // namespace

Platform& SystemPlatform() {
  static Win32Platform platform;
  return platform;
}

}  // namespace nestova::platform
