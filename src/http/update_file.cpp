#include "http/update_file.h"

#include <algorithm>
#include <initializer_list>

#include "http/integer_text.h"
#include "http/text_decoding.h"
#include "http/web_url.h"

namespace nestova::http {
namespace {

bool StartsWith(std::span<const uint8_t> bytes, std::initializer_list<uint8_t> mark) {
  return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin());
}

// Only A-Z change case: blanks or other letters make it another line.
bool IsMarker(std::u16string_view line) {
  constexpr std::u16string_view kMarker = u"dataversion";
  if (line.size() != kMarker.size()) return false;
  for (size_t i = 0; i < line.size(); ++i) {
    char16_t c = line[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    if (c != kMarker[i]) return false;
  }
  return true;
}

}  // namespace

std::u16string DecodeUpdateText(std::span<const uint8_t> body, const AnsiDecoder& decodeAnsi) {
  std::u16string text;
  if (StartsWith(body, {0xFF, 0xFE})) {
    text = DecodeUtf16(body.subspan(2), false);
  } else if (StartsWith(body, {0xFE, 0xFF})) {
    text = DecodeUtf16(body.subspan(2), true);
  } else if (StartsWith(body, {0xEF, 0xBB, 0xBF})) {
    text = DecodeUtf8(body.subspan(3)).value_or(std::u16string());
  } else {
    text = decodeAnsi(body);
  }
  const size_t nul = text.find(u'\0');
  if (nul != std::u16string::npos) text.resize(nul);
  return text;
}

std::vector<std::u16string> SplitLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  while (!text.empty()) {
    const size_t end = text.find_first_of(u"\r\n");
    lines.emplace_back(text.substr(0, end));
    if (end == std::u16string_view::npos) break;
    const size_t breakLength =
        text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1;
    text.remove_prefix(end + breakLength);
  }
  return lines;
}

std::optional<UpdateNotice> DecodeUpdateFile(std::span<const uint8_t> body, int32_t currentVersion,
                                             const AnsiDecoder& decodeAnsi) {
  const std::vector<std::u16string> lines = SplitLines(DecodeUpdateText(body, decodeAnsi));
  if (lines.empty() || !IsMarker(lines[0])) return std::nullopt;
  if (lines.size() < 2) return std::nullopt;
  const std::optional<int32_t> version = ParseInteger(lines[1]);
  if (!version || *version <= currentVersion) return std::nullopt;
  // A notice is shown only with a page behind it.
  if (lines.size() < 4 || lines[2].empty() || !IsOpenableWebUrl(lines[3])) return std::nullopt;
  return UpdateNotice{lines[2], lines[3]};
}

}  // namespace nestova::http
