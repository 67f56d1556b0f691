#pragma once
// The update-information file from the maker's server, read from memory:
// the marker "dataversion", the latest version number, the text of the
// notice and the page to open.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace nestova::http {

struct UpdateNotice {
  std::u16string text;  // line 3, never empty
  std::u16string page;  // line 4, an openable web URL

  bool operator==(const UpdateNotice&) const = default;
};

// Text without a byte-order mark, in the system's ANSI code page.
using AnsiDecoder = std::function<std::u16string(std::span<const uint8_t>)>;

// The bytes as text: a byte-order mark (FF FE, FE FF, EF BB BF) picks
// UTF-16 LE, UTF-16 BE or UTF-8 and is dropped; without one `decodeAnsi`
// decides. Text after a UTF-8 mark that is not valid UTF-8 gives nothing.
// The text ends at its first U+0000.
std::u16string DecodeUpdateText(std::span<const uint8_t> body, const AnsiDecoder& decodeAnsi);

// Lines end at CR LF, CR or LF; a final line break adds no empty line.
std::vector<std::u16string> SplitLines(std::u16string_view text);

// The notice when the body announces a version newer than `currentVersion`
// with a non-empty text and an openable page; nullopt for everything else,
// whether a failure or just no news.
std::optional<UpdateNotice> DecodeUpdateFile(std::span<const uint8_t> body, int32_t currentVersion,
                                             const AnsiDecoder& decodeAnsi);

}  // namespace nestova::http
