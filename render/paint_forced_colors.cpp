#include "render/paint_forced_colors.h"

#include "render/dom_controls.h"

namespace ks::render {
namespace {

// The nearest control around what an operation draws, or null.
const Node* ControlAround(const Node* node) {
  for (const Node* n = node; n; n = n->parent()) {
    if (ControlKindOf(*n) != ControlKind::None) return n;
  }
  return nullptr;
}

std::uint32_t TextColor(const Node* control, const ForcedColors& colors) {
  if (!control) return colors.windowText;
  if (control->state() & kStateDisabled) return colors.grayText;
  switch (ControlKindOf(*control)) {
    case ControlKind::Link: return colors.hotLight;
    case ControlKind::Button: return colors.buttonText;
    default: return colors.windowText;
  }
}

}  // namespace

void ApplyForcedColors(std::vector<PaintOp>& ops, const ForcedColors& colors) {
  for (PaintOp& op : ops) {
    const Node* control = ControlAround(op.node);
    const bool button = control && ControlKindOf(*control) == ControlKind::Button;
    switch (op.kind) {
      case PaintOp::Kind::Background: op.color = button ? colors.buttonFace : colors.window; break;
      case PaintOp::Kind::Border:
        for (std::uint32_t& c : op.borderColor) c = button ? colors.buttonText : colors.windowText;
        break;
      case PaintOp::Kind::Text: op.color = TextColor(control, colors); break;
      default: break;  // images keep their colours; marks and focus are drawn from the palette
    }
  }
}

}  // namespace ks::render
