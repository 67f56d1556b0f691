#pragma once
// The image list behind the icon view: pictures with per-pixel alpha in a
// system image list, and beside it the bytes of every file it accepted.
// Win32.
//
// Use: construct, SetWidth(32) and SetHeight(32), give Handle() to the list
// view as its large images (the view must not destroy it:
// LVS_SHAREIMAGELISTS), then LoadFromFile per file. A load that took its
// file adds exactly one image, at index = Count() before the load; one that
// did not adds none, so image indices count the successful loads alone.
#include <functional>
#include <span>

#include "imagelist/TsImgListItems.h"
#include "imagelist/frame_strip.h"
#include "platform/handles.h"
#include "platform/platform.h"

namespace nestova::imagelist {

class TsAlphaImageList {
 public:
  // Create and AfterConstruction. A list that is being read from a form
  // file (`readingFromForm`) gets its system image list only in Loaded.
  explicit TsAlphaImageList(platform::Platform& platform, bool readingFromForm = false);
  // Frees the items, then destroys the system image list unless ShareImages.
  ~TsAlphaImageList();
  TsAlphaImageList(const TsAlphaImageList&) = delete;
  TsAlphaImageList& operator=(const TsAlphaImageList&) = delete;

  // After reading from a form file: makes the system image list and
  // generates it from the items.
  void Loaded();

  int Width() const { return width_; }
  int Height() const { return height_; }
  // A new size empties the system image list; the items stay.
  void SetWidth(int value);
  void SetHeight(int value);
  // Settings of the system image list; they act when it is made.
  bool Masked = true;
  int AllocBy = 4;
  // When true the system image list outlives the list.
  bool ShareImages = false;

  // The system image list; the list owns it (see ShareImages). It holds
  // every picture added so far: those still waiting to go in go now.
  HIMAGELIST Handle() const {
    Flush();
    return handle_.get();
  }
  // Images in the system image list, those waiting included; 0 without one.
  int Count() const;
  // Puts the pictures still waiting into the system image list.
  void Flush() const;

  TsImgListItems& Items() { return FItems; }
  const TsImgListItems& Items() const { return FItems; }
  bool StdListIsGenerated() const { return stdListIsGenerated_; }
  bool AcChanging() const { return acChanging_; }
  // When true every accepted file's bytes are kept as an item.
  bool DoubleData = true;
  // When true every icon file goes through the system's icon extraction.
  // Otherwise an icon file whose picture can be taken from its bytes with
  // the same result is added from them, which is many times faster.
  bool SystemIconsOnly = false;

  // CLR_NONE for none; then reading gives the system image list's colour.
  COLORREF BkColor() const;
  void SetBkColor(COLORREF value);
  bool UseCache() const { return useCache_; }
  // Either way every item's cached rendering goes.
  void SetUseCache(bool value);

  // Fired by the change notification.
  std::function<void()> OnChange;

  // Makes room for `count` more items, and for `count` images at once in a
  // list that has none yet, so that adding them does not grow it again and
  // again (each growth copies every image): that empty system image list is
  // made anew with a growth step of `count`, which changes Handle. A list
  // that holds images or shares its system image list keeps it as it is.
  void Reserve(int count);

  // Adds the picture of one file. When the file is not taken, and no error
  // was raised, says "Cannot load " with the file's name in an error box.
  // File errors (FileError) and decoding errors (DecodeError) pass through.
  void LoadFromFile(const platform::Text& fileName);
  // Adds the picture of one file; true when an image was added.
  bool AddFileImage(const platform::Text& fileName);
  // Builds the system image list anew from the items.
  void GenerateStdList();
  void AcBeginUpdate() { acChanging_ = true; }
  void AcEndUpdate(bool doChange);
  // The change notification.
  void Change();

 private:
  void CreateHandle();
  // Adds an icon file's picture straight from its bytes when that is sure
  // to give what the system's icon would; false when nothing was added.
  bool AddIconFromData(std::span<const uint8_t> data);
  void Resize(int width, int height);

  platform::Platform& platform_;
  int width_ = 16;
  int height_ = 16;
  platform::UniqueImageList handle_;
  bool loading_;
  TsImgListItems FItems{*this};
  bool stdListIsGenerated_ = false;
  bool acChanging_ = false;
  COLORREF FBkColor = CLR_NONE;
  bool useCache_ = true;
  // Icon frames read straight from their files wait here and go into the
  // system image list many at a time, before any other change to it.
  mutable FrameStrip strip_;
};

}  // namespace nestova::imagelist
