#include "http/text_decoding.h"

namespace nestova::http {
namespace {

struct Decoded {
  char32_t codePoint;
  size_t length;
};

// The well-formed sequence at the start of `bytes`, if there is one.
std::optional<Decoded> DecodeSequence(std::span<const uint8_t> bytes) {
  const uint8_t lead = bytes[0];
  if (lead < 0x80) return Decoded{lead, 1};
  size_t length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
    minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
    minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
    minimum = 0x10000;
  } else {
    return std::nullopt;
  }
  if (bytes.size() < length) return std::nullopt;
  for (size_t i = 1; i < length; ++i) {
    if ((bytes[i] & 0xC0) != 0x80) return std::nullopt;
    value = (value << 6) | (bytes[i] & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return std::nullopt;
  }
  return Decoded{value, length};
}

void AppendCodePoint(std::u16string& text, char32_t c) {
  if (c < 0x10000) {
    text += static_cast<char16_t>(c);
  } else {
    c -= 0x10000;
    text += static_cast<char16_t>(0xD800 + (c >> 10));
    text += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  }
}

}  // namespace

std::optional<std::u16string> DecodeUtf8(std::span<const uint8_t> bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  while (!bytes.empty()) {
    const std::optional<Decoded> d = DecodeSequence(bytes);
    if (!d) return std::nullopt;
    AppendCodePoint(text, d->codePoint);
    bytes = bytes.subspan(d->length);
  }
  return text;
}

std::u16string DecodeUtf8Lenient(std::span<const uint8_t> bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  while (!bytes.empty()) {
    const std::optional<Decoded> d = DecodeSequence(bytes);
    AppendCodePoint(text, d ? d->codePoint : U'\uFFFD');
    bytes = bytes.subspan(d ? d->length : 1);
  }
  return text;
}

std::u16string DecodeUtf16(std::span<const uint8_t> bytes, bool bigEndian) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    const uint8_t first = bytes[2 * i];
    const uint8_t second = bytes[2 * i + 1];
    text[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  }
  return text;
}

std::u16string DecodeLatin1(std::span<const uint8_t> bytes) {
  return std::u16string(bytes.begin(), bytes.end());
}

std::u16string DecodeErrorText(std::span<const uint8_t> bytes, std::string_view charset) {
  if (charset == "utf-8" || charset == "utf8") return DecodeUtf8Lenient(bytes);
  if (charset == "utf-16be") return DecodeUtf16(bytes, true);
  if (charset == "utf-16le" || charset == "utf-16") return DecodeUtf16(bytes, false);
  return DecodeLatin1(bytes);
}

}  // namespace nestova::http
