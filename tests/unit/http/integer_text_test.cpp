#include "http/integer_text.h"

#include <gtest/gtest.h>

#include "http/body_reader.h"

namespace nestova::http {
namespace {

struct IntegerCase {
  std::u16string_view text;
  std::optional<int32_t> value;
};

const IntegerCase kIntegers[] = {
    {u"10", 10},
    {u"11", 11},
    {u"0", 0},
    {u"007", 7},
    {u"+11", 11},
    {u"-11", -11},
    {u"   11", 11},           // leading blanks are allowed
    {u"11 ", std::nullopt},   // trailing ones are not
    {u"\t11", std::nullopt},  // only U+0020 counts as a blank
    {u" - 11", std::nullopt},
    {u"$B", 11},
    {u"$b", 11},
    {u"xB", 11},
    {u"XB", 11},
    {u"0xB", 11},
    {u"0X0b", 11},
    {u"-$B", -11},
    {u"  $7FFFFFFF", 2147483647},
    {u"$80000000", std::nullopt},
    {u"-$80000000", -2147483647 - 1},
    {u"2147483647", 2147483647},
    {u"2147483648", std::nullopt},
    {u"-2147483648", -2147483647 - 1},
    {u"-2147483649", std::nullopt},
    {u"99999999999999999999999", std::nullopt},
    {u"$", std::nullopt},
    {u"0x", std::nullopt},
    {u"$G", std::nullopt},
    {u"12a", std::nullopt},
    {u"1.5", std::nullopt},
    {u"1e3", std::nullopt},
    {u"", std::nullopt},
    {u" ", std::nullopt},
    {u"+", std::nullopt},
    {u"--1", std::nullopt},
    {u"\uFF11", std::nullopt},                           // a full-width digit is no digit
    {std::u16string_view(u"1\u0000", 2), std::nullopt},  // the NUL is part of the line
};

TEST(IntegerText, ParseInteger) {
  for (const IntegerCase& c : kIntegers) {
    std::string trace(c.text.begin(), c.text.end());
    EXPECT_EQ(ParseInteger(c.text), c.value) << '"' << trace << '"';
  }
  // The 8-bit form reads the same syntax.
  EXPECT_EQ(ParseInteger(std::string_view(" -0x10")), -16);
  EXPECT_EQ(ParseInteger(std::string_view("200 ")), std::nullopt);
}

struct SizeCase {
  std::string_view text;
  std::optional<uint64_t> decimal;
  std::optional<uint64_t> hex;
};

const SizeCase kSizes[] = {
    {"0", 0, 0},
    {"5", 5, 5},
    {"10", 10, 16},
    {"ff", std::nullopt, 255},
    {"FF", std::nullopt, 255},
    {"18446744073709551615", 18446744073709551615u, std::nullopt},
    {"18446744073709551616", std::nullopt, std::nullopt},
    {"FFFFFFFFFFFFFFFF", std::nullopt, 0xFFFFFFFFFFFFFFFFu},
    {"10000000000000000", 10000000000000000u, std::nullopt},  // 17 hex digits wrap
    {"", std::nullopt, std::nullopt},
    {" 5", std::nullopt, std::nullopt},
    {"5 ", std::nullopt, std::nullopt},
    {"+5", std::nullopt, std::nullopt},
    {"-5", std::nullopt, std::nullopt},
    {"0x5", std::nullopt, std::nullopt},
};

TEST(IntegerText, SizesNeverWrap) {
  for (const SizeCase& c : kSizes) {
    EXPECT_EQ(ParseDecimalSize(c.text), c.decimal) << '"' << c.text << '"';
    EXPECT_EQ(ParseHexSize(c.text), c.hex) << '"' << c.text << '"';
  }
}

struct ChunkCase {
  std::string_view line;
  std::optional<uint64_t> size;
};

const ChunkCase kChunks[] = {
    {"5", 5},
    {"1A", 26},
    {"1a", 26},
    {"0", 0},
    {"000", 0},
    {"5;name=value", 5},
    {"5;", 5},
    {"5 ", 5},
    {"5\t;ext", 5},
    {"5 junk", 5},
    {"", std::nullopt},
    {";ext", std::nullopt},
    {" 5", std::nullopt},
    {"g", std::nullopt},
    {"5g", std::nullopt},
    {"-1", std::nullopt},
    {"0x5", std::nullopt},
    {"FFFFFFFFFFFFFFFF", 0xFFFFFFFFFFFFFFFFu},
    {"1FFFFFFFFFFFFFFFF", std::nullopt},
};

TEST(IntegerText, ChunkSizeLine) {
  for (const ChunkCase& c : kChunks) {
    EXPECT_EQ(ChunkSize(c.line), c.size) << '"' << c.line << '"';
  }
}

}  // namespace
}  // namespace nestova::http
