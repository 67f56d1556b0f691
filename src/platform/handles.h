#pragma once
// Owners for operating-system handles: each releases its handle exactly once.
// Non-copyable, movable; get() lends the handle, release() gives it away.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <utility>

namespace nestova::platform {

template <typename Traits>
class Unique {
 public:
  using Handle = typename Traits::Handle;

  Unique() = default;
  explicit Unique(Handle h) : h_(h) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : h_(other.release()) {}
  Unique& operator=(Unique&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~Unique() { reset(); }

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::Invalid(); }
  Handle release() { return std::exchange(h_, Traits::Invalid()); }
  void reset(Handle h = Traits::Invalid()) {
    const Handle old = std::exchange(h_, h);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

 private:
  Handle h_ = Traits::Invalid();
};

template <typename H, auto CloseFn>
struct NullTraits {
  using Handle = H;
  static constexpr Handle Invalid() { return nullptr; }
  static void Close(Handle h) { CloseFn(h); }
};

struct KernelTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::CloseHandle(h); }
};

template <typename GdiHandle>
void DeleteGdiObject(GdiHandle h) {
  ::DeleteObject(h);
}
template <typename GdiHandle>
using UniqueGdi = Unique<NullTraits<GdiHandle, DeleteGdiObject<GdiHandle>>>;
using UniqueFont = UniqueGdi<HFONT>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueIcon = Unique<NullTraits<HICON, ::DestroyIcon>>;
using UniqueImageList = Unique<NullTraits<HIMAGELIST, ::ImageList_Destroy>>;
using UniqueKernelHandle = Unique<KernelTraits>;
using UniqueMemoryDC = Unique<NullTraits<HDC, ::DeleteDC>>;

// The screen's device context, lent for as long as the object lives.
class ScreenDC {
 public:
  ScreenDC() : dc_(::GetDC(nullptr)) {}
  ~ScreenDC() {
    if (dc_) ::ReleaseDC(nullptr, dc_);
  }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// Selects a GDI object into a device context for as long as the object
// lives, then puts the one it replaced back. The selected object must
// outlive this owner.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
  ~ScopedSelect() {
    if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// OLE and COM for the user-interface thread: the shell's folder browser and
// namespace need them.
class OleInit {
 public:
  OleInit() : ok_(SUCCEEDED(::OleInitialize(nullptr))) {}
  ~OleInit() {
    if (ok_) ::OleUninitialize();
  }
  OleInit(const OleInit&) = delete;
  OleInit& operator=(const OleInit&) = delete;

 private:
  bool ok_;
};

}  // namespace nestova::platform
