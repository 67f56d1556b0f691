#include "http/integer_text.h"

#include <limits>

namespace nestova::http {
namespace {

int DigitValue(char32_t c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') {
    value = static_cast<int>(c - '0');
  } else if (c >= 'a' && c <= 'f') {
    value = static_cast<int>(c - 'a') + 10;
  } else if (c >= 'A' && c <= 'F') {
    value = static_cast<int>(c - 'A') + 10;
  }
  return value < base ? value : -1;
}

// Digits of the given base to the end of the text, at least one; nullopt when
// the magnitude passes `limit`.
template <typename Char>
std::optional<uint64_t> ParseDigits(std::basic_string_view<Char> digits, int base, uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (const Char c : digits) {
    const int d = DigitValue(static_cast<char32_t>(c), base);
    if (d < 0) return std::nullopt;
    if (value > (limit - static_cast<uint64_t>(d)) / static_cast<uint64_t>(base)) {
      return std::nullopt;
    }
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
  }
  return value;
}

template <typename Char>
std::optional<int32_t> ParseIntegerText(std::basic_string_view<Char> text) {
  size_t i = 0;
  while (i < text.size() && text[i] == Char(' ')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == Char('+') || text[i] == Char('-'))) {
    negative = text[i] == Char('-');
    ++i;
  }
  std::basic_string_view<Char> rest = text.substr(i);
  int base = 10;
  if (!rest.empty() && (rest[0] == Char('$') || rest[0] == Char('x') || rest[0] == Char('X'))) {
    base = 16;
    rest.remove_prefix(1);
  } else if (rest.size() >= 2 && rest[0] == Char('0') &&
             (rest[1] == Char('x') || rest[1] == Char('X'))) {
    base = 16;
    rest.remove_prefix(2);
  }
  // The magnitude of the most negative value is one more than the largest.
  const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
  const std::optional<uint64_t> magnitude = ParseDigits(rest, base, limit);
  if (!magnitude) return std::nullopt;
  const int64_t value =
      negative ? -static_cast<int64_t>(*magnitude) : static_cast<int64_t>(*magnitude);
  return static_cast<int32_t>(value);
}

}  // namespace

std::optional<int32_t> ParseInteger(std::u16string_view text) { return ParseIntegerText(text); }

std::optional<int32_t> ParseInteger(std::string_view text) { return ParseIntegerText(text); }

std::optional<uint64_t> ParseDecimalSize(std::string_view text) {
  return ParseDigits(text, 10, std::numeric_limits<uint64_t>::max());
}

std::optional<uint64_t> ParseHexSize(std::string_view text) {
  return ParseDigits(text, 16, std::numeric_limits<uint64_t>::max());
}

}  // namespace nestova::http
