#include "render/dom_controls.h"

#include <algorithm>

#include "render/dom_document.h"
#include "render/style_computed.h"
#include "render/text_utf8.h"

namespace ks::render {

bool IsShown(const Node& element) {
  for (const Node* n = &element; n; n = n->parent()) {
    if (n->style && (n->style->display == Display::None || !n->style->visible)) return false;
  }
  return true;
}

ControlKind ControlKindOf(const Node& e) {
  if (!e.isElement()) return ControlKind::None;
  const std::string_view type = e.attributeOr("type", "");
  switch (e.tag()) {
    case Tag::Widget:
    case Tag::Input:
      if (EqualsIgnoreAsciiCase(type, "checkbox")) return ControlKind::CheckBox;
      if (EqualsIgnoreAsciiCase(type, "radio")) return ControlKind::Radio;
      if (e.tag() == Tag::Input && (EqualsIgnoreAsciiCase(type, "submit") || EqualsIgnoreAsciiCase(type, "button") ||
                                    EqualsIgnoreAsciiCase(type, "reset"))) {
        return ControlKind::Button;
      }
      return ControlKind::None;
    case Tag::Button: return ControlKind::Button;
    case Tag::A: return e.attribute("href") ? ControlKind::Link : ControlKind::None;
    default: return ControlKind::None;
  }
}

Node* ControlAncestor(Node* node) {
  for (Node* n = node; n; n = n->parent()) {
    if (ControlKindOf(*n) != ControlKind::None) return n;
  }
  return nullptr;
}

std::vector<Node*> FocusOrder(Node& root) {
  std::vector<Node*> out;
  Document::VisitElements(root, [&](Node& n) {
    if (ControlKindOf(n) != ControlKind::None && !(n.state() & kStateDisabled) && IsShown(n)) out.push_back(&n);
    return true;
  });
  return out;
}

Node* NextInFocusOrder(Node& root, const Node* current, bool forward) {
  const std::vector<Node*> order = FocusOrder(root);
  if (order.empty()) return nullptr;
  const auto it = std::find(order.begin(), order.end(), current);
  if (it == order.end()) return forward ? order.front() : order.back();
  const std::size_t i = static_cast<std::size_t>(it - order.begin());
  const std::size_t n = order.size();
  return order[forward ? (i + 1) % n : (i + n - 1) % n];
}

Node* ControlWithRole(Node& root, std::string_view role) {
  Node* found = nullptr;
  Document::VisitElements(root, [&](Node& n) {
    if (ControlKindOf(n) != ControlKind::None && n.attributeOr("role", "") == role && !(n.state() & kStateDisabled)) {
      found = &n;
      return false;
    }
    return true;
  });
  return found;
}

}  // namespace ks::render
