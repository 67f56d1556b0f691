#include "components/path_rules.h"

#include <array>
#include <string>

namespace nestova::components {
namespace {

constexpr std::array<RootFolder, 23> kRootFolders{{
    {u"rfDesktop", 0},
    {u"rfMyComputer", 17},
    {u"rfNetwork", 18},
    {u"rfRecycleBin", 10},
    {u"rfAppData", 26},
    {u"rfCommonDesktopDirectory", 25},
    {u"rfCommonPrograms", 23},
    {u"rfCommonStartMenu", 22},
    {u"rfCommonStartup", 24},
    {u"rfControlPanel", 3},
    {u"rfDesktopDirectory", 16},
    {u"rfFavorites", 6},
    {u"rfFonts", 20},
    {u"rfInternet", 1},
    {u"rfPersonal", 5},
    {u"rfPrinters", 4},
    {u"rfPrintHood", 27},
    {u"rfPrograms", 2},
    {u"rfRecent", 8},
    {u"rfSendTo", 9},
    {u"rfStartMenu", 11},
    {u"rfStartup", 7},
    {u"rfTemplates", 21},
}};

bool IsDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// The extension of the last component, with its dot; empty when none.
std::u16string_view Extension(std::u16string_view name) {
  const size_t dot = name.find_last_of(u".\\:");
  if (dot == std::u16string_view::npos || name[dot] != u'.') return {};
  return name.substr(dot);
}

}  // namespace

std::span<const RootFolder> RootFolders() { return kRootFolders; }

std::optional<int> RootFolderId(std::u16string_view name) {
  for (const RootFolder& root : kRootFolders) {
    if (root.name == name) return root.id;
  }
  return std::nullopt;
}

std::u16string DirectoryPrefix(std::u16string_view path) {
  std::u16string result(path);
  if (result.empty() || result.back() == u'\\') return result;
  if (result.back() == u'/') {
    result.back() = u'\\';
  } else if (result.size() == 1) {
    result += u":\\";
  } else {
    result += u'\\';
  }
  return result;
}

std::u16string StripQuestionDigit(std::u16string_view name) {
  std::u16string result(name);
  if (result.size() >= 2 && result[0] == u'?' && result[1] >= u'0' && result[1] <= u'9') {
    std::erase(result, u'?');
  }
  return result;
}

std::u16string ApplyShowExt(std::u16string_view display, std::u16string_view parsing, bool isFile,
                            TacShowExtension mode) {
  std::u16string result(display);
  if (!isFile) return result;
  const std::u16string_view shown = Extension(display);
  if (mode == TacShowExtension::seShow) {
    const std::u16string_view real = Extension(parsing);
    if (shown != real) result += real;
  } else if (mode == TacShowExtension::seHide && !shown.empty()) {
    result.resize(display.size() - shown.size());
  }
  return result;
}

std::u16string PathRootText(std::u16string_view path) {
  while (path.size() > 1 && path.back() == u'\\') path.remove_suffix(1);
  const size_t sep = path.find_last_of(u'\\');
  return std::u16string(sep == std::u16string_view::npos ? path : path.substr(sep + 1));
}

bool IsAbsolutePath(std::u16string_view path) {
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == u':' && path[2] == u'\\') {
    return true;
  }
  return path.starts_with(u"\\\\");
}

bool CanChoose(platform::Platform& platform, const platform::Text& path) {
  return IsAbsolutePath(path) && platform::IsExistingDirectory(platform, path);
}

platform::Text NewFolderName(platform::Platform& platform, std::u16string_view folder,
                             int32_t last) {
  const std::u16string base = DirectoryPrefix(folder) + u"New folder";
  for (int32_t n = 1; n <= last; ++n) {
    std::u16string candidate = base;
    for (char c : std::to_string(n)) candidate += static_cast<char16_t>(c);
    // A file or a folder we cannot look into takes the number as well:
    // only a name that is plainly not there is free.
    const platform::AttributeQuery query = platform.Attributes(candidate);
    if (query.error != platform::error::kNone && platform::IsNotFound(query.error)) {
      return candidate;
    }
  }
  return {};
}

bool IsAcceptableFolderName(std::u16string_view name) {
  return !name.empty() && name.find_first_of(u"\\/:*?\"<>|") == std::u16string_view::npos;
}

ButtonAction OkAction(bool editing) {
  return editing ? ButtonAction::kEndEditKeepingText : ButtonAction::kClose;
}

ButtonAction CancelAction(bool editing) {
  return editing ? ButtonAction::kStayOpen : ButtonAction::kClose;
}

AfterDelete AfterDeleteCommand(platform::Platform& platform, const platform::Text& path) {
  const platform::AttributeQuery query = platform.Attributes(path);
  return query.error != platform::error::kNone && platform::IsNotFound(query.error)
             ? AfterDelete::kRemoveNode
             : AfterDelete::kRefreshParent;
}

int CompareResult(uint32_t hresult) { return static_cast<int16_t>(hresult & 0xFFFFu); }

}  // namespace nestova::components
