#pragma once
// LV_Icons as the browser fills it: items with captions and picture indices,
// drawn from the image list the view is given.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/browser.h"
#include "imagelist/TsAlphaImageList.h"
#include "platform/platform.h"

namespace nestova {

// An image list the list view can draw from.
class ViewImageList : public IconImageList {
 public:
  // The system image list with every picture added so far.
  virtual HIMAGELIST Handle() const = 0;
  // Room for `count` pictures in an empty list; Handle may change.
  virtual void Reserve(int count) = 0;
};

// The program's own image list of 32 x 32 pictures for the icon view.
class AlphaViewImageList final : public ViewImageList {
 public:
  explicit AlphaViewImageList(platform::Platform& platform) : list_(platform) {
    list_.SetWidth(32);
    list_.SetHeight(32);
  }
  int Count() const override { return list_.Count(); }
  void LoadFromFile(const std::u16string& path) override { list_.LoadFromFile(path); }
  void Reserve(int count) override { list_.Reserve(count); }
  HIMAGELIST Handle() const override { return list_.Handle(); }

 private:
  imagelist::TsAlphaImageList list_;
};

using ImageListFactory = std::function<std::shared_ptr<ViewImageList>()>;

class ListViewIconView final : public IconView {
 public:
  // `view` is a list view made with LVS_SHAREIMAGELISTS: the image lists
  // stay ours. `pump` handles the window messages pending at that moment.
  ListViewIconView(HWND view, ImageListFactory makeList, std::function<void()> pump)
      : view_(view), makeList_(std::move(makeList)), pump_(std::move(pump)) {}

  void RemoveAllItems() override;
  std::shared_ptr<IconImageList> NewImageList() override;
  void ProcessPendingMessages() override { pump_(); }
  void AddItem(const std::u16string& caption, int imageIndex) override;
  void ReserveImages(int count) override;
  void HoldPainting(bool hold) override;

  // The caption of the selected item, if one is selected.
  std::optional<std::u16string> SelectedCaption() const;

 private:
  HWND view_;  // a child of the main window, destroyed with it
  ImageListFactory makeList_;
  std::function<void()> pump_;
  std::shared_ptr<ViewImageList> attached_;  // the list the view draws from
};

}  // namespace nestova
