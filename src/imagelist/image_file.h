#pragma once
// The image list's file access: the signature probe, the kind of a file by
// its first bytes and name, and the whole file's bytes. Win32; each call
// opens the file for reading, letting others read it but not write it.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <vector>

#include "imagelist/image_format.h"
#include "platform/platform.h"

namespace nestova::imagelist {

// A file that cannot be opened or read. `code` is the system's error number.
class FileError : public std::runtime_error {
 public:
  FileError(const std::string& what, platform::ErrorCode code)
      : std::runtime_error(what), code(code) {}
  platform::ErrorCode code;
};

// True when the file holds more than `count` bytes (at most 8 are compared)
// and starts with `signature`. Throws FileError when the file cannot be
// opened.
bool FileStartsWith(const platform::Text& fileName, std::span<const uint8_t> signature,
                    size_t count);

// The file's kind, or nullopt when it is not recognised. Throws FileError
// when the file cannot be opened.
std::optional<TsImageFormat> DetectImageFormat(const platform::Text& fileName);

// Appends the file's bytes to `out`. What was read before a failure stays
// there. Throws FileError.
void ReadWholeFile(const platform::Text& fileName, std::vector<uint8_t>& out);

// DetectImageFormat and ReadWholeFile with one opening of the file: when the
// file is recognised, `sink` is given its kind and answers where its bytes
// go, and they are appended there. The same errors as the two calls, also a
// read error after `sink` was called (what was read stays).
std::optional<TsImageFormat> ReadImageFile(
    const platform::Text& fileName,
    const std::function<std::vector<uint8_t>&(TsImageFormat)>& sink);

}  // namespace nestova::imagelist
