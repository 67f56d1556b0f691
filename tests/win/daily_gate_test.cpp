// The daily gate on a real config.ini through the system's profile calls,
// with the user's own short date format.
#include <gtest/gtest.h>

#include "app/update_check.h"
#include "platform/system_platform.h"
#include "platform/text.h"
#include "temp_folder.h"

namespace nestova {
namespace {

std::wstring TodayText() {
  wchar_t text[128] = {};
  ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, 128);
  return text;
}

std::wstring StoredLast(const std::wstring& config) {
  wchar_t text[128] = {};
  ::GetPrivateProfileStringW(L"Update", L"Last", L"", text, 128, config.c_str());
  return text;
}

class DailyGateOnDisk : public ::testing::Test {
 protected:
  // How many checks a start begins.
  int StartIn(const std::wstring& programDir) {
    int checks = 0;
    RunDailyGate(platform::SystemPlatform(), platform::FromWide(programDir), [&] { ++checks; });
    return checks;
  }

  TempFolder temp_;
  std::wstring dir_ = temp_.path() + L"\\";
  std::wstring config_ = dir_ + L"config.ini";
};

TEST_F(DailyGateOnDisk, FirstStartCreatesConfigAndTheSameDayChecksNoMore) {
  EXPECT_EQ(StartIn(dir_), 1);
  EXPECT_EQ(StoredLast(config_), TodayText());
  EXPECT_EQ(StartIn(dir_), 0);
  EXPECT_EQ(StartIn(dir_), 0);
}

TEST_F(DailyGateOnDisk, OtherContentIsKeptAndAnyOtherDateTextChecksAgain) {
  ::WritePrivateProfileStringW(L"Other", L"Key", L"kept", config_.c_str());
  // A date written in another format, or another day: any difference counts.
  for (const wchar_t* stored : {L"2000-01-01", L"01.01.2000", L""}) {
    ::WritePrivateProfileStringW(L"Update", L"Last", stored, config_.c_str());
    EXPECT_EQ(StartIn(dir_), 1) << stored;
    EXPECT_EQ(StoredLast(config_), TodayText());
  }
  wchar_t other[32] = {};
  ::GetPrivateProfileStringW(L"Other", L"Key", L"", other, 32, config_.c_str());
  EXPECT_STREQ(other, L"kept");
}

TEST_F(DailyGateOnDisk, AFolderThatTakesNoFileChecksEveryTime) {
  const std::wstring missing = dir_ + L"gone\\";
  EXPECT_EQ(StartIn(missing), 1);
  EXPECT_EQ(StartIn(missing), 1);
  EXPECT_EQ(::GetFileAttributesW((missing + L"config.ini").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace nestova
