#include "render/page_accessibility.h"

#include "render/dom_controls.h"
#include "render/dom_document.h"
#include "render/layout_box.h"
#include "render/style_computed.h"

namespace ks::render {
namespace {

bool IsNestedControl(const Node* node, const Node& control) {
  return node && node != &control && ControlKindOf(*node) != ControlKind::None;
}

void AppendBoxText(const LayoutBox& box, const Node& control, std::string& out) {
  if (IsNestedControl(box.node, control)) return;
  if (box.kind == BoxKind::Text) {
    out += box.text;
  } else if (box.kind == BoxKind::LineBreak) {
    out += ' ';
  }
  for (const LayoutBox* c : box.children) AppendBoxText(*c, control, out);
}

void AppendNodeText(const Node& node, const Node& control, std::string& out) {
  if (IsNestedControl(&node, control)) return;
  if (node.isText()) {
    out += node.text();
    return;
  }
  if (node.tag() == Tag::Input) out += node.attributeOr("value", "");
  for (const auto& c : node.children()) AppendNodeText(*c, control, out);
}

// Runs of spaces, tabs, line ends and no-break spaces become one space; none
// is left at either end.
std::string Collapse(const std::string& text) {
  std::string out;
  bool pendingSpace = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    bool space = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
    if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xA0) {
      space = true;
      ++i;
    }
    if (space) {
      pendingSpace = !out.empty();
      continue;
    }
    if (pendingSpace) out += ' ';
    pendingSpace = false;
    out += static_cast<char>(c);
  }
  return out;
}

}  // namespace

std::vector<Node*> AccessibleControls(Node& root) {
  std::vector<Node*> out;
  Document::VisitElements(root, [&](Node& n) {
    if (ControlKindOf(n) != ControlKind::None && IsShown(n)) out.push_back(&n);
    return true;
  });
  return out;
}

bool ContainsControl(const Node& element) {
  for (const auto& c : element.children()) {
    if (c->isElement() && (ControlKindOf(*c) != ControlKind::None || ContainsControl(*c))) return true;
  }
  return false;
}

AccessibleRole AccessibleRoleOf(const Node& control) {
  switch (ControlKindOf(control)) {
    case ControlKind::CheckBox: return AccessibleRole::CheckBox;
    case ControlKind::Radio: return AccessibleRole::RadioButton;
    case ControlKind::Link: return AccessibleRole::Link;
    default: return AccessibleRole::PushButton;
  }
}

std::string AccessibleName(const Node& control) {
  std::string text;
  if (control.box) {
    AppendBoxText(*control.box, control, text);
  } else {
    AppendNodeText(control, control, text);
  }
  std::string name = Collapse(text);
  if (name.empty()) name = Collapse(std::string(control.attributeOr("title", "")));
  return name;
}

std::string AccessibleDescription(const Node& control) {
  std::string title = Collapse(std::string(control.attributeOr("title", "")));
  return title == AccessibleName(control) ? std::string() : title;
}

std::string AccessibleDefaultAction(const Node& control) {
  switch (AccessibleRoleOf(control)) {
    case AccessibleRole::CheckBox: return (control.state() & kStateChecked) ? "Uncheck" : "Check";
    case AccessibleRole::RadioButton: return "Check";
    case AccessibleRole::PushButton: return "Press";
    case AccessibleRole::Link: return "Jump";
  }
  return {};
}

}  // namespace ks::render
