#pragma once
// A platform that passes every call on to another one. Tests derive from it
// and override only what they watch or change (for example message boxes
// kept off the screen while the files are real).
#include "platform/platform.h"

namespace nestova::testing_support {

class ForwardingPlatform : public platform::Platform {
 public:
  using Text = platform::Text;
  using ErrorCode = platform::ErrorCode;
  explicit ForwardingPlatform(platform::Platform& to) : to_(to) {}

  platform::AttributeQuery Attributes(const Text& p) override { return to_.Attributes(p); }
  ErrorCode SetAttributes(const Text& p, uint32_t a) override { return to_.SetAttributes(p, a); }
  ErrorCode Copy(const Text& f, const Text& t) override { return to_.Copy(f, t); }
  ErrorCode Delete(const Text& p) override { return to_.Delete(p); }
  ErrorCode MakeDirectory(const Text& p) override { return to_.MakeDirectory(p); }
  std::vector<platform::FoundEntry> Find(const Text& p) override { return to_.Find(p); }
  ErrorCode CreateNewFile(const Text& p, const std::string& b) override {
    return to_.CreateNewFile(p, b);
  }
  ErrorCode ReadWholeFile(const Text& p, std::string& b) override {
    return to_.ReadWholeFile(p, b);
  }
  void NotifyFolderChanged(const Text& p) override { to_.NotifyFolderChanged(p); }
  Text ProfileRead(const Text& f, const Text& s, const Text& k, const Text& d) override {
    return to_.ProfileRead(f, s, k, d);
  }
  ErrorCode ProfileWrite(const Text& f, const Text& s, const Text& k, const Text& v) override {
    return to_.ProfileWrite(f, s, k, v);
  }
  ErrorCode ProfileDeleteKey(const Text& f, const Text& s, const Text& k) override {
    return to_.ProfileDeleteKey(f, s, k);
  }
  void ProfileFlush(const Text& f) override { to_.ProfileFlush(f); }
  platform::Date Today() override { return to_.Today(); }
  Text ShortDate(const platform::Date& d) override { return to_.ShortDate(d); }
  uint64_t MonotonicMs() override { return to_.MonotonicMs(); }
  void ShowMessage(platform::WindowHandle o, const Text& t, const Text& c,
                   platform::MessageIcon i) override {
    to_.ShowMessage(o, t, c, i);
  }
  void OpenInShell(platform::WindowHandle o, const Text& t, int s, platform::ShellVerb v) override {
    to_.OpenInShell(o, t, s, v);
  }
  Text ErrorText(ErrorCode c) override { return to_.ErrorText(c); }
  Text ModulePath() override { return to_.ModulePath(); }
  Text CommandLine() override { return to_.CommandLine(); }
  ErrorCode ChangeDirectory(const Text& p) override { return to_.ChangeDirectory(p); }

 private:
  platform::Platform& to_;
};

}  // namespace nestova::testing_support
