#pragma once
// How the image list tells a file's kind from its first bytes and its name.
// Pure logic: the caller reads the bytes. Portable.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace nestova::imagelist {

enum TsImageFormat : uint8_t { ifPNG = 0, ifICO = 1, ifBMP32 = 2 };

// The longest signature that detection compares.
inline constexpr size_t kSignatureBytes = 8;

// The text after the last "." of the name when no "\" or ":" follows that
// dot, so a dot in a folder name or after a drive letter is no extension; else empty.
std::u16string ExtensionOf(std::u16string_view fileName);

// `start` holds the file's first min(8, fileSize) bytes. A signature of N
// bytes matches only a file of more than N bytes. PNG is tried first; two zero
// bytes are an icon only in a file whose extension is "ico" (ASCII letters in
// any case), and otherwise end the search unrecognised, before "BM" is tried.
// nullopt: not recognised.
std::optional<TsImageFormat> DetectImageFormat(std::span<const uint8_t> start, uint64_t fileSize,
                                               std::u16string_view fileName);

}  // namespace nestova::imagelist
