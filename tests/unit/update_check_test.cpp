// The daily update check's rules: the gate on config.ini in a fake world,
// the worker against a scripted server on 127.0.0.1, and what a click opens.
#include "app/update_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "fake_platform.h"
#include "http/system_socket.h"
#include "support/scripted_server.h"

namespace nestova {
namespace {

using testing::FakePlatform;
using testing::Reply;
using testing::ScriptedServer;

const platform::Text kProgramDir = u"C:\\Programs\\Nestova\\";
const platform::Text kConfig = u"C:\\Programs\\Nestova\\config.ini";
const std::string kConfigUtf8 = "C:\\Programs\\Nestova\\config.ini";

struct GateCase {
  const char* name;
  std::optional<platform::Text> storedLast;  // nullopt: no config.ini at all
  platform::Text dateFormat;
  bool writeFails;
  bool expectStarted;
};

const GateCase kGateCases[] = {
    {"first start, no config.ini", std::nullopt, u"dd.MM.yyyy", false, true},
    {"same day", u"10.12.2026", u"dd.MM.yyyy", false, false},
    {"yesterday", u"09.12.2026", u"dd.MM.yyyy", false, true},
    {"clock set back: a later stored day", u"11.12.2026", u"dd.MM.yyyy", false, true},
    {"same day, another date format", u"10.12.2026", u"yyyy-MM-dd", false, true},
    {"same day, stored text differs in case", u"10.DEC.2026", u"dd.MM.yyyy", false, true},
    {"config.ini cannot be written", std::nullopt, u"dd.MM.yyyy", true, true},
};

TEST(DailyGate, ChecksOncePerDateText) {
  for (const GateCase& c : kGateCases) {
    SCOPED_TRACE(c.name);
    FakePlatform fake;
    fake.AddFolder(u"C:\\Programs");
    fake.AddFolder(kProgramDir);
    fake.shortDateFormat = c.dateFormat;
    if (c.storedLast) fake.ProfileWrite(kConfig, u"Update", u"Last", *c.storedLast);
    if (c.writeFails) fake.Fail("ProfileWrite", kConfig, platform::error::kAccessDenied);
    fake.calls.clear();

    int starts = 0;
    const bool started = RunDailyGate(fake, kProgramDir, [&] { ++starts; });

    EXPECT_EQ(started, c.expectStarted);
    EXPECT_EQ(starts, c.expectStarted ? 1 : 0);
    const std::string today = testing::Utf8(fake.ShortDate(fake.today));
    std::vector<std::string> expected;
    if (c.expectStarted) {
      expected.push_back("ProfileWrite " + kConfigUtf8 + " [Update] Last=" + today);
    }
    expected.push_back("ProfileFlush " + kConfigUtf8);
    EXPECT_EQ(fake.calls, expected);

    // What the next start on the same day does: it checks again only when
    // nothing could be stored.
    int laterStarts = 0;
    RunDailyGate(fake, kProgramDir, [&] { ++laterStarts; });
    EXPECT_EQ(laterStarts, c.writeFails ? 1 : 0);
  }
}

// The clock passes midnight between two readings: what is stored must be the
// very text that was compared, or the next start compares the wrong day.
class MidnightPlatform final : public FakePlatform {
 public:
  platform::Date Today() override {
    const platform::Date now = today;
    today.day += 1;
    return now;
  }
};

TEST(DailyGate, StoresTheDateItCompared) {
  MidnightPlatform fake;
  fake.AddFolder(u"C:\\Programs");
  fake.AddFolder(kProgramDir);
  fake.today = {2026, 12, 10};
  EXPECT_TRUE(RunDailyGate(fake, kProgramDir, [] {}));
  EXPECT_EQ(fake.ProfileRead(kConfig, u"Update", u"Last", u""), u"10.12.2026");
}

TEST(DailyGate, AFailedStartIsNotRecorded) {
  FakePlatform fake;
  fake.AddFolder(u"C:\\Programs");
  fake.AddFolder(kProgramDir);
  const bool started =
      RunDailyGate(fake, kProgramDir, [] { throw std::runtime_error("no thread"); });
  EXPECT_FALSE(started);
  EXPECT_EQ(fake.ProfileRead(kConfig, u"Update", u"Last", u""), u"");
}

// ASCII is all the test files need from the ANSI code page.
std::u16string DecodeAscii(std::span<const uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

struct WorkerCase {
  const char* name;
  std::string reply;
  bool expectAnnounced;
  std::u16string expectPage;
};

std::string Ok(std::string_view body) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" +
         std::string(body);
}

const WorkerCase kWorkerCases[] = {
    {"newer", Ok("dataversion\r\n11\r\nNew!\r\nhttp://example.com/get\r\n"), true,
     u"http://example.com/get"},
    {"newer, https page, extra lines", Ok("DataVersion\n$B\nNew!\nhttps://example.com/\nx\ny\n"),
     true, u"https://example.com/"},
    {"same version", Ok("dataversion\r\n10\r\nNew!\r\nhttp://example.com/get\r\n"), false, u""},
    {"older version", Ok("dataversion\r\n9\r\nNew!\r\nhttp://example.com/get\r\n"), false, u""},
    {"file ends after line 3", Ok("dataversion\r\n11\r\nNew!\r\n"), false, u""},
    {"page is a program", Ok("dataversion\r\n11\r\nNew!\r\nC:\\Windows\\calc.exe\r\n"), false, u""},
    {"page is a network path", Ok("dataversion\r\n11\r\nNew!\r\n\\\\server\\share\r\n"), false,
     u""},
    {"empty text", Ok("dataversion\r\n11\r\n\r\nhttp://example.com/get\r\n"), false, u""},
    {"not found", "HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\nnope", false, u""},
    {"redirect", "HTTP/1.1 302 Found\r\nLocation: http://x/\r\nContent-Length: 0\r\n\r\n", false,
     u""},
    {"cut short", "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\ndataversion\r\n11\r\nNew!\r\nht",
     false, u""},
    {"empty body", Ok(""), false, u""},
    {"silent close", "", false, u""},
};

TEST(UpdateWorker, AnnouncesOnlyANewerVersionWithAPage) {
  for (const WorkerCase& c : kWorkerCases) {
    SCOPED_TRACE(c.name);
    ScriptedServer server({Reply{{c.reply}}});
    VersionAnnouncement result;
    CheckForNewVersion("http://127.0.0.1:" + std::to_string(server.Port()) + "/dataversion/nsv.txt",
                       10, http::SystemSocketFactory(), DecodeAscii, result);
    server.Finish();
    EXPECT_EQ(server.Problem(), "");
    EXPECT_EQ(result.Announced(), c.expectAnnounced);
    EXPECT_EQ(result.Page(), c.expectPage);
  }
}

TEST(UpdateWorker, WritesNoFile) {
  // A user's own version.chk in the current folder is neither replaced nor
  // deleted, and no other file appears.
  const auto folder = std::filesystem::temp_directory_path() / "nestova-worker-cwd";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "version.chk") << "mine";
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);

  ScriptedServer server({Reply{{Ok("dataversion\r\n11\r\nNew!\r\nhttp://example.com/\r\n")}}});
  VersionAnnouncement result;
  CheckForNewVersion("http://127.0.0.1:" + std::to_string(server.Port()) + "/dataversion/nsv.txt",
                     10, http::SystemSocketFactory(), DecodeAscii, result);
  server.Finish();
  std::filesystem::current_path(previous);

  EXPECT_TRUE(result.Announced());
  std::ifstream in(folder / "version.chk");
  std::string content((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(content, "mine");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
  std::filesystem::remove_all(folder);
}

TEST(UpdateWorker, NothingListensNothingAnnounced) {
  testing::RefusingPort port;
  VersionAnnouncement result;
  CheckForNewVersion("http://127.0.0.1:" + std::to_string(port.Port()) + "/dataversion/nsv.txt", 10,
                     http::SystemSocketFactory(), DecodeAscii, result);
  EXPECT_FALSE(result.Announced());
}

struct ClickCase {
  std::u16string page;
  bool opens;
};

const ClickCase kClickCases[] = {
    {u"http://example.com/get", true},
    {u"HTTPS://example.com/", true},
    {u"", false},
    {u"C:\\Windows\\System32\\calc.exe", false},
    {u"\\\\server\\share\\setup.exe", false},
    {u"file:///C:/Windows/System32/calc.exe", false},
    {u"javascript:alert(1)", false},
    {u"calc", false},
    {u"http://", false},
    {u"www.example.com", false},
};

TEST(NoticeClick, OpensOnlyWebAddressesWithShowCommand5) {
  for (const ClickCase& c : kClickCases) {
    SCOPED_TRACE(testing::Utf8(c.page));
    FakePlatform fake;
    OpenAnnouncedPage(fake, nullptr, c.page);
    const std::vector<std::string> expected =
        c.opens ? std::vector<std::string>{"Default " + testing::Utf8(c.page) + " 5"}
                : std::vector<std::string>{};
    EXPECT_EQ(fake.calls, expected);
  }
}

TEST(VersionAnnouncement, TextAndPageArePublishedTogether) {
  VersionAnnouncement announcement;
  EXPECT_FALSE(announcement.Announced());
  EXPECT_EQ(announcement.Page(), u"");
  announcement.Publish(u"New!", u"http://example.com/");
  EXPECT_TRUE(announcement.Announced());
  EXPECT_EQ(announcement.Page(), u"http://example.com/");
}

}  // namespace
}  // namespace nestova
