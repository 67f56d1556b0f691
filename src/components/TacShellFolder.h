#pragma once
// One item of the shell namespace as the folder tree holds it: its item-id
// lists (relative to its parent and to the Desktop), its own folder
// interface when it is a folder, and the questions the tree asks about it.
// Also the process-wide shell state: OLE, the Desktop object and the small
// system image list.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "components/path_rules.h"
#include "platform/handles.h"
#include "platform/platform.h"

namespace nestova::components {

// A copy of an item-id list; null in, null out.
platform::UniquePidl ClonePidl(const ITEMIDLIST* pidl);
// `first` followed by `second`.
platform::UniquePidl CombinePidls(const ITEMIDLIST* first, const ITEMIDLIST* second);
// The first `count` items of the list.
platform::UniquePidl PidlPrefix(const ITEMIDLIST* pidl, int count);
int PidlItemCount(const ITEMIDLIST* pidl);

class TacShellFolder {
 public:
  // A folder object for the item `relative` below `parent` (not owned; the
  // Desktop object when null); `folder` is the item's own folder interface,
  // empty for items that are not folders.
  TacShellFolder(TacShellFolder* parent, const ITEMIDLIST* relative,
                 platform::ComPtr<IShellFolder> folder);
  // The Desktop itself: no parent, empty item-id lists.
  struct DesktopTag {};
  explicit TacShellFolder(DesktopTag);
  TacShellFolder(const TacShellFolder&) = delete;
  TacShellFolder& operator=(const TacShellFolder&) = delete;

  const ITEMIDLIST* RelativeID() const { return FPIDL.get(); }
  const ITEMIDLIST* AbsoluteID() const { return FFullPIDL.get(); }
  TacShellFolder* Parent() const { return FParent; }
  int Level() const { return FLevel; }
  IShellFolder* ShellFolder() const { return FIShellFolder.get(); }
  // A new reference to the folder interface, for a second object of the item.
  platform::ComPtr<IShellFolder> ShellFolderRef() const;

  // The parsing path (C:\, C:\Users\Public, \\server\share) or, for a
  // virtual item, its normal display name (Computer).
  std::u16string PathName() const;
  // The name in its parent folder, "?" when there is no parent interface.
  std::u16string DisplayName(TacShowExtension showExt) const;

  // The shell's attribute bits of the item, asked of its parent's folder.
  ULONG Attributes(ULONG mask) const;
  bool IsFolder(const std::u16string& name, bool openZipFiles) const;
  bool SubFolders() const { return (Attributes(SFGAO_HASSUBFOLDER) & SFGAO_HASSUBFOLDER) != 0; }
  bool CanRename() const { return (Attributes(SFGAO_CANRENAME) & SFGAO_CANRENAME) != 0; }
  bool IsShared() const { return (Attributes(SFGAO_SHARE) & SFGAO_SHARE) != 0; }

  // Renames the item in its parent folder. False when the item cannot be
  // renamed; throws "Rename to <name> failed" when the name is refused, by
  // us or by the shell.
  bool Rename(const std::u16string& newName, HWND owner);

  // Index in the system image list of small (or large) icons.
  int ImageIndex(bool largeIcon, bool open = false) const;

 private:
  IShellFolder* ParentFolder() const;

  platform::UniquePidl FPIDL;
  platform::UniquePidl FFullPIDL;
  TacShellFolder* FParent = nullptr;
  platform::ComPtr<IShellFolder> FIShellFolder;
  int FLevel = 0;
};

// Text of a display-name answer: the shell's text with the "?"-digit rule,
// and a "::{" class id replaced by the normal name.
std::u16string DisplayNameOf(IShellFolder* folder, const ITEMIDLIST* pidl, SHGDNF flags,
                             TacShowExtension showExt);

// The folder interface for `relative` below `folder`; when the folder cannot
// give one, the Desktop binds `absolute`. Empty when neither can.
platform::ComPtr<IShellFolder> BindFolder(IShellFolder* folder, const ITEMIDLIST* relative,
                                          const ITEMIDLIST* absolute, HWND owner);

// The first `limit` items `folder` lists with `flags`, relative to it. An
// enumeration that fails, or succeeds without an enumerator, lists nothing.
std::vector<platform::UniquePidl> EnumerateItems(IShellFolder* folder, HWND owner, SHCONTF flags,
                                                 size_t limit);

// The shell state of the user-interface thread, made once by the program
// (and by test mains) before any shell control, released after the last.
// OLE and the Desktop object are made when first asked for: most starts of
// the program never open the chooser.
class ShellModule {
 public:
  // Files are tested through `platform` (extensions in names, renames).
  explicit ShellModule(platform::Platform& platform);
  ~ShellModule();
  ShellModule(const ShellModule&) = delete;
  ShellModule& operator=(const ShellModule&) = delete;

  // The process-wide Desktop object; throws when no module exists or the
  // shell gives none.
  static TacShellFolder& Desktop();
  // The system image lists of small and of large icons, each asked for once
  // and kept: shared, never ours to free.
  static HIMAGELIST SmallImages();
  static HIMAGELIST LargeImages();
  static platform::Platform& Platform();

 private:
  static HIMAGELIST SystemImages(HIMAGELIST& kept, UINT size);

  platform::Platform& platform_;
  std::optional<platform::OleInit> ole_;
  std::unique_ptr<TacShellFolder> desktop_;
  HIMAGELIST smallImages_ = nullptr;  // the system's
  HIMAGELIST largeImages_ = nullptr;  // the system's
};

}  // namespace nestova::components
