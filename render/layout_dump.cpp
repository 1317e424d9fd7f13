#include "render/layout_dump.h"

#include "render/layout_saturating.h"

namespace ks::render {
namespace {

const char* KindName(const LayoutBox& b) {
  if (b.floating) return "float";
  switch (b.control) {
    case Control::CheckBox: return "checkbox";
    case Control::Radio: return "radio";
    case Control::Button: return "button";
    case Control::None: break;
  }
  switch (b.kind) {
    case BoxKind::Block: return "block";
    case BoxKind::InlineBlock: return "inline-block";
    case BoxKind::Inline: return "inline";
    case BoxKind::Text: return "text";
    case BoxKind::Image: return "image";
    case BoxKind::LineBreak: return "br";
    case BoxKind::Table: return "table";
    case BoxKind::TableRow: return "row";
    case BoxKind::TableCell: return "cell";
  }
  return "?";
}

std::string RectText(const Rect& r) {
  return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.w) + "x" + std::to_string(r.h);
}

void Dump(const LayoutBox& b, int depth, std::string& out) {
  if (b.kind == BoxKind::Text || b.kind == BoxKind::LineBreak) return;
  out.append(static_cast<std::size_t>(depth) * 2, ' ');
  out += KindName(b);
  if (b.node) {
    out += ' ';
    out += b.node->name();
    if (const std::string* id = b.node->attribute("id")) out += "#" + *id;
    if (const std::string* cls = b.node->attribute("class")) out += "." + *cls;
  } else {
    out += " (anonymous)";
  }
  out += " [";
  out += RectText(AbsoluteBorderBox(b));
  out += "]\n";
  if (b.inlineContent) {
    const Rect content = AbsoluteContentBox(b);
    const int oy = AddPx(content.y, b.contentShiftY);
    for (std::size_t li = 0; li < b.lines.size(); ++li) {
      const LineInfo& line = b.lines[li];
      out.append(static_cast<std::size_t>(depth + 1) * 2, ' ');
      out += "line y=" + std::to_string(AddPx(oy, line.y)) + " h=" + std::to_string(line.height) +
             " baseline=" + std::to_string(AddPx(oy, line.y, line.baseline)) + "\n";
      for (const TextRun& r : b.runs) {
        if (r.line != static_cast<int>(li)) continue;
        out.append(static_cast<std::size_t>(depth + 2) * 2, ' ');
        out += "\"" + r.box->text.substr(r.start, r.end - r.start) + "\" x=" + std::to_string(AddPx(content.x, r.x)) +
               " w=" + std::to_string(r.width) + "\n";
      }
    }
  }
  for (const LayoutBox* c : b.children) Dump(*c, depth + 1, out);
}

}  // namespace

std::string DumpBoxTree(const LayoutBox& root) {
  std::string out;
  Dump(root, 0, out);
  return out;
}

}  // namespace ks::render
