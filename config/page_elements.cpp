#include "config/page_elements.h"

#include <utility>

#include "config/wide_utf8.h"

namespace ks {
namespace {

BOOL CALLBACK KeepFirst(HLELEMENT element, void* param) {
  *static_cast<HLELEMENT*>(param) = element;
  return TRUE;  // the first one is all we want
}

void CALLBACK ReceiveText16(const WCHAR* text, UINT length, void* param) {
  static_cast<std::wstring*>(param)->assign(text, length);
}

void CALLBACK ReceiveBytes(const BYTE* bytes, UINT size, void* param) {
  static_cast<std::string*>(param)->assign(reinterpret_cast<const char*>(bytes), size);
}

}  // namespace

ElementRef::ElementRef(HLELEMENT element) : element_(element) {
  if (element_ != nullptr && HTMLayout_UseElement(element_) != HL_OK) element_ = nullptr;
}

ElementRef::~ElementRef() {
  if (element_ != nullptr) HTMLayout_UnuseElement(element_);
}

ElementRef::ElementRef(ElementRef&& other) noexcept : element_(std::exchange(other.element_, nullptr)) {}

ElementRef& ElementRef::operator=(ElementRef&& other) noexcept {
  if (this != &other) {
    if (element_ != nullptr) HTMLayout_UnuseElement(element_);
    element_ = std::exchange(other.element_, nullptr);
  }
  return *this;
}

ElementRef RootElement(HWND window) {
  HLELEMENT root = nullptr;
  if (HTMLayoutGetRootElement(window, &root) != HL_OK) return ElementRef();
  return ElementRef(root);
}

ElementRef FindElementById(HWND window, const wchar_t* id) {
  const ElementRef root = RootElement(window);
  if (!root) return ElementRef();
  HLELEMENT found = nullptr;
  HTMLayoutVisitElements(root.get(), nullptr, "id", id, KeepFirst, &found, 0);
  return ElementRef(found);
}

std::wstring ElementAttribute(HLELEMENT element, const char* name) {
  std::wstring value;
  HTMLayoutGetAttributeByName(element, name, ReceiveText16, &value);
  return value;
}

std::string ElementInnerHtml(HLELEMENT element) {
  std::string html;
  HTMLayoutGetElementHtmlCB(element, FALSE, ReceiveBytes, &html);
  return html;
}

std::string ElementInnerText(HLELEMENT element) {
  std::string text;
  HTMLayoutGetElementInnerTextCB(element, ReceiveBytes, &text);
  return text;
}

void ReplaceElementHtml(HLELEMENT element, const std::wstring& html, size_t maxBytes) {
  const std::string bytes = ToUtf8(html);
  if (!bytes.empty() && bytes.size() <= maxBytes) {
    HTMLayoutSetElementHtml(element, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()),
                            HL_SET_CONTENT);
  } else {
    HTMLayoutSetElementInnerText16(element, L"", 0);
  }
}

bool GetCheckBox(HWND window, const wchar_t* id) {
  const ElementRef box = FindElementById(window, id);
  if (!box) return false;
  UINT state = 0;
  if (HTMLayoutGetElementState(box.get(), &state) != HL_OK) return false;
  return (state & HL_STATE_CHECKED) != 0;
}

void SetCheckBox(HWND window, const wchar_t* id, bool on) {
  const ElementRef box = FindElementById(window, id);
  if (!box) return;
  const UINT checked = HL_STATE_CHECKED;
  HTMLayoutSetElementState(box.get(), on ? checked : 0u, on ? 0u : checked, TRUE);
}

}  // namespace ks
