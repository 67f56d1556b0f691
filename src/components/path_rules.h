#pragma once
// The folder chooser's decisions that need no window: root names, name
// texts from the shell, new-folder naming, when OK may close, and what the
// buttons do while a name is being edited. Portable: no Windows headers.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace nestova::components {

// A root name the tree accepts and the special-folder id it stands for.
struct RootFolder {
  std::u16string_view name;
  int id;
};

// In the enumeration's order; a root button's tag is the index here.
std::span<const RootFolder> RootFolders();

// The special-folder id of a root name (exact spelling), or nullopt when the
// text is no root name and so is taken as a folder path.
std::optional<int> RootFolderId(std::u16string_view name);

// Empty stays empty; a final "\" stays; a final "/" becomes "\"; a single
// character gets ":\"; anything else gets "\".
std::u16string DirectoryPrefix(std::u16string_view path);

// Shell names such as "?1?Music" lose every "?" when they start with "?"
// and a digit; other names stay as they are.
std::u16string StripQuestionDigit(std::u16string_view name);

// How file extensions appear in node texts.
enum class TacShowExtension { seSystem, seShow, seHide };

// The node text for a display name when the item's parsing name is a file
// (isFile): seShow appends the file's extension when the display text shows
// another, seHide cuts the display text's extension, seSystem keeps it.
std::u16string ApplyShowExt(std::u16string_view display, std::u16string_view parsing, bool isFile,
                            TacShowExtension mode);

// The text of a root node given as a path: its last component without the
// trailing backslash (C:\Work\Icons\ gives Icons; C:\ gives C:).
std::u16string PathRootText(std::u16string_view path);

// A drive letter followed by ":\", or a path beginning with "\\". Virtual
// items answer with bare names ("Music") that would otherwise be taken
// relative to the current directory.
bool IsAbsolutePath(std::u16string_view path);

// OK and Create are enabled, and a confirmation accepted, only for an
// absolute path that names an existing directory.
bool CanChoose(platform::Platform& platform, const platform::Text& path);

// The first of D + "New folder1", "New folder2", ... (D the folder made a
// directory prefix) that names no existing entry of any kind; empty when
// every number up to `last` is taken.
platform::Text NewFolderName(platform::Platform& platform, std::u16string_view folder,
                             int32_t last = 2147483646);

// A name the user typed for a folder: not empty, and none of \ / : * ? " < > |.
bool IsAcceptableFolderName(std::u16string_view name);

// What OK (Enter) and Cancel (Esc) do: while a name is edited the window
// stays open (OK first ends the edit, keeping the text).
enum class ButtonAction { kClose, kEndEditKeepingText, kStayOpen };
ButtonAction OkAction(bool editing);
ButtonAction CancelAction(bool editing);

// After the shell's "delete" on a folder: the node goes only when the folder
// is gone; a cancelled or partial delete refreshes the parent instead.
enum class AfterDelete { kRemoveNode, kRefreshParent };
AfterDelete AfterDeleteCommand(platform::Platform& platform, const platform::Text& path);

// The shell's comparison result (an HRESULT whose code part orders the two
// items) as a signed number.
int CompareResult(uint32_t hresult);

}  // namespace nestova::components
