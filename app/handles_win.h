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
  static constexpr T Invalid = nullptr;
  T value_ = Invalid;
};

namespace detail {
inline void CloseKernel(HANDLE h) { ::CloseHandle(h); }
inline void CloseWindow(HWND h) { ::DestroyWindow(h); }
inline void CloseGdi(HGDIOBJ h) { ::DeleteObject(h); }
inline void CloseDC(HDC h) { ::DeleteDC(h); }
inline void CloseModule(HMODULE h) { ::FreeLibrary(h); }
inline void CloseInternet(HINTERNET h) { ::InternetCloseHandle(h); }
inline void CloseMenu(HMENU h) { ::DestroyMenu(h); }
inline void CloseIcon(HICON h) { ::DestroyIcon(h); }
inline void CloseGlobal(HGLOBAL h) { ::GlobalFree(h); }
inline void CloseFont(HFONT h) { ::DeleteObject(h); }
inline void CloseBrush(HBRUSH h) { ::DeleteObject(h); }
inline void CloseBitmap(HBITMAP h) { ::DeleteObject(h); }
inline void CloseRegion(HRGN h) { ::DeleteObject(h); }
}  // namespace detail

using unique_handle = unique_any<HANDLE, detail::CloseKernel>;
using unique_window = unique_any<HWND, detail::CloseWindow>;
using unique_gdi = unique_any<HGDIOBJ, detail::CloseGdi>;
using unique_dc = unique_any<HDC, detail::CloseDC>;
using unique_module = unique_any<HMODULE, detail::CloseModule>;
using unique_internet = unique_any<HINTERNET, detail::CloseInternet>;
using unique_menu = unique_any<HMENU, detail::CloseMenu>;
using unique_icon = unique_any<HICON, detail::CloseIcon>;
using unique_hglobal = unique_any<HGLOBAL, detail::CloseGlobal>;
using unique_font = unique_any<HFONT, detail::CloseFont>;
using unique_brush = unique_any<HBRUSH, detail::CloseBrush>;
using unique_bitmap = unique_any<HBITMAP, detail::CloseBitmap>;
using unique_region = unique_any<HRGN, detail::CloseRegion>;

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
