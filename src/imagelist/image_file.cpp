#include "imagelist/image_file.h"

#include <windows.h>

#include <algorithm>

#include "platform/handles.h"
#include "platform/text.h"

namespace nestova::imagelist {
namespace {

using platform::Text;

std::string Utf8(const Text& text) {
  const std::wstring wide = platform::ToWide(text);
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(std::max(n, 0)), '\0');
  if (n > 0) {
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                          nullptr, nullptr);
  }
  return out;
}

platform::UniqueFile OpenForReading(const Text& fileName) {
  platform::UniqueFile file(::CreateFileW(platform::ToWide(fileName).c_str(), GENERIC_READ,
                                          FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD code = ::GetLastError();
    throw FileError("Cannot open file \"" + Utf8(fileName) + "\"", code);
  }
  return file;
}

[[noreturn]] void ThrowReadError(const Text& fileName) {
  const DWORD code = ::GetLastError();
  throw FileError("Cannot read file \"" + Utf8(fileName) + "\"", code);
}

uint64_t SizeOf(HANDLE file, const Text& fileName) {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file, &size)) ThrowReadError(fileName);
  return static_cast<uint64_t>(size.QuadPart);
}

struct FileStart {
  uint8_t bytes[kSignatureBytes] = {};
  size_t length = 0;  // how many of `bytes` the file has
  uint64_t size = 0;
};

// The open file's size and its first bytes, up to 8.
FileStart ReadStart(HANDLE file, const Text& fileName) {
  FileStart start;
  start.size = SizeOf(file, fileName);
  const DWORD wanted = static_cast<DWORD>(std::min<uint64_t>(start.size, kSignatureBytes));
  DWORD got = 0;
  if (wanted > 0 && (!::ReadFile(file, start.bytes, wanted, &got, nullptr) || got != wanted)) {
    ThrowReadError(fileName);
  }
  start.length = got;
  return start;
}

FileStart ReadStart(const Text& fileName) {
  return ReadStart(OpenForReading(fileName).get(), fileName);
}

// Appends `left` more bytes of the file to `out`; what was read before a
// failure stays there.
void ReadRest(HANDLE file, uint64_t left, const Text& fileName, std::vector<uint8_t>& out) {
  constexpr DWORD kChunk = 1 << 20;
  while (left > 0) {
    const DWORD wanted = static_cast<DWORD>(std::min<uint64_t>(left, kChunk));
    const size_t at = out.size();
    out.resize(at + wanted);
    DWORD got = 0;
    const BOOL ok = ::ReadFile(file, out.data() + at, wanted, &got, nullptr);
    out.resize(at + got);
    if (!ok) ThrowReadError(fileName);
    if (got == 0) break;  // the file shrank meanwhile: what is there is all
    left -= got;
  }
}

}  // namespace

bool FileStartsWith(const Text& fileName, std::span<const uint8_t> signature, size_t count) {
  count = std::min({count, kSignatureBytes, signature.size()});
  const FileStart start = ReadStart(fileName);
  return start.size > count &&
         std::equal(signature.begin(), signature.begin() + count, start.bytes);
}

std::optional<TsImageFormat> DetectImageFormat(const Text& fileName) {
  // One opening serves every signature: the rules themselves are portable.
  const FileStart start = ReadStart(fileName);
  return DetectImageFormat(std::span<const uint8_t>(start.bytes, start.length), start.size,
                           fileName);
}

void ReadWholeFile(const Text& fileName, std::vector<uint8_t>& out) {
  const platform::UniqueFile file = OpenForReading(fileName);
  ReadRest(file.get(), SizeOf(file.get(), fileName), fileName, out);
}

std::optional<TsImageFormat> ReadImageFile(
    const Text& fileName, const std::function<std::vector<uint8_t>&(TsImageFormat)>& sink) {
  const platform::UniqueFile file = OpenForReading(fileName);
  const FileStart start = ReadStart(file.get(), fileName);
  const std::optional<TsImageFormat> kind =
      DetectImageFormat(std::span<const uint8_t>(start.bytes, start.length), start.size, fileName);
  if (!kind) return kind;
  std::vector<uint8_t>& out = sink(*kind);
  out.reserve(out.size() + static_cast<size_t>(start.size));
  out.insert(out.end(), start.bytes, start.bytes + start.length);
  ReadRest(file.get(), start.size - start.length, fileName, out);
  return kind;
}

}  // namespace nestova::imagelist
