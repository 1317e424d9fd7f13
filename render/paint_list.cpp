#include "render/paint_list.h"

#include <algorithm>
#include <cstdio>

#include "render/layout_saturating.h"

namespace ks::render {
namespace {

class Painter {
 public:
  Painter(std::vector<PaintOp>& out, int mark) : out_(out), mark_(mark) {}

  void box(const LayoutBox& b) {
    if (b.kind == BoxKind::Text || b.kind == BoxKind::LineBreak) return;
    const bool visible = b.style->visible;
    if (b.kind == BoxKind::Inline) {
      for (const LayoutBox* c : b.children) box(*c);
      return;
    }
    const Rect r = AbsoluteBorderBox(b);
    if (visible) decorate(b, r);
    if (visible && b.kind == BoxKind::Image && b.node) {
      PaintOp op = make(PaintOp::Kind::Image, b, AbsoluteContentBox(b));
      op.text = std::string(b.node->attributeOr("src", ""));
      out_.push_back(std::move(op));
    }
    if (visible && (b.control == Control::CheckBox || b.control == Control::Radio)) {
      const Rect content = AbsoluteContentBox(b);
      const int firstLine = b.lines.empty() ? mark_ : std::max(mark_, b.lines.front().height);
      const Rect m{AddPx(content.x, -mark_, -4), AddPx(content.y, SubPx(firstLine, mark_) / 2), mark_, mark_};
      PaintOp op = make(b.control == Control::CheckBox ? PaintOp::Kind::CheckBox : PaintOp::Kind::Radio, b, m);
      out_.push_back(std::move(op));
    }
    if (b.inlineContent) {
      inlineDecorations(b);
      text(b);
      atomics(b);
    } else {
      for (const LayoutBox* c : b.children) box(*c);
    }
    if (b.node && (b.node->state() & kStateFocus)) out_.push_back(make(PaintOp::Kind::FocusRect, b, r));
  }

 private:
  PaintOp make(PaintOp::Kind kind, const LayoutBox& b, const Rect& r) const {
    PaintOp op;
    op.kind = kind;
    op.rect = r;
    op.node = b.node;
    op.state = b.node ? b.node->state() : 0;
    for (int i = 0; i < 4; ++i) op.radius[i] = b.style->borderRadius[i];
    return op;
  }

  void decorate(const LayoutBox& b, const Rect& r) {
    const ComputedStyle& s = *b.style;
    if (b.control == Control::Button) {
      out_.push_back(make(PaintOp::Kind::Button, b, r));
    }
    if ((s.backgroundColor >> 24) != 0) {
      PaintOp op = make(PaintOp::Kind::Background, b, r);
      op.color = s.backgroundColor;
      out_.push_back(std::move(op));
    }
    if (b.border.top || b.border.right || b.border.bottom || b.border.left) {
      PaintOp op = make(PaintOp::Kind::Border, b, r);
      const int widths[4] = {b.border.top, b.border.right, b.border.bottom, b.border.left};
      for (int i = 0; i < 4; ++i) {
        op.borderWidth[i] = widths[i];
        op.borderStyle[i] = s.borderStyle[i];
        op.borderColor[i] = s.borderColor[i];
      }
      out_.push_back(std::move(op));
    }
  }

  // Backgrounds and borders of inline boxes, one per line they cover.
  void inlineDecorations(const LayoutBox& b) {
    for (const LayoutBox* c : b.children) {
      if (c->kind != BoxKind::Inline) continue;
      if (c->style->visible && c->container) {
        const Rect origin = AbsoluteContentBox(*c->container);
        for (const Rect& f : c->fragments) {
          const Rect r{AddPx(origin.x, f.x), AddPx(origin.y, c->container->contentShiftY, f.y), f.w, f.h};
          decorate(*c, r);
          // A focused link gets its mark on every line it covers.
          if (c->node && (c->node->state() & kStateFocus)) out_.push_back(make(PaintOp::Kind::FocusRect, *c, r));
        }
      }
      inlineDecorations(*c);
    }
  }

  void text(const LayoutBox& b) {
    const Rect origin = AbsoluteContentBox(b);
    for (const TextRun& r : b.runs) {
      const ComputedStyle& s = *r.box->style;
      if (!s.visible) continue;
      PaintOp op;
      op.kind = PaintOp::Kind::Text;
      // Generated text and button labels have no node of their own: they
      // belong to the element whose box holds them.
      const LayoutBox* owner = r.box;
      while (owner && !owner->node) owner = owner->parent;
      op.node = owner ? owner->node : nullptr;
      op.text = r.box->text.substr(r.start, r.end - r.start);
      op.font = r.box->font;
      op.color = s.color;
      op.underline = s.underline;
      op.lineThrough = s.lineThrough;
      op.baseline = AddPx(origin.y, b.contentShiftY, r.baseline);
      const LineInfo& line = b.lines[static_cast<std::size_t>(r.line)];
      op.rect = Rect{AddPx(origin.x, r.x), AddPx(origin.y, b.contentShiftY, line.y), r.width, line.height};
      out_.push_back(std::move(op));
    }
  }

  void atomics(const LayoutBox& b) {
    for (const LayoutBox* c : b.children) {
      if (c->kind == BoxKind::Inline) {
        atomics(*c);
      } else if (c->kind != BoxKind::Text && c->kind != BoxKind::LineBreak) {
        box(*c);
      }
    }
  }

  std::vector<PaintOp>& out_;
  int mark_;
};

const char* KindName(PaintOp::Kind k) {
  switch (k) {
    case PaintOp::Kind::Background: return "background";
    case PaintOp::Kind::Border: return "border";
    case PaintOp::Kind::Text: return "text";
    case PaintOp::Kind::Image: return "image";
    case PaintOp::Kind::CheckBox: return "checkbox";
    case PaintOp::Kind::Radio: return "radio";
    case PaintOp::Kind::Button: return "button";
    case PaintOp::Kind::FocusRect: return "focus";
  }
  return "?";
}

}  // namespace

std::vector<PaintOp> BuildPaintList(const LayoutBox& root, int checkMarkSize) {
  std::vector<PaintOp> out;
  Painter(out, checkMarkSize).box(root);
  return out;
}

std::string DumpPaintList(const std::vector<PaintOp>& ops) {
  std::string out;
  char buf[160];
  for (const PaintOp& op : ops) {
    std::snprintf(buf, sizeof buf, "%s %d,%d %dx%d", KindName(op.kind), op.rect.x, op.rect.y, op.rect.w, op.rect.h);
    out += buf;
    switch (op.kind) {
      case PaintOp::Kind::Background:
        std::snprintf(buf, sizeof buf, " #%08X r=%g", static_cast<unsigned>(op.color),
                      static_cast<double>(op.radius[0]));
        out += buf;
        break;
      case PaintOp::Kind::Border:
        std::snprintf(buf, sizeof buf, " w=%d style=%d #%08X r=%g", op.borderWidth[0],
                      static_cast<int>(op.borderStyle[0]), static_cast<unsigned>(op.borderColor[0]),
                      static_cast<double>(op.radius[0]));
        out += buf;
        break;
      case PaintOp::Kind::Text:
        std::snprintf(buf, sizeof buf, " base=%d #%08X%s \"", op.baseline, static_cast<unsigned>(op.color),
                      op.underline ? " underline" : "");
        out += buf;
        out += op.text;
        out += "\"";
        break;
      case PaintOp::Kind::Image: out += " " + op.text; break;
      case PaintOp::Kind::CheckBox:
      case PaintOp::Kind::Radio:
      case PaintOp::Kind::Button: out += (op.state & kStateChecked) ? " checked" : ""; break;
      case PaintOp::Kind::FocusRect: break;
    }
    out += "\n";
  }
  return out;
}

}  // namespace ks::render
