#include "app/startup.h"

#include <exception>

#include "components/shell_error.h"

namespace nestova {

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
  return WithTrailingBackslash(target);
}

}  // namespace nestova
