#pragma once
// Owners for operating-system handles: each releases its handle exactly once.
// Non-copyable, movable; get() lends the handle, release() gives it away.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shtypes.h>

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

// Handles whose "none" is null.
template <typename H, auto CloseFn>
struct NullTraits {
  using Handle = H;
  static constexpr Handle Invalid() { return nullptr; }
  static void Close(Handle h) { CloseFn(h); }
};

// Handles whose "none" is INVALID_HANDLE_VALUE: CreateFileW, FindFirstFileW.
template <auto CloseFn>
struct InvalidValueTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { CloseFn(h); }
};

template <typename GdiHandle>
void DeleteGdiObject(GdiHandle h) {
  ::DeleteObject(h);
}
inline void FreeLocal(void* p) { ::LocalFree(p); }
inline void FreeTaskMemory(ITEMIDLIST* p) { ::CoTaskMemFree(p); }

template <typename GdiHandle>
using UniqueGdi = Unique<NullTraits<GdiHandle, DeleteGdiObject<GdiHandle>>>;
using UniqueFont = UniqueGdi<HFONT>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueIcon = Unique<NullTraits<HICON, ::DestroyIcon>>;
using UniqueImageList = Unique<NullTraits<HIMAGELIST, ::ImageList_Destroy>>;
using UniqueMemoryDC = Unique<NullTraits<HDC, ::DeleteDC>>;
using UniqueMenu = Unique<NullTraits<HMENU, ::DestroyMenu>>;
// Process, thread, event: null when there is none.
using UniqueKernelHandle = Unique<NullTraits<HANDLE, ::CloseHandle>>;
// An open file: INVALID_HANDLE_VALUE when CreateFileW failed.
using UniqueFile = Unique<InvalidValueTraits<::CloseHandle>>;
using UniqueFind = Unique<InvalidValueTraits<::FindClose>>;
// Memory the system allocated for us with LocalAlloc (FormatMessageW).
using UniqueLocal = Unique<NullTraits<void*, FreeLocal>>;
// An item-id list of the shell, allocated with the task allocator.
using UniquePidl = Unique<NullTraits<ITEMIDLIST*, FreeTaskMemory>>;

// A COM interface pointer holding one reference.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds.
  explicit ComPtr(Interface* p) : p_(p) {}
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    reset(std::exchange(other.p_, nullptr));
    return *this;
  }
  ~ComPtr() { reset(); }

  Interface* get() const { return p_; }
  Interface* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void reset(Interface* p = nullptr) {
    if (Interface* old = std::exchange(p_, p)) old->Release();
  }
  // For calls that hand out a new reference: drops the current one first.
  Interface** put() {
    reset();
    return &p_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  // Another interface of the same object, or an empty pointer.
  template <typename Other>
  ComPtr<Other> As() const {
    ComPtr<Other> other;
    if (p_) p_->QueryInterface(__uuidof(Other), other.put_void());
    return other;
  }

 private:
  Interface* p_ = nullptr;
};

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

// Selects an object into a device context and puts the previous one back.
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
  bool ok() const { return ok_; }

 private:
  bool ok_;
};

}  // namespace nestova::platform
