#pragma once
// Bytes from outside turned into UTF-16 text.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace nestova::http {

// nullopt when the bytes are not well-formed UTF-8 (overlong forms,
// surrogates, values beyond U+10FFFF and cut-off sequences included).
std::optional<std::u16string> DecodeUtf8(std::span<const uint8_t> bytes);

// Each byte that does not start a well-formed sequence becomes U+FFFD.
std::u16string DecodeUtf8Lenient(std::span<const uint8_t> bytes);

// Pairs of bytes; a final odd byte is dropped.
std::u16string DecodeUtf16(std::span<const uint8_t> bytes, bool bigEndian);

// Each byte is the code point of the same value.
std::u16string DecodeLatin1(std::span<const uint8_t> bytes);

// An error body in the response's charset (lower case): UTF-8 and UTF-16
// are decoded as such, every other or no charset as Latin-1.
std::u16string DecodeErrorText(std::span<const uint8_t> bytes, std::string_view charset);

}  // namespace nestova::http
