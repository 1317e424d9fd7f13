#include "render/layout_builder.h"

#include <algorithm>

#include "render/style_hints.h"
#include "render/text_utf8.h"

namespace ks::render {
namespace {

bool IsCollapsibleSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

bool IsWhitespaceText(const LayoutBox& b) {
  if (b.kind != BoxKind::Text || !b.node) return false;
  if (b.style->whiteSpace == WhiteSpace::Pre || b.style->whiteSpace == WhiteSpace::PreWrap) return false;
  for (char c : b.node->text()) {
    if (!IsCollapsibleSpace(c)) return false;
  }
  return true;
}

bool IsBlockLevel(const LayoutBox& b) {
  return !b.floating && (b.kind == BoxKind::Block || (b.kind == BoxKind::Table && b.style->isBlockLevel()));
}

class Builder {
 public:
  explicit Builder(BoxTree& tree) : tree_(tree) {}

  LayoutBox* build(Node& node) {
    LayoutBox* box = buildNode(node);
    if (box) fixUp(*box);
    return box;
  }

 private:
  LayoutBox* make(BoxKind kind, Node* node, const ComputedStyle* style) {
    tree_.boxes.emplace_back();
    LayoutBox* b = &tree_.boxes.back();
    b->kind = kind;
    b->node = node;
    b->style = style;
    return b;
  }

  const ComputedStyle* anonymousStyle(const ComputedStyle& parent) {
    tree_.anonymousStyles.push_back(ComputedStyle::InheritedFrom(parent));
    return &tree_.anonymousStyles.back();
  }

  LayoutBox* anonymous(BoxKind kind, LayoutBox& parent) {
    LayoutBox* b = make(kind, nullptr, anonymousStyle(*parent.style));
    tree_.anonymousStyles.back().display = kind == BoxKind::TableRow    ? Display::TableRow
                                           : kind == BoxKind::TableCell ? Display::TableCell
                                                                        : Display::Block;
    return b;
  }

  static void adopt(LayoutBox& parent, LayoutBox* child) {
    child->parent = &parent;
    parent.children.push_back(child);
  }

  static BoxKind KindFor(const Node& e, const ComputedStyle& s) {
    if (e.tag() == Tag::Br) return BoxKind::LineBreak;
    if (e.tag() == Tag::Img) return BoxKind::Image;
    switch (s.display) {
      case Display::Block:
      case Display::ListItem: return BoxKind::Block;
      case Display::InlineBlock: return BoxKind::InlineBlock;
      case Display::Table: return BoxKind::Table;
      case Display::TableRow: return BoxKind::TableRow;
      case Display::TableCell: return BoxKind::TableCell;
      default: return BoxKind::Inline;
    }
  }

  static Control ControlFor(const Node& e) {
    const std::string type = AsciiLowered(e.attributeOr("type", ""));
    if (e.tag() == Tag::Widget || e.tag() == Tag::Input) {
      if (type == "checkbox") return Control::CheckBox;
      if (type == "radio") return Control::Radio;
    }
    if (e.tag() == Tag::Input && (type == "submit" || type == "button" || type == "reset")) return Control::Button;
    if (e.tag() == Tag::Button) return Control::Button;
    return Control::None;
  }

  LayoutBox* buildNode(Node& node) {
    node.box = nullptr;
    const ComputedStyle* style = node.style;
    if (!style) return nullptr;
    if (node.isText()) {
      LayoutBox* t = make(BoxKind::Text, &node, style);
      node.box = t;
      return t;
    }
    if (style->display == Display::None) {
      clearBoxes(node);
      return nullptr;
    }
    LayoutBox* box = make(KindFor(node, *style), &node, style);
    box->floating = style->floatSide != FloatSide::None;
    box->control = ControlFor(node);
    if (box->control == Control::Button && box->kind == BoxKind::Inline) box->kind = BoxKind::InlineBlock;
    if (box->control != Control::None && box->kind == BoxKind::Inline) box->kind = BoxKind::InlineBlock;
    if (const std::string* span = node.attribute("colspan")) {
      int n = 1;
      if (ParseIntegerAttribute(*span, n)) box->colspan = std::clamp(n, 1, 1000);
    }
    node.box = box;
    if (box->kind == BoxKind::Image || box->kind == BoxKind::LineBreak) return box;
    if (node.tag() == Tag::Input) {
      // A button's label is its value.
      if (box->control == Control::Button) {
        LayoutBox* label = make(BoxKind::Text, nullptr, style);
        label->text = std::string(node.attributeOr("value", ""));
        adopt(*box, label);
      }
      return box;
    }
    bool contentPlaced = false;
    for (const auto& c : node.children()) {
      if (style->hasContent && c->isText()) {
        // content: "text" replaces the element's own text and keeps its elements.
        c->box = nullptr;
        if (!contentPlaced) addContentText(*box, *style);
        contentPlaced = true;
        continue;
      }
      if (c->isElement() && c->style && c->style->display == Display::TableRowGroup) {
        // Row groups are transparent: their rows belong to the table.
        c->box = nullptr;
        for (const auto& row : c->children()) {
          if (LayoutBox* r = buildNode(*row)) adopt(*box, r);
        }
        continue;
      }
      if (LayoutBox* child = buildNode(*c)) adopt(*box, child);
    }
    if (style->hasContent && !contentPlaced) {
      addContentText(*box, *style);
      // The generated text goes first, as the element's own text would.
      LayoutBox* generated = box->children.back();
      box->children.pop_back();
      box->children.insert(box->children.begin(), generated);
    }
    return box;
  }

  void addContentText(LayoutBox& box, const ComputedStyle& style) {
    LayoutBox* t = make(BoxKind::Text, nullptr, &style);
    t->text = style.content;
    adopt(box, t);
  }

  static void clearBoxes(Node& node) {
    node.box = nullptr;
    for (const auto& c : node.children()) clearBoxes(*c);
  }

  // Makes the children of every box fit its kind.
  void fixUp(LayoutBox& box) {
    for (LayoutBox* c : box.children) fixUp(*c);
    switch (box.kind) {
      case BoxKind::Table: fixTable(box); break;
      case BoxKind::TableRow:
        if (!box.parent || box.parent->kind != BoxKind::Table) box.kind = BoxKind::Block;
        fixRow(box);
        break;
      case BoxKind::TableCell:
        if (!box.parent || box.parent->kind != BoxKind::TableRow) box.kind = BoxKind::Block;
        fixBlockContainer(box);
        break;
      case BoxKind::Block:
      case BoxKind::InlineBlock: fixBlockContainer(box); break;
      case BoxKind::Inline:
        // A block inside an inline sits in the line as an inline block; the
        // inline is not split in two as CSS would.
        for (LayoutBox* c : box.children) {
          if (IsBlockLevel(*c) || c->kind == BoxKind::TableRow || c->kind == BoxKind::TableCell) {
            c->kind = c->kind == BoxKind::Table ? BoxKind::Table : BoxKind::InlineBlock;
          }
        }
        break;
      default: break;
    }
  }

  void fixBlockContainer(LayoutBox& box) {
    for (LayoutBox* c : box.children) {
      if (c->kind == BoxKind::TableRow || c->kind == BoxKind::TableCell) c->kind = BoxKind::Block;
    }
    bool anyBlock = false, anyInline = false;
    for (LayoutBox* c : box.children) {
      if (IsBlockLevel(*c)) {
        anyBlock = true;
      } else if (!IsWhitespaceText(*c)) {
        anyInline = true;
      }
    }
    if (!anyBlock) {
      box.inlineContent = !box.children.empty();
      return;
    }
    std::vector<LayoutBox*> out;
    LayoutBox* run = nullptr;
    bool runHasContent = false;
    const auto endRun = [&]() {
      if (run && runHasContent) out.push_back(run);
      run = nullptr;
      runHasContent = false;
    };
    for (LayoutBox* c : box.children) {
      if (IsBlockLevel(*c)) {
        endRun();
        out.push_back(c);
        continue;
      }
      if (!anyInline) continue;  // only whitespace between blocks
      if (!run) {
        run = anonymous(BoxKind::Block, box);
        run->parent = &box;
        run->inlineContent = true;
      }
      c->parent = run;
      run->children.push_back(c);
      if (!IsWhitespaceText(*c)) runHasContent = true;
    }
    endRun();
    box.children = std::move(out);
    box.inlineContent = false;
  }

  void fixRow(LayoutBox& row) {
    std::vector<LayoutBox*> out;
    LayoutBox* cell = nullptr;
    for (LayoutBox* c : row.children) {
      if (c->kind == BoxKind::TableCell) {
        cell = nullptr;
        out.push_back(c);
        continue;
      }
      if (IsWhitespaceText(*c)) continue;
      if (!cell) {
        cell = anonymous(BoxKind::TableCell, row);
        cell->parent = &row;
        out.push_back(cell);
      }
      c->parent = cell;
      cell->children.push_back(c);
    }
    row.children = std::move(out);
    for (LayoutBox* c : row.children) {
      if (!c->node) fixBlockContainer(*c);
    }
  }

  void fixTable(LayoutBox& table) {
    std::vector<LayoutBox*> out;
    LayoutBox* row = nullptr;
    for (LayoutBox* c : table.children) {
      if (c->kind == BoxKind::TableRow) {
        row = nullptr;
        out.push_back(c);
        continue;
      }
      if (IsWhitespaceText(*c)) continue;
      if (!row) {
        row = anonymous(BoxKind::TableRow, table);
        row->parent = &table;
        out.push_back(row);
      }
      c->parent = row;
      row->children.push_back(c);
    }
    table.children = std::move(out);
    for (LayoutBox* c : table.children) {
      if (!c->node) fixRow(*c);
    }
  }

  BoxTree& tree_;
};

}  // namespace

void BuildBoxTree(Node& root, BoxTree& tree) {
  tree.clear();
  Builder builder(tree);
  tree.root = builder.build(root);
}

}  // namespace ks::render
