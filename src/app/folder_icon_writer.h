#pragma once
// Gives a folder a custom icon and takes it away again: the icon copy in the
// folder, its Desktop.ini and the attributes that make the shell use them.
// Every decision lives here, on the platform, so it runs in tests as it runs
// on Windows; the window only supplies the selection and closes itself.
#include <optional>
#include <string>

#include "platform/platform.h"

namespace nestova {

inline constexpr char16_t kDesktopIni[] = u"Desktop.ini";
inline constexpr char16_t kShellClassInfo[] = u".ShellClassInfo";
inline constexpr char16_t kIconFileKey[] = u"IconFile";
inline constexpr char16_t kIconIndexKey[] = u"IconIndex";

// "ico_" + collection + "_" + the file-name part of `source` (the text after
// its last "\" or ":").
std::u16string IconCopyName(const std::u16string& collection, const std::u16string& source);

// True for an "IconFile" value that names an icon copy this tool made: a bare
// file name (it cannot lead out of the folder) that begins with "ico_".
// Nothing else is ever deleted: it may be the user's own file.
bool IsOwnIconCopy(const std::u16string& iconFile);

// The "IconFile" value of `folder` + "Desktop.ini", or empty when the folder,
// the file or the key is missing. `folder` ends with "\".
std::u16string ReadFolderIcon(platform::Platform& platform, const std::u16string& folder);

// Points `folder` + "Desktop.ini" at `iconFileName` (IconIndex 0) and makes
// it hidden and system. A new Desktop.ini is UTF-16 with a byte-order mark,
// so that names in any script survive; an existing one keeps its encoding and
// its other lines. On failure the file is left as it was and the system's
// error is returned.
platform::ErrorCode WriteFolderIcon(platform::Platform& platform, const std::u16string& folder,
                                    const std::u16string& iconFileName);

// The "Применить" button and a double-click in the icon view. `selected` is
// the caption of the selected icon, if any. Returns true when the window is
// to close: the folder has its new icon. On every other outcome the window
// stays open, the folder is as it was, and a failure has been told to the
// user with the system's reason.
bool ApplyFolderIcon(platform::Platform& platform, platform::WindowHandle owner,
                     const std::u16string& iconsDir, const std::u16string& collection,
                     const std::optional<std::u16string>& selected,
                     const std::u16string& targetFolder);

// The "Стандарт" button: takes this tool's icon out of the folder and keeps
// whatever else Desktop.ini holds. Returns true when the window is to close;
// false after a failure that has been told to the user.
bool RestoreStandardIcon(platform::Platform& platform, platform::WindowHandle owner,
                         const std::u16string& targetFolder);

// True when a Desktop.ini (UTF-16 with its mark, or 8-bit) holds nothing but
// blank lines and an empty ".ShellClassInfo" section, so that deleting it
// loses nothing.
bool HoldsNothingElse(const std::string& desktopIniBytes);

}  // namespace nestova
