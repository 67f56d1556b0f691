#include "app/extracted_icon_list.h"

#include <commctrl.h>
#include <shellapi.h>

#include <stdexcept>

#include "platform/text.h"

namespace nestova {

ExtractedIconList::ExtractedIconList(HINSTANCE instance)
    : instance_(instance), list_(::ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 0, 4)) {
  if (!list_) throw std::runtime_error("cannot create an image list");
}

int ExtractedIconList::Count() const { return ::ImageList_GetImageCount(list_.get()); }

void ExtractedIconList::LoadFromFile(const std::u16string& path) {
  HICON extracted = ::ExtractIconW(instance_, platform::ToWide(path).c_str(), 0);
  // 0: no icon in the file; 1: not an icon file at all. Neither is a handle.
  if (extracted == nullptr || extracted == reinterpret_cast<HICON>(1))
    throw std::runtime_error("no icon in the file");
  const platform::UniqueIcon icon(extracted);  // ours to destroy
  if (::ImageList_ReplaceIcon(list_.get(), -1, icon.get()) < 0)
    throw std::runtime_error("the image list refused the icon");
}

}  // namespace nestova
