#pragma once
// UTF-16 text crosses between the portable code (char16_t) and the Windows
// API (wchar_t, also 16-bit there) without conversion.
#include <string>
#include <string_view>

namespace nestova::platform {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide text is UTF-16");

inline std::wstring ToWide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

inline std::u16string FromWide(std::wstring_view text) {
  return std::u16string(text.begin(), text.end());
}

}  // namespace nestova::platform
