#pragma once
// Icons from decoded pictures and from icon files, for the system image
// list. Win32.
#include "imagelist/picture.h"
#include "platform/handles.h"
#include "platform/platform.h"

namespace nestova::imagelist {

// True when any alpha byte is not 0: the system image list then draws the
// picture with its per-pixel alpha, and through its mask otherwise.
bool AnyAlpha(const Picture& picture);

// The mask marks every pixel whose 32-bit value (alpha included) equals the
// top-left pixel's as transparent. A picture without alpha is drawn through
// that mask, so the colour of its masked pixels is set to 0: icons are drawn
// mask-AND then colour-XOR, and any other colour would show through.
// Returns no icon when the system refuses one.
platform::UniqueIcon MakeIconFromPicture(const Picture& picture);

// A picture without alpha (any depth, or 32-bit with every alpha byte 0)
// gets alpha 0 where it is pure magenta and 255 elsewhere; the mask marks
// the pixels of alpha 0. Returns no icon when the system refuses one.
platform::UniqueIcon MakeIconFromAlpha(const Picture& picture);

// The first icon of a file, at the system's large-icon size, or no icon.
// ExtractIconW answers 1 for a file that is no icon, program or library;
// that is no handle either. `extract` stands in for ExtractIconW in tests.
using IconExtractor = HICON(WINAPI*)(HINSTANCE, LPCWSTR, UINT);
platform::UniqueIcon ExtractFileIcon(const platform::Text& fileName,
                                     IconExtractor extract = nullptr);

// True when the icon's colour image has 32 bits per pixel and some alpha
// byte is not 0. Looks no further than the first such pixel.
bool IconHasAlpha(HICON icon);

}  // namespace nestova::imagelist
