#pragma once
// The collection and icon browser: which collections the Icons folder holds,
// and the icon view rebuilt for the selected one. The searches and the
// order of the load live here, on the platform; the window supplies the view.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace nestova {

// The image list behind the icon view (TsAlphaImageList in the program).
class IconImageList {
 public:
  virtual ~IconImageList() = default;
  // The number of pictures in the list.
  virtual int Count() const = 0;
  // Adds the picture of one file. When the list takes the file, Count grows
  // by one and the picture sits at the Count before the load. When it
  // cannot, it adds nothing and either tells the user itself (modally, so
  // messages are handled meanwhile) and returns, or throws.
  virtual void LoadFromFile(const std::u16string& path) = 0;
};

// The icon view as the browser fills it.
class IconView {
 public:
  virtual ~IconView() = default;
  virtual void RemoveAllItems() = 0;
  // Drops the current image list, makes a new empty one of 32 x 32 pictures
  // and attaches it to the view. A load that is still running keeps its own
  // list alive through the pointer it holds.
  virtual std::shared_ptr<IconImageList> NewImageList() = 0;
  // Handles the window messages pending at this moment (the emptied view
  // repaints; a queued selection may start another load).
  virtual void ProcessPendingMessages() = 0;
  virtual void AddItem(const std::u16string& caption, int imageIndex) = 0;
  // Makes room in the new, still empty image list for `count` pictures at
  // once, so that it does not grow again and again while they are added.
  virtual void ReserveImages(int count) = 0;
  // While held, added items are not drawn one by one; releasing draws the
  // view once. Releasing when not held does no harm.
  virtual void HoldPainting(bool hold) = 0;
};

// The subfolders of `iconsDir` (which ends with "\"), in the order the
// system lists them, leaving out hidden and system ones, files, "." and "..".
std::vector<std::u16string> ListCollections(platform::Platform& platform,
                                            const std::u16string& iconsDir);

// The files of `folder` (which ends with "\") whose name ends in ".ico" in
// any letter case, directories left out. The search pattern alone would also
// let in names whose short 8.3 form ends in ".ICO", such as "a.icon".
std::vector<std::u16string> ListIconFiles(platform::Platform& platform,
                                          const std::u16string& folder);

class CollectionBrowser {
 public:
  CollectionBrowser(platform::Platform& platform, IconView& view)
      : platform_(platform), view_(view) {}

  // Rebuilds the view for `collection` (empty: none), one item per file the
  // image list took, item k showing picture k. A load that another load
  // starts while it waits (in the message pump or in the image list's error
  // message) ends there: the view belongs to the newer one.
  void LoadCollectionIcons(const std::u16string& iconsDir, const std::u16string& collection);

 private:
  platform::Platform& platform_;
  IconView& view_;
  uint64_t loads_ = 0;  // counts loads started; a load is current while it matches
};

}  // namespace nestova
