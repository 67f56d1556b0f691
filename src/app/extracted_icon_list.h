#pragma once
// Interim image list for the icon view, until TsAlphaImageList takes its
// place: the system's own icon extraction (ExtractIconW) into a 32 x 32
// system image list. A file without an icon throws, so the browser skips it
// without a message.
#include <windows.h>

#include "app/icon_view_win.h"
#include "platform/handles.h"

namespace nestova {

class ExtractedIconList final : public ViewImageList {
 public:
  explicit ExtractedIconList(HINSTANCE instance);
  int Count() const override;
  void LoadFromFile(const std::u16string& path) override;
  HIMAGELIST Handle() const override { return list_.get(); }

 private:
  HINSTANCE instance_;
  platform::UniqueImageList list_;
};

}  // namespace nestova
