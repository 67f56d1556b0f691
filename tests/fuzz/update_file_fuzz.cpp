// Any update file: decoding never fails, and a notice is announced only
// with a non-empty text and a page that may be opened.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "http/update_file.h"
#include "http/web_url.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nestova::http;
  const std::span<const uint8_t> body(data, size);
  // Latin-1 stands in for the ANSI code page.
  const AnsiDecoder latin1 = [](std::span<const uint8_t> bytes) {
    return std::u16string(bytes.begin(), bytes.end());
  };
  const std::u16string text = DecodeUpdateText(body, latin1);
  if (text.find(u'\0') != std::u16string::npos) std::abort();
  for (const std::u16string& line : SplitLines(text)) {
    if (line.find_first_of(u"\r\n") != std::u16string::npos) std::abort();
  }
  if (const auto notice = DecodeUpdateFile(body, 10, latin1)) {
    if (notice->text.empty() || !IsOpenableWebUrl(notice->page)) std::abort();
  }
  return 0;
}
