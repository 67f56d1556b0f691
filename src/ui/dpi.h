#pragma once
// Pixel density of a window's monitor. Newer systems report it per monitor;
// older ones only for the whole screen, which is what we fall back to.
#include <windows.h>

namespace nestova::ui {

int DpiForWindow(HWND hwnd);
// The density windows get before they know their monitor.
int SystemDpi();

// The outer size for a wanted client size at the given density.
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD exStyle, int dpi);

}  // namespace nestova::ui
