#pragma once
// Number syntaxes read from outside text: the program's integer syntax (the
// version line of the update file, the status code, the port) and the two
// size syntaxes of an HTTP response, which must never wrap around.
#include <cstdint>
#include <optional>
#include <string_view>

namespace nestova::http {

// Optional leading U+0020 blanks, an optional "+" or "-", then decimal digits,
// or hexadecimal digits after "$", "x", "X", "0x" or "0X". Nothing may follow
// the digits, and the value must fit a signed 32-bit integer.
std::optional<int32_t> ParseInteger(std::u16string_view text);
std::optional<int32_t> ParseInteger(std::string_view text);

// One or more decimal digits and nothing else; nullopt on overflow.
std::optional<uint64_t> ParseDecimalSize(std::string_view text);

// One or more hexadecimal digits and nothing else; nullopt on overflow.
std::optional<uint64_t> ParseHexSize(std::string_view text);

}  // namespace nestova::http
