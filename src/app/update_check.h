#pragma once
// The daily update check apart from threads and windows: the once-a-day
// gate on config.ini, the worker's fetch and decoding, the hand-off of its
// result to the user-interface thread, and what a click may open.
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "http/socket.h"
#include "http/update_file.h"
#include "platform/platform.h"

namespace nestova {

// What the worker found, read by the user-interface thread. The text and
// the page are published together, so a reader never sees one without the
// other.
class VersionAnnouncement {
 public:
  void Publish(std::u16string text, std::u16string page);
  // True once a newer version with a non-empty text was published.
  bool Announced() const;
  std::u16string Page() const;

 private:
  mutable std::mutex lock_;
  std::u16string text_;
  std::u16string page_;
};

// Runs `startCheck` unless config.ini beside the program says a check was
// already started today, then records today. True when the check was
// started. Today's date is read and formatted once: the text compared is
// the text written. A settings file that cannot be written is no reason to
// skip the check, so it runs again at the next start.
bool RunDailyGate(platform::Platform& platform, const platform::Text& programDir,
                  const std::function<void()>& startCheck);

// The worker's body: fetches `url` and publishes a version newer than
// `currentVersion`. Every failure ends it quietly, publishing nothing.
void CheckForNewVersion(std::string_view url, int32_t currentVersion,
                        const http::SocketFactory& sockets, const http::AnsiDecoder& decodeAnsi,
                        VersionAnnouncement& result);

// Opens the announced page with show command 5 when it is an absolute
// http:// or https:// address; anything else opens nothing.
void OpenAnnouncedPage(platform::Platform& platform, platform::WindowHandle owner,
                       const platform::Text& page);

}  // namespace nestova
