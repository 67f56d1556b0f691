#include "imagelist/icon_resource.h"

#include <cstring>
#include <optional>
#include <span>

#include "imagelist/frame_strip.h"
#include "imagelist/frame_strip_win.h"
#include "imagelist/icon_exact_frame.h"

namespace nestova::imagelist {
namespace {

std::span<const uint8_t> ResourceBytes(HMODULE module, const wchar_t* name, const wchar_t* type) {
  HRSRC found = ::FindResourceW(module, name, type);
  HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;  // the module's: not freed
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  if (!bytes) return {};
  return {static_cast<const uint8_t*>(bytes), ::SizeofResource(module, found)};
}

void PutLe32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

uint16_t Le16(std::span<const uint8_t> in, size_t at) {
  return static_cast<uint16_t>(in[at] | in[at + 1] << 8);
}

}  // namespace

std::vector<uint8_t> IconFileFromResource(HMODULE module, int id) {
  // A group is the file's 6-byte header and 14-byte entries that end in the
  // frame's resource number where the file's 16-byte ones end in an offset.
  constexpr size_t kHeader = 6, kGroupEntry = 14, kFileEntry = 16;
  const std::span<const uint8_t> group = ResourceBytes(module, MAKEINTRESOURCEW(id), RT_GROUP_ICON);
  if (group.size() < kHeader) return {};
  const size_t count = Le16(group, 4);
  if (group.size() < kHeader + count * kGroupEntry) return {};
  std::vector<uint8_t> file(kHeader + count * kFileEntry);
  std::memcpy(file.data(), group.data(), kHeader);
  for (size_t i = 0; i < count; ++i) {
    const size_t in = kHeader + i * kGroupEntry, out = kHeader + i * kFileEntry;
    const std::span<const uint8_t> frame =
        ResourceBytes(module, MAKEINTRESOURCEW(Le16(group, in + 12)), RT_ICON);
    if (frame.empty()) return {};
    std::memcpy(file.data() + out, group.data() + in, 8);  // sizes, colours, planes, depth
    PutLe32(file, out + 8, static_cast<uint32_t>(frame.size()));
    PutLe32(file, out + 12, static_cast<uint32_t>(file.size()));
    file.insert(file.end(), frame.begin(), frame.end());
  }
  return file;
}

platform::UniqueImageList LoadIconResourceImage(HMODULE module, int id, int size) {
  platform::UniqueImageList list(::ImageList_Create(size, size, ILC_COLOR32, 1, 0));
  if (!list) return list;
  if (const std::optional<ExactIconFrame> frame =
          ReadExactIconFrame(IconFileFromResource(module, id), size)) {
    FrameStrip strip(size);
    strip.Add(*frame);
    AddToImageList(list.get(), strip);
    return list;
  }
  const platform::UniqueIcon icon(static_cast<HICON>(
      ::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
  ::ImageList_ReplaceIcon(list.get(), -1, icon.get());
  return list;
}

}  // namespace nestova::imagelist
