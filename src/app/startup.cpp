#include "app/startup.h"

#include <exception>
#include <vector>

#include "components/shell_error.h"

namespace nestova {
namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool IsDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    const char16_t a = text[i], b = prefix[i];
    if (IsSeparator(a) && IsSeparator(b)) continue;
    const auto lower = [](char16_t c) {
      return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    };
    if (lower(a) != lower(b)) return false;
  }
  return true;
}

// The names of the path's parts after its root, with "." dropped and ".."
// taking back the part before it (never beyond the root), as the system
// resolves them.
std::vector<std::u16string_view> PartsBelowRoot(std::u16string_view rest) {
  std::vector<std::u16string_view> parts;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = start;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    const std::u16string_view part = rest.substr(start, end - start);
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  return parts;
}

}  // namespace

bool NamesVolumeOrShareRoot(std::u16string_view path) {
  // Device path prefixes: \\?\ and \\.\ name the same things without them.
  bool device = false;
  if (StartsWith(path, u"\\\\?\\") || StartsWith(path, u"\\\\.\\")) {
    path.remove_prefix(4);
    device = true;
    if (StartsWith(path, u"UNC\\")) {
      path.remove_prefix(4);
      // \\?\UNC\server\share: a share root below its two names.
      const std::vector<std::u16string_view> parts = PartsBelowRoot(path);
      return parts.size() <= 2;
    }
  }
  if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == u':') {
    // C:x is relative to the drive's current folder; only C:\... is rooted.
    const std::u16string_view rest = path.substr(2);
    return (rest.empty() && device) ||
           (!rest.empty() && IsSeparator(rest[0]) && PartsBelowRoot(rest).empty());
  }
  if (device) {
    // \\?\Volume{...}\ and the like: a volume named by the first part.
    return PartsBelowRoot(path).size() <= 1;
  }
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    // \\server\share\...: the share's root is the first two names.
    return PartsBelowRoot(path.substr(2)).size() <= 2;
  }
  // \ or \.: the root of the current drive.
  return !path.empty() && IsSeparator(path[0]) && PartsBelowRoot(path).empty();
}

std::u16string TrimControlAndSpace(std::u16string_view text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && text[first] <= u' ') ++first;
  while (last > first && text[last - 1] <= u' ') --last;
  return std::u16string(text.substr(first, last - first));
}

std::u16string ProgramDirFromModulePath(std::u16string_view modulePath) {
  const size_t sep = modulePath.find_last_of(u"\\:");
  std::u16string dir(sep == std::u16string_view::npos ? std::u16string_view()
                                                      : modulePath.substr(0, sep + 1));
  // Drop the final backslash of a plain folder, but keep the one of a root
  // (C:\, \) or of a doubled separator.
  const size_t n = dir.size();
  if (n > 1 && dir[n - 1] == u'\\' && dir[n - 2] != u':' && dir[n - 2] != u'\\') {
    dir.pop_back();
  }
  return WithTrailingBackslash(dir);
}

std::u16string WithTrailingBackslash(std::u16string_view path) {
  std::u16string result(path);
  if (result.empty() || result.back() != u'\\') result += u'\\';
  return result;
}

namespace {

std::u16string TextOf(const std::exception& e) {
  if (const auto* shell = dynamic_cast<const components::ShellError*>(&e)) return shell->text();
  const std::string what = e.what();
  return std::u16string(what.begin(), what.end());
}

}  // namespace

std::optional<std::u16string> RunChooser(
    const ShowChooser& show, const std::function<void(const std::u16string&)>& showError) {
  try {
    return show(false);
  } catch (const std::exception& e) {
    // A window on a folder the user never chose must not follow: say what
    // went wrong and offer the chooser once more, on its root.
    showError(TextOf(e));
  }
  try {
    return show(true);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::optional<std::u16string> ResolveTargetFolder(std::u16string_view argument1,
                                                  platform::Platform& platform,
                                                  const ChooseFolder& chooseFolder) {
  std::u16string target = TrimControlAndSpace(argument1);
  if (target.empty() || !platform::IsExistingDirectory(platform, target)) {
    std::optional<std::u16string> chosen = chooseFolder();
    if (!chosen) return std::nullopt;
    target = std::move(*chosen);
  }
  // Checked again: the chooser may hand back something that is no folder.
  if (!platform::IsExistingDirectory(platform, target)) return std::nullopt;
  // A drive root can never be the target; measured before the backslash is
  // added, so C:\ (3) and C: (2) are refused and C:\a (4) passes.
  if (target.size() < 4) return std::nullopt;
  // Any other spelling of a root would let Desktop.ini land in a drive's root.
  if (NamesVolumeOrShareRoot(target)) return std::nullopt;
  return WithTrailingBackslash(target);
}

}  // namespace nestova
