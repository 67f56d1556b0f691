// The file and folder tests every Part shares, and the fake world the
// native tests run in: it must behave like the system where tests rely on it.
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "platform/platform.h"

namespace nestova {
namespace {

using namespace platform;
using testing::FakePlatform;

// Answers the attribute query with a fixed error and lists fixed entries.
class LockedWorld : public FakePlatform {
 public:
  ErrorCode queryError = error::kAccessDenied;
  std::vector<FoundEntry> listed;
  AttributeQuery Attributes(const Text&) override { return {0, queryError}; }
  std::vector<FoundEntry> Find(const Text&) override { return listed; }
};

TEST(Platform, DirectoryAndFileTests) {
  FakePlatform world;
  world.AddFolder(u"C:\\Work");
  world.AddFile(u"C:\\Work\\a.ico");
  world.AddFolder(u"C:\\Work\\b.ico");
  EXPECT_TRUE(IsExistingDirectory(world, u"C:\\Work"));
  EXPECT_TRUE(IsExistingDirectory(world, u"c:\\work\\"));
  EXPECT_FALSE(IsExistingDirectory(world, u"C:\\Work\\a.ico"));
  EXPECT_TRUE(IsExistingFile(world, u"C:\\Work\\a.ico"));
  EXPECT_FALSE(IsExistingFile(world, u"C:\\Work\\b.ico"));  // a folder
  EXPECT_FALSE(IsExistingFile(world, u"C:\\Work\\gone.ico"));
  EXPECT_FALSE(IsExistingFile(world, u"C:\\Gone\\a.ico"));
}

TEST(Platform, FileTestAsksTheSearchWhenTheQueryIsRefused) {
  const struct {
    const char* name;
    ErrorCode queryError;
    std::vector<FoundEntry> listed;
    bool isFile;
  } cases[] = {
      {"refused, listed as a file", error::kAccessDenied, {{u"x", attr::kArchive}}, true},
      {"refused, listed as a folder", error::kAccessDenied, {{u"x", attr::kDirectory}}, false},
      {"refused, not listed", error::kAccessDenied, {}, false},
      {"not found is final", error::kFileNotFound, {{u"x", attr::kArchive}}, false},
      {"no path is final", error::kPathNotFound, {{u"x", attr::kArchive}}, false},
      {"bad name is final", error::kInvalidName, {{u"x", attr::kArchive}}, false},
  };
  for (const auto& c : cases) {
    LockedWorld world;
    world.queryError = c.queryError;
    world.listed = c.listed;
    EXPECT_EQ(IsExistingFile(world, u"C:\\x"), c.isFile) << c.name;
  }
}

TEST(FakePlatform, ProfileFilesKeepWhatTheyDoNotChange) {
  FakePlatform world;
  world.AddFolder(u"C:\\W");
  const Text ini = u"C:\\W\\Desktop.ini";
  world.AddFile(
      ini,
      "; note\r\n[.ShellClassInfo]\r\nIconFile=old.ico\r\nInfoTip=hi\r\n\r\n[Other]\r\nx=1\r\n");
  EXPECT_EQ(world.ProfileRead(ini, u".shellclassinfo", u"iconfile", u""), u"old.ico");
  EXPECT_EQ(world.ProfileWrite(ini, u".ShellClassInfo", u"IconFile", u"new.ico"), error::kNone);
  EXPECT_EQ(world.ProfileWrite(ini, u".ShellClassInfo", u"IconIndex", u"0"), error::kNone);
  EXPECT_EQ(world.ProfileWrite(ini, u"Added", u"k", u"v"), error::kNone);
  EXPECT_EQ(world.ProfileDeleteKey(ini, u"Other", u"x"), error::kNone);
  EXPECT_EQ(*world.Bytes(ini),
            "; note\r\n[.ShellClassInfo]\r\nIconFile=new.ico\r\nInfoTip=hi\r\nIconIndex=0\r\n\r\n"
            "[Other]\r\n[Added]\r\nk=v\r\n");
  EXPECT_EQ(world.ProfileRead(u"C:\\W\\none.ini", u"s", u"k", u"fallback"), u"fallback");
  EXPECT_EQ(world.ProfileWrite(u"C:\\Gone\\x.ini", u"s", u"k", u"v"), error::kPathNotFound);
  world.SetAttributes(ini, attr::kReadOnly);
  EXPECT_EQ(world.ProfileWrite(ini, u"s", u"k", u"v"), error::kAccessDenied);
}

TEST(FakePlatform, SearchListsDotsFirstThenEntriesInCreationOrder) {
  FakePlatform world;
  world.AddFolder(u"C:\\Icons");
  world.AddFolder(u"C:\\Icons\\B");
  world.AddFile(u"C:\\Icons\\A.ICO");
  world.AddFile(u"C:\\Icons\\c.ico");
  world.AddFile(u"C:\\Icons\\d.png");
  std::vector<Text> names;
  for (const FoundEntry& e : world.Find(u"C:\\Icons\\*.*")) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<Text>{u".", u"..", u"B", u"A.ICO", u"c.ico", u"d.png"}));
  names.clear();
  for (const FoundEntry& e : world.Find(u"C:\\Icons\\*.ico")) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<Text>{u"A.ICO", u"c.ico"}));
  EXPECT_TRUE(world.Find(u"C:\\Gone\\*.*").empty());
}

TEST(FakePlatform, FailuresOnRequestAndTheShortDate) {
  FakePlatform world;
  world.AddFolder(u"C:\\W");
  world.AddFile(u"C:\\W\\a");
  world.Fail("Copy", u"C:\\W\\b", error::kAccessDenied);
  EXPECT_EQ(world.Copy(u"C:\\W\\a", u"C:\\W\\b"), error::kAccessDenied);
  EXPECT_FALSE(world.Exists(u"C:\\W\\b"));
  EXPECT_EQ(world.Copy(u"C:\\W\\a", u"C:\\W\\c"), error::kNone);
  EXPECT_EQ(world.calls,
            (std::vector<std::string>{"Copy C:\\W\\a -> C:\\W\\b", "Copy C:\\W\\a -> C:\\W\\c"}));
  world.shortDateFormat = u"d/M/yy";
  EXPECT_EQ(world.ShortDate({2026, 3, 7}), u"7/3/26");
  world.shortDateFormat = u"dd.MM.yyyy";
  EXPECT_EQ(world.ShortDate({2026, 3, 7}), u"07.03.2026");
}

}  // namespace
}  // namespace nestova
