#pragma once
// A window timer that can be switched on and off; off when destroyed.
#include <windows.h>

namespace nestova::ui {

class Timer {
 public:
  Timer(HWND owner, UINT_PTR id, UINT intervalMs) : owner_(owner), id_(id), interval_(intervalMs) {}
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer() { SetEnabled(false); }

  UINT_PTR id() const { return id_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled ? ::SetTimer(owner_, id_, interval_, nullptr) != 0
                       : (::KillTimer(owner_, id_), false);
  }

 private:
  HWND owner_;
  UINT_PTR id_;
  UINT interval_;
  bool enabled_ = false;
};

}  // namespace nestova::ui
