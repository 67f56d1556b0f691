// The daily update check of the real program: a Nestova.exe built to ask a
// local server, copied into a fresh folder so that its config.ini starts
// empty, shows the notice for a newer version and for nothing else, checks
// once a day, and ends at once even while its fetch hangs.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/main_layout.h"
#include "driver.h"
#include "link_recorder.h"
#include "update_server.h"

namespace e2e {
namespace {

using namespace nestova;

constexpr uint16_t kPort = NESTOVA_E2E_UPDATE_PORT;

std::string Ok(const std::string& body) {
  return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
         std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string UpdateFile(const std::string& version, const std::string& page) {
  return Ok("dataversion\r\n" + version + "\r\nNew version\r\n" + page + "\r\n");
}

// Today in the user's short date format, as the program stores it.
std::wstring TodayText() {
  wchar_t text[128] = {};
  ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, 128);
  return text;
}

class UpdateNotice : public testing::Test {
 protected:
  void SetUp() override {
    program_ = temp_.Make(L"Program") + L"\\";
    target_ = temp_.Make(L"Work");
    ASSERT_TRUE(::CopyFileW((BinDir() + L"update-e2e\\Nestova.exe").c_str(),
                            (program_ + L"Nestova.exe").c_str(), FALSE));
  }

  // Starts the copy and waits for its window.
  HWND Start() {
    const std::wstring exe = program_ + L"Nestova.exe";
    app_.emplace(Quoted(exe) + L" " + Quoted(target_), L"", exe);
    main_ = app_->WaitForMainWindow();
    return main_;
  }
  bool NoticeVisible() const {
    return ::IsWindowVisible(FindControl(main_, MainControlId(kSLabel1))) != FALSE;
  }
  std::wstring StoredLast() const {
    wchar_t text[128] = {};
    ::GetPrivateProfileStringW(L"Update", L"Last", L"", text, 128,
                               (program_ + L"config.ini").c_str());
    return text;
  }
  void Cancel() {
    app_->Click(FindControl(main_, MainControlId(kBtnCancel)));
    EXPECT_EQ(app_->WaitForExit(), 0u);
  }

  TempDir temp_;
  std::wstring program_;
  std::wstring target_;
  std::optional<App> app_;
  HWND main_ = nullptr;
};

TEST_F(UpdateNotice, NewerVersionShowsTheNoticeAndItsClickEndsTheProgram) {
  UpdateServer server(kPort, UpdateFile("11", "http://127.0.0.1:1/download"));
  ASSERT_TRUE(server.Listening());
  ASSERT_NE(Start(), nullptr);

  ASSERT_TRUE(PollUntil([&] { return NoticeVisible(); }));
  EXPECT_EQ(server.Requests(), 1);
  EXPECT_EQ(server.LastRequest(),
            "GET /dataversion/nsv.txt HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(kPort) +
                "\r\nAccept: text/html, */*\r\nAccept-Encoding: identity\r\n"
                "User-Agent: Mozilla/3.0 (compatible; Nestova)\r\n\r\n");
  // The first start created config.ini with today's date.
  EXPECT_EQ(StoredLast(), TodayText());

  app_->Click(FindControl(main_, MainControlId(kSLabel1)));
  EXPECT_EQ(app_->WaitForExit(), 0u);
}

struct QuietCase {
  const char* name;
  std::string response;
};

class QuietAnswer : public UpdateNotice, public testing::WithParamInterface<QuietCase> {};

// Nothing to announce: the timer keeps polling, the notice never appears.
// Three timer ticks pass after the answer before the test looks.
TEST_P(QuietAnswer, ShowsNothingAndTheSecondStartTheSameDayAsksNothing) {
  UpdateServer server(kPort, GetParam().response);
  ASSERT_TRUE(server.Listening());
  ASSERT_NE(Start(), nullptr);
  ASSERT_TRUE(PollUntil([&] { return server.Requests() == 1; }));
  ::Sleep(6500);
  EXPECT_FALSE(NoticeVisible());
  Cancel();

  ASSERT_NE(Start(), nullptr);
  ::Sleep(3000);
  EXPECT_EQ(server.Requests(), 1) << "a second check on the same day";
  Cancel();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QuietAnswer,
    testing::Values(QuietCase{"SameVersion", UpdateFile("10", "http://127.0.0.1:1/download")},
                    QuietCase{"PageIsAProgram",
                              UpdateFile("11", "C:\\windows\\system32\\notepad.exe")},
                    QuietCase{"NotFound", "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"}),
    [](const testing::TestParamInfo<QuietCase>& info) { return info.param.name; });

TEST_F(UpdateNotice, AChangedDateChecksAgain) {
  UpdateServer server(kPort, UpdateFile("10", "http://127.0.0.1:1/download"));
  ASSERT_TRUE(server.Listening());
  ::WritePrivateProfileStringW(L"Update", L"Last", L"01.01.2000",
                               (program_ + L"config.ini").c_str());
  ASSERT_NE(Start(), nullptr);
  EXPECT_TRUE(PollUntil([&] { return server.Requests() == 1; }));
  Cancel();
  EXPECT_EQ(StoredLast(), TodayText());
}

// The user's short date format for the test's length; the old one after it.
class ShortDateFormat {
 public:
  explicit ShortDateFormat(const wchar_t* format) {
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, old_, 80);
    ok_ = ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, format) != FALSE;
  }
  ~ShortDateFormat() { ::SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, old_); }
  ShortDateFormat(const ShortDateFormat&) = delete;
  ShortDateFormat& operator=(const ShortDateFormat&) = delete;
  bool ok() const { return ok_; }

 private:
  wchar_t old_[80] = {};
  bool ok_ = false;
};

TEST_F(UpdateNotice, AChangedDateFormatChecksAgainAndStoresTheNewText) {
  UpdateServer server(kPort, UpdateFile("10", "http://127.0.0.1:1/download"));
  ASSERT_TRUE(server.Listening());
  ASSERT_NE(Start(), nullptr);
  ASSERT_TRUE(PollUntil([&] { return server.Requests() == 1; }));
  Cancel();
  const std::wstring before = StoredLast();

  // The user picks another format: the stored text no longer matches today.
  const ShortDateFormat iso(L"yyyy'/'MM'/'dd");
  ASSERT_TRUE(iso.ok());
  wchar_t today[80] = {};
  ::GetDateFormatW(LOCALE_USER_DEFAULT, 0, nullptr, L"yyyy'/'MM'/'dd", today, 80);
  ASSERT_NE(before, today);
  ASSERT_NE(Start(), nullptr);
  EXPECT_TRUE(PollUntil([&] { return server.Requests() == 2; }));
  Cancel();
  EXPECT_EQ(StoredLast(), today);
}

TEST_F(UpdateNotice, CancelDuringAStalledFetchEndsTheProgram) {
  UpdateServer server(kPort, "");  // accepts, reads the request, never answers
  ASSERT_TRUE(server.Listening());
  ASSERT_NE(Start(), nullptr);
  ASSERT_TRUE(PollUntil([&] { return server.Requests() == 1; }));
  Cancel();
}

// Run in the prefix where web addresses open link_recorder.exe instead of a
// browser (see CMakeLists.txt): the click hands exactly the announced page
// to the shell, with show command 5.
class UpdateLinks : public UpdateNotice {
 protected:
  void SetUp() override {
    if (!LinkRecorder::CanRun()) {
      GTEST_SKIP() << "changes which program opens web addresses; runs under Wine only";
    }
    UpdateNotice::SetUp();
    ASSERT_TRUE(recorder_.Register(temp_.path()));
  }
  std::vector<std::string> Opened() const { return recorder_.Opened(); }

  LinkRecorder recorder_;
};

TEST_F(UpdateLinks, TheClickOpensTheAnnouncedPage) {
  UpdateServer server(kPort, UpdateFile("11", "https://127.0.0.1:1/download?from=10"));
  ASSERT_TRUE(server.Listening());
  ASSERT_NE(Start(), nullptr);
  ASSERT_TRUE(PollUntil([&] { return NoticeVisible(); }));
  app_->Click(FindControl(main_, MainControlId(kSLabel1)));
  EXPECT_EQ(app_->WaitForExit(), 0u);
  ASSERT_TRUE(PollUntil([&] { return !Opened().empty(); })) << "the shell opened nothing";
  EXPECT_EQ(Opened(), std::vector<std::string>{"https://127.0.0.1:1/download?from=10\t5"});
}

}  // namespace
}  // namespace e2e
