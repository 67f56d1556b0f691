#pragma once
// Icon resources of the image-list tests: the program's drawn icons.
#define IDI_TEST_GLYPH 201
#define IDI_TEST_APP 202
