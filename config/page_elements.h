// Elements of the page shown in the settings window, looked up by id through
// the renderer and held for the length of one operation.
#pragma once

#include <windows.h>

#include <string>

#include "render/htmlayout_api.h"

namespace ks {

// A counted reference to one element: taken with HTMLayout_UseElement, given
// back with HTMLayout_UnuseElement when it goes away. Empty when the element
// does not exist.
class ElementRef {
 public:
  ElementRef() = default;
  explicit ElementRef(HLELEMENT element);
  ~ElementRef();
  ElementRef(ElementRef&& other) noexcept;
  ElementRef& operator=(ElementRef&& other) noexcept;
  ElementRef(const ElementRef&) = delete;
  ElementRef& operator=(const ElementRef&) = delete;

  HLELEMENT get() const { return element_; }
  explicit operator bool() const { return element_ != nullptr; }

 private:
  HLELEMENT element_ = nullptr;
};

ElementRef RootElement(HWND window);

// The first element, in document order, whose "id" equals id exactly.
ElementRef FindElementById(HWND window, const wchar_t* id);

// The attribute's value, empty when it is absent.
std::wstring ElementAttribute(HLELEMENT element, const char* name);
// Inner HTML and inner text, UTF-8.
std::string ElementInnerHtml(HLELEMENT element);
std::string ElementInnerText(HLELEMENT element);

// Replaces the element's content with the HTML when it encodes to 1 to
// maxBytes bytes of UTF-8; otherwise empties its text.
void ReplaceElementHtml(HLELEMENT element, const std::wstring& html, size_t maxBytes);

// Check boxes by id: a missing element reads as off and ignores a set.
bool GetCheckBox(HWND window, const wchar_t* id);
void SetCheckBox(HWND window, const wchar_t* id, bool on);

}  // namespace ks
