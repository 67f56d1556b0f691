#pragma once
// The system platform, except that message boxes are recorded instead of
// shown and chosen calls can be made to fail.
#include <set>
#include <string>
#include <vector>

#include "forwarding_platform.h"
#include "platform/system_platform.h"

namespace nestova {

class RecordingPlatform : public testing_support::ForwardingPlatform {
 public:
  RecordingPlatform() : ForwardingPlatform(platform::SystemPlatform()) {}
  struct Message {
    Text text, caption;
    platform::MessageIcon icon;
  };
  std::vector<Message> messages;
  std::set<Text> failMakeDirectory;  // paths whose creation fails

  ErrorCode MakeDirectory(const Text& p) override {
    if (failMakeDirectory.contains(p)) return platform::error::kAccessDenied;
    return ForwardingPlatform::MakeDirectory(p);
  }
  void ShowMessage(platform::WindowHandle, const Text& text, const Text& caption,
                   platform::MessageIcon icon) override {
    messages.push_back({text, caption, icon});
  }
  void OpenInShell(platform::WindowHandle, const Text&, int, platform::ShellVerb) override {}
};

}  // namespace nestova
