// The program's button glyphs and application icon.
#pragma once

#include "raster.h"

namespace artgen {

Image DrawApplyGlyph();   // 16 x 16 green tick
Image DrawCancelGlyph();  // 16 x 16 red prohibition sign
Image DrawClearGlyph();   // 16 x 16 light-grey return arrow
Image DrawAppIcon();      // 128 x 128 folder with a custom-icon badge

}  // namespace artgen
