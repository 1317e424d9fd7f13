// Move-only owners for Win32 handles: one template, one alias per handle kind.
#pragma once

#include <windows.h>

#include <cstdint>
#include <utility>

namespace ks {

// Owns a handle of type H that Close releases; Empty is the "no handle" value.
// reset() keeps GetLastError intact so an error read after a clean-up is still
// the error of the call that failed.
template <typename H, auto Close, auto Empty>
class UniqueHandle {
 public:
  UniqueHandle() noexcept = default;
  explicit UniqueHandle(H h) noexcept : h_(h) {}
  UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  H get() const noexcept { return h_; }
  explicit operator bool() const noexcept { return h_ != empty(); }

  H release() noexcept { return std::exchange(h_, empty()); }

  void reset(H h = empty()) noexcept {
    H old = std::exchange(h_, h);
    if (old != empty()) {
      const DWORD error = GetLastError();
      Close(old);
      SetLastError(error);
    }
  }

  // For APIs that fill a handle through a pointer.
  H* put() noexcept {
    reset();
    return &h_;
  }

 private:
  static H empty() noexcept { return reinterpret_cast<H>(static_cast<intptr_t>(Empty)); }
  H h_ = empty();
};

namespace detail {
inline void CloseKernel(HANDLE h) noexcept { ::CloseHandle(h); }
inline void CloseHook(HHOOK h) noexcept { ::UnhookWindowsHookEx(h); }
inline void CloseModule(HMODULE h) noexcept { ::FreeLibrary(h); }
inline void CloseKey(HKEY h) noexcept { ::RegCloseKey(h); }
inline void CloseMenu(HMENU h) noexcept { ::DestroyMenu(h); }
inline void CloseIcon(HICON h) noexcept { ::DestroyIcon(h); }
inline void CloseGdi(HGDIOBJ h) noexcept { ::DeleteObject(h); }
inline void CloseFind(HANDLE h) noexcept { ::FindClose(h); }
inline void CloseWindowHandle(HWND h) noexcept { ::DestroyWindow(h); }
inline void CloseDesktopHandle(HDESK h) noexcept { ::CloseDesktop(h); }
inline void CloseWinEvent(HWINEVENTHOOK h) noexcept { ::UnhookWinEvent(h); }
}  // namespace detail

using UniqueKernelHandle = UniqueHandle<HANDLE, detail::CloseKernel, 0>;
using UniqueFile = UniqueHandle<HANDLE, detail::CloseKernel, -1>;
using UniqueHook = UniqueHandle<HHOOK, detail::CloseHook, 0>;
using UniqueModule = UniqueHandle<HMODULE, detail::CloseModule, 0>;
using UniqueKey = UniqueHandle<HKEY, detail::CloseKey, 0>;
using UniqueMenu = UniqueHandle<HMENU, detail::CloseMenu, 0>;
using UniqueIcon = UniqueHandle<HICON, detail::CloseIcon, 0>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, detail::CloseGdi, 0>;
using UniqueFind = UniqueHandle<HANDLE, detail::CloseFind, -1>;
using UniqueWindow = UniqueHandle<HWND, detail::CloseWindowHandle, 0>;
using UniqueDesktop = UniqueHandle<HDESK, detail::CloseDesktopHandle, 0>;
using UniqueWinEvent = UniqueHandle<HWINEVENTHOOK, detail::CloseWinEvent, 0>;

// Runs a callable when the scope ends, for paired calls without a handle.
template <typename F>
class ScopeExit {
 public:
  explicit ScopeExit(F f) noexcept : f_(std::move(f)) {}
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;
  ~ScopeExit() { f_(); }

 private:
  F f_;
};

}  // namespace ks
