#pragma once
// Icons kept in a program's resources, for small image lists such as the
// glyphs of buttons.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "platform/handles.h"

namespace nestova::imagelist {

// The icon group resource `id` of `module` as an icon file: its directory,
// then its frames. Empty when the module has no such group or a frame is
// missing.
std::vector<uint8_t> IconFileFromResource(HMODULE module, int id);

// A list of one 32-bit image `size` pixels square: the icon resource `id`
// as the system loads it at that size. A plain 32-bit frame of exactly that
// size goes in from its own bytes, which costs the system far less than an
// icon made and copied; any other is loaded by the system, scaled if it must.
platform::UniqueImageList LoadIconResourceImage(HMODULE module, int id, int size);

}  // namespace nestova::imagelist
