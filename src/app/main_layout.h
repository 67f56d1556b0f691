#pragma once
// Geometry of the main window at 96 dpi: every control, its parent and the
// edges it follows. Stacking follows the order of this table: later
// controls lie above earlier ones where they overlap.
#include <array>

#include "ui/layout.h"

namespace nestova {

enum MainControl : int {
  kBevel,
  kLblFolder,
  kGBxColl,
  kLBxColl,
  kGBxIcons,
  kLVIcons,
  kPnlNewVersion,
  kSLabel1,
  kBtnApply,
  kBtnCancel,
  kBtnClear,
  kStatusBar,
  kWebLabel1,
  kWebLabel2,
  kMainControlCount
};

inline constexpr ui::Size kMainDesignClient{568, 446};

// Control identifiers. Apply and Cancel carry the dialog manager's OK and
// Cancel identifiers, so Enter and Esc reach them.
constexpr int MainControlId(MainControl control) {
  return control == kBtnApply ? 1 : control == kBtnCancel ? 2 : 100 + control;
}

namespace main_layout_detail {
using ui::Align;
using ui::kNoParent;
constexpr unsigned L = ui::kAnchorLeft, T = ui::kAnchorTop, R = ui::kAnchorRight,
                   B = ui::kAnchorBottom;
}  // namespace main_layout_detail

inline constexpr std::array<ui::LayoutItem, kMainControlCount> kMainLayout = [] {
  using namespace main_layout_detail;
  std::array<ui::LayoutItem, kMainControlCount> t{};
  t[kBevel] = {kNoParent, {8, 399, 550, 7}, L | R | B};
  t[kLblFolder] = {kNoParent, {0, 0, 568, 26}, L | T | R, Align::kTop};
  t[kGBxColl] = {kNoParent, {8, 24, 185, 372}, L | T | B};
  t[kLBxColl] = {kGBxColl, {3, 16, 178, 353}, L | T | R | B};
  t[kGBxIcons] = {kNoParent, {199, 24, 362, 372}, L | T | R | B};
  t[kLVIcons] = {kGBxIcons, {3, 16, 356, 353}, L | T | R | B};
  t[kPnlNewVersion] = {kGBxIcons, {16, 315, 329, 41}, L | R | B};
  t[kSLabel1] = {kPnlNewVersion, {1, 1, 327, 39}, L | T | R | B};
  t[kBtnApply] = {kNoParent, {159, 399, 251, 25}, L | T};
  t[kBtnCancel] = {kNoParent, {416, 399, 144, 25}, L | T};
  t[kBtnClear] = {kNoParent, {8, 399, 145, 25}, L | T};
  t[kStatusBar] = {kNoParent, {0, 427, 568, 19}, L | R | B, Align::kBottom};
  t[kWebLabel1] = {kStatusBar, {11, 3, 129, 13}, L | T};
  t[kWebLabel2] = {kStatusBar, {479, 3, 79, 13}, T | R};
  return t;
}();

}  // namespace nestova
