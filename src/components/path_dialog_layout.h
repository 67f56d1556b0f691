#pragma once
// Geometry of the folder chooser's window, in pixels of its client area
// (the window is not scaled for the screen's pixel density), with the
// anchors the window has once it is prepared.
#include <array>

#include "ui/layout.h"

namespace nestova::components {

enum PathDialogControl : int {
  kTree,
  kOk,
  kCancel,
  kCreate,
  kRootPanel,
  kRootLabel,
  kCaptionLine,
  kPathDialogControlCount
};

// Outer size of the window, and its smallest.
inline constexpr ui::Size kPathDialogOuter{350, 420};
inline constexpr ui::Size kPathDialogMinimum{275, 250};
// The root-button panel's width plus the gap beside it.
inline constexpr int kRootPanelShift = 105;
inline constexpr int kRootButtonHeight = 70;

// OK and Cancel carry the dialog manager's identifiers, so Enter and Esc
// reach them; the root buttons follow the panel.
constexpr int PathDialogControlId(PathDialogControl control) {
  return control == kOk ? 1 : control == kCancel ? 2 : 100 + control;
}
inline constexpr int kRootButtonFirstId = 200;

inline constexpr std::array<ui::LayoutItem, kPathDialogControlCount> kPathDialogLayout = [] {
  using ui::kNoParent;
  constexpr unsigned L = ui::kAnchorLeft, T = ui::kAnchorTop, R = ui::kAnchorRight,
                     B = ui::kAnchorBottom;
  std::array<ui::LayoutItem, kPathDialogControlCount> t{};
  t[kTree] = {kNoParent, {8, 20, 321, 319}, L | T | R | B};
  t[kOk] = {kNoParent, {173, 344, 75, 25}, R | B};
  t[kCancel] = {kNoParent, {250, 344, 75, 25}, R | B};
  t[kCreate] = {kNoParent, {12, 344, 75, 25}, L | B};
  t[kRootPanel] = {kNoParent, {8, 20, 101, 318}, L | T | B};
  t[kRootLabel] = {kNoParent, {8, 3, 60, 13}, L | T};
  // The tree's caption line: its bottom edge 4 pixels above the tree.
  t[kCaptionLine] = {kNoParent, {8, 3, 321, 13}, L | T | R};
  return t;
}();

}  // namespace nestova::components
