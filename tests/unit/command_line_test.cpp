#include "app/command_line.h"

#include <gtest/gtest.h>

namespace nestova {
namespace {

struct Case {
  const char* name;
  std::u16string_view commandLine;
  std::u16string_view argument1;
};

const Case kCases[] = {
    {"no argument", u"Nestova.exe", u""},
    {"empty line", u"", u""},
    {"plain path", u"Nestova.exe D:\\Work", u"D:\\Work"},
    {"further arguments ignored", u"Nestova.exe D:\\Work E:\\Other", u"D:\\Work"},
    {"quoted program name with spaces", u"\"C:\\Program Files\\Nestova.exe\" D:\\Work",
     u"D:\\Work"},
    {"quoted path with spaces", u"Nestova.exe \"C:\\My Folder\"", u"C:\\My Folder"},
    {"backslash before quote is no escape", u"Nestova.exe \"C:\\My Folder\\\" next",
     u"C:\\My Folder\\"},
    {"quoted part inside an argument", u"Nestova.exe a\"b c\"d", u"ab cd"},
    {"empty quotes skipped", u"Nestova.exe \"\" D:\\Work", u"D:\\Work"},
    {"two empty quote pairs skipped", u"Nestova.exe \"\"\"\" D:\\Work", u"D:\\Work"},
    {"empty quotes glued to argument", u"Nestova.exe \"\"D:\\Work", u"D:\\Work"},
    {"only empty quotes", u"Nestova.exe \"\"", u""},
    {"spaces kept inside quotes", u"Nestova.exe \" \tC:\\x \"", u" \tC:\\x "},
    {"tabs and control characters separate", u"Nestova.exe\t\x01\x1f D:\\Work", u"D:\\Work"},
    {"unterminated quote runs to the end", u"Nestova.exe \"C:\\My Folder", u"C:\\My Folder"},
    {"lone quote at the end", u"Nestova.exe \"", u""},
    {"three quotes: pair skipped, third opens", u"Nestova.exe \"\"\" x", u" x"},
    {"program name ends at its closing quote only", u"\"Nes tova\".exe D:\\Work", u"D:\\Work"},
    {"non-ASCII path", u"Nestova.exe C:\\\u041F\u0430\u043F\u043A\u0430",
     u"C:\\\u041F\u0430\u043F\u043A\u0430"},
    {"nul ends the line", std::u16string_view(u"Nestova.exe \0D:\\Work", 20), u""},
    {"nul ends a quoted part", std::u16string_view(u"Nestova.exe \"C:\\a\0b\"", 20), u"C:\\a"},
};

TEST(CommandLine, FirstArgument) {
  for (const Case& c : kCases) {
    EXPECT_EQ(FirstArgument(c.commandLine), c.argument1) << c.name;
  }
}

}  // namespace
}  // namespace nestova
