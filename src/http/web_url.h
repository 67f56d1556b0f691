#pragma once
// Whether a text from outside may be handed to the shell to open as a web
// page: only absolute http and https URLs, never a file, program or script.
#include <string_view>

namespace nestova::http {

// True for "http://" or "https://" (scheme in any case) followed by a
// non-empty host, with no control character, blank, backslash or broken
// UTF-16 anywhere.
bool IsOpenableWebUrl(std::u16string_view url);

}  // namespace nestova::http
