#include "app/browser.h"

#include <exception>

namespace nestova {
namespace {

namespace attr = platform::attr;

bool EndsWithIco(const std::u16string& name) {
  if (name.size() < 4) return false;
  const std::u16string_view tail(name.data() + name.size() - 4, 4);
  const auto lower = [](char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
  };
  return tail[0] == u'.' && lower(tail[1]) == u'i' && lower(tail[2]) == u'c' &&
         lower(tail[3]) == u'o';
}

class PaintingHeld {
 public:
  explicit PaintingHeld(IconView& view) : view_(view) {}
  ~PaintingHeld() { view_.HoldPainting(false); }
  PaintingHeld(const PaintingHeld&) = delete;
  PaintingHeld& operator=(const PaintingHeld&) = delete;

 private:
  IconView& view_;
};

}  // namespace

std::vector<std::u16string> ListCollections(platform::Platform& platform,
                                            const std::u16string& iconsDir) {
  std::vector<std::u16string> names;
  for (const platform::FoundEntry& entry : platform.Find(iconsDir + u"*.*")) {
    if (entry.attributes & (attr::kHidden | attr::kSystem)) continue;
    if (entry.name == u"." || entry.name == u"..") continue;
    if (platform::IsExistingDirectory(platform, iconsDir + entry.name)) names.push_back(entry.name);
  }
  return names;
}

std::vector<std::u16string> ListIconFiles(platform::Platform& platform,
                                          const std::u16string& folder) {
  std::vector<std::u16string> names;
  for (const platform::FoundEntry& entry : platform.Find(folder + u"*.ico")) {
    if (entry.attributes & attr::kDirectory) continue;
    if (EndsWithIco(entry.name)) names.push_back(entry.name);
  }
  return names;
}

void CollectionBrowser::LoadCollectionIcons(const std::u16string& iconsDir,
                                            const std::u16string& collection) {
  const uint64_t load = ++loads_;
  view_.RemoveAllItems();
  const std::shared_ptr<IconImageList> images = view_.NewImageList();
  if (collection.empty()) return;

  view_.ProcessPendingMessages();
  if (load != loads_) return;

  // Painting each new item costs more than loading its file. The emptied
  // view has been drawn above; the items are drawn once, at the end, also
  // when an error or a newer load ends this one early.
  view_.HoldPainting(true);
  const PaintingHeld held(view_);
  const std::u16string folder = iconsDir + collection + u"\\";
  const std::vector<std::u16string> names = ListIconFiles(platform_, folder);
  view_.ReserveImages(static_cast<int>(names.size()));
  for (const std::u16string& name : names) {
    const int index = images->Count();
    bool took = false;
    try {
      images->LoadFromFile(folder + name);
      took = images->Count() > index;
    } catch (const std::exception&) {
      // A file the image list cannot open or decode gets no item; the next
      // one is tried. This is the one place such errors are dropped.
    }
    // The image list's own error message handles messages while it is open.
    if (load != loads_) return;
    if (took) view_.AddItem(name, index);
  }
}

}  // namespace nestova
