#pragma once
// A platform for native tests: an in-memory file system with profile files,
// a settable clock, and a record of every call that changes something or
// reaches the user. Any operation can be told to fail on a path.
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace nestova::testing {

using platform::Text;

// UTF-16 to UTF-8, for readable expectations and failure messages.
std::string Utf8(std::u16string_view text);

class FakePlatform : public platform::Platform {
 public:
  FakePlatform();

  // The world. Paths are Windows paths; letter case is ignored, as there.
  void AddFolder(const Text& path, uint32_t attributes = platform::attr::kDirectory);
  void AddFile(const Text& path, std::string bytes = {},
               uint32_t attributes = platform::attr::kArchive);
  bool Exists(const Text& path) const;
  std::optional<std::string> Bytes(const Text& path) const;
  std::optional<uint32_t> AttributesOf(const Text& path) const;

  // Makes every later call of `operation` ("Copy", "SetAttributes", ...) on
  // `path` fail with `code`; an empty path stands for every path.
  void Fail(const std::string& operation, const Text& path, platform::ErrorCode code);

  // What happened, in order: "SetAttributes C:\W\x.ico 0x80", "Delete C:\W\x",
  // "Copy A -> B", "ProfileWrite C:\W\Desktop.ini [s] k=v", "ProfileFlush F",
  // "MakeDirectory D", "Message <caption>: <text>", "Open <target> 5" (the
  // "open" verb), "Default <target> 5" (the default action), "CreateNewFile F
  // (n bytes)", "NotifyFolderChanged D". Profile files are
  // UTF-8, or UTF-16 LE when they begin with its byte-order mark, as there.
  std::vector<std::string> calls;
  struct Message {
    Text text;
    Text caption;
    platform::MessageIcon icon;
    platform::WindowHandle owner;
  };
  std::vector<Message> messages;
  // The owner window of each OpenInShell, in order.
  std::vector<platform::WindowHandle> shellOwners;

  platform::Date today{2026, 12, 10};
  Text shortDateFormat = u"dd.MM.yyyy";  // d, dd, M, MM, yy, yyyy and literal text
  uint64_t monotonicMs = 0;
  Text modulePath = u"C:\\Programs\\Nestova\\Nestova.exe";
  Text commandLine = u"\"C:\\Programs\\Nestova\\Nestova.exe\"";

  platform::AttributeQuery Attributes(const Text& path) override;
  platform::ErrorCode SetAttributes(const Text& path, uint32_t attributes) override;
  platform::ErrorCode Copy(const Text& from, const Text& to) override;
  platform::ErrorCode Delete(const Text& path) override;
  platform::ErrorCode MakeDirectory(const Text& path) override;
  std::vector<platform::FoundEntry> Find(const Text& pattern) override;
  platform::ErrorCode CreateNewFile(const Text& path, const std::string& bytes) override;
  platform::ErrorCode ReadWholeFile(const Text& path, std::string& bytes) override;
  void NotifyFolderChanged(const Text& path) override;
  Text ProfileRead(const Text& file, const Text& section, const Text& key,
                   const Text& fallback) override;
  platform::ErrorCode ProfileWrite(const Text& file, const Text& section, const Text& key,
                                   const Text& value) override;
  platform::ErrorCode ProfileDeleteKey(const Text& file, const Text& section,
                                       const Text& key) override;
  void ProfileFlush(const Text& file) override;
  platform::Date Today() override { return today; }
  Text ShortDate(const platform::Date& date) override;
  uint64_t MonotonicMs() override { return monotonicMs; }
  void ShowMessage(platform::WindowHandle owner, const Text& text, const Text& caption,
                   platform::MessageIcon icon) override;
  void OpenInShell(platform::WindowHandle owner, const Text& target, int showCommand,
                   platform::ShellVerb verb) override;
  Text ErrorText(platform::ErrorCode code) override;
  Text ModulePath() override { return modulePath; }
  Text CommandLine() override { return commandLine; }
  // Records "ChangeDirectory D" and keeps it in currentDirectory.
  platform::ErrorCode ChangeDirectory(const Text& path) override;
  Text currentDirectory;

 private:
  struct Node {
    Text path;  // as created, without a trailing backslash (but C:\ keeps its own)
    uint32_t attributes;
    std::string bytes;
  };
  Node* Lookup(const Text& path);
  const Node* Lookup(const Text& path) const;
  std::optional<platform::ErrorCode> Injected(const std::string& operation, const Text& path) const;
  platform::ErrorCode CanCreate(const Text& path) const;
  platform::ErrorCode EditProfile(const Text& file, const Text& section, const Text& key,
                                  const std::optional<Text>& value);

  std::vector<Node> nodes_;  // in creation order, which is the order Find lists
  std::map<std::pair<std::string, std::string>, platform::ErrorCode> failures_;
};

}  // namespace nestova::testing
