// The folder chooser's rules that need no window, in a fake file system.
#include "components/path_rules.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

namespace nestova::components {
namespace {

using testing::FakePlatform;
using testing::Utf8;

TEST(RootFolders, NamesMapToTheirSpecialFolders) {
  const struct {
    std::u16string_view name;
    std::optional<int> id;
  } cases[] = {
      {u"rfDesktop", 0},
      {u"rfMyComputer", 17},
      {u"rfNetwork", 18},
      {u"rfPersonal", 5},
      {u"rfTemplates", 21},
      {u"rfCommonStartup", 24},
      {u"rfInternet", 1},
      {u"rfPrintHood", 27},
      {u"rfDesktopDirectory", 16},
      {u"RFDESKTOP", std::nullopt},  // names are exact; anything else is a path
      {u"C:\\Work", std::nullopt},
      {u"", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RootFolderId(c.name), c.id) << Utf8(c.name);
  }
}

TEST(RootFolders, ButtonTagsFollowTheEnumerationOrder) {
  const std::span<const RootFolder> roots = RootFolders();
  ASSERT_EQ(roots.size(), 23u);
  // The chooser's four buttons carry these ordinals as tags.
  EXPECT_EQ(roots[0].name, u"rfDesktop");
  EXPECT_EQ(roots[1].name, u"rfMyComputer");
  EXPECT_EQ(roots[2].name, u"rfNetwork");
  EXPECT_EQ(roots[14].name, u"rfPersonal");
  EXPECT_EQ(roots[22].name, u"rfTemplates");
  for (const RootFolder& root : roots) {
    EXPECT_EQ(RootFolderId(root.name), root.id) << Utf8(root.name);
  }
}

TEST(PathText, DirectoryPrefix) {
  const struct {
    std::u16string_view in, out;
  } cases[] = {
      {u"", u""},
      {u"C:\\", u"C:\\"},
      {u"C:\\Work/", u"C:\\Work\\"},
      {u"D", u"D:\\"},
      {u"C:", u"C:\\"},
      {u"C:\\Work", u"C:\\Work\\"},
      {u"\\\\server\\share", u"\\\\server\\share\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(DirectoryPrefix(c.in), c.out) << Utf8(c.in);
}

TEST(PathText, QuestionMarkAndDigitNamesLoseEveryQuestionMark) {
  const struct {
    std::u16string_view in, out;
  } cases[] = {
      {u"?1?Music", u"1Music"}, {u"?0", u"0"}, {u"?1a?b?", u"1ab"},
      {u"?a?b", u"?a?b"},       {u"?", u"?"},  {u"1?", u"1?"},
      {u"Music?1", u"Music?1"}, {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(StripQuestionDigit(c.in), c.out) << Utf8(c.in);
}

TEST(PathText, ExtensionHandling) {
  using enum TacShowExtension;
  const struct {
    std::u16string_view display, parsing;
    bool isFile;
    TacShowExtension mode;
    std::u16string_view out;
  } cases[] = {
      {u"notes", u"C:\\W\\notes.txt", true, seShow, u"notes.txt"},
      {u"notes.txt", u"C:\\W\\notes.txt", true, seShow, u"notes.txt"},
      {u"notes.txt", u"C:\\W\\notes.txt", true, seHide, u"notes"},
      {u"notes", u"C:\\W\\notes.txt", true, seHide, u"notes"},
      {u"notes.txt", u"C:\\W\\notes.txt", true, seSystem, u"notes.txt"},
      // Folders keep their text, dots and all.
      {u"v1.2", u"C:\\W\\v1.2", false, seHide, u"v1.2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ApplyShowExt(c.display, c.parsing, c.isFile, c.mode), c.out) << Utf8(c.display);
  }
}

TEST(PathText, PathRootTextIsTheLastComponent) {
  EXPECT_EQ(PathRootText(u"C:\\Work\\Icons\\"), u"Icons");
  EXPECT_EQ(PathRootText(u"C:\\Work\\Icons"), u"Icons");
  EXPECT_EQ(PathRootText(u"C:\\"), u"C:");
  EXPECT_EQ(PathRootText(u"Data"), u"Data");
}

// Virtual items answer with bare names; only these count as real folders.
TEST(Choosing, OnlyAbsolutePathsOfExistingFoldersCount) {
  FakePlatform fs;
  fs.AddFolder(u"C:\\");
  fs.AddFolder(u"C:\\Work");
  fs.AddFolder(u"C:\\Work\\Music");  // a real folder named like the virtual item
  fs.AddFile(u"C:\\Work\\file.txt");
  fs.AddFolder(u"\\\\server\\share");
  const struct {
    std::u16string_view path;
    bool absolute, choosable;
  } cases[] = {
      {u"C:\\Work", true, true},
      {u"c:\\Work", true, true},
      {u"C:\\", true, true},
      {u"\\\\server\\share", true, true},
      {u"Music", false, false},  // relative to the current directory C:\Work
      {u"Computer", false, false},
      {u"C:Work", false, false},
      {u"\\Work", false, false},
      {u"", false, false},
      {u"C:\\Work\\file.txt", true, false},
      {u"C:\\Gone", true, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsAbsolutePath(c.path), c.absolute) << Utf8(c.path);
    EXPECT_EQ(CanChoose(fs, std::u16string(c.path)), c.choosable) << Utf8(c.path);
  }
}

TEST(NewFolder, TakesTheFirstFreeNumber) {
  FakePlatform fs;
  fs.AddFolder(u"C:\\Work");
  EXPECT_EQ(NewFolderName(fs, u"C:\\Work"), u"C:\\Work\\New folder1");
  fs.AddFolder(u"C:\\Work\\New folder1");
  fs.AddFolder(u"C:\\Work\\New folder2");
  EXPECT_EQ(NewFolderName(fs, u"C:\\Work"), u"C:\\Work\\New folder3");
  EXPECT_EQ(NewFolderName(fs, u"C:\\Work\\"), u"C:\\Work\\New folder3");
  EXPECT_EQ(NewFolderName(fs, u"C:\\Work/"), u"C:\\Work\\New folder3");
}

TEST(NewFolder, AnyExistingEntryTakesTheNumber) {
  FakePlatform fs;
  fs.AddFolder(u"C:\\Work");
  fs.AddFile(u"C:\\Work\\New folder1");
  EXPECT_EQ(NewFolderName(fs, u"C:\\Work"), u"C:\\Work\\New folder2");
  // An entry we may not look at is not taken as free either.
  fs.Fail("Attributes", u"C:\\Work\\New folder2", platform::error::kAccessDenied);
  EXPECT_EQ(NewFolderName(fs, u"C:\\Work"), u"C:\\Work\\New folder3");
}

TEST(NewFolder, DriveRootsAndTheEnd) {
  FakePlatform fs;
  fs.AddFolder(u"D:\\");
  EXPECT_EQ(NewFolderName(fs, u"D:\\"), u"D:\\New folder1");
  EXPECT_EQ(NewFolderName(fs, u"D"), u"D:\\New folder1");
  fs.AddFolder(u"D:\\New folder1");
  fs.AddFolder(u"D:\\New folder2");
  EXPECT_EQ(NewFolderName(fs, u"D:\\", 2), u"");  // every number taken
  EXPECT_EQ(NewFolderName(fs, u"D:\\", 3), u"D:\\New folder3");
}

TEST(Rename, TypedNamesAreChecked) {
  for (std::u16string_view ok : {u"New folder1", u"a", u"Work 2.0", u"Папка"}) {
    EXPECT_TRUE(IsAcceptableFolderName(ok)) << Utf8(ok);
  }
  for (std::u16string_view bad :
       {u"", u"a\\b", u"a/b", u"C:", u"*", u"why?", u"\"q\"", u"<", u">", u"a|b"}) {
    EXPECT_FALSE(IsAcceptableFolderName(bad)) << Utf8(bad);
  }
}

TEST(Buttons, EditingKeepsTheWindowOpen) {
  EXPECT_EQ(OkAction(false), ButtonAction::kClose);
  EXPECT_EQ(OkAction(true), ButtonAction::kEndEditKeepingText);
  EXPECT_EQ(CancelAction(false), ButtonAction::kClose);
  EXPECT_EQ(CancelAction(true), ButtonAction::kStayOpen);
}

TEST(ContextMenu, DeleteRemovesTheNodeOnlyWhenTheFolderIsGone) {
  FakePlatform fs;
  fs.AddFolder(u"C:\\Work");
  fs.AddFolder(u"C:\\Work\\Kept");
  EXPECT_EQ(AfterDeleteCommand(fs, u"C:\\Work\\Gone"), AfterDelete::kRemoveNode);
  EXPECT_EQ(AfterDeleteCommand(fs, u"C:\\Work\\Kept"), AfterDelete::kRefreshParent);
  fs.Fail("Attributes", u"C:\\Work\\Locked", platform::error::kAccessDenied);
  EXPECT_EQ(AfterDeleteCommand(fs, u"C:\\Work\\Locked"), AfterDelete::kRefreshParent);
}

TEST(Sorting, CompareResultIsTheSignedCodePart) {
  EXPECT_EQ(CompareResult(0x00000000u), 0);
  EXPECT_EQ(CompareResult(0x00000001u), 1);
  EXPECT_EQ(CompareResult(0x0000FFFFu), -1);
  EXPECT_EQ(CompareResult(0x8000FFFEu), -2);  // a severity bit does not change the order
}

}  // namespace
}  // namespace nestova::components
