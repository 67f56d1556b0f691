#include "components/TacShellFolder.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "components/shell_error.h"
#include "platform/text.h"

namespace nestova::components {
namespace {

ShellModule* g_module = nullptr;  // the one module of the process, while it lives

size_t PidlSize(const ITEMIDLIST* pidl, int count) {
  size_t size = 0;
  const BYTE* p = reinterpret_cast<const BYTE*>(pidl);
  for (int i = 0; i < count; ++i) {
    USHORT cb;
    std::memcpy(&cb, p + size, sizeof cb);
    if (cb == 0) break;
    size += cb;
  }
  return size;
}

// A list of the first `sizeA` bytes of `a` followed by the first `sizeB` of
// `b`, with the terminating zero after them.
platform::UniquePidl JoinPidlBytes(const ITEMIDLIST* a, size_t sizeA, const ITEMIDLIST* b = nullptr,
                                   size_t sizeB = 0) {
  auto* copy = static_cast<BYTE*>(::CoTaskMemAlloc(sizeA + sizeB + sizeof(USHORT)));
  if (!copy) throw std::bad_alloc();
  if (sizeA) std::memcpy(copy, a, sizeA);
  if (sizeB) std::memcpy(copy + sizeA, b, sizeB);
  std::memset(copy + sizeA + sizeB, 0, sizeof(USHORT));
  return platform::UniquePidl(reinterpret_cast<ITEMIDLIST*>(copy));
}

std::u16string LowerAscii(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return text;
}

}  // namespace

int PidlItemCount(const ITEMIDLIST* pidl) {
  int count = 0;
  if (!pidl) return 0;
  const BYTE* p = reinterpret_cast<const BYTE*>(pidl);
  for (;;) {
    USHORT cb;
    std::memcpy(&cb, p, sizeof cb);
    if (cb == 0) return count;
    p += cb;
    ++count;
  }
}

platform::UniquePidl ClonePidl(const ITEMIDLIST* pidl) {
  if (!pidl) return {};
  return JoinPidlBytes(pidl, PidlSize(pidl, PidlItemCount(pidl)));
}

platform::UniquePidl PidlPrefix(const ITEMIDLIST* pidl, int count) {
  return JoinPidlBytes(pidl, PidlSize(pidl, count));
}

platform::UniquePidl CombinePidls(const ITEMIDLIST* first, const ITEMIDLIST* second) {
  const size_t a = first ? PidlSize(first, PidlItemCount(first)) : 0;
  const size_t b = second ? PidlSize(second, PidlItemCount(second)) : 0;
  return JoinPidlBytes(first, a, second, b);
}

std::u16string DisplayNameOf(IShellFolder* folder, const ITEMIDLIST* pidl, SHGDNF flags,
                             TacShowExtension showExt) {
  if (!folder) return u"?";
  STRRET answer{};
  if (FAILED(folder->GetDisplayNameOf(pidl, flags, &answer))) return {};
  wchar_t* raw = nullptr;
  // StrRetToStrW reads every STRRET form and frees the shell's string.
  if (FAILED(::StrRetToStrW(&answer, pidl, &raw)) || !raw) return {};
  std::u16string text = platform::FromWide(raw);
  ::CoTaskMemFree(raw);
  text = StripQuestionDigit(text);
  if (showExt != TacShowExtension::seSystem) {
    const std::u16string parsing =
        DisplayNameOf(folder, pidl, SHGDN_FORPARSING, TacShowExtension::seSystem);
    text = ApplyShowExt(text, parsing, platform::IsExistingFile(ShellModule::Platform(), parsing),
                        showExt);
  }
  if (text.starts_with(u"::{") && flags != SHGDN_NORMAL) {
    return DisplayNameOf(folder, pidl, SHGDN_NORMAL, showExt);
  }
  return text;
}

platform::ComPtr<IShellFolder> BindFolder(IShellFolder* folder, const ITEMIDLIST* relative,
                                          const ITEMIDLIST* absolute, HWND owner) {
  platform::ComPtr<IShellFolder> result;
  if (folder &&
      SUCCEEDED(folder->BindToObject(relative, nullptr, IID_IShellFolder, result.put_void())) &&
      result) {
    return result;
  }
  if (folder &&
      SUCCEEDED(folder->GetUIObjectOf(owner, 1, &relative, IID_IShellFolder, nullptr,
                                      result.put_void())) &&
      result) {
    return result;
  }
  // The Desktop is asked with the full list: a relative one means nothing to it.
  TacShellFolder& desktop = ShellModule::Desktop();
  if (PidlItemCount(absolute) == 0) return desktop.ShellFolderRef();
  if (SUCCEEDED(desktop.ShellFolder()->BindToObject(absolute, nullptr, IID_IShellFolder,
                                                    result.put_void()))) {
    return result;
  }
  return {};
}

std::vector<platform::UniquePidl> EnumerateItems(IShellFolder* folder, HWND owner, SHCONTF flags,
                                                 size_t limit) {
  std::vector<platform::UniquePidl> result;
  platform::ComPtr<IEnumIDList> items;
  // Success without an enumerator means there is nothing to list.
  if (!folder || FAILED(folder->EnumObjects(owner, flags, items.put())) || !items) return result;
  while (result.size() < limit) {
    ITEMIDLIST* raw = nullptr;  // ours to free
    ULONG fetched = 0;
    if (items->Next(1, &raw, &fetched) != S_OK || !raw) {
      platform::UniquePidl stray(raw);
      break;
    }
    result.emplace_back(raw);
  }
  return result;
}

TacShellFolder::TacShellFolder(DesktopTag)
    : FPIDL(JoinPidlBytes(nullptr, 0)), FFullPIDL(JoinPidlBytes(nullptr, 0)) {
  if (FAILED(::SHGetDesktopFolder(FIShellFolder.put())) || !FIShellFolder) {
    throw std::runtime_error("the shell gives no Desktop folder");
  }
}

TacShellFolder::TacShellFolder(TacShellFolder* parent, const ITEMIDLIST* relative,
                               platform::ComPtr<IShellFolder> folder)
    : FPIDL(ClonePidl(relative)),
      FParent(parent ? parent : &ShellModule::Desktop()),
      FIShellFolder(std::move(folder)) {
  FFullPIDL = CombinePidls(FParent->AbsoluteID(), FPIDL.get());
  int ancestors = 0;
  for (const TacShellFolder* p = FParent; p; p = p->FParent) ++ancestors;
  FLevel = std::max(0, ancestors - 1);
}

platform::ComPtr<IShellFolder> TacShellFolder::ShellFolderRef() const {
  if (FIShellFolder) FIShellFolder->AddRef();
  return platform::ComPtr<IShellFolder>(FIShellFolder.get());
}

IShellFolder* TacShellFolder::ParentFolder() const {
  return FParent ? FParent->ShellFolder() : nullptr;
}

std::u16string TacShellFolder::PathName() const {
  return DisplayNameOf(ShellModule::Desktop().ShellFolder(), FFullPIDL.get(), SHGDN_FORPARSING,
                       TacShowExtension::seSystem);
}

std::u16string TacShellFolder::DisplayName(TacShowExtension showExt) const {
  return DisplayNameOf(ParentFolder(), FPIDL.get(), SHGDN_INFOLDER, showExt);
}

ULONG TacShellFolder::Attributes(ULONG mask) const {
  IShellFolder* parent = ParentFolder();
  if (!parent) return 0;
  ULONG attributes = mask;
  const ITEMIDLIST* item = FPIDL.get();
  if (FAILED(parent->GetAttributesOf(1, &item, &attributes))) return 0;
  return attributes & mask;
}

bool TacShellFolder::IsFolder(const std::u16string& name, bool openZipFiles) const {
  if (!openZipFiles && LowerAscii(name).ends_with(u".zip")) return false;
  return (Attributes(SFGAO_FOLDER) & SFGAO_FOLDER) != 0;
}

bool TacShellFolder::Rename(const std::u16string& newName, HWND owner) {
  if (!CanRename()) return false;
  const ShellError refused(u"Rename to " + newName + u" failed");
  // The shell would take some of these as a path; none names a folder.
  if (!IsAcceptableFolderName(newName)) throw refused;
  ITEMIDLIST* renamed = nullptr;  // ours to free
  const std::wstring wide = platform::ToWide(newName);
  if (FAILED(ParentFolder()->SetNameOf(owner, FPIDL.get(), wide.c_str(), SHGDN_NORMAL, &renamed))) {
    throw refused;
  }
  platform::UniquePidl owned(renamed);
  if (owned) {
    FPIDL = std::move(owned);
    FFullPIDL = CombinePidls(FParent->AbsoluteID(), FPIDL.get());
  }
  return true;
}

int TacShellFolder::ImageIndex(bool largeIcon, bool open) const {
  SHFILEINFOW info{};
  const UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX |
                     (largeIcon ? SHGFI_LARGEICON : SHGFI_SMALLICON) | (open ? SHGFI_OPENICON : 0);
  ::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(FFullPIDL.get()), 0, &info, sizeof info, flags);
  return info.iIcon;
}

ShellModule::ShellModule(platform::Platform& platform) : platform_(platform) {
  if (g_module) throw std::logic_error("one shell module per process");
  g_module = this;
}

ShellModule::~ShellModule() {
  g_module = nullptr;
  desktop_.reset();  // its interfaces go before OLE does
}

TacShellFolder& ShellModule::Desktop() {
  if (!g_module) throw std::logic_error("no shell module");
  if (!g_module->desktop_) {
    if (!g_module->ole_) g_module->ole_.emplace();
    g_module->desktop_ = std::make_unique<TacShellFolder>(TacShellFolder::DesktopTag{});
  }
  return *g_module->desktop_;
}

// Asked for when first needed: the shell builds a system image list slowly,
// and a start on a folder given on the command line never shows one.
HIMAGELIST ShellModule::SystemImages(HIMAGELIST& kept, UINT size) {
  if (!kept) {
    SHFILEINFOW info{};
    kept = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | size));
  }
  return kept;
}

HIMAGELIST ShellModule::SmallImages() {
  if (!g_module) return nullptr;
  const bool first = !g_module->smallImages_;
  HIMAGELIST small = SystemImages(g_module->smallImages_, SHGFI_SMALLICON);
  if (first && small) ImageList_SetBkColor(small, CLR_NONE);
  return small;
}

HIMAGELIST ShellModule::LargeImages() {
  return g_module ? SystemImages(g_module->largeImages_, SHGFI_LARGEICON) : nullptr;
}

platform::Platform& ShellModule::Platform() {
  if (!g_module) throw std::logic_error("no shell module");
  return g_module->platform_;
}

}  // namespace nestova::components
