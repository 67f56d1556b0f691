#pragma once
// Everything the program does to the outside world goes through this one
// interface: files and folders, profile files, the clock and the user's date
// format, message boxes and the shell. The system's implementation is thin
// Win32 (system_platform.h); tests use a recording fake. Portable: no
// Windows headers, text is UTF-16.
#include <cstdint>
#include <string>
#include <vector>

namespace nestova::platform {

using Text = std::u16string;

// The system's error number of a failed call; 0 means success.
using ErrorCode = uint32_t;

// File attribute bits and error numbers, with the values Windows gives them.
namespace attr {
inline constexpr uint32_t kReadOnly = 0x1;
inline constexpr uint32_t kHidden = 0x2;
inline constexpr uint32_t kSystem = 0x4;
inline constexpr uint32_t kDirectory = 0x10;
inline constexpr uint32_t kArchive = 0x20;
inline constexpr uint32_t kNormal = 0x80;
// Every bit that setting attributes can change (read-only, hidden, system,
// archive, temporary, offline, not indexed); the others describe the entry.
inline constexpr uint32_t kSettable = 0x1 | 0x2 | 0x4 | 0x20 | 0x100 | 0x1000 | 0x2000;
}  // namespace attr

namespace error {
inline constexpr ErrorCode kNone = 0;
inline constexpr ErrorCode kFileNotFound = 2;
inline constexpr ErrorCode kPathNotFound = 3;
inline constexpr ErrorCode kAccessDenied = 5;
inline constexpr ErrorCode kFileExists = 80;
inline constexpr ErrorCode kInvalidName = 123;
inline constexpr ErrorCode kAlreadyExists = 183;
// A text holds a character that the target code page cannot represent.
inline constexpr ErrorCode kNoUnicodeTranslation = 1113;
}  // namespace error

struct AttributeQuery {
  uint32_t attributes = 0;  // meaningful when error is 0
  ErrorCode error = error::kNone;
};

struct FoundEntry {
  Text name;  // without path, as the search returns it
  uint32_t attributes = 0;
};

struct Date {
  int year = 0;
  int month = 0;  // 1-12
  int day = 0;    // 1-31
  bool operator==(const Date&) const = default;
};

enum class MessageIcon { kNone, kInformation, kWarning, kError };

// A window that owns a message box or a shell call; opaque here.
using WindowHandle = void*;

// What the shell is asked to do with a document or web address: its
// default action, or "open" by name.
enum class ShellVerb { kDefault, kOpen };

class Platform {
 public:
  virtual ~Platform() = default;

  // Files and folders.
  virtual AttributeQuery Attributes(const Text& path) = 0;
  // Replaces every attribute that can be set.
  virtual ErrorCode SetAttributes(const Text& path, uint32_t attributes) = 0;
  // Copies a file, replacing an existing destination.
  virtual ErrorCode Copy(const Text& from, const Text& to) = 0;
  virtual ErrorCode Delete(const Text& path) = 0;
  virtual ErrorCode MakeDirectory(const Text& path) = 0;
  // The entries matching a pattern (a folder path and a name with * and ?,
  // letter case ignored), in the order the system lists them. A pattern
  // that matches nothing, or a folder that cannot be read, gives none.
  virtual std::vector<FoundEntry> Find(const Text& pattern) = 0;
  // Creates a file holding `bytes`; fails with kFileExists when the path is
  // taken, so nothing is ever overwritten.
  virtual ErrorCode CreateNewFile(const Text& path, const std::string& bytes) = 0;
  // The whole content of a file.
  virtual ErrorCode ReadWholeFile(const Text& path, std::string& bytes) = 0;
  // Tells the shell that a folder's look changed, so that open views show
  // its new icon at once instead of a cached one.
  virtual void NotifyFolderChanged(const Text& path) = 0;

  // Profile (INI) files, key by key: a missing file, section or key reads
  // as the fallback; a write replaces the key in place and adds what is
  // missing, keeping everything else.
  virtual Text ProfileRead(const Text& file, const Text& section, const Text& key,
                           const Text& fallback) = 0;
  virtual ErrorCode ProfileWrite(const Text& file, const Text& section, const Text& key,
                                 const Text& value) = 0;
  virtual ErrorCode ProfileDeleteKey(const Text& file, const Text& section, const Text& key) = 0;
  // Writes the system's cached copy of the file to disk.
  virtual void ProfileFlush(const Text& file) = 0;

  // Time. Today's local date, and a date in the user's short date format as
  // it stood when the program started.
  virtual Date Today() = 0;
  virtual Text ShortDate(const Date& date) = 0;
  // Milliseconds from an arbitrary start, never going back; never sleeps.
  virtual uint64_t MonotonicMs() = 0;

  // The user: a modal message box with one OK button, and the shell's
  // "open" of a document or web address (its result is not reported).
  virtual void ShowMessage(WindowHandle owner, const Text& text, const Text& caption,
                           MessageIcon icon) = 0;
  virtual void OpenInShell(WindowHandle owner, const Text& target, int showCommand,
                           ShellVerb verb) = 0;
  // The system's text for an error number, for telling the user why.
  virtual Text ErrorText(ErrorCode code) = 0;

  // The process.
  virtual Text ModulePath() = 0;   // full path of the running executable
  virtual Text CommandLine() = 0;  // the raw command line
  // The folder relative paths start from.
  virtual ErrorCode ChangeDirectory(const Text& path) = 0;
};

// The directory test: the attribute query succeeds and names a directory.
// Nothing else is checked.
bool IsExistingDirectory(Platform& platform, const Text& path);

// The file test: the attribute query finds the path and it is no directory.
// When the query fails for another reason than "not there" (a locked or
// inaccessible entry), a directory search for the name decides.
bool IsExistingFile(Platform& platform, const Text& path);

// True for the errors that mean "there is no such file or folder".
bool IsNotFound(ErrorCode code);

}  // namespace nestova::platform
