#pragma once
// The system platform, except that message boxes are recorded instead of
// shown and chosen calls can be made to fail.
#include <set>
#include <string>
#include <vector>

#include "platform/system_platform.h"

namespace nestova {

class RecordingPlatform : public platform::Platform {
 public:
  using Text = platform::Text;
  struct Message {
    Text text, caption;
    platform::MessageIcon icon;
  };
  std::vector<Message> messages;
  std::set<Text> failMakeDirectory;  // paths whose creation fails

  platform::AttributeQuery Attributes(const Text& p) override { return os_.Attributes(p); }
  platform::ErrorCode SetAttributes(const Text& p, uint32_t a) override {
    return os_.SetAttributes(p, a);
  }
  platform::ErrorCode Copy(const Text& f, const Text& t) override { return os_.Copy(f, t); }
  platform::ErrorCode Delete(const Text& p) override { return os_.Delete(p); }
  platform::ErrorCode MakeDirectory(const Text& p) override {
    if (failMakeDirectory.contains(p)) return platform::error::kAccessDenied;
    return os_.MakeDirectory(p);
  }
  std::vector<platform::FoundEntry> Find(const Text& p) override { return os_.Find(p); }
  Text ProfileRead(const Text& f, const Text& s, const Text& k, const Text& d) override {
    return os_.ProfileRead(f, s, k, d);
  }
  platform::ErrorCode ProfileWrite(const Text& f, const Text& s, const Text& k,
                                   const Text& v) override {
    return os_.ProfileWrite(f, s, k, v);
  }
  platform::ErrorCode ProfileDeleteKey(const Text& f, const Text& s, const Text& k) override {
    return os_.ProfileDeleteKey(f, s, k);
  }
  void ProfileFlush(const Text& f) override { os_.ProfileFlush(f); }
  platform::Date Today() override { return os_.Today(); }
  Text ShortDate(const platform::Date& d) override { return os_.ShortDate(d); }
  uint64_t MonotonicMs() override { return os_.MonotonicMs(); }
  void ShowMessage(platform::WindowHandle, const Text& text, const Text& caption,
                   platform::MessageIcon icon) override {
    messages.push_back({text, caption, icon});
  }
  void OpenInShell(platform::WindowHandle, const Text&, int) override {}
  Text ErrorText(platform::ErrorCode c) override { return os_.ErrorText(c); }
  Text ModulePath() override { return os_.ModulePath(); }
  Text CommandLine() override { return os_.CommandLine(); }
  platform::ErrorCode ChangeDirectory(const Text& p) override { return os_.ChangeDirectory(p); }

 private:
  platform::Platform& os_ = platform::SystemPlatform();
};

}  // namespace nestova
