#include "app/update_check.h"

#include <utility>
#include <vector>

#include "http/byte_sink.h"
#include "http/http_client.h"
#include "http/web_url.h"

namespace nestova {

void VersionAnnouncement::Publish(std::u16string text, std::u16string page) {
  const std::lock_guard<std::mutex> guard(lock_);
  text_ = std::move(text);
  page_ = std::move(page);
}

bool VersionAnnouncement::Announced() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return !text_.empty();
}

std::u16string VersionAnnouncement::Page() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return page_;
}

bool RunDailyGate(platform::Platform& platform, const platform::Text& programDir,
                  const std::function<void()>& startCheck) {
  const platform::Text config = programDir + u"config.ini";
  bool started = false;
  try {
    const platform::Text today = platform.ShortDate(platform.Today());
    const platform::Text last = platform.ProfileRead(config, u"Update", u"Last", u"");
    if (last != today) {
      startCheck();
      started = true;
      // A failed write only means the next start checks again.
      platform.ProfileWrite(config, u"Update", u"Last", today);
    }
  } catch (...) {
    // The gate never stops the window from opening: any failure here just
    // means no check (or no record of it) this time.
  }
  platform.ProfileFlush(config);
  return started;
}

void CheckForNewVersion(std::string_view url, int32_t currentVersion,
                        const http::SocketFactory& sockets, const http::AnsiDecoder& decodeAnsi,
                        VersionAnnouncement& result) {
  try {
    const std::string copy(url);
    std::vector<uint8_t> body;
    {
      http::VectorSink destination(body);
      http::HttpClient client(sockets);
      client.Get(copy, destination);
    }
    if (const auto notice = http::DecodeUpdateFile(body, currentVersion, decodeAnsi)) {
      result.Publish(notice->text, notice->page);
    }
  } catch (...) {
    // No network, a server error, a malformed file: the check is silent
    // about all of them, and the next one is tomorrow.
  }
}

void OpenAnnouncedPage(platform::Platform& platform, platform::WindowHandle owner,
                       const platform::Text& page) {
  constexpr int kShow = 5;  // SW_SHOW
  if (http::IsOpenableWebUrl(page))
    platform.OpenInShell(owner, page, kShow, platform::ShellVerb::kDefault);
}

}  // namespace nestova
