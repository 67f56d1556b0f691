#include "app/folder_icon_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_platform.h"

namespace nestova {
namespace {

using platform::attr::kArchive;
using platform::attr::kDirectory;
using platform::attr::kHidden;
using platform::attr::kReadOnly;
using platform::attr::kSystem;
using testing::FakePlatform;
using testing::Utf8;

const std::u16string kIcons = u"C:\\Programs\\Nestova\\Icons\\";
const std::u16string kTarget = u"D:\\Work\\";
const std::u16string kIni = u"D:\\Work\\Desktop.ini";
const std::u16string kCopy = u"D:\\Work\\ico_Office_folder.ico";
platform::WindowHandle const kOwner = reinterpret_cast<platform::WindowHandle>(0x1234);

std::string Utf16File(std::u16string_view text) {
  std::string out = "\xFF\xFE";
  for (char16_t c : text) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  return out;
}

// The program beside its Icons folder, and the folder to change.
struct World {
  FakePlatform fs;
  World() {
    fs.AddFolder(u"C:\\");
    fs.AddFolder(u"C:\\Programs");
    fs.AddFolder(u"C:\\Programs\\Nestova");
    fs.AddFolder(kIcons);
    fs.AddFolder(kIcons + u"Office");
    fs.AddFile(kIcons + u"Office\\folder.ico", "FOLDER ICON");
    fs.AddFile(kIcons + u"Office\\star.ico", "STAR ICON");
    fs.AddFolder(u"D:\\");
    fs.AddFolder(kTarget);
  }
  bool Apply(const std::u16string& icon, const std::u16string& collection = u"Office") {
    return ApplyFolderIcon(fs, kOwner, kIcons, collection, icon, kTarget);
  }
  bool Clear() { return RestoreStandardIcon(fs, kOwner, kTarget); }
  std::string Ini() const { return fs.Bytes(kIni).value_or("<none>"); }
};

bool Has(const std::vector<std::string>& calls, const std::string& call) {
  return std::find(calls.begin(), calls.end(), call) != calls.end();
}

bool AnyStartsWith(const std::vector<std::string>& calls, const std::string& prefix) {
  return std::any_of(calls.begin(), calls.end(),
                     [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
}

TEST(FolderIconWriter, CopyNameIsCollectionAndFileNamePart) {
  EXPECT_EQ(IconCopyName(u"Office", u"C:\\I\\Office\\folder.ico"), u"ico_Office_folder.ico");
  EXPECT_EQ(IconCopyName(u"My_Set", u"C:\\I\\My_Set\\a_b.ico"), u"ico_My_Set_a_b.ico");
  EXPECT_EQ(IconCopyName(u"X", u"C:folder.ico"), u"ico_X_folder.ico");
  EXPECT_EQ(IconCopyName(u"Цветные папки", u"C:\\I\\Цветные папки\\Красная.ico"),
            u"ico_Цветные папки_Красная.ico");
}

TEST(FolderIconWriter, FirstApplyCopiesWritesUnicodeDesktopIniAndMarksTheFolder) {
  World w;
  EXPECT_TRUE(w.Apply(u"folder.ico"));
  const std::vector<std::string> expected = {
      "Copy C:\\Programs\\Nestova\\Icons\\Office\\folder.ico -> D:\\Work\\ico_Office_folder.ico",
      "SetAttributes D:\\Work\\ico_Office_folder.ico 0x6",
      "CreateNewFile D:\\Work\\Desktop.ini (2 bytes)",
      "ProfileWrite D:\\Work\\Desktop.ini [.ShellClassInfo] IconFile=ico_Office_folder.ico",
      "ProfileWrite D:\\Work\\Desktop.ini [.ShellClassInfo] IconIndex=0",
      "ProfileFlush D:\\Work\\Desktop.ini",
      "SetAttributes D:\\Work\\Desktop.ini 0x6",
      "SetAttributes D:\\Work\\ 0x1",
      "NotifyFolderChanged D:\\Work\\",
  };
  EXPECT_EQ(w.fs.calls, expected);
  EXPECT_EQ(w.Ini(), Utf16File(u"[.ShellClassInfo]\r\nIconFile=ico_Office_folder.ico\r\n"
                               u"IconIndex=0\r\n"));
  EXPECT_EQ(w.fs.Bytes(kCopy), "FOLDER ICON");
  EXPECT_EQ(w.fs.AttributesOf(kCopy), kHidden | kSystem);
  EXPECT_EQ(w.fs.AttributesOf(kIni), kHidden | kSystem);
  EXPECT_EQ(w.fs.AttributesOf(kTarget), kDirectory | kReadOnly);
  EXPECT_TRUE(w.fs.messages.empty());
}

TEST(FolderIconWriter, CyrillicNamesKeepTheirLettersInDesktopIni) {
  World w;
  const std::u16string collection = u"Цветные папки";
  w.fs.AddFolder(kIcons + collection);
  w.fs.AddFile(kIcons + collection + u"\\Красная.ico", "RED");
  EXPECT_TRUE(w.Apply(u"Красная.ico", collection));
  EXPECT_EQ(ReadFolderIcon(w.fs, kTarget), u"ico_Цветные папки_Красная.ico");
  EXPECT_EQ(w.fs.Bytes(kTarget + u"ico_Цветные папки_Красная.ico"), "RED");
  EXPECT_EQ(w.Ini().substr(0, 2), "\xFF\xFE");
}

// Profile files as the system writes them into an 8-bit file whose code
// page has no Cyrillic letters.
class LatinCodePage : public FakePlatform {
 public:
  platform::ErrorCode ProfileWrite(const platform::Text& file, const platform::Text& section,
                                   const platform::Text& key,
                                   const platform::Text& value) override {
    platform::Text stored = value;
    const std::string bytes = Bytes(file).value_or("");
    if (bytes.rfind("\xFF\xFE", 0) != 0) {
      for (char16_t& c : stored) c = c < 0x100 ? c : u'?';
    }
    return FakePlatform::ProfileWrite(file, section, key, stored);
  }
};

TEST(FolderIconWriter, ANameTheOldFileCannotHoldIsAFailureNotAWrongName) {
  LatinCodePage fs;
  for (const char16_t* folder : {u"C:\\", u"C:\\I", u"C:\\I\\Цвета", u"D:\\", u"D:\\Work"})
    fs.AddFolder(folder);
  fs.AddFile(u"C:\\I\\Цвета\\Красная.ico", "RED");
  const std::string ini = "[.ShellClassInfo]\r\nIconFile=ico_old.ico\r\nIconIndex=3\r\n";
  fs.AddFile(kIni, ini, kHidden | kSystem);
  fs.AddFile(u"D:\\Work\\ico_old.ico", "OLD", kHidden | kSystem);
  EXPECT_FALSE(ApplyFolderIcon(fs, kOwner, u"C:\\I\\", u"Цвета", u"Красная.ico", kTarget));
  EXPECT_EQ(fs.Bytes(kIni), ini);
  EXPECT_EQ(fs.AttributesOf(kIni), kHidden | kSystem);
  EXPECT_FALSE(fs.Exists(u"D:\\Work\\ico_Цвета_Красная.ico"));
  EXPECT_TRUE(fs.Exists(u"D:\\Work\\ico_old.ico"));
  ASSERT_EQ(fs.messages.size(), 1u);
  EXPECT_EQ(fs.messages[0].text, u"Не удалось записать файл D:\\Work\\Desktop.ini.\n\nerror 1113");

  // A new file is Unicode, so the same name goes in whole.
  fs.SetAttributes(kIni, platform::attr::kNormal);
  fs.Delete(kIni);
  fs.messages.clear();
  EXPECT_TRUE(ApplyFolderIcon(fs, kOwner, u"C:\\I\\", u"Цвета", u"Красная.ico", kTarget));
  EXPECT_EQ(ReadFolderIcon(fs, kTarget), u"ico_Цвета_Красная.ico");
}

TEST(FolderIconWriter, SameIconAgainReplacesTheHiddenCopyWithoutDeletingIt) {
  World w;
  ASSERT_TRUE(w.Apply(u"folder.ico"));
  w.fs.AddFile(kIcons + u"Office\\folder.ico", "NEWER FOLDER ICON");
  w.fs.calls.clear();
  EXPECT_TRUE(w.Apply(u"folder.ico"));
  // A hidden destination refuses a copy, so it is made normal first.
  const auto normal = std::find(w.fs.calls.begin(), w.fs.calls.end(),
                                "SetAttributes D:\\Work\\ico_Office_folder.ico 0x80");
  const auto copy = std::find_if(w.fs.calls.begin(), w.fs.calls.end(),
                                 [](const std::string& c) { return c.rfind("Copy ", 0) == 0; });
  ASSERT_NE(normal, w.fs.calls.end());
  EXPECT_LT(normal, copy);
  EXPECT_FALSE(AnyStartsWith(w.fs.calls, "Delete"));
  EXPECT_FALSE(AnyStartsWith(w.fs.calls, "CreateNewFile"));
  EXPECT_EQ(w.fs.Bytes(kCopy), "NEWER FOLDER ICON");
  EXPECT_EQ(w.fs.AttributesOf(kCopy), kHidden | kSystem);
  EXPECT_EQ(ReadFolderIcon(w.fs, kTarget), u"ico_Office_folder.ico");
}

TEST(FolderIconWriter, AnotherIconDeletesTheOldCopyAndKeepsOtherLines) {
  World w;
  const std::string before =
      "; written by others\r\n[.ShellClassInfo]\r\nIconFile=ico_Office_folder.ico\r\n"
      "IconIndex=0\r\nLocalizedResourceName=@shell32.dll,-21770\r\n[ViewState]\r\nMode=4\r\n";
  w.fs.AddFile(kIni, before, kHidden | kSystem);
  w.fs.AddFile(kCopy, "FOLDER ICON", kHidden | kSystem);
  EXPECT_TRUE(w.Apply(u"star.ico"));
  EXPECT_FALSE(w.fs.Exists(kCopy));
  EXPECT_TRUE(Has(w.fs.calls, "SetAttributes D:\\Work\\ico_Office_folder.ico 0x80"));
  EXPECT_TRUE(Has(w.fs.calls, "Delete D:\\Work\\ico_Office_folder.ico"));
  EXPECT_EQ(w.fs.Bytes(u"D:\\Work\\ico_Office_star.ico"), "STAR ICON");
  // An existing file keeps its encoding and every other line.
  EXPECT_EQ(w.Ini(),
            "; written by others\r\n[.ShellClassInfo]\r\nIconFile=ico_Office_star.ico\r\n"
            "IconIndex=0\r\nLocalizedResourceName=@shell32.dll,-21770\r\n[ViewState]\r\n"
            "Mode=4\r\n");
  EXPECT_EQ(w.fs.AttributesOf(kIni), kHidden | kSystem);
  // The old copy goes only once the new one is recorded.
  const auto write = std::find_if(w.fs.calls.begin(), w.fs.calls.end(), [](const std::string& c) {
    return c.rfind("ProfileWrite", 0) == 0;
  });
  const auto del =
      std::find(w.fs.calls.begin(), w.fs.calls.end(), "Delete D:\\Work\\ico_Office_folder.ico");
  EXPECT_LT(write, del);
}

TEST(FolderIconWriter, OnlyItsOwnCopyInTheFolderIsEverDeleted) {
  const struct {
    const char* why;
    std::u16string iconFile;
    std::u16string file;  // a real file the value could lead to
  } cases[] = {
      {"the user's own icon", u"folder.ico", u"D:\\Work\\folder.ico"},
      {"no ico_ prefix", u"Desktop.ico", u"D:\\Work\\Desktop.ico"},
      {"parent folder", u"..\\ico_x.ico", u"D:\\ico_x.ico"},
      {"subfolder", u"sub\\ico_x.ico", u"D:\\Work\\sub\\ico_x.ico"},
      {"absolute path", u"C:\\Programs\\ico_x.ico", u"C:\\Programs\\ico_x.ico"},
      {"drive-relative", u"D:ico_x.ico", u"D:\\Work\\ico_x.ico"},
      {"network path", u"\\\\server\\share\\ico_x.ico", u""},
      {"forward slash", u"../ico_x.ico", u"D:\\ico_x.ico"},
      {"only the prefix", u"ico_", u"D:\\Work\\ico_"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_FALSE(IsOwnIconCopy(c.iconFile));
    for (const bool apply : {true, false}) {
      World w;
      w.fs.AddFolder(u"D:\\Work\\sub");
      if (!c.file.empty()) w.fs.AddFile(c.file, "KEEP ME", kHidden);
      w.fs.AddFile(kIni, "[.ShellClassInfo]\r\nIconFile=" + Utf8(c.iconFile) + "\r\n", kHidden);
      EXPECT_TRUE(apply ? w.Apply(u"folder.ico") : w.Clear());
      EXPECT_FALSE(AnyStartsWith(w.fs.calls, "Delete " + Utf8(kTarget) + "ico_x")) << apply;
      EXPECT_FALSE(AnyStartsWith(w.fs.calls, "Delete D:\\ico")) << apply;
      if (!c.file.empty()) {
        EXPECT_EQ(w.fs.Bytes(c.file), "KEEP ME") << apply;
        EXPECT_EQ(w.fs.AttributesOf(c.file), kHidden) << apply;
      }
    }
  }
  EXPECT_TRUE(IsOwnIconCopy(u"ico_Office_folder.ico"));
  EXPECT_TRUE(IsOwnIconCopy(u"ICO_Office_folder.ico"));
}

TEST(FolderIconWriter, TheFolderKeepsItsAttributesAndGainsReadOnly) {
  const struct {
    uint32_t before, set;
  } cases[] = {
      {kDirectory, 0x1},
      {kDirectory | kHidden, 0x3},
      {kDirectory | kHidden | kSystem | kArchive, 0x27},
      {kDirectory | kReadOnly, 0x1},
      {kDirectory | 0x2000, 0x2001},  // not content indexed
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before);
    World w;
    w.fs.AddFolder(kTarget, c.before);
    ASSERT_TRUE(w.Apply(u"folder.ico"));
    char expected[64];
    std::snprintf(expected, sizeof expected, "SetAttributes D:\\Work\\ 0x%X", c.set);
    EXPECT_TRUE(Has(w.fs.calls, expected));
    EXPECT_EQ(w.fs.AttributesOf(kTarget), kDirectory | c.set);
  }
}

TEST(FolderIconWriter, NoSelectionSaysChooseAnIconAndChangesNothing) {
  World w;
  EXPECT_FALSE(ApplyFolderIcon(w.fs, kOwner, kIcons, u"Office", std::nullopt, kTarget));
  ASSERT_EQ(w.fs.messages.size(), 1u);
  EXPECT_EQ(w.fs.messages[0].text, u"Выберите иконку");
  EXPECT_EQ(w.fs.messages[0].caption, u"");
  EXPECT_EQ(w.fs.messages[0].icon, platform::MessageIcon::kInformation);
  EXPECT_EQ(w.fs.messages[0].owner, kOwner);
  EXPECT_EQ(w.fs.calls.size(), 1u);  // the message, nothing else
}

TEST(FolderIconWriter, SourceGoneDoesNothingAndSaysNothing) {
  World w;
  EXPECT_FALSE(w.Apply(u"gone.ico"));
  EXPECT_TRUE(w.fs.calls.empty());
  EXPECT_FALSE(w.fs.Exists(kIni));
}

// Whatever fails, the folder is left exactly as it was and the user is told.
TEST(FolderIconWriter, AFailedCopyOrWriteLeavesTheFolderAsItWas) {
  const std::string iniBefore =
      "[.ShellClassInfo]\r\nIconFile=ico_Office_star.ico\r\nIconIndex=0\r\n";
  const struct {
    const char* what;
    const char* operation;
    std::u16string path;
    bool existingIni;
    bool sameCopyThere;
    const char16_t* message;
  } cases[] = {
      {"copy refused", "Copy", kCopy, true, false,
       u"Не удалось скопировать иконку в папку D:\\Work\\."},
      {"copy over own copy refused", "Copy", kCopy, true, true,
       u"Не удалось скопировать иконку в папку D:\\Work\\."},
      {"write refused", "ProfileWrite", kIni, true, false,
       u"Не удалось записать файл D:\\Work\\Desktop.ini."},
      {"write refused, same copy", "ProfileWrite", kIni, true, true,
       u"Не удалось записать файл D:\\Work\\Desktop.ini."},
      {"new file refused", "CreateNewFile", kIni, false, false,
       u"Не удалось записать файл D:\\Work\\Desktop.ini."},
      {"write to new file refused", "ProfileWrite", kIni, false, false,
       u"Не удалось записать файл D:\\Work\\Desktop.ini."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    World w;
    w.fs.AddFolder(kTarget, kDirectory | kHidden);
    if (c.existingIni) {
      w.fs.AddFile(kIni, iniBefore, kHidden | kSystem);
      w.fs.AddFile(u"D:\\Work\\ico_Office_star.ico", "STAR ICON", kHidden | kSystem);
    }
    if (c.sameCopyThere) w.fs.AddFile(kCopy, "OLD FOLDER ICON", kHidden | kSystem);
    w.fs.Fail(c.operation, c.path, platform::error::kAccessDenied);

    EXPECT_FALSE(w.Apply(u"folder.ico"));
    ASSERT_EQ(w.fs.messages.size(), 1u);
    EXPECT_EQ(w.fs.messages[0].text, std::u16string(c.message) + u"\n\nerror 5");
    EXPECT_EQ(w.fs.messages[0].caption, u"Nestova");
    EXPECT_EQ(w.fs.messages[0].icon, platform::MessageIcon::kError);
    EXPECT_EQ(w.fs.AttributesOf(kTarget), kDirectory | kHidden);
    if (c.existingIni) {
      EXPECT_EQ(w.Ini(), iniBefore);
      EXPECT_EQ(w.fs.AttributesOf(kIni), kHidden | kSystem);
      EXPECT_EQ(w.fs.Bytes(u"D:\\Work\\ico_Office_star.ico"), "STAR ICON");
      EXPECT_EQ(w.fs.AttributesOf(u"D:\\Work\\ico_Office_star.ico"), kHidden | kSystem);
    } else {
      EXPECT_FALSE(w.fs.Exists(kIni));
    }
    if (c.sameCopyThere) {
      EXPECT_EQ(w.fs.AttributesOf(kCopy), kHidden | kSystem);
    } else {
      EXPECT_FALSE(w.fs.Exists(kCopy));
    }
    EXPECT_FALSE(AnyStartsWith(w.fs.calls, "NotifyFolderChanged"));
  }
}

TEST(FolderIconWriter, StandardOnAChangedFolderRemovesCopyIniAndReadOnly) {
  World w;
  w.fs.AddFolder(kTarget, kDirectory | kHidden);
  ASSERT_TRUE(w.Apply(u"folder.ico"));
  w.fs.calls.clear();
  EXPECT_TRUE(w.Clear());
  EXPECT_FALSE(w.fs.Exists(kIni));
  EXPECT_FALSE(w.fs.Exists(kCopy));
  EXPECT_EQ(w.fs.AttributesOf(kTarget), kDirectory | kHidden);
  const std::vector<std::string> expected = {
      "SetAttributes D:\\Work\\Desktop.ini 0x80",
      "ProfileDeleteKey D:\\Work\\Desktop.ini [.ShellClassInfo] IconFile",
      "ProfileDeleteKey D:\\Work\\Desktop.ini [.ShellClassInfo] IconIndex",
      "ProfileFlush D:\\Work\\Desktop.ini",
      "Delete D:\\Work\\Desktop.ini",
      "SetAttributes D:\\Work\\ 0x2",
      "SetAttributes D:\\Work\\ico_Office_folder.ico 0x80",
      "Delete D:\\Work\\ico_Office_folder.ico",
      "NotifyFolderChanged D:\\Work\\",
  };
  EXPECT_EQ(w.fs.calls, expected);
  EXPECT_TRUE(w.fs.messages.empty());
}

TEST(FolderIconWriter, StandardOnANeverChangedFolderChangesNothing) {
  World w;
  w.fs.AddFolder(kTarget, kDirectory | kReadOnly);
  EXPECT_TRUE(w.Clear());
  EXPECT_EQ(w.fs.calls, std::vector<std::string>{"NotifyFolderChanged D:\\Work\\"});
  EXPECT_EQ(w.fs.AttributesOf(kTarget), kDirectory | kReadOnly);
}

TEST(FolderIconWriter, StandardKeepsWhatOtherProgramsWrote) {
  World w;
  w.fs.AddFolder(kTarget, kDirectory | kReadOnly);
  w.fs.AddFile(kCopy, "FOLDER ICON", kHidden | kSystem);
  w.fs.AddFile(kIni,
               "[.ShellClassInfo]\r\nIconFile=ico_Office_folder.ico\r\nIconIndex=0\r\n"
               "LocalizedResourceName=Работа\r\n[ViewState]\r\nMode=4\r\n",
               kHidden | kSystem);
  EXPECT_TRUE(w.Clear());
  EXPECT_EQ(w.Ini(),
            "[.ShellClassInfo]\r\nLocalizedResourceName=Работа\r\n[ViewState]\r\nMode=4\r\n");
  EXPECT_EQ(w.fs.AttributesOf(kIni), kHidden | kSystem);
  EXPECT_EQ(w.fs.AttributesOf(kTarget), kDirectory | kReadOnly);  // still customised
  EXPECT_FALSE(w.fs.Exists(kCopy));
}

TEST(FolderIconWriter, StandardThatCannotWriteDesktopIniSaysSoAndKeepsEverything) {
  World w;
  w.fs.AddFolder(kTarget, kDirectory | kReadOnly);
  const std::string ini = "[.ShellClassInfo]\r\nIconFile=ico_Office_folder.ico\r\nIconIndex=0\r\n";
  w.fs.AddFile(kIni, ini, kHidden | kSystem);
  w.fs.AddFile(kCopy, "FOLDER ICON", kHidden | kSystem);
  w.fs.Fail("ProfileDeleteKey", kIni, platform::error::kAccessDenied);
  EXPECT_FALSE(w.Clear());
  ASSERT_EQ(w.fs.messages.size(), 1u);
  EXPECT_EQ(w.fs.messages[0].text, u"Не удалось изменить файл D:\\Work\\Desktop.ini.\n\nerror 5");
  EXPECT_EQ(w.Ini(), ini);
  EXPECT_EQ(w.fs.AttributesOf(kIni), kHidden | kSystem);
  EXPECT_TRUE(w.fs.Exists(kCopy));
  EXPECT_EQ(w.fs.AttributesOf(kTarget), kDirectory | kReadOnly);
}

TEST(FolderIconWriter, ReadFolderIconNeedsTheFolderAndTheKey) {
  World w;
  EXPECT_EQ(ReadFolderIcon(w.fs, u"D:\\Missing\\"), u"");
  EXPECT_EQ(ReadFolderIcon(w.fs, kTarget), u"");
  w.fs.AddFile(kIni, "[.ShellClassInfo]\r\nIconIndex=0\r\n");
  EXPECT_EQ(ReadFolderIcon(w.fs, kTarget), u"");
  w.fs.AddFile(kIni, "[.shellclassinfo]\r\niconfile=a.ico\r\n");
  EXPECT_EQ(ReadFolderIcon(w.fs, kTarget), u"a.ico");
}

TEST(FolderIconWriter, DesktopIniHoldsNothingElse) {
  const struct {
    std::string bytes;
    bool empty;
  } cases[] = {
      {"", true},
      {"[.ShellClassInfo]\r\n", true},
      {"\r\n  [.shellclassinfo] \r\n\r\n", true},
      {Utf16File(u"[.ShellClassInfo]\r\n"), true},
      {"\xEF\xBB\xBF[.ShellClassInfo]\r\n", true},
      {"[.ShellClassInfo]\r\nConfirmFileOp=0\r\n", false},
      {"[ViewState]\r\n", false},
      {"; a comment\r\n", false},
      {Utf16File(u"[.ShellClassInfo]\r\nLocalizedResourceName=Работа\r\n"), false},
      {"[.ShellClassInfo", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HoldsNothingElse(c.bytes), c.empty) << c.bytes;
  }
}

}  // namespace
}  // namespace nestova
