#pragma once
// Resource identifiers shared by the .rc file and the code.
#define IDI_APP 1
#define IDI_GLYPH_APPLY 101
#define IDI_GLYPH_CANCEL 102
#define IDI_GLYPH_CLEAR 103
// The components' English texts, loaded once into process-wide strings.
#define IDS_SELECT_DIRECTORY 58911
#define IDS_ROOT 65222
#define IDS_OK 58992
#define IDS_CANCEL 58991
#define IDS_CREATE 58910
