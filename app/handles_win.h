#pragma once
// Owners for Win32 handles: one move-only template, a close function per handle type,
// and scope guards for the few things that are opened and closed rather than owned.
#include <windows.h>
#include <wininet.h>

#include <utility>

namespace win {

template <typename T, auto Close>
class unique_any {
 public:
  unique_any() = default;
  explicit unique_any(T value) : value_(value) {}
  unique_any(const unique_any&) = delete;
  unique_any& operator=(const unique_any&) = delete;
  unique_any(unique_any&& other) noexcept : value_(other.release()) {}
  unique_any& operator=(unique_any&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~unique_any() { reset(); }

  T get() const { return value_; }
  explicit operator bool() const { return value_ != Invalid; }
  T release() { return std::exchange(value_, Invalid); }
  void reset(T value = Invalid) {
    T old = std::exchange(value_, value);
    if (old != Invalid) Close(old);
  }
  T* put() {  // for out-parameters: frees what is held first
    reset();
    return &value_;
  }

 private:
  static constexpr T Invalid = T{};
  T value_ = Invalid;
};

// Each alias names the function that frees its handle.
using unique_handle = unique_any<HANDLE, &::CloseHandle>;
using unique_window = unique_any<HWND, &::DestroyWindow>;
using unique_gdi = unique_any<HGDIOBJ, &::DeleteObject>;
using unique_dc = unique_any<HDC, &::DeleteDC>;
using unique_module = unique_any<HMODULE, &::FreeLibrary>;
using unique_internet = unique_any<HINTERNET, &::InternetCloseHandle>;
using unique_menu = unique_any<HMENU, &::DestroyMenu>;
using unique_icon = unique_any<HICON, &::DestroyIcon>;
using unique_hglobal = unique_any<HGLOBAL, &::GlobalFree>;
using unique_font = unique_any<HFONT, &::DeleteObject>;
using unique_brush = unique_any<HBRUSH, &::DeleteObject>;
using unique_bitmap = unique_any<HBITMAP, &::DeleteObject>;
using unique_region = unique_any<HRGN, &::DeleteObject>;

// A COM interface pointer, released by its owner.
template <typename I>
void ReleaseInterface(I* p) {
  p->Release();
}
template <typename I>
using unique_com = unique_any<I*, &ReleaseInterface<I>>;

// CreateFile reports failure as INVALID_HANDLE_VALUE rather than null.
inline unique_handle file_handle(HANDLE h) {
  return unique_handle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// A device context borrowed from a window (GetDC), released on scope exit.
class window_dc {
 public:
  explicit window_dc(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
  window_dc(const window_dc&) = delete;
  window_dc& operator=(const window_dc&) = delete;
  ~window_dc() {
    if (dc_) ::ReleaseDC(hwnd_, dc_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// A device context borrowed from the screen: GetDC(nullptr).
inline window_dc screen_dc() { return window_dc(nullptr); }

// The painting of a window between BeginPaint and EndPaint.
class paint {
 public:
  explicit paint(HWND hwnd) : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &ps_)) {}
  paint(const paint&) = delete;
  paint& operator=(const paint&) = delete;
  ~paint() { ::EndPaint(hwnd_, &ps_); }
  HDC get() const { return dc_; }
  const PAINTSTRUCT& info() const { return ps_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// The clipboard opened for the guard's lifetime, with `owner` as its owner (null: none).
class clipboard_open {
 public:
  explicit clipboard_open(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
  clipboard_open(const clipboard_open&) = delete;
  clipboard_open& operator=(const clipboard_open&) = delete;
  ~clipboard_open() {
    if (open_) ::CloseClipboard();
  }
  explicit operator bool() const { return open_; }

 private:
  bool open_;
};

// An object selected into a device context; the previous one goes back on scope exit.
class select_object {
 public:
  select_object(HDC dc, HGDIOBJ obj) : dc_(dc), previous_(::SelectObject(dc, obj)) {}
  select_object(const select_object&) = delete;
  select_object& operator=(const select_object&) = delete;
  ~select_object() {
    if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Global memory locked for the guard's lifetime.
template <typename T = void>
class global_lock {
 public:
  explicit global_lock(HGLOBAL mem) : mem_(mem), ptr_(static_cast<T*>(::GlobalLock(mem))) {}
  global_lock(const global_lock&) = delete;
  global_lock& operator=(const global_lock&) = delete;
  ~global_lock() {
    if (ptr_) ::GlobalUnlock(mem_);
  }
  T* get() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }

 private:
  HGLOBAL mem_;
  T* ptr_;
};

}  // namespace win
