#pragma once
// Resource identifiers shared by the .rc file and the code.
#define IDI_APP 1
#define IDI_GLYPH_APPLY 101
#define IDI_GLYPH_CANCEL 102
#define IDI_GLYPH_CLEAR 103
