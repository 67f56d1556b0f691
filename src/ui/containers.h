#pragma once
// Controls that hold other controls: group boxes, the status bar and our own
// panel. They pass their children's notifications on to their parent, so the
// window's handlers see them wherever a control sits.
#include <windows.h>

namespace nestova::ui {

// For system controls used as containers (group box, status bar). A group
// box does not paint its own inside, so it is given the button face.
void ForwardChildNotifications(HWND container, bool fillBackground = false);

// Registers our own small control classes once per process:
//   kPanelClass - a container with a raised one-pixel border;
//   kBevelClass - an etched horizontal line along the control's bottom edge.
inline constexpr wchar_t kPanelClass[] = L"TsPanel";
inline constexpr wchar_t kBevelClass[] = L"TsBevel";
void RegisterOwnControlClasses(HINSTANCE instance);

}  // namespace nestova::ui
