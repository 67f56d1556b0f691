// The program's button glyphs and application icon.
#pragma once

#include "raster.h"

namespace artgen {

// The glyphs' 16 px size scaled for 96, 120, 144 and 192 dpi, so Windows
// never has to stretch one and blur it.
inline constexpr int kGlyphSizes[] = {16, 20, 24, 32};
// The small and large icon at common DPIs, plus Explorer's bigger views.
inline constexpr int kAppIconSizes[] = {16, 24, 32, 48, 64, 128};

// Each draws a square picture of the given size; sizes missing from the
// lists above throw std::invalid_argument.
Image DrawApplyGlyph(int size);   // green tick
Image DrawCancelGlyph(int size);  // red prohibition sign
Image DrawClearGlyph(int size);   // light-grey return arrow
Image DrawAppIcon(int size);      // folder with a custom-icon badge

}  // namespace artgen
