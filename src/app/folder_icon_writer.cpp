#include "app/folder_icon_writer.h"

#include <algorithm>

namespace nestova {
namespace {

using platform::ErrorCode;
using platform::Platform;
namespace attr = platform::attr;
namespace error = platform::error;

constexpr char16_t kCaption[] = u"Nestova";
constexpr char16_t kChooseIcon[] = u"Выберите иконку";

// Letter case as the file system ignores it, for Latin and Cyrillic names.
char16_t Fold(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if (c >= u'А' && c <= u'Я') return static_cast<char16_t>(c + 32);
  if (c == u'Ё') return u'ё';
  return c;
}

bool SameName(const std::u16string& a, const std::u16string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char16_t x, char16_t y) { return Fold(x) == Fold(y); });
}

void TellFailure(Platform& platform, platform::WindowHandle owner, const std::u16string& what,
                 ErrorCode code) {
  platform.ShowMessage(owner, what + u"\n\n" + platform.ErrorText(code), kCaption,
                       platform::MessageIcon::kError);
}

// Attributes as found, so a step that fails can put them back.
struct Snapshot {
  bool exists = false;
  uint32_t attributes = 0;
};

Snapshot Take(Platform& platform, const std::u16string& path) {
  const platform::AttributeQuery q = platform.Attributes(path);
  return {q.error == error::kNone, q.attributes};
}

void Restore(Platform& platform, const std::u16string& path, const Snapshot& before) {
  const uint32_t settable = before.attributes & attr::kSettable;
  platform.SetAttributes(path, settable ? settable : attr::kNormal);
}

// The icon copy is gone for good once Desktop.ini no longer names it, so a
// copy that refuses to go only keeps its old attributes.
void DeleteOwnCopy(Platform& platform, const std::u16string& folder, const std::u16string& name) {
  const std::u16string path = folder + name;
  const Snapshot before = Take(platform, path);
  if (!before.exists || (before.attributes & attr::kDirectory)) return;
  platform.SetAttributes(path, attr::kNormal);
  if (platform.Delete(path) != error::kNone) Restore(platform, path, before);
}

// Puts one key back to the value it had; an empty value was a missing key.
void PutBack(Platform& platform, const std::u16string& ini, const char16_t* key,
             const std::u16string& value) {
  if (value.empty()) {
    platform.ProfileDeleteKey(ini, kShellClassInfo, key);
  } else {
    platform.ProfileWrite(ini, kShellClassInfo, key, value);
  }
}

std::u16string Trim(std::u16string_view s) {
  const auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return std::u16string(s);
}

}  // namespace

std::u16string IconCopyName(const std::u16string& collection, const std::u16string& source) {
  const size_t cut = source.find_last_of(u"\\:");
  const std::u16string fileName = cut == std::u16string::npos ? source : source.substr(cut + 1);
  return u"ico_" + collection + u"_" + fileName;
}

bool IsOwnIconCopy(const std::u16string& iconFile) {
  if (iconFile.size() <= 4 || !SameName(iconFile.substr(0, 4), u"ico_")) return false;
  return iconFile.find_first_of(u"\\/:") == std::u16string::npos;
}

std::u16string ReadFolderIcon(Platform& platform, const std::u16string& folder) {
  if (!platform::IsExistingDirectory(platform, folder)) return {};
  return platform.ProfileRead(folder + kDesktopIni, kShellClassInfo, kIconFileKey, u"");
}

ErrorCode WriteFolderIcon(Platform& platform, const std::u16string& folder,
                          const std::u16string& iconFileName) {
  if (!platform::IsExistingDirectory(platform, folder)) return error::kPathNotFound;
  const std::u16string ini = folder + kDesktopIni;
  const Snapshot before = Take(platform, ini);
  const std::u16string oldIconFile = platform.ProfileRead(ini, kShellClassInfo, kIconFileKey, u"");
  const std::u16string oldIconIndex =
      platform.ProfileRead(ini, kShellClassInfo, kIconIndexKey, u"");

  if (before.exists) {
    // A hidden, system or read-only file cannot be written.
    platform.SetAttributes(ini, attr::kNormal);
  } else {
    // The profile functions write Unicode only into a file that starts with
    // this mark; otherwise they would write the ANSI code page.
    const ErrorCode created = platform.CreateNewFile(ini, std::string("\xFF\xFE", 2));
    if (created != error::kNone && created != error::kFileExists) return created;
  }

  ErrorCode result = platform.ProfileWrite(ini, kShellClassInfo, kIconFileKey, iconFileName);
  const bool iconFileWritten = result == error::kNone;
  if (iconFileWritten) result = platform.ProfileWrite(ini, kShellClassInfo, kIconIndexKey, u"0");
  platform.ProfileFlush(ini);
  // An existing 8-bit file stores the name in the system's code page, which
  // may lack some of its letters; the shell would then look for a file that
  // is not there.
  if (result == error::kNone &&
      platform.ProfileRead(ini, kShellClassInfo, kIconFileKey, u"") != iconFileName) {
    result = error::kNoUnicodeTranslation;
  }
  if (result != error::kNone && iconFileWritten) {
    PutBack(platform, ini, kIconFileKey, oldIconFile);
    PutBack(platform, ini, kIconIndexKey, oldIconIndex);
    platform.ProfileFlush(ini);
  }

  if (result == error::kNone) {
    platform.SetAttributes(ini, attr::kHidden | attr::kSystem);
  } else if (before.exists) {
    Restore(platform, ini, before);
  } else {
    platform.Delete(ini);
  }
  return result;
}

bool ApplyFolderIcon(Platform& platform, platform::WindowHandle owner,
                     const std::u16string& iconsDir, const std::u16string& collection,
                     const std::optional<std::u16string>& selected,
                     const std::u16string& targetFolder) {
  if (!selected) {
    platform.ShowMessage(owner, kChooseIcon, u"", platform::MessageIcon::kInformation);
    return false;
  }
  const std::u16string source = iconsDir + collection + u"\\" + *selected;
  const std::u16string copyName = IconCopyName(collection, source);
  // The file went away since the list was made: the list shows what it can.
  if (!platform::IsExistingFile(platform, source)) return false;

  const std::u16string previous = ReadFolderIcon(platform, targetFolder);
  const std::u16string copy = targetFolder + copyName;

  // The copy comes first: until it is there, nothing else changes.
  const Snapshot copyBefore = Take(platform, copy);
  if (copyBefore.exists) platform.SetAttributes(copy, attr::kNormal);  // may be hidden + system
  if (const ErrorCode e = platform.Copy(source, copy); e != error::kNone) {
    if (copyBefore.exists) Restore(platform, copy, copyBefore);
    TellFailure(platform, owner, u"Не удалось скопировать иконку в папку " + targetFolder + u".",
                e);
    return false;
  }
  platform.SetAttributes(copy, attr::kHidden | attr::kSystem);

  if (const ErrorCode e = WriteFolderIcon(platform, targetFolder, copyName); e != error::kNone) {
    if (copyBefore.exists) {
      Restore(platform, copy, copyBefore);
    } else {
      platform.SetAttributes(copy, attr::kNormal);
      platform.Delete(copy);
    }
    TellFailure(platform, owner, u"Не удалось записать файл " + targetFolder + kDesktopIni + u".",
                e);
    return false;
  }

  if (IsOwnIconCopy(previous) && !SameName(previous, copyName))
    DeleteOwnCopy(platform, targetFolder, previous);

  // Read-only marks the folder as customised; its other attributes stay.
  const Snapshot folder = Take(platform, targetFolder);
  const uint32_t kept = folder.exists ? folder.attributes & attr::kSettable : 0;
  platform.SetAttributes(targetFolder, kept | attr::kReadOnly);
  platform.NotifyFolderChanged(targetFolder);
  return true;
}

bool RestoreStandardIcon(Platform& platform, platform::WindowHandle owner,
                         const std::u16string& targetFolder) {
  const std::u16string previous = ReadFolderIcon(platform, targetFolder);
  const std::u16string ini = targetFolder + kDesktopIni;
  const Snapshot iniBefore = Take(platform, ini);

  if (iniBefore.exists && !(iniBefore.attributes & attr::kDirectory)) {
    platform.SetAttributes(ini, attr::kNormal);
    ErrorCode result = platform.ProfileDeleteKey(ini, kShellClassInfo, kIconFileKey);
    const bool iconFileGone = result == error::kNone;
    if (iconFileGone) result = platform.ProfileDeleteKey(ini, kShellClassInfo, kIconIndexKey);
    if (result != error::kNone && iconFileGone) PutBack(platform, ini, kIconFileKey, previous);
    platform.ProfileFlush(ini);
    if (result != error::kNone) {
      Restore(platform, ini, iniBefore);
      platform.ProfileFlush(ini);
      TellFailure(platform, owner, u"Не удалось изменить файл " + ini + u".", result);
      return false;
    }

    // Other programs' sections and keys stay, and so does the mark that
    // makes the shell read them.
    std::string bytes;
    const bool empty =
        platform.ReadWholeFile(ini, bytes) == error::kNone && HoldsNothingElse(bytes);
    if (empty && platform.Delete(ini) == error::kNone) {
      const Snapshot folder = Take(platform, targetFolder);
      if (folder.exists) {
        const uint32_t rest = folder.attributes & attr::kSettable & ~attr::kReadOnly;
        platform.SetAttributes(targetFolder, rest ? rest : attr::kNormal);
      }
    } else {
      Restore(platform, ini, iniBefore);
    }
  }

  if (IsOwnIconCopy(previous)) DeleteOwnCopy(platform, targetFolder, previous);
  platform.NotifyFolderChanged(targetFolder);
  return true;
}

bool HoldsNothingElse(const std::string& bytes) {
  std::u16string text;
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                    static_cast<unsigned char>(bytes[i + 1]) << 8);
    }
  } else {
    // Only ASCII decides here; any other byte is content to keep.
    const size_t start = bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    for (size_t i = start; i < bytes.size(); ++i) text += static_cast<unsigned char>(bytes[i]);
  }
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) end = text.size();
    const std::u16string line = Trim(std::u16string_view(text).substr(start, end - start));
    if (!line.empty()) {
      if (line.size() < 2 || line.front() != u'[' || line.back() != u']') return false;
      if (!SameName(Trim(std::u16string_view(line).substr(1, line.size() - 2)), kShellClassInfo))
        return false;
    }
    start = end + 1;
  }
  return true;
}

}  // namespace nestova
