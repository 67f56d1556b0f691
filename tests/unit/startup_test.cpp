#include "app/startup.h"

#include <gtest/gtest.h>

#include "components/shell_error.h"
#include "fake_platform.h"

namespace nestova {
namespace {

TEST(Startup, ProgramDirFromModulePath) {
  const struct {
    std::u16string_view module, dir;
  } cases[] = {
      {u"C:\\Tools\\x.exe", u"C:\\Tools\\"},
      {u"C:\\x.exe", u"C:\\"},
      {u"\\\\server\\share\\Nestova\\Nestova.exe", u"\\\\server\\share\\Nestova\\"},
      {u"C:\\Tools\\\\x.exe", u"C:\\Tools\\\\"},  // doubled separator is kept as it stands
      {u"C:x.exe", u"C:\\"},
      {u"C:\\\u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u044B\\x.exe",
       u"C:\\\u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u044B\\"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProgramDirFromModulePath(c.module), c.dir);
  }
}

TEST(Startup, TrimRemovesEverythingUpToSpace) {
  EXPECT_EQ(TrimControlAndSpace(u" \t\r\n\x01"
                                u"C:\\My Folder \x1f\t"),
            u"C:\\My Folder");
  EXPECT_EQ(TrimControlAndSpace(u"\t \x01"), u"");
  EXPECT_EQ(TrimControlAndSpace(u"a b"), u"a b");
}

// A file system that knows a fixed set of folders, and a scripted chooser.
struct World {
  testing::FakePlatform platform;
  std::optional<std::u16string> chooserAnswer;  // nullopt: the user cancels
  int chooserCalls = 0;

  std::optional<std::u16string> Resolve(std::u16string_view arg) {
    return ResolveTargetFolder(arg, platform, [&] {
      ++chooserCalls;
      return chooserAnswer;
    });
  }
};

TEST(Startup, ResolveTargetFolder) {
  const std::u16string folders[] = {u"C:\\",     u"C:\\My Folder", u"C:\\Work\\", u"D:\\",
                                    u"D:\\Work", u"Data1",         u"abc",        u"C:\\a"};
  const struct {
    const char* name;
    std::u16string_view arg;
    std::optional<std::u16string> chooser;
    std::optional<std::u16string> target;
    int chooserCalls;
  } cases[] = {
      {"existing folder", u"C:\\My Folder", {}, u"C:\\My Folder\\", 0},
      {"trailing backslash kept single", u"C:\\Work\\", {}, u"C:\\Work\\", 0},
      {"trimmed before testing", u" \tD:\\Work \t", {}, u"D:\\Work\\", 0},
      {"four units pass", u"C:\\a", {}, u"C:\\a\\", 0},
      {"drive root stops without chooser", u"C:\\", {}, std::nullopt, 0},
      {"relative folder used as it stands", u"Data1", {}, u"Data1\\", 0},
      {"three-letter relative folder refused", u"abc", {}, std::nullopt, 0},
      {"no argument, chooser cancelled", u"", std::nullopt, std::nullopt, 1},
      {"no argument, chooser confirmed", u"", u"D:\\Work", u"D:\\Work\\", 1},
      {"missing folder asks the chooser", u"C:\\Gone", u"D:\\Work", u"D:\\Work\\", 1},
      {"a file asks the chooser", u"C:\\file.txt", std::nullopt, std::nullopt, 1},
      {"chooser result no longer exists", u"", u"D:\\Gone", std::nullopt, 1},
      {"chooser result is a drive root", u"", u"D:\\", std::nullopt, 1},
  };
  for (const auto& c : cases) {
    World world{{}, c.chooser};
    for (const std::u16string& folder : folders) world.platform.AddFolder(folder);
    world.platform.AddFile(u"C:\\file.txt");
    EXPECT_EQ(world.Resolve(c.arg), c.target) << c.name;
    EXPECT_EQ(world.chooserCalls, c.chooserCalls) << c.name;
  }
}

// Every spelling of a volume or share root stops the program, as C:\ does;
// a folder below a root opens.
TEST(Startup, RootsInEverySpellingAreRefused) {
  const struct {
    std::u16string_view path;
    bool root;
  } cases[] = {
      {u"C:\\", true},
      {u"C:\\\\", true},
      {u"C:/", true},
      {u"C://", true},
      {u"C:\\.", true},
      {u"C:\\.\\", true},
      {u"C:\\a\\..", true},
      {u"C:\\..\\..", true},
      {u"\\\\?\\C:\\", true},
      {u"\\\\?\\C:", true},
      {u"\\\\.\\C:\\", true},
      {u"\\\\server\\share", true},
      {u"\\\\server\\share\\", true},
      {u"//server/share/", true},
      {u"\\\\server\\share\\.", true},
      {u"\\\\?\\UNC\\server\\share\\", true},
      {u"\\\\?\\Volume{0b1d2c3e-0000-0000-0000-100000000000}\\", true},
      {u"\\", true},
      {u"\\.", true},
      {u"C:\\a", false},
      {u"C:\\a\\", false},
      {u"C:/a/b", false},
      {u"C:\\a\\..\\b", false},
      {u"C:a", false},  // relative to the drive's current folder
      {u"\\\\server\\share\\folder", false},
      {u"\\\\?\\C:\\a", false},
      {u"\\\\?\\UNC\\server\\share\\folder", false},
      {u"\\a", false},
      {u"abc", false},
      {u"Data1", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NamesVolumeOrShareRoot(c.path), c.root) << testing::Utf8(c.path);
  }
}

// A file system in which every path is an existing folder, so only the
// root rule decides.
class EverythingIsAFolder : public testing::FakePlatform {
 public:
  platform::AttributeQuery Attributes(const platform::Text&) override {
    return {platform::attr::kDirectory, platform::error::kNone};
  }
};

TEST(Startup, ResolveTargetFolderStopsAtEveryRootSpelling) {
  EverythingIsAFolder fs;
  int chooserCalls = 0;
  const auto resolve = [&](std::u16string_view arg) {
    return ResolveTargetFolder(arg, fs, [&] {
      ++chooserCalls;
      return std::optional<std::u16string>();
    });
  };
  for (std::u16string_view root :
       {u"C:\\\\", u"C:/", u"C://", u"C:\\.", u"\\\\?\\C:\\", u"\\\\server\\share\\"}) {
    EXPECT_EQ(resolve(root), std::nullopt) << testing::Utf8(root);
  }
  EXPECT_EQ(resolve(u"C:\\a"), u"C:\\a\\");
  EXPECT_EQ(resolve(u"\\\\server\\share\\folder"), u"\\\\server\\share\\folder\\");
  EXPECT_EQ(chooserCalls, 0);
}

}  // namespace
}  // namespace nestova

namespace nestova {
namespace {

// The chooser as start-up sees it: a script of answers, where an answer may
// be an error raised while the window is prepared.
struct ScriptedChooser {
  struct Step {
    bool fails;
    std::optional<std::u16string> answer;
  };
  explicit ScriptedChooser(std::vector<Step> script) : steps(std::move(script)) {}
  std::vector<Step> steps;
  std::vector<bool> calls;  // onRoot of each call
  std::vector<std::u16string> errors;

  std::optional<std::u16string> Run() {
    return RunChooser(
        [this](bool onRoot) -> std::optional<std::u16string> {
          const Step step = steps.at(calls.size());
          calls.push_back(onRoot);
          if (step.fails) throw components::ShellError(u"Error Setting Path");
          return step.answer;
        },
        [this](const std::u16string& text) { errors.push_back(text); });
  }
};

TEST(Startup, ChooserThatCannotPrepareIsShownAgainOnItsRoot) {
  ScriptedChooser chooser({{true, {}}, {false, u"C:\\Work"}});
  EXPECT_EQ(chooser.Run(), u"C:\\Work");
  EXPECT_EQ(chooser.calls, (std::vector<bool>{false, true}));
  EXPECT_EQ(chooser.errors, std::vector<std::u16string>{u"Error Setting Path"});
}

TEST(Startup, ChooserFailingTwiceStopsSilently) {
  ScriptedChooser chooser({{true, {}}, {true, {}}});
  EXPECT_EQ(chooser.Run(), std::nullopt);
  EXPECT_EQ(chooser.calls.size(), 2u);
  EXPECT_EQ(chooser.errors.size(), 1u);  // only the first error is told
}

TEST(Startup, ChooserWithoutErrorsRunsOnce) {
  ScriptedChooser confirmed({{false, u"D:\\Work"}});
  EXPECT_EQ(confirmed.Run(), u"D:\\Work");
  ScriptedChooser cancelled({{false, std::nullopt}});
  EXPECT_EQ(cancelled.Run(), std::nullopt);
  EXPECT_EQ(cancelled.calls, std::vector<bool>{false});
  EXPECT_TRUE(cancelled.errors.empty());
}

}  // namespace
}  // namespace nestova
