// The folder icon writer on real folders: what the system keeps on disk.
#include "app/folder_icon_writer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/system_platform.h"
#include "platform/text.h"
#include "recording_platform.h"
#include "temp_folder.h"

namespace nestova {
namespace {

using platform::FromWide;
namespace attr = platform::attr;

std::string Utf16File(std::u16string_view text) {
  std::string out = "\xFF\xFE";
  for (char16_t c : text) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  return out;
}

class WriterOnDisk : public ::testing::Test {
 protected:
  WriterOnDisk() {
    temp_.Make(L"Icons");
    temp_.Make(L"Icons\\Цветные папки");
    temp_.Make(L"Моя папка");
    Write(L"Icons\\Цветные папки\\Красная.ico", "RED ICON");
    Write(L"Icons\\Цветные папки\\Синяя.ico", "BLUE ICON");
  }
  std::u16string Path(const std::wstring& relative) const {
    return FromWide(temp_.path() + L"\\" + relative);
  }
  std::string Read(const std::wstring& relative) const {
    std::ifstream in((temp_.path() + L"\\" + relative).c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void Write(const std::wstring& relative, const std::string& bytes) const {
    std::ofstream((temp_.path() + L"\\" + relative).c_str(), std::ios::binary) << bytes;
  }
  uint32_t Attributes(const std::wstring& relative) const {
    return os_.Attributes(Path(relative)).attributes &
           (attr::kReadOnly | attr::kHidden | attr::kSystem);
  }
  bool Exists(const std::wstring& relative) const {
    return os_.Attributes(Path(relative)).error == platform::error::kNone;
  }
  bool Apply(const std::u16string& icon) {
    return ApplyFolderIcon(os_, nullptr, Path(L"Icons\\"), u"Цветные папки", icon, Target());
  }
  bool Clear() { return RestoreStandardIcon(os_, nullptr, Target()); }
  std::u16string Target() const { return Path(L"Моя папка\\"); }

  TempFolder temp_;
  mutable RecordingPlatform os_;  // real files, message boxes recorded
};

TEST_F(WriterOnDisk, NewDesktopIniIsUtf16AndKeepsCyrillicNames) {
  ASSERT_TRUE(Apply(u"Красная.ico"));
  EXPECT_EQ(Read(L"Моя папка\\Desktop.ini"),
            Utf16File(u"[.ShellClassInfo]\r\nIconFile=ico_Цветные папки_Красная.ico\r\n"
                      u"IconIndex=0\r\n"));
  EXPECT_EQ(Read(L"Моя папка\\ico_Цветные папки_Красная.ico"), "RED ICON");
  EXPECT_EQ(ReadFolderIcon(os_, Target()), u"ico_Цветные папки_Красная.ico");
  // Wine keeps hidden and system on files (not read-only on folders).
  EXPECT_EQ(Attributes(L"Моя папка\\Desktop.ini"), attr::kHidden | attr::kSystem);
  EXPECT_EQ(Attributes(L"Моя папка\\ico_Цветные папки_Красная.ico"), attr::kHidden | attr::kSystem);

  // Another icon replaces the hidden copy and the key; the same icon again
  // overwrites its own hidden copy.
  ASSERT_TRUE(Apply(u"Синяя.ico"));
  EXPECT_FALSE(Exists(L"Моя папка\\ico_Цветные папки_Красная.ico"));
  EXPECT_EQ(ReadFolderIcon(os_, Target()), u"ico_Цветные папки_Синяя.ico");
  Write(L"Icons\\Цветные папки\\Синяя.ico", "NEW BLUE ICON");
  ASSERT_TRUE(Apply(u"Синяя.ico"));
  EXPECT_EQ(Read(L"Моя папка\\ico_Цветные папки_Синяя.ico"), "NEW BLUE ICON");
  EXPECT_EQ(Read(L"Моя папка\\Desktop.ini"),
            Utf16File(u"[.ShellClassInfo]\r\nIconFile=ico_Цветные папки_Синяя.ico\r\n"
                      u"IconIndex=0\r\n"));

  ASSERT_TRUE(Clear());
  EXPECT_FALSE(Exists(L"Моя папка\\Desktop.ini"));
  EXPECT_FALSE(Exists(L"Моя папка\\ico_Цветные папки_Синяя.ico"));
}

TEST_F(WriterOnDisk, AnExistingAnsiDesktopIniKeepsItsEncodingAndLines) {
  temp_.Make(L"Icons\\Office");
  Write(L"Icons\\Office\\Red.ico", "RED ICON");
  const std::string before = "[.ShellClassInfo]\r\nConfirmFileOp=0\r\n[ViewState]\r\nMode=4\r\n";
  Write(L"Моя папка\\Desktop.ini", before);

  // A Cyrillic name either survives the system's code page or is refused
  // with everything left as it was; it is never stored as question marks.
  if (Apply(u"Красная.ico")) {
    EXPECT_EQ(ReadFolderIcon(os_, Target()), u"ico_Цветные папки_Красная.ico");
    ASSERT_TRUE(Clear());
  } else {
    EXPECT_FALSE(Exists(L"Моя папка\\ico_Цветные папки_Красная.ico"));
    ASSERT_EQ(os_.messages.size(), 1u);
    EXPECT_EQ(os_.messages[0].text.find(u"Не удалось записать файл"), 0u);
  }
  EXPECT_EQ(Read(L"Моя папка\\Desktop.ini").find("IconFile"), std::string::npos);

  ASSERT_TRUE(ApplyFolderIcon(os_, nullptr, Path(L"Icons\\"), u"Office", u"Red.ico", Target()));
  const std::string after = Read(L"Моя папка\\Desktop.ini");
  EXPECT_NE(after.substr(0, 2), "\xFF\xFE");
  EXPECT_NE(after.find("ConfirmFileOp=0"), std::string::npos) << after;
  EXPECT_NE(after.find("[ViewState]\r\nMode=4"), std::string::npos) << after;
  EXPECT_NE(after.find("IconFile=ico_Office_Red.ico"), std::string::npos) << after;
  EXPECT_NE(after.find("IconIndex=0"), std::string::npos) << after;

  ASSERT_TRUE(Clear());
  const std::string cleared = Read(L"Моя папка\\Desktop.ini");
  EXPECT_EQ(cleared.find("IconFile"), std::string::npos) << cleared;
  EXPECT_EQ(cleared.find("IconIndex"), std::string::npos) << cleared;
  EXPECT_NE(cleared.find("ConfirmFileOp=0"), std::string::npos) << cleared;
  EXPECT_NE(cleared.find("[ViewState]\r\nMode=4"), std::string::npos) << cleared;
  EXPECT_EQ(Attributes(L"Моя папка\\Desktop.ini"), attr::kHidden | attr::kSystem);
  EXPECT_FALSE(Exists(L"Моя папка\\ico_Office_Red.ico"));
}

TEST_F(WriterOnDisk, PlatformCreatesOnlyNewFilesAndReadsThemWhole) {
  const std::u16string file = Path(L"Моя папка\\new.bin");
  const std::string bytes("a\0b\xFF", 4);
  EXPECT_EQ(os_.CreateNewFile(file, bytes), platform::error::kNone);
  EXPECT_EQ(os_.CreateNewFile(file, "other"), platform::error::kFileExists);
  std::string read;
  EXPECT_EQ(os_.ReadWholeFile(file, read), platform::error::kNone);
  EXPECT_EQ(read, bytes);
  EXPECT_NE(os_.ReadWholeFile(Path(L"Моя папка\\gone"), read), platform::error::kNone);
  EXPECT_TRUE(read.empty());
  os_.NotifyFolderChanged(Target());  // nothing to see; it must simply return
}

}  // namespace
}  // namespace nestova
