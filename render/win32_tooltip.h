// The tooltip of a page window: one comctl32 tool over the whole client
// area whose text follows the "title" of the element under the pointer.
#pragma once

#include <windows.h>

#include <string>

#include "common/unique_handle.h"

namespace ks::render {

class Win32Tooltip {
 public:
  explicit Win32Tooltip(HWND owner);
  ~Win32Tooltip();
  Win32Tooltip(const Win32Tooltip&) = delete;
  Win32Tooltip& operator=(const Win32Tooltip&) = delete;

  // Empty text hides the tip; a new text shows after the usual delay.
  void setText(const std::wstring& text);
  const std::wstring& text() const { return text_; }
  void resize();
  HWND window() const { return tip_.get(); }

 private:
  HWND owner_;
  UniqueWindow tip_;
  std::wstring text_;
};

}  // namespace ks::render
