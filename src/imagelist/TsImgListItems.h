#pragma once
// The image list's items: each accepted file's bytes, kept so that the
// system image list can be built again from them. Win32 (the cached
// rendering is a bitmap).
#include <cstdint>
#include <vector>

#include "imagelist/image_format.h"
#include "platform/handles.h"

namespace nestova::imagelist {

class TsAlphaImageList;

// The framework's pixel formats; items hold pf24bit or pf32bit.
enum TPixelFormat : uint8_t {
  pfDevice,
  pf1bit,
  pf4bit,
  pf8bit,
  pf15bit,
  pf16bit,
  pf24bit,
  pf32bit,
  pfCustom
};

struct TsImgListItem {
  TsImageFormat FImageFormat = ifPNG;
  TPixelFormat FPixelFormat = pf32bit;
  int32_t OrigWidth = 0;  // of the decoded picture, once a regeneration records it
  int32_t OrigHeight = 0;
  std::vector<uint8_t> ImgData;     // the source file's bytes, unchanged
  platform::UniqueBitmap CacheBmp;  // rendering for skinned drawing; loading never sets it

  // Copies everything but the cached rendering.
  void Assign(const TsImgListItem& source) {
    FImageFormat = source.FImageFormat;
    FPixelFormat = source.FPixelFormat;
    OrigWidth = source.OrigWidth;
    OrigHeight = source.OrigHeight;
    ImgData = source.ImgData;
  }
};

class TsImgListItems {
 public:
  explicit TsImgListItems(TsAlphaImageList& owner) : FOwner(owner) {}
  TsImgListItems(const TsImgListItems&) = delete;
  TsImgListItems& operator=(const TsImgListItems&) = delete;

  TsAlphaImageList& Owner() const { return FOwner; }
  int Count() const { return static_cast<int>(items_.size()); }
  TsImgListItem& operator[](int i) { return items_.at(static_cast<size_t>(i)); }
  const TsImgListItem& operator[](int i) const { return items_.at(static_cast<size_t>(i)); }
  TsImgListItem& Add() { return items_.emplace_back(); }
  void Reserve(int count) { items_.reserve(items_.size() + static_cast<size_t>(count)); }
  void Clear() { items_.clear(); }
  auto begin() { return items_.begin(); }
  auto end() { return items_.end(); }

 private:
  TsAlphaImageList& FOwner;
  std::vector<TsImgListItem> items_;
};

}  // namespace nestova::imagelist
