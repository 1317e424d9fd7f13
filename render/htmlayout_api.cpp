#include "render/htmlayout_api.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "render/dom_controls.h"
#include "render/html_serializer.h"
#include "render/page_accessibility.h"
#include "render/text_utf8.h"
#include "render/win32_view_registry.h"

using ks::render::ControlKind;
using ks::render::FromHandle;
using ks::render::Node;
using ks::render::ToHandle;
using ks::render::Win32View;

namespace {

// Runs an operation with every failure turned into a result: nothing may
// leave a C interface or a window procedure as an exception.
template <typename F>
HLResult Guarded(F&& f) {
  try {
    return f();
  } catch (const std::bad_alloc&) {
    return HL_FAILED;
  } catch (...) {
    return HL_FAILED;
  }
}

// The element behind a handle and its view; both null for a stale handle.
struct Target {
  std::shared_ptr<Win32View> view;
  Node* node = nullptr;
};

Target Resolve(HLELEMENT he) {
  Target t;
  t.view = ks::render::ViewOwning(FromHandle(he));
  if (t.view) t.node = FromHandle(he);
  return t;
}

std::string Utf8Of(const WCHAR* text, std::size_t length) {
  return ks::render::Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

std::size_t WideLength(const WCHAR* text) {
  std::size_t n = 0;
  while (text[n]) ++n;
  return n;
}

}  // namespace

extern "C" {

LRESULT WINAPI HTMLayoutProcND(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, BOOL* handled) {
  if (handled) *handled = FALSE;
  try {
    if (msg == WM_NCDESTROY) {
      if (auto view = ks::render::FindView(hwnd)) {
        ks::render::DropView(hwnd);
        view->shutdown();
      }
      return 0;
    }
    std::shared_ptr<Win32View> view = ks::render::ViewFor(hwnd);
    if (!view) return 0;
    bool done = false;
    const LRESULT result = view->handleMessage(msg, wParam, lParam, done);
    if (handled) *handled = done ? TRUE : FALSE;
    return result;
  } catch (...) {
    return 0;
  }
}

HLResult WINAPI HTMLayoutSetCallback(HWND hwnd, HLNotifyProc proc, void* param) {
  return Guarded([&] {
    auto view = ks::render::ViewFor(hwnd);
    if (!view) return HL_INVALID_WINDOW;
    view->setCallback(proc, param);
    return HL_OK;
  });
}

HLResult WINAPI HTMLayoutWindowAttachEventHandler(HWND hwnd, HLEventProc proc, void* tag, UINT subscription) {
  return Guarded([&] {
    if (!proc) return HL_INVALID_PARAMETER;
    auto view = ks::render::ViewFor(hwnd);
    if (!view) return HL_INVALID_WINDOW;
    view->attachHandler(proc, tag, subscription);
    return HL_OK;
  });
}

HLResult WINAPI HTMLayoutWindowDetachEventHandler(HWND hwnd, HLEventProc proc, void* tag) {
  return Guarded([&] {
    auto view = ks::render::FindView(hwnd);
    if (!view) return HL_INVALID_WINDOW;
    return view->detachHandler(proc, tag) ? HL_OK : HL_INVALID_PARAMETER;
  });
}

HLResult WINAPI HTMLayoutLoadHtml(HWND hwnd, const BYTE* html, UINT size) {
  return Guarded([&] {
    if (!html && size > 0) return HL_INVALID_PARAMETER;
    auto view = ks::render::ViewFor(hwnd);
    if (!view) return HL_INVALID_WINDOW;
    view->loadHtml(std::string_view(reinterpret_cast<const char*>(html), html ? size : 0));
    return HL_OK;
  });
}

HLResult WINAPI HTMLayoutDataReady(HWND hwnd, const WCHAR* uri, const BYTE* data, UINT size) {
  return Guarded([&] {
    if (!uri) return HL_INVALID_PARAMETER;
    auto view = ks::render::FindView(hwnd);
    if (!view) return HL_INVALID_WINDOW;
    const bool found = data && size > 0;
    view->dataReady(Utf8Of(uri, WideLength(uri)),
                    found ? std::string_view(reinterpret_cast<const char*>(data), size) : std::string_view(), found);
    return HL_OK;
  });
}

UINT WINAPI HTMLayoutGetMinWidth(HWND hwnd) {
  try {
    auto view = ks::render::FindView(hwnd);
    return view ? static_cast<UINT>(std::max(0, view->minWidth())) : 0;
  } catch (...) {
    return 0;
  }
}

UINT WINAPI HTMLayoutGetMaxWidth(HWND hwnd) {
  try {
    auto view = ks::render::FindView(hwnd);
    return view ? static_cast<UINT>(std::max(0, view->maxWidth())) : 0;
  } catch (...) {
    return 0;
  }
}

UINT WINAPI HTMLayoutGetMinHeight(HWND hwnd, UINT width) {
  try {
    auto view = ks::render::FindView(hwnd);
    const int w = static_cast<int>(std::min<UINT>(width, 1u << 20));
    return view ? static_cast<UINT>(std::max(0, view->minHeight(w))) : 0;
  } catch (...) {
    return 0;
  }
}

HLResult WINAPI HTMLayoutGetRootElement(HWND hwnd, HLELEMENT* root) {
  return Guarded([&] {
    if (!root) return HL_INVALID_PARAMETER;
    *root = nullptr;
    auto view = ks::render::FindView(hwnd);
    if (!view) return HL_INVALID_WINDOW;
    *root = ToHandle(&view->root());
    return HL_OK;
  });
}

HLResult WINAPI HTMLayout_UseElement(HLELEMENT he) {
  return Guarded([&] {
    Target t = Resolve(he);
    if (!t.node) return HL_INVALID_ELEMENT;
    t.view->use(*t.node);
    return HL_OK;
  });
}

HLResult WINAPI HTMLayout_UnuseElement(HLELEMENT he) {
  return Guarded([&] {
    Target t = Resolve(he);
    if (!t.node) return HL_INVALID_ELEMENT;
    return t.view->unuse(*t.node) ? HL_OK : HL_INVALID_ELEMENT;
  });
}

HLResult WINAPI HTMLayoutVisitElements(HLELEMENT he, const char* tag, const char* attributeName,
                                       const WCHAR* attributeValue, HLElementVisitor visitor, void* param, UINT depth) {
  return Guarded([&] {
    if (!visitor) return HL_INVALID_PARAMETER;
    Target t = Resolve(he);
    if (!t.node) return HL_INVALID_ELEMENT;
    const std::string tagName = tag ? ks::render::AsciiLowered(tag) : std::string();
    const std::string attrName = attributeName ? ks::render::AsciiLowered(attributeName) : std::string();
    const bool byValue = attributeValue != nullptr;
    const std::string value = byValue ? Utf8Of(attributeValue, WideLength(attributeValue)) : std::string();
    // Collected first: the visitor may change the page.
    std::vector<Node*> matches;
    const std::size_t base = t.node->depth();
    ks::render::Document::VisitElements(*t.node, [&](Node& n) {
      if (&n == t.node) return true;
      if (depth != 0 && n.depth() - base > depth) return true;
      if (!tagName.empty() && tagName != "*" && n.name() != tagName) return true;
      if (!attrName.empty()) {
        const std::string* v = n.attribute(attrName);
        if (!v || (byValue && *v != value)) return true;
      }
      matches.push_back(&n);
      return true;
    });
    for (Node* n : matches) {
      if (!t.view->owns(n)) continue;
      if (visitor(ToHandle(n), param)) break;
    }
    return HL_OK;
  });
}

HLResult WINAPI HTMLayoutGetAttributeByName(HLELEMENT he, const char* name, HLReceiveText16 receiver, void* param) {
  return Guarded([&] {
    if (!name || !receiver) return HL_INVALID_PARAMETER;
    Target t = Resolve(he);
    if (!t.node) return HL_INVALID_ELEMENT;
    const std::string* v = t.node->attribute(ks::render::AsciiLowered(name));
    const std::u16string wide = v ? ks::render::Utf8ToUtf16(*v) : std::u16string();
    receiver(reinterpret_cast<const WCHAR*>(wide.c_str()), static_cast<UINT>(wide.size()), param);
    return HL_OK;
  });
}

HLResult WINAPI HTMLayoutGetElementState(HLELEMENT he, UINT* state) {
  return Guarded([&] {
    if (!state) return HL_INVALID_PARAMETER;
    Target t = Resolve(he);
    if (!t.node) return HL_INVALID_ELEMENT;
    *state = t.node->state();
    return HL_OK;
  });
}

HLResult WINAPI HTMLayoutSetElementState(HLELEMENT he, UINT set, UINT clear, BOOL update) {
  return Guarded([&] {
    Target t = Resolve(he);
    if (!t.node) return HL_INVALID_ELEMENT;
    const UINT before = t.node->state();
    t.view->page().setState(*t.node, set, clear);
    if ((before ^ t.node->state()) & (HL_STATE_CHECKED | HL_STATE_DISABLED)) t.view->stateChanged(*t.node);
    t.view->changed(false, update != FALSE);
    return HL_OK;
  });
}

HLResult WINAPI HTMLayoutControlGetType(HLELEMENT he, UINT* type) {
  return Guarded([&] {
    if (!type) return HL_INVALID_PARAMETER;
    Target t = Resolve(he);
    if (!t.node) return HL_INVALID_ELEMENT;
    switch (ks::render::ControlKindOf(*t.node)) {
      case ControlKind::CheckBox: *type = HL_CONTROL_CHECKBOX; break;
      case ControlKind::Radio: *type = HL_CONTROL_RADIO; break;
      case ControlKind::Button: *type = HL_CONTROL_BUTTON; break;
      case ControlKind::Link: *type = HL_CONTROL_HYPERLINK; break;
      case ControlKind::None: *type = HL_CONTROL_NONE; break;
    }
    return HL_OK;
  });
}

HLResult WINAPI HTMLayoutGetElementHtmlCB(HLELEMENT he, BOOL outer, HLReceiveBytes receiver, void* param) {
  return Guarded([&] {
    if (!receiver) return HL_INVALID_PARAMETER;
    Target t = Resolve(he);
    if (!t.node) return HL_INVALID_ELEMENT;
    const std::string html = outer ? ks::render::OuterHtml(*t.node) : ks::render::InnerHtml(*t.node);
    receiver(reinterpret_cast<const BYTE*>(html.c_str()), static_cast<UINT>(html.size()), param);
    return HL_OK;
  });
}

HLResult WINAPI HTMLayoutGetElementInnerTextCB(HLELEMENT he, HLReceiveBytes receiver, void* param) {
  return Guarded([&] {
    if (!receiver) return HL_INVALID_PARAMETER;
    Target t = Resolve(he);
    if (!t.node) return HL_INVALID_ELEMENT;
    const std::string text = ks::render::InnerText(*t.node);
    receiver(reinterpret_cast<const BYTE*>(text.c_str()), static_cast<UINT>(text.size()), param);
    return HL_OK;
  });
}

HLResult WINAPI HTMLayoutSetElementHtml(HLELEMENT he, const BYTE* html, UINT size, UINT where) {
  return Guarded([&] {
    if ((!html && size > 0) || where > HL_APPEND_CONTENT) return HL_INVALID_PARAMETER;
    Target t = Resolve(he);
    if (!t.node || !t.view->page().attached(*t.node)) return HL_INVALID_ELEMENT;
    std::string text(reinterpret_cast<const char*>(html), html ? size : 0);
    if (where == HL_PREPEND_CONTENT) text += ks::render::InnerHtml(*t.node);
    if (where == HL_APPEND_CONTENT) text = ks::render::InnerHtml(*t.node) + text;
    const bool hadControls = ks::render::ContainsControl(*t.node);
    t.view->page().setInnerHtml(*t.node, text);
    t.view->contentChanged(*t.node, hadControls);
    t.view->changed(false, false);
    return HL_OK;
  });
}

HLResult WINAPI HTMLayoutSetElementInnerText16(HLELEMENT he, const WCHAR* text, UINT length) {
  return Guarded([&] {
    if (!text && length > 0) return HL_INVALID_PARAMETER;
    Target t = Resolve(he);
    if (!t.node || !t.view->page().attached(*t.node)) return HL_INVALID_ELEMENT;
    const bool hadControls = ks::render::ContainsControl(*t.node);
    t.view->page().setInnerText(*t.node, text ? Utf8Of(text, length) : std::string());
    t.view->contentChanged(*t.node, hadControls);
    t.view->changed(false, false);
    return HL_OK;
  });
}

HLResult WINAPI HTMLayoutUpdateElement(HLELEMENT he, BOOL remeasure) {
  return Guarded([&] {
    Target t = Resolve(he);
    if (!t.node) return HL_INVALID_ELEMENT;
    if (remeasure) t.view->page().invalidateLayout();
    t.view->changed(true, false);
    return HL_OK;
  });
}

HLResult WINAPI HTMLayoutUpdateElementEx(HLELEMENT he, UINT flags) {
  return Guarded([&] {
    Target t = Resolve(he);
    if (!t.node) return HL_INVALID_ELEMENT;
    t.view->changed((flags & HL_UPDATE_MEASURE) != 0, (flags & HL_UPDATE_PAINT_NOW) != 0);
    return HL_OK;
  });
}

HLResult WINAPI HTMLayoutGetElementLocation(HLELEMENT he, RECT* location, UINT area) {
  return Guarded([&] {
    const UINT origin = area & 0x0F;
    const UINT box = area & 0xF0;
    if (!location || (origin != HL_ROOT_RELATIVE && origin != HL_VIEW_RELATIVE) ||
        (box != HL_CONTENT_BOX && box != HL_BORDER_BOX)) {
      return HL_INVALID_PARAMETER;
    }
    Target t = Resolve(he);
    if (!t.node) return HL_INVALID_ELEMENT;
    *location = RECT{};
    return t.view->location(*t.node, area, *location) ? HL_OK : HL_FAILED;
  });
}

}  // extern "C"
