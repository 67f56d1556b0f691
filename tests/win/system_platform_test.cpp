// The system platform on real files: what each call does on disk, as the
// Parts rely on it.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <iterator>

#include "platform/system_platform.h"
#include "platform/text.h"
#include "temp_folder.h"

namespace nestova::platform {
namespace {

class SystemPlatformTest : public ::testing::Test {
 protected:
  Text Path(const std::wstring& relative) const {
    return FromWide(temp_.path() + L"\\" + relative);
  }
  std::string Read(const std::wstring& relative) const {
    std::ifstream in((temp_.path() + L"\\" + relative).c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void Write(const std::wstring& relative, const std::string& bytes) const {
    std::ofstream((temp_.path() + L"\\" + relative).c_str(), std::ios::binary) << bytes;
  }

  TempFolder temp_;
  Platform& os_ = SystemPlatform();
};

TEST_F(SystemPlatformTest, AttributesAreReplacedAndMissingPathsSayWhy) {
  Write(L"a.ico", "x");
  EXPECT_EQ(os_.Attributes(Path(L"gone")).error, error::kFileNotFound);
  EXPECT_EQ(os_.Attributes(Path(L"gone\\deeper")).error, error::kPathNotFound);
  // Wine keeps the archive bit whatever is set; the others are replaced.
  const uint32_t settable = attr::kReadOnly | attr::kHidden | attr::kSystem;
  EXPECT_EQ(os_.SetAttributes(Path(L"a.ico"), attr::kHidden | attr::kSystem), error::kNone);
  EXPECT_EQ(os_.Attributes(Path(L"a.ico")).attributes & settable, attr::kHidden | attr::kSystem);
  EXPECT_EQ(os_.SetAttributes(Path(L"a.ico"), attr::kReadOnly), error::kNone);
  EXPECT_EQ(os_.Attributes(Path(L"a.ico")).attributes & settable, attr::kReadOnly);
  EXPECT_EQ(os_.SetAttributes(Path(L"a.ico"), attr::kNormal), error::kNone);
  EXPECT_EQ(os_.Attributes(Path(L"a.ico")).attributes & settable, 0u);
  EXPECT_NE(os_.SetAttributes(Path(L"gone"), attr::kNormal), error::kNone);
  EXPECT_TRUE(IsExistingDirectory(os_, FromWide(temp_.path())));
  EXPECT_TRUE(IsExistingFile(os_, Path(L"a.ico")));
}

TEST_F(SystemPlatformTest, CopyReplacesDeleteAndFolders) {
  Write(L"src", "new bytes");
  Write(L"dst", "old");
  EXPECT_EQ(os_.Copy(Path(L"src"), Path(L"dst")), error::kNone);
  EXPECT_EQ(Read(L"dst"), "new bytes");
  EXPECT_EQ(os_.Copy(Path(L"gone"), Path(L"dst2")), error::kFileNotFound);
  EXPECT_EQ(os_.Delete(Path(L"dst")), error::kNone);
  EXPECT_EQ(os_.Attributes(Path(L"dst")).error, error::kFileNotFound);
  EXPECT_EQ(os_.Delete(Path(L"dst")), error::kFileNotFound);
  EXPECT_EQ(os_.MakeDirectory(Path(L"New folder")), error::kNone);
  EXPECT_EQ(os_.MakeDirectory(Path(L"New folder")), error::kAlreadyExists);
  EXPECT_TRUE(IsExistingDirectory(os_, Path(L"New folder")));
}

TEST_F(SystemPlatformTest, FindListsNamesAndAttributesIgnoringCase) {
  Write(L"A.ICO", "1");
  Write(L"b.ico", "2");
  Write(L"c.png", "3");
  ::CreateDirectoryW((temp_.path() + L"\\sub.ico").c_str(), nullptr);
  os_.SetAttributes(Path(L"b.ico"), attr::kHidden);
  std::map<Text, uint32_t> found;
  for (const FoundEntry& e : os_.Find(Path(L"*.ico"))) found[e.name] = e.attributes;
  ASSERT_EQ(found.size(), 3u);
  EXPECT_TRUE(found.count(u"A.ICO"));
  EXPECT_TRUE(found[u"b.ico"] & attr::kHidden);
  EXPECT_TRUE(found[u"sub.ico"] & attr::kDirectory);
  EXPECT_TRUE(os_.Find(Path(L"gone\\*.*")).empty());
}

TEST_F(SystemPlatformTest, ProfileKeysInPlaceOtherLinesKept) {
  const Text ini = Path(L"Desktop.ini");
  Write(L"Desktop.ini",
        "[.ShellClassInfo]\r\nIconFile=old.ico\r\nInfoTip=hi\r\n[Other]\r\nx=1\r\n");
  EXPECT_EQ(os_.ProfileRead(ini, u".shellclassinfo", u"ICONFILE", u"-"), u"old.ico");
  EXPECT_EQ(os_.ProfileWrite(ini, u".ShellClassInfo", u"IconFile", u"new.ico"), error::kNone);
  EXPECT_EQ(os_.ProfileWrite(ini, u".ShellClassInfo", u"IconIndex", u"0"), error::kNone);
  EXPECT_EQ(os_.ProfileDeleteKey(ini, u"Other", u"x"), error::kNone);
  os_.ProfileFlush(ini);
  const std::string text = Read(L"Desktop.ini");
  EXPECT_NE(text.find("IconFile=new.ico"), std::string::npos) << text;
  EXPECT_NE(text.find("InfoTip=hi"), std::string::npos) << text;
  EXPECT_NE(text.find("IconIndex=0"), std::string::npos) << text;
  EXPECT_EQ(text.find("x=1"), std::string::npos) << text;
  EXPECT_EQ(os_.ProfileRead(Path(L"none.ini"), u"s", u"k", u"fallback"), u"fallback");
  const Text longValue(3000, u'v');
  os_.ProfileWrite(ini, u"s", u"long", longValue);
  EXPECT_EQ(os_.ProfileRead(ini, u"s", u"long", u""), longValue);
}

TEST_F(SystemPlatformTest, DatesTextsAndTheProcess) {
  const Date today = os_.Today();
  EXPECT_GE(today.year, 2024);
  const Text shortDate = os_.ShortDate({2026, 12, 31});
  EXPECT_NE(shortDate.find(u"31"), Text::npos) << ToWide(shortDate).size();
  EXPECT_NE(shortDate.find(u"12"), Text::npos);
  EXPECT_EQ(os_.ShortDate(today), os_.ShortDate(os_.Today()));
  const uint64_t t0 = os_.MonotonicMs();
  EXPECT_GE(os_.MonotonicMs(), t0);
  EXPECT_FALSE(os_.ErrorText(error::kFileNotFound).empty());
  const Text module = os_.ModulePath();
  EXPECT_EQ(module.substr(module.size() - 13), u"win_tests.exe");
  EXPECT_FALSE(os_.CommandLine().empty());
}

}  // namespace
}  // namespace nestova::platform
