#include "fake_platform.h"

#include <algorithm>
#include <cstdio>

namespace nestova::testing {
namespace {

using namespace platform;

char16_t Fold(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

std::string Key(std::u16string_view path) {
  std::u16string folded(path);
  std::transform(folded.begin(), folded.end(), folded.begin(), Fold);
  return Utf8(folded);
}

// Without a trailing backslash, except for a drive root (C:\).
Text Canonical(const Text& path) {
  Text p = path;
  while (p.size() > 3 && p.back() == u'\\') p.pop_back();
  return p;
}

Text ParentOf(const Text& path) {
  const size_t sep = path.find_last_of(u'\\');
  if (sep == Text::npos) return {};
  return Canonical(path.substr(0, sep + 1));
}

Text NameOf(const Text& path) {
  const size_t sep = path.find_last_of(u'\\');
  return sep == Text::npos ? path : path.substr(sep + 1);
}

bool Matches(std::u16string_view mask, std::u16string_view name) {
  if (mask.empty()) return name.empty();
  if (mask[0] == u'*') {
    for (size_t skip = 0; skip <= name.size(); ++skip) {
      if (Matches(mask.substr(1), name.substr(skip))) return true;
    }
    return false;
  }
  if (name.empty()) return false;
  if (mask[0] != u'?' && Fold(mask[0]) != Fold(name[0])) return false;
  return Matches(mask.substr(1), name.substr(1));
}

// "*.*" matches names without a dot too, as on Windows.
bool MatchesPattern(const Text& mask, const Text& name) {
  if (mask.size() >= 2 && mask.substr(mask.size() - 2) == u".*" &&
      Matches(mask.substr(0, mask.size() - 2), name)) {
    return true;
  }
  return Matches(mask, name);
}

Text FromUtf8(const std::string& bytes) {
  Text out;
  for (size_t i = 0; i < bytes.size();) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      out += c;
      ++i;
    } else if ((c & 0xE0) == 0xC0 && i + 1 < bytes.size()) {
      out += static_cast<char16_t>(((c & 0x1F) << 6) | (bytes[i + 1] & 0x3F));
      i += 2;
    } else if (i + 2 < bytes.size()) {
      out += static_cast<char16_t>(((c & 0x0F) << 12) | ((bytes[i + 1] & 0x3F) << 6) |
                                   (bytes[i + 2] & 0x3F));
      i += 3;
    } else {
      break;
    }
  }
  return out;
}

Text Trim(std::u16string_view s) {
  size_t a = 0, b = s.size();
  while (a < b && (s[a] == u' ' || s[a] == u'\t')) ++a;
  while (b > a && (s[b - 1] == u' ' || s[b - 1] == u'\t')) --b;
  return Text(s.substr(a, b - a));
}

bool SameName(std::u16string_view a, std::u16string_view b) { return Key(a) == Key(b); }

constexpr char kUtf16Mark[] = "\xFF\xFE";

bool IsUtf16(const std::string& bytes) { return bytes.rfind(kUtf16Mark, 0) == 0; }

Text FromUtf16(const std::string& bytes) {
  Text out;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                 static_cast<unsigned char>(bytes[i + 1]) << 8);
  }
  return out;
}

std::string ToUtf16(const Text& text) {
  std::string out = kUtf16Mark;
  for (char16_t c : text) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  return out;
}

std::vector<Text> Lines(const std::string& bytes) {
  std::vector<Text> lines;
  const Text text = IsUtf16(bytes) ? FromUtf16(bytes) : FromUtf8(bytes);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == Text::npos) end = text.size();
    Text line = text.substr(start, end - start);
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::optional<Text> SectionName(const Text& line) {
  const Text t = Trim(line);
  if (t.size() < 2 || t.front() != u'[') return std::nullopt;
  const size_t close = t.find(u']');
  if (close == Text::npos) return std::nullopt;
  return Trim(std::u16string_view(t).substr(1, close - 1));
}

std::optional<std::pair<Text, Text>> KeyValue(const Text& line) {
  const size_t eq = line.find(u'=');
  if (eq == Text::npos) return std::nullopt;
  return std::make_pair(Trim(std::u16string_view(line).substr(0, eq)),
                        Trim(std::u16string_view(line).substr(eq + 1)));
}

}  // namespace

std::string Utf8(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

FakePlatform::FakePlatform() = default;

void FakePlatform::AddFolder(const Text& path, uint32_t attributes) {
  if (Node* node = Lookup(path)) {
    node->attributes = attributes | attr::kDirectory;
    return;
  }
  nodes_.push_back({Canonical(path), attributes | attr::kDirectory, {}});
}

void FakePlatform::AddFile(const Text& path, std::string bytes, uint32_t attributes) {
  if (Node* node = Lookup(path)) {
    node->attributes = attributes;
    node->bytes = std::move(bytes);
    return;
  }
  nodes_.push_back({Canonical(path), attributes, std::move(bytes)});
}

bool FakePlatform::Exists(const Text& path) const { return Lookup(path) != nullptr; }

std::optional<std::string> FakePlatform::Bytes(const Text& path) const {
  const Node* node = Lookup(path);
  if (!node || (node->attributes & attr::kDirectory)) return std::nullopt;
  return node->bytes;
}

std::optional<uint32_t> FakePlatform::AttributesOf(const Text& path) const {
  const Node* node = Lookup(path);
  if (!node) return std::nullopt;
  return node->attributes;
}

void FakePlatform::Fail(const std::string& operation, const Text& path, ErrorCode code) {
  failures_[{operation, path.empty() ? std::string() : Key(Canonical(path))}] = code;
}

FakePlatform::Node* FakePlatform::Lookup(const Text& path) {
  return const_cast<Node*>(static_cast<const FakePlatform*>(this)->Lookup(path));
}

const FakePlatform::Node* FakePlatform::Lookup(const Text& path) const {
  const std::string key = Key(Canonical(path));
  for (const Node& node : nodes_) {
    if (Key(node.path) == key) return &node;
  }
  return nullptr;
}

std::optional<ErrorCode> FakePlatform::Injected(const std::string& operation,
                                                const Text& path) const {
  for (const std::string& p : {Key(Canonical(path)), std::string()}) {
    const auto it = failures_.find({operation, p});
    if (it != failures_.end()) return it->second;
  }
  return std::nullopt;
}

// A new entry needs an existing folder to live in.
ErrorCode FakePlatform::CanCreate(const Text& path) const {
  const Text parent = ParentOf(Canonical(path));
  const Node* folder = Lookup(parent);
  if (parent.empty() || !folder || !(folder->attributes & attr::kDirectory)) {
    return error::kPathNotFound;
  }
  return error::kNone;
}

AttributeQuery FakePlatform::Attributes(const Text& path) {
  if (const auto e = Injected("Attributes", path)) return {0, *e};
  if (const Node* node = Lookup(path)) return {node->attributes, error::kNone};
  return {0, CanCreate(path) == error::kNone ? error::kFileNotFound : error::kPathNotFound};
}

ErrorCode FakePlatform::SetAttributes(const Text& path, uint32_t attributes) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%X", attributes);
  calls.push_back("SetAttributes " + Utf8(path) + " " + hex);
  if (const auto e = Injected("SetAttributes", path)) return *e;
  Node* node = Lookup(path);
  if (!node) return error::kFileNotFound;
  // Normal alone means "none"; the directory bit is not settable.
  const uint32_t settable = attributes == attr::kNormal ? 0 : attributes & ~attr::kDirectory;
  node->attributes = (node->attributes & attr::kDirectory) | settable;
  if (!(node->attributes & attr::kDirectory) && node->attributes == 0) {
    node->attributes = attr::kNormal;
  }
  return error::kNone;
}

ErrorCode FakePlatform::Copy(const Text& from, const Text& to) {
  calls.push_back("Copy " + Utf8(from) + " -> " + Utf8(to));
  if (const auto e = Injected("Copy", to)) return *e;
  if (const auto e = Injected("Copy", from)) return *e;
  const Node* source = Lookup(from);
  if (!source || (source->attributes & attr::kDirectory)) return error::kFileNotFound;
  if (const ErrorCode e = CanCreate(to)) return e;
  const Node* target = Lookup(to);
  if (target && (target->attributes & (attr::kReadOnly | attr::kHidden | attr::kDirectory))) {
    return error::kAccessDenied;
  }
  const std::string bytes = source->bytes;
  // A copy carries the source's attributes and gets the archive bit.
  AddFile(to, bytes, (source->attributes & ~attr::kNormal) | attr::kArchive);
  return error::kNone;
}

ErrorCode FakePlatform::Delete(const Text& path) {
  calls.push_back("Delete " + Utf8(path));
  if (const auto e = Injected("Delete", path)) return *e;
  const Node* node = Lookup(path);
  if (!node) return CanCreate(path) == error::kNone ? error::kFileNotFound : error::kPathNotFound;
  if (node->attributes & (attr::kReadOnly | attr::kDirectory)) return error::kAccessDenied;
  nodes_.erase(nodes_.begin() + (node - nodes_.data()));
  return error::kNone;
}

ErrorCode FakePlatform::ChangeDirectory(const Text& path) {
  calls.push_back("ChangeDirectory " + Utf8(path));
  if (const auto e = Injected("ChangeDirectory", path)) return *e;
  const Node* node = Lookup(path);
  if (!node || !(node->attributes & platform::attr::kDirectory)) return error::kPathNotFound;
  currentDirectory = path;
  return error::kNone;
}

ErrorCode FakePlatform::MakeDirectory(const Text& path) {
  calls.push_back("MakeDirectory " + Utf8(path));
  if (const auto e = Injected("MakeDirectory", path)) return *e;
  if (Lookup(path)) return error::kAlreadyExists;
  if (const ErrorCode e = CanCreate(path)) return e;
  AddFolder(path);
  return error::kNone;
}

std::vector<FoundEntry> FakePlatform::Find(const Text& pattern) {
  std::vector<FoundEntry> found;
  if (Injected("Find", pattern)) return found;
  const Text folder = ParentOf(pattern);
  const Text mask = NameOf(pattern);
  const Node* dir = Lookup(folder);
  if (!dir || !(dir->attributes & attr::kDirectory)) return found;
  // Every folder but a drive root lists itself and its parent first.
  if (folder.size() > 3) {
    for (const char16_t* dots : {u".", u".."}) {
      if (MatchesPattern(mask, dots)) found.push_back({dots, attr::kDirectory});
    }
  }
  for (const Node& node : nodes_) {
    if (SameName(ParentOf(node.path), folder) && MatchesPattern(mask, NameOf(node.path))) {
      found.push_back({NameOf(node.path), node.attributes});
    }
  }
  return found;
}

ErrorCode FakePlatform::CreateNewFile(const Text& path, const std::string& bytes) {
  calls.push_back("CreateNewFile " + Utf8(path) + " (" + std::to_string(bytes.size()) + " bytes)");
  if (const auto e = Injected("CreateNewFile", path)) return *e;
  if (Lookup(path)) return error::kFileExists;
  if (const ErrorCode e = CanCreate(path)) return e;
  AddFile(path, bytes, attr::kArchive);
  return error::kNone;
}

ErrorCode FakePlatform::ReadWholeFile(const Text& path, std::string& bytes) {
  bytes.clear();
  if (const auto e = Injected("ReadWholeFile", path)) return *e;
  const Node* node = Lookup(path);
  if (!node) return error::kFileNotFound;
  if (node->attributes & attr::kDirectory) return error::kAccessDenied;
  bytes = node->bytes;
  return error::kNone;
}

void FakePlatform::NotifyFolderChanged(const Text& path) {
  calls.push_back("NotifyFolderChanged " + Utf8(path));
}

Text FakePlatform::ProfileRead(const Text& file, const Text& section, const Text& key,
                               const Text& fallback) {
  const Node* node = Lookup(file);
  if (!node || (node->attributes & attr::kDirectory)) return fallback;
  bool inSection = false;
  for (const Text& line : Lines(node->bytes)) {
    if (const auto name = SectionName(line)) {
      inSection = SameName(*name, section);
    } else if (inSection) {
      if (const auto kv = KeyValue(line); kv && SameName(kv->first, key)) return kv->second;
    }
  }
  return fallback;
}

ErrorCode FakePlatform::EditProfile(const Text& file, const Text& section, const Text& key,
                                    const std::optional<Text>& value) {
  if (const auto e = Injected(value ? "ProfileWrite" : "ProfileDeleteKey", file)) return *e;
  Node* node = Lookup(file);
  if (!node) {
    if (!value) return error::kNone;
    if (const ErrorCode e = CanCreate(file)) return e;
    AddFile(file);
    node = Lookup(file);
  }
  if (node->attributes & (attr::kReadOnly | attr::kDirectory)) return error::kAccessDenied;
  std::vector<Text> lines = Lines(node->bytes);
  std::optional<size_t> sectionLine, keyLine, lastInSection;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (const auto name = SectionName(lines[i])) {
      if (sectionLine) break;  // the end of our section
      if (SameName(*name, section)) sectionLine = lastInSection = i;
    } else if (sectionLine) {
      if (!Trim(lines[i]).empty()) lastInSection = i;
      const auto kv = KeyValue(lines[i]);
      if (kv && !keyLine && SameName(kv->first, key)) keyLine = i;
    }
  }
  if (keyLine) {
    if (value) {
      lines[*keyLine] = KeyValue(lines[*keyLine])->first + u"=" + *value;
    } else {
      lines.erase(lines.begin() + static_cast<ptrdiff_t>(*keyLine));
    }
  } else if (value) {
    if (sectionLine) {
      lines.insert(lines.begin() + static_cast<ptrdiff_t>(*lastInSection + 1), key + u"=" + *value);
    } else {
      lines.push_back(u"[" + section + u"]");
      lines.push_back(key + u"=" + *value);
    }
  }
  Text text;
  for (const Text& line : lines) text += line + u"\r\n";
  node->bytes = IsUtf16(node->bytes) ? ToUtf16(text) : Utf8(text);
  return error::kNone;
}

ErrorCode FakePlatform::ProfileWrite(const Text& file, const Text& section, const Text& key,
                                     const Text& value) {
  calls.push_back("ProfileWrite " + Utf8(file) + " [" + Utf8(section) + "] " + Utf8(key) + "=" +
                  Utf8(value));
  return EditProfile(file, section, key, value);
}

ErrorCode FakePlatform::ProfileDeleteKey(const Text& file, const Text& section, const Text& key) {
  calls.push_back("ProfileDeleteKey " + Utf8(file) + " [" + Utf8(section) + "] " + Utf8(key));
  return EditProfile(file, section, key, std::nullopt);
}

void FakePlatform::ProfileFlush(const Text& file) { calls.push_back("ProfileFlush " + Utf8(file)); }

Text FakePlatform::ShortDate(const Date& date) {
  Text out;
  const Text& f = shortDateFormat;
  auto number = [&](int value, size_t width) {
    std::string digits = std::to_string(value);
    while (digits.size() < width) digits.insert(digits.begin(), '0');
    out += FromUtf8(digits);
  };
  for (size_t i = 0; i < f.size();) {
    size_t run = 1;
    while (i + run < f.size() && f[i + run] == f[i]) ++run;
    switch (f[i]) {
      case u'd':
        number(date.day, run >= 2 ? 2 : 1);
        break;
      case u'M':
        number(date.month, run >= 2 ? 2 : 1);
        break;
      case u'y':
        number(run >= 4 ? date.year : date.year % 100, run >= 4 ? 4 : 2);
        break;
      default:
        out += f.substr(i, run);
    }
    i += run;
  }
  return out;
}

void FakePlatform::ShowMessage(WindowHandle owner, const Text& text, const Text& caption,
                               MessageIcon icon) {
  calls.push_back("Message " + Utf8(caption) + ": " + Utf8(text));
  messages.push_back({text, caption, icon, owner});
}

void FakePlatform::OpenInShell(WindowHandle owner, const Text& target, int showCommand,
                               platform::ShellVerb verb) {
  shellOwners.push_back(owner);
  calls.push_back((verb == platform::ShellVerb::kOpen ? "Open " : "Default ") + Utf8(target) + " " +
                  std::to_string(showCommand));
}

Text FakePlatform::ErrorText(ErrorCode code) { return u"error " + FromUtf8(std::to_string(code)); }

}  // namespace nestova::testing
