// The folder icon writer on real folders: what the system keeps on disk.
#include "app/folder_icon_writer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/system_platform.h"
#include "platform/text.h"
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

// The system platform with its message boxes caught, so a test never waits
// for a click; everything else goes to the system.
class NoMessageBoxes final : public platform::Platform {
 public:
  using Text = platform::Text;
  explicit NoMessageBoxes(platform::Platform& os) : os_(os) {}
  std::vector<std::u16string> messages;

  platform::AttributeQuery Attributes(const Text& p) override { return os_.Attributes(p); }
  platform::ErrorCode SetAttributes(const Text& p, uint32_t a) override {
    return os_.SetAttributes(p, a);
  }
  platform::ErrorCode Copy(const Text& f, const Text& t) override { return os_.Copy(f, t); }
  platform::ErrorCode Delete(const Text& p) override { return os_.Delete(p); }
  platform::ErrorCode MakeDirectory(const Text& p) override { return os_.MakeDirectory(p); }
  std::vector<platform::FoundEntry> Find(const Text& p) override { return os_.Find(p); }
  platform::ErrorCode CreateNewFile(const Text& p, const std::string& b) override {
    return os_.CreateNewFile(p, b);
  }
  platform::ErrorCode ReadWholeFile(const Text& p, std::string& b) override {
    return os_.ReadWholeFile(p, b);
  }
  void NotifyFolderChanged(const Text& p) override { os_.NotifyFolderChanged(p); }
  Text ProfileRead(const Text& f, const Text& s, const Text& k, const Text& d) override {
    return os_.ProfileRead(f, s, k, d);
  }
  platform::ErrorCode ProfileWrite(const Text& f, const Text& s, const Text& k,
                                   const Text& v) override {
    return os_.ProfileWrite(f, s, k, v);
  }
  platform::ErrorCode ProfileDeleteKey(const Text& f, const Text& s, const Text& k) override {
    return os_.ProfileDeleteKey(f, s, k);
  }
  void ProfileFlush(const Text& f) override { os_.ProfileFlush(f); }
  platform::Date Today() override { return os_.Today(); }
  Text ShortDate(const platform::Date& d) override { return os_.ShortDate(d); }
  uint64_t MonotonicMs() override { return os_.MonotonicMs(); }
  void ShowMessage(platform::WindowHandle, const Text& text, const Text&,
                   platform::MessageIcon) override {
    messages.push_back(text);
  }
  void OpenInShell(platform::WindowHandle, const Text&, int) override {}
  Text ErrorText(platform::ErrorCode c) override { return os_.ErrorText(c); }
  Text ModulePath() override { return os_.ModulePath(); }
  Text CommandLine() override { return os_.CommandLine(); }

 private:
  platform::Platform& os_;
};

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
  mutable NoMessageBoxes os_{platform::SystemPlatform()};
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
    EXPECT_EQ(os_.messages[0].find(u"Не удалось записать файл"), 0u);
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
