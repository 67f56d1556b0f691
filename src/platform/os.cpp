#include "platform/os.h"

#include <windows.h>

#include <vector>

#include "platform/text.h"

namespace nestova::platform {

std::u16string ModulePath() {
  // Long paths can exceed MAX_PATH; grow until the whole name fits.
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return FromWide(std::wstring_view(buffer.data(), n));
    buffer.resize(buffer.size() * 2);
  }
}

std::u16string RawCommandLine() { return FromWide(::GetCommandLineW()); }

bool IsExistingDirectory(const std::u16string& path) {
  const DWORD attributes = ::GetFileAttributesW(ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace nestova::platform
