#include "imagelist/TsAlphaImageList.h"

#include <algorithm>
#include <optional>
#include <span>
#include <stdexcept>

#include "imagelist/bmp_reader.h"
#include "imagelist/frame_strip_win.h"
#include "imagelist/icon_exact_frame.h"
#include "imagelist/icon_maker.h"
#include "imagelist/ico_reader.h"
#include "imagelist/image_file.h"
#include "imagelist/png_decoder.h"

namespace nestova::imagelist {
namespace {

using platform::Text;
using platform::UniqueIcon;

// Icon frames that go into the system image list in one call.
constexpr int kStripFrames = 64;

// Sets a flag for as long as it lives and then puts back what was there,
// also when an error leaves early.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = saved_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool saved_;
};

Picture DecodePicture(TsImageFormat kind, std::span<const uint8_t> data) {
  return kind == ifPNG ? DecodePng(data) : ReadBmp(data);
}

// The icon of one loaded file: every load goes through here. An icon file
// gives its icon through the system; `pixelFormat`, when given, records
// whether its colour image has alpha. PNG and bitmap data are decoded here
// (decoding errors pass through) and keyed on their top-left pixel.
UniqueIcon LoadFileIcon(TsImageFormat kind, std::span<const uint8_t> data, const Text& fileName,
                        TPixelFormat* pixelFormat) {
  if (kind == ifICO) {
    UniqueIcon icon = ExtractFileIcon(fileName);
    if (pixelFormat) *pixelFormat = icon && IconHasAlpha(icon.get()) ? pf32bit : pf24bit;
    return icon;
  }
  if (pixelFormat) *pixelFormat = pf32bit;
  return MakeIconFromPicture(DecodePicture(kind, data));
}

// The system's large-icon size, when the list's cells have it: only then
// does an icon file's frame of that size reach the list unscaled.
std::optional<int> UnscaledIconSize(int width, int height) {
  const int cx = ::GetSystemMetrics(SM_CXICON);
  if (cx != ::GetSystemMetrics(SM_CYICON) || cx != width || cx != height) return std::nullopt;
  return cx;
}

// An icon file's picture for a cell of `size` pixels: its best frame.
Picture ReadIconPicture(std::span<const uint8_t> data, int size) {
  const std::vector<IconFrame> frames = ReadIconDirectory(data);
  const IconFrame& frame = frames[ChooseIconFrame(frames, size)];
  if (frame.isPng) return DecodePng(data.subspan(frame.offset, frame.size));
  return DecodeIconDibFrame(data, frame);
}

}  // namespace

TsAlphaImageList::TsAlphaImageList(platform::Platform& platform, bool readingFromForm)
    : platform_(platform), loading_(readingFromForm) {
  if (loading_) return;
  CreateHandle();
  if (!stdListIsGenerated_) GenerateStdList();
}

TsAlphaImageList::~TsAlphaImageList() {
  FItems.Clear();
  if (ShareImages) handle_.release();
}

void TsAlphaImageList::Loaded() {
  loading_ = false;
  CreateHandle();
  if (!stdListIsGenerated_) {
    GenerateStdList();
    stdListIsGenerated_ = true;
    Change();
  }
}

void TsAlphaImageList::CreateHandle() {
  if (handle_) return;
  // Always 32-bit colour: the pictures carry alpha.
  const UINT flags = ILC_COLOR32 | (Masked ? ILC_MASK : 0);
  handle_.reset(::ImageList_Create(width_, height_, flags, 0, AllocBy));
}

int TsAlphaImageList::Count() const {
  return handle_ ? ::ImageList_GetImageCount(handle_.get()) + strip_.Count() : 0;
}

void TsAlphaImageList::Flush() const {
  // Whatever happens, the strip is spent: should the system refuse it (it
  // has no memory left), its pictures are missing, as a refused single one
  // was before.
  AddToImageList(handle_.get(), strip_);
  strip_.Clear();
}

void TsAlphaImageList::SetWidth(int value) {
  if (value != width_) Resize(value, height_);
}

void TsAlphaImageList::SetHeight(int value) {
  if (value != height_) Resize(width_, value);
}

void TsAlphaImageList::Resize(int width, int height) {
  width_ = width;
  height_ = height;
  if (handle_) ::ImageList_SetIconSize(Handle(), width_, height_);
  Change();
}

COLORREF TsAlphaImageList::BkColor() const {
  if (FBkColor == CLR_NONE && handle_) return ::ImageList_GetBkColor(handle_.get());
  return FBkColor;
}

void TsAlphaImageList::SetBkColor(COLORREF value) {
  FBkColor = value;
  if (handle_) ::ImageList_SetBkColor(handle_.get(), value);
}

void TsAlphaImageList::SetUseCache(bool value) {
  useCache_ = value;
  for (TsImgListItem& item : FItems) item.CacheBmp.reset();
}

void TsAlphaImageList::Reserve(int count) {
  if (count <= 0) return;
  if (DoubleData) FItems.Reserve(count);
  if (!handle_ || ShareImages || Count() > 0 || count <= AllocBy) return;
  // The system image list cannot change its growth step, and shrinking its
  // count gives the room back, so an empty one is simply made again.
  const UINT flags = ILC_COLOR32 | (Masked ? ILC_MASK : 0);
  platform::UniqueImageList roomy(::ImageList_Create(width_, height_, flags, 0, count));
  if (!roomy) return;
  if (FBkColor != CLR_NONE) ::ImageList_SetBkColor(roomy.get(), FBkColor);
  handle_ = std::move(roomy);
}

void TsAlphaImageList::LoadFromFile(const Text& fileName) {
  if (!AddFileImage(fileName)) {
    // No owner window: the box is centred on the screen.
    platform_.ShowMessage(nullptr,
                          u"Cannot load " + fileName + u"\r\nInvalid or unexpected image format.",
                          u"Error", platform::MessageIcon::kError);
  }
}

bool TsAlphaImageList::AddFileImage(const Text& fileName) {
  if (!handle_) return false;
  UniqueIcon icon;
  if (DoubleData && !SystemIconsOnly) {
    // One opening of the file serves the probe and the item's bytes; the
    // item is made as soon as the kind is known and stays, whatever follows.
    TsImgListItem* item = nullptr;
    const std::optional<TsImageFormat> kind =
        ReadImageFile(fileName, [this, &item](TsImageFormat k) -> std::vector<uint8_t>& {
          item = &FItems.Add();
          item->FImageFormat = k;
          return item->ImgData;
        });
    if (!kind) return false;
    if (*kind == ifICO && AddIconFromData(item->ImgData)) {
      // The frame has alpha, as the icon the system would make from it.
      item->FPixelFormat = pf32bit;
      Change();
      return true;
    }
    icon = LoadFileIcon(*kind, item->ImgData, fileName, &item->FPixelFormat);
  } else if (DoubleData) {
    const std::optional<TsImageFormat> kind = DetectImageFormat(fileName);
    if (!kind) return false;
    // From here on the item stays, whatever follows.
    TsImgListItem& item = FItems.Add();
    ReadWholeFile(fileName, item.ImgData);
    item.FImageFormat = *kind;
    icon = LoadFileIcon(*kind, item.ImgData, fileName, &item.FPixelFormat);
  } else {
    const std::optional<TsImageFormat> kind = DetectImageFormat(fileName);
    if (!kind) return false;
    std::vector<uint8_t> data;
    if (*kind != ifICO) ReadWholeFile(fileName, data);
    icon = LoadFileIcon(*kind, data, fileName, nullptr);
  }
  bool added = false;
  if (icon) added = ::ImageList_ReplaceIcon(Handle(), -1, icon.get()) >= 0;
  icon.reset();
  Change();
  return added;
}

bool TsAlphaImageList::AddIconFromData(std::span<const uint8_t> data) {
  const std::optional<int> size = UnscaledIconSize(width_, height_);
  if (!size) return false;
  const std::optional<ExactIconFrame> frame = ReadExactIconFrame(data, *size);
  if (!frame) return false;
  // Colour and mask as they are, the way the system image list takes an
  // icon made from them; it cuts a strip into pictures of its own size.
  if (strip_.Size() != *size) {
    Flush();
    strip_ = FrameStrip(*size);
  }
  strip_.Add(*frame);
  if (strip_.Count() == kStripFrames) Flush();
  return true;
}

void TsAlphaImageList::GenerateStdList() {
  if (!handle_) return;
  const FlagScope changing(acChanging_);
  ::ImageList_Remove(Handle(), -1);
  for (TsImgListItem& item : FItems) {
    const std::span<const uint8_t> data(item.ImgData);
    const Picture picture = item.FImageFormat == ifICO ? ReadIconPicture(data, width_)
                                                       : DecodePicture(item.FImageFormat, data);
    item.OrigWidth = picture.width;
    item.OrigHeight = picture.height;
    // Windows XP and later draw alpha; the program needs no earlier one.
    const UniqueIcon icon = MakeIconFromAlpha(picture);
    if (icon) ::ImageList_ReplaceIcon(handle_.get(), -1, icon.get());
  }
  if (FItems.Count() > 0) {
    stdListIsGenerated_ = true;
    if (!DoubleData) FItems.Clear();
  }
}

void TsAlphaImageList::AcEndUpdate(bool doChange) {
  acChanging_ = false;
  if (doChange) Change();
}

void TsAlphaImageList::Change() {
  if (acChanging_ || !handle_ || loading_ || !stdListIsGenerated_) return;
  // With item data the items are the truth: fewer images than items means
  // a load failed after making its item, and the images are built anew.
  // Other images carry their mask already and need no adjustment.
  if (DoubleData && Count() < FItems.Count()) GenerateStdList();
  if (OnChange) OnChange();
}

}  // namespace nestova::imagelist
