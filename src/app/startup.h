#pragma once
// The folder rules of start-up: where the program lives and which folder it
// is asked to change. Pure text logic; the file system is asked through the
// platform and the user through the chooser, so the rules can be tested
// without either.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace nestova {

// Removes every leading and trailing character up to U+0020.
std::u16string TrimControlAndSpace(std::u16string_view text);

// The executable's folder with one trailing backslash: C:\Tools\x.exe gives
// C:\Tools\ and C:\x.exe gives C:\ .
std::u16string ProgramDirFromModulePath(std::u16string_view modulePath);

std::u16string WithTrailingBackslash(std::u16string_view path);

// Asks the user for a folder; nullopt when cancelled, else the chooser's
// resulting path (which may not be a folder at all).
using ChooseFolder = std::function<std::optional<std::u16string>()>;

// Shows the folder chooser: `show(onRoot)` runs it (opened on the tree's
// root when onRoot) and gives nullopt on cancel; it throws when it cannot
// prepare its window. Such an error is told through `showError` and the
// chooser opened once more on its root; when that fails too the answer is
// nullopt, silently.
using ShowChooser = std::function<std::optional<std::u16string>(bool onRoot)>;
std::optional<std::u16string> RunChooser(
    const ShowChooser& show, const std::function<void(const std::u16string&)>& showError);

// True when the path, however it is spelled, names the root of a volume or
// of a network share: C:\, C:/, C://, C:\., C:\a\.., \\?\C:\,
// \\server\share\, \\?\UNC\server\share, \\?\Volume{...}\, \ .
bool NamesVolumeOrShareRoot(std::u16string_view path);

// The target folder with one trailing backslash, or nullopt when the program
// has to stop: chooser cancelled, no existing folder, anything shorter than
// C:\a, or the root of a volume or share in any other spelling.
std::optional<std::u16string> ResolveTargetFolder(std::u16string_view argument1,
                                                  platform::Platform& platform,
                                                  const ChooseFolder& chooseFolder);

}  // namespace nestova
