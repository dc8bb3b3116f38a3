// Owners for the Win32 resources Keyvane holds: each closes its resource exactly once, with
// the function that matches how it was obtained. All are move-only.
#pragma once

// windows.h first, the other Windows headers rely on it.
// clang-format off
#include <windows.h>
#include <unknwn.h>
// clang-format on

#include <utility>

namespace kv::win32 {

// A value plus the rule that releases it. Traits supply Invalid(), IsValid(v) and Close(v).
template <typename T, typename Traits>
class UniqueResource {
 public:
  UniqueResource() noexcept = default;
  explicit UniqueResource(T value) noexcept : value_(value) {}
  UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  ~UniqueResource() { reset(); }

  T get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return Traits::IsValid(value_); }

  [[nodiscard]] T release() noexcept { return std::exchange(value_, Traits::Invalid()); }

  void reset(T value = Traits::Invalid()) noexcept {
    T old = std::exchange(value_, value);
    if (Traits::IsValid(old)) Traits::Close(old);
  }

  // For functions that return the resource through a pointer: the old one is closed first.
  T* put() noexcept {
    reset();
    return &value_;
  }

 private:
  T value_ = Traits::Invalid();
};

// Kernel handles. Creation functions disagree about failure (CreateFile gives
// INVALID_HANDLE_VALUE, CreateMutex gives null), so both count as "none".
struct KernelHandleTraits {
  static HANDLE Invalid() noexcept { return nullptr; }
  static bool IsValid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
using UniqueHandle = UniqueResource<HANDLE, KernelHandleTraits>;

// FindFirstFile searches end with FindClose, not CloseHandle.
struct FindHandleTraits {
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsValid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { ::FindClose(h); }
};
using UniqueFindHandle = UniqueResource<HANDLE, FindHandleTraits>;

struct RegKeyTraits {
  static HKEY Invalid() noexcept { return nullptr; }
  static bool IsValid(HKEY k) noexcept { return k != nullptr; }
  static void Close(HKEY k) noexcept { ::RegCloseKey(k); }
};
using UniqueHKey = UniqueResource<HKEY, RegKeyTraits>;

// Pens, brushes, fonts, bitmaps and regions: anything DeleteObject frees.
template <typename GdiObject>
struct GdiObjectTraits {
  static GdiObject Invalid() noexcept { return nullptr; }
  static bool IsValid(GdiObject o) noexcept { return o != nullptr; }
  static void Close(GdiObject o) noexcept { ::DeleteObject(o); }
};
template <typename GdiObject>
using UniqueGdiObject = UniqueResource<GdiObject, GdiObjectTraits<GdiObject>>;
using UniqueBrush = UniqueGdiObject<HBRUSH>;
using UniquePen = UniqueGdiObject<HPEN>;
using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueBitmap = UniqueGdiObject<HBITMAP>;
using UniqueRegion = UniqueGdiObject<HRGN>;

struct IconTraits {
  static HICON Invalid() noexcept { return nullptr; }
  static bool IsValid(HICON i) noexcept { return i != nullptr; }
  static void Close(HICON i) noexcept { ::DestroyIcon(i); }
};
using UniqueIcon = UniqueResource<HICON, IconTraits>;

// Menus from CreateMenu or CreatePopupMenu that no window owns end with DestroyMenu.
struct MenuTraits {
  static HMENU Invalid() noexcept { return nullptr; }
  static bool IsValid(HMENU m) noexcept { return m != nullptr; }
  static void Close(HMENU m) noexcept { ::DestroyMenu(m); }
};
using UniqueMenu = UniqueResource<HMENU, MenuTraits>;

// Memory device contexts from CreateCompatibleDC end with DeleteDC.
struct MemoryDcTraits {
  static HDC Invalid() noexcept { return nullptr; }
  static bool IsValid(HDC dc) noexcept { return dc != nullptr; }
  static void Close(HDC dc) noexcept { ::DeleteDC(dc); }
};
using UniqueMemoryDc = UniqueResource<HDC, MemoryDcTraits>;

// A window's device context from GetDC, given back with ReleaseDC to the same window.
class WindowDc {
 public:
  WindowDc() noexcept = default;
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
  WindowDc(WindowDc&& other) noexcept
      : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&& other) noexcept {
    if (this != &other) {
      Release();
      window_ = std::exchange(other.window_, nullptr);
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() { Release(); }

  HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  void Release() noexcept {
    if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
    dc_ = nullptr;
    window_ = nullptr;
  }

  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

// Selects an object into a DC for one scope and puts the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) noexcept
      : dc_(dc), previous_(::SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Holds one reference to a COM interface.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  // Takes over a reference the caller already owns (no AddRef).
  explicit ComPtr(Interface* owned) noexcept : p_(owned) {}
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) reset(std::exchange(other.p_, nullptr));
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { reset(); }

  Interface* get() const noexcept { return p_; }
  Interface* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

  void reset(Interface* owned = nullptr) noexcept {
    Interface* old = std::exchange(p_, owned);
    if (old != nullptr) old->Release();
  }

  // For CoCreateInstance and QueryInterface: releases the current reference first.
  Interface** put() noexcept {
    reset();
    return &p_;
  }
  void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

  template <typename Other>
  HRESULT As(ComPtr<Other>& out) const noexcept {
    if (p_ == nullptr) {
      out.reset();
      return E_POINTER;
    }
    return p_->QueryInterface(__uuidof(Other), out.put_void());
  }

 private:
  Interface* p_ = nullptr;
};

}  // namespace kv::win32
