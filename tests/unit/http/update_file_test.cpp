#include "http/update_file.h"

#include <gtest/gtest.h>

#include "http/text_decoding.h"

namespace nestova::http {
namespace {

std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

// Every byte of a literal, NULs included.
template <size_t N>
std::vector<uint8_t> Raw(const char (&text)[N]) {
  return {text, text + N - 1};
}

std::vector<uint8_t> Utf16(std::u16string_view text, bool bigEndian, bool mark = true) {
  std::vector<uint8_t> bytes;
  if (mark) {
    bytes = bigEndian ? std::vector<uint8_t>{0xFE, 0xFF} : std::vector<uint8_t>{0xFF, 0xFE};
  }
  for (const char16_t c : text) {
    const auto high = static_cast<uint8_t>(c >> 8);
    const auto low = static_cast<uint8_t>(c & 0xFF);
    bytes.push_back(bigEndian ? high : low);
    bytes.push_back(bigEndian ? low : high);
  }
  return bytes;
}

// Windows-1251, enough of it for Russian text: the test side's ANSI code page.
std::u16string DecodeCp1251(std::span<const uint8_t> bytes) {
  std::u16string text;
  for (const uint8_t b : bytes) {
    if (b >= 0xC0) {
      text += static_cast<char16_t>(0x0410 + (b - 0xC0));
    } else if (b == 0xA8) {
      text += u'\u0401';
    } else if (b == 0xB8) {
      text += u'\u0451';
    } else {
      text += static_cast<char16_t>(b);
    }
  }
  return text;
}

const AnsiDecoder kLatin1 = [](std::span<const uint8_t> bytes) { return DecodeLatin1(bytes); };
const AnsiDecoder kCp1251 = DecodeCp1251;

constexpr int32_t kCurrent = 10;
constexpr std::u16string_view kPage = u"http://www.example.com/download";

struct FileCase {
  const char* name;
  std::vector<uint8_t> body;
  std::optional<UpdateNotice> notice;
};

std::optional<UpdateNotice> Notice(std::u16string text,
                                   std::u16string page = std::u16string(kPage)) {
  return UpdateNotice{std::move(text), std::move(page)};
}

const std::vector<FileCase>& FileCases() {
  static const std::vector<FileCase> cases = {
      {"newer", Bytes("dataversion\r\n11\r\nVersion 1.1\r\nhttp://www.example.com/download\r\n"),
       Notice(u"Version 1.1")},
      {"marker with capitals", Bytes("DataVersion\r\n11\r\nNew\r\nhttp://www.example.com/download"),
       Notice(u"New")},
      {"marker all capitals", Bytes("DATAVERSION\n11\nNew\nhttp://www.example.com/download\n"),
       Notice(u"New")},
      {"blank after marker", Bytes("dataversion \r\n11\r\nNew\r\nhttp://www.example.com/download"),
       std::nullopt},
      {"blank before marker", Bytes(" dataversion\r\n11\r\nNew\r\nhttp://www.example.com/download"),
       std::nullopt},
      {"another first line", Bytes("<html>\r\n11\r\nNew\r\nhttp://www.example.com/download"),
       std::nullopt},
      {"same version", Bytes("dataversion\r\n10\r\nNew\r\nhttp://www.example.com/download"),
       std::nullopt},
      {"older version", Bytes("dataversion\r\n9\r\nNew\r\nhttp://www.example.com/download"),
       std::nullopt},
      {"version with a blank after it",
       Bytes("dataversion\r\n11 \r\nNew\r\nhttp://www.example.com/download"), std::nullopt},
      {"version in hexadecimal",
       Bytes("dataversion\r\n$B\r\nNew\r\nhttp://www.example.com/download"), Notice(u"New")},
      {"version with leading blanks",
       Bytes("dataversion\r\n  11\r\nNew\r\nhttp://www.example.com/download"), Notice(u"New")},
      {"version empty", Bytes("dataversion\r\n\r\nNew\r\nhttp://www.example.com/download"),
       std::nullopt},
      {"version too large",
       Bytes("dataversion\r\n2147483648\r\nNew\r\nhttp://www.example.com/download"), std::nullopt},
      {"empty third line", Bytes("dataversion\r\n11\r\n\r\nhttp://www.example.com/download"),
       std::nullopt},
      {"file ends after line 3", Bytes("dataversion\r\n11\r\nNew\r\n"), std::nullopt},
      {"file ends after line 2", Bytes("dataversion\r\n11"), std::nullopt},
      {"only the marker", Bytes("dataversion"), std::nullopt},
      {"empty fourth line", Bytes("dataversion\r\n11\r\nNew\r\n\r\n"), std::nullopt},
      {"page is a program", Bytes("dataversion\r\n11\r\nNew\r\nC:\\x.exe"), std::nullopt},
      {"page is a file URL", Bytes("dataversion\r\n11\r\nNew\r\nfile:///C:/x.exe"), std::nullopt},
      {"page with a blank", Bytes("dataversion\r\n11\r\nNew\r\nhttp://www.example.com/ x"),
       std::nullopt},
      {"lines after the fourth ignored",
       Raw("dataversion\r\n11\r\nNew\r\nhttp://www.example.com/download\r\nC:\\x.exe\r\n\0zz"),
       Notice(u"New")},
      {"CR alone and LF alone", Bytes("dataversion\r11\nNew\rhttp://www.example.com/download"),
       Notice(u"New")},
      {"LF CR is two breaks", Bytes("dataversion\n\r11\r\nNew\r\nhttp://www.example.com/download"),
       std::nullopt},
      {"lines are not trimmed",
       Bytes("dataversion\r\n11\r\n  New  \r\nhttp://www.example.com/download"),
       Notice(u"  New  ")},
      {"empty body", {}, std::nullopt},
      {"nul ends the text early",
       Raw("dataversion\r\n11\r\nNew\r\nhttp://www.ex\0ample.com/download"),
       Notice(u"New", u"http://www.ex")},
      {"nul before the page", Raw("dataversion\r\n11\r\nNew\r\n\0http://x.example/"), std::nullopt},
      {"nul right after the version", Raw("dataversion\r\n11\0\r\nNew\r\nhttp://x.example/"),
       std::nullopt},
      {"UTF-16 LE with mark",
       Utf16(u"dataversion\r\n11\r\n\u041D\u043E\u0432\u0430\u044F\r\nhttp://www.example.com/"
             u"download\r\n",
             false),
       Notice(u"\u041D\u043E\u0432\u0430\u044F")},
      {"UTF-16 BE with mark", Utf16(u"DataVersion\n$C\nNew\nhttp://www.example.com/download", true),
       Notice(u"New")},
      {"UTF-16 without mark is ANSI text",
       Utf16(u"dataversion\r\n11\r\nNew\r\nhttp://www.example.com/download", false, false),
       std::nullopt},
      {"UTF-8 with mark",
       Bytes("\xEF\xBB\xBF"
             "dataversion\r\n11\r\n\xD0\x9D\xD0\xBE\xD0\xB2\xD0\xB0\xD1\x8F\r\n"
             "http://www.example.com/download"),
       Notice(u"\u041D\u043E\u0432\u0430\u044F")},
      {"UTF-8 with mark and an invalid byte",
       Bytes("\xEF\xBB\xBF"
             "dataversion\r\n11\r\nNew\xFF\r\nhttp://www.example.com/download"),
       std::nullopt},
      {"UTF-8 with mark, cut inside a character",
       Bytes("\xEF\xBB\xBF"
             "dataversion\r\n11\r\nNew\r\nhttp://www.example.com/download\xD0"),
       std::nullopt},
      {"only a mark", Bytes("\xEF\xBB\xBF"), std::nullopt},
  };
  return cases;
}

TEST(UpdateFile, Decode) {
  for (const FileCase& c : FileCases()) {
    EXPECT_EQ(DecodeUpdateFile(c.body, kCurrent, kLatin1), c.notice) << c.name;
  }
}

TEST(UpdateFile, NoticeOnlyForAStrictlyNewerVersion) {
  const std::vector<uint8_t> body = Bytes("dataversion\r\n11\r\nNew\r\nhttp://x.example/\r\n");
  EXPECT_TRUE(DecodeUpdateFile(body, 10, kLatin1));
  EXPECT_FALSE(DecodeUpdateFile(body, 11, kLatin1));
  EXPECT_FALSE(DecodeUpdateFile(body, 12, kLatin1));
  EXPECT_TRUE(DecodeUpdateFile(body, -2147483647 - 1, kLatin1));
}

TEST(UpdateFile, TextWithoutMarkGoesThroughTheAnsiCodePage) {
  // "Новая" in Windows-1251.
  const std::vector<uint8_t> body =
      Bytes("dataversion\r\n11\r\n\xCD\xEE\xE2\xE0\xFF\r\nhttp://x.example/\r\n");
  EXPECT_EQ(DecodeUpdateFile(body, kCurrent, kCp1251),
            (UpdateNotice{u"\u041D\u043E\u0432\u0430\u044F", u"http://x.example/"}));
  EXPECT_EQ(DecodeUpdateFile(body, kCurrent, kLatin1),
            (UpdateNotice{u"\u00CD\u00EE\u00E2\u00E0\u00FF", u"http://x.example/"}));
}

TEST(UpdateFile, MarksAreNotPartOfTheText) {
  EXPECT_EQ(DecodeUpdateText(Bytes("\xEF\xBB\xBFok"), kLatin1), u"ok");
  EXPECT_EQ(DecodeUpdateText(Raw("\xFF\xFEo\0k\0"), kLatin1), u"ok");
  EXPECT_EQ(DecodeUpdateText(Raw("\xFE\xFF\0o\0k"), kLatin1), u"ok");
  // An odd final byte of UTF-16 is no character.
  EXPECT_EQ(DecodeUpdateText(Raw("\xFF\xFEo\0k"), kLatin1), u"o");
  // A mark alone on its second byte is no mark.
  EXPECT_EQ(DecodeUpdateText(Bytes("\xFFok"), kLatin1), u"\u00FFok");
  EXPECT_EQ(DecodeUpdateText(Bytes("\xEF\xBBok"), kLatin1), u"\u00EF\u00BBok");
  // Surrogate pairs survive; an encoded surrogate in UTF-8 is invalid.
  EXPECT_EQ(DecodeUpdateText(Bytes("\xEF\xBB\xBF\xF0\x9F\x98\x80"), kLatin1), u"\U0001F600");
  EXPECT_EQ(DecodeUpdateText(Bytes("\xEF\xBB\xBF"
                                   "a\xED\xA0\x80"),
                             kLatin1),
            u"");
  EXPECT_EQ(DecodeUpdateText(Bytes("\xEF\xBB\xBF"
                                   "a\xC0\xAF"),
                             kLatin1),
            u"");  // overlong
}

struct LinesCase {
  std::u16string_view text;
  std::vector<std::u16string> lines;
};

TEST(UpdateFile, SplitLines) {
  const LinesCase cases[] = {
      {u"", {}},
      {u"a", {u"a"}},
      {u"a\r\n", {u"a"}},
      {u"a\n\n", {u"a", u""}},
      {u"a\r\rb", {u"a", u"", u"b"}},
      {u"\r\n", {u""}},
      {u"\n\r", {u"", u""}},
      {u"a\r\nb\rc\nd", {u"a", u"b", u"c", u"d"}},
      {u" a \t", {u" a \t"}},
  };
  for (const LinesCase& c : cases) {
    EXPECT_EQ(SplitLines(c.text), c.lines) << std::string(c.text.begin(), c.text.end());
  }
}

}  // namespace
}  // namespace nestova::http
