#pragma once
// Puts a strip of icon frames into a system image list in one call.
#include <windows.h>

#include <commctrl.h>

#include "imagelist/frame_strip.h"

namespace nestova::imagelist {

// The strip's frames become the list's next images, in order. When the
// system refuses the bitmaps (it has no memory left) none are added.
void AddToImageList(HIMAGELIST list, const FrameStrip& strip);

}  // namespace nestova::imagelist
