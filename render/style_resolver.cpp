#include "render/style_resolver.h"

#include <algorithm>
#include <cmath>

#include "render/css_declaration_parser.h"
#include "render/style_hints.h"
#include "render/style_ua_sheet.h"

namespace ks::render {
namespace {

constexpr int kOriginUserAgent = 0;
constexpr int kOriginHints = 1;
constexpr int kOriginAuthor = 2;
constexpr int kOriginInline = 3;

float Clamp(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

// CSS pixels of an absolute or font-relative length.
float ToPx(const CssValue& v, float fontSize, float rootFontSize) {
  switch (v.unit) {
    case CssUnit::None: case CssUnit::Px: return v.number;
    case CssUnit::Pt: return v.number * 96.0f / 72.0f;
    case CssUnit::Pc: return v.number * 16.0f;
    case CssUnit::In: return v.number * 96.0f;
    case CssUnit::Cm: return v.number * 96.0f / 2.54f;
    case CssUnit::Mm: return v.number * 96.0f / 25.4f;
    case CssUnit::Em: return v.number * fontSize;
    case CssUnit::Ex: return v.number * fontSize * 0.5f;
    case CssUnit::Rem: return v.number * rootFontSize;
    case CssUnit::Percent: return v.number * fontSize / 100.0f;
  }
  return 0.0f;
}

Length ToLength(const CssValue& v, float fontSize, float rootFontSize) {
  if (v.type == CssValue::Type::Keyword && v.keyword == CssKeyword::Auto) return Length::Auto();
  if (v.type != CssValue::Type::Length) return Length::Px(0);
  if (v.unit == CssUnit::Percent) return Length::Percent(v.number);
  return Length::Px(Clamp(ToPx(v, fontSize, rootFontSize), -1.0e6f, 1.0e6f));
}

BorderStyle ToBorderStyle(CssKeyword k) {
  switch (k) {
    case CssKeyword::Hidden: return BorderStyle::Hidden;
    case CssKeyword::Solid: return BorderStyle::Solid;
    case CssKeyword::Dashed: return BorderStyle::Dashed;
    case CssKeyword::Dotted: return BorderStyle::Dotted;
    case CssKeyword::Double: return BorderStyle::Double;
    case CssKeyword::Groove: return BorderStyle::Groove;
    case CssKeyword::Ridge: return BorderStyle::Ridge;
    case CssKeyword::Inset: return BorderStyle::Inset;
    case CssKeyword::Outset: return BorderStyle::Outset;
    default: return BorderStyle::None;
  }
}

Display ToDisplay(CssKeyword k) {
  switch (k) {
    case CssKeyword::None: return Display::None;
    case CssKeyword::Block: case CssKeyword::TableCaption: return Display::Block;
    case CssKeyword::InlineBlock: case CssKeyword::InlineTable: return Display::InlineBlock;
    case CssKeyword::ListItem: return Display::ListItem;
    case CssKeyword::Table: return Display::Table;
    case CssKeyword::TableRow: return Display::TableRow;
    case CssKeyword::TableRowGroup: case CssKeyword::TableHeaderGroup: case CssKeyword::TableFooterGroup:
      return Display::TableRowGroup;
    case CssKeyword::TableCell: return Display::TableCell;
    case CssKeyword::TableColumn: case CssKeyword::TableColumnGroup: return Display::None;
    default: return Display::Inline;
  }
}

Cursor ToCursor(CssKeyword k) {
  switch (k) {
    case CssKeyword::Default: return Cursor::Default;
    case CssKeyword::Pointer: case CssKeyword::Hand: return Cursor::Pointer;
    case CssKeyword::Text: return Cursor::Text;
    case CssKeyword::Move: return Cursor::Move;
    case CssKeyword::Wait: return Cursor::Wait;
    case CssKeyword::Help: return Cursor::Help;
    case CssKeyword::Crosshair: return Cursor::Crosshair;
    default: return Cursor::Auto;
  }
}

// Copies one property's computed value; for 'inherit' and 'initial'.
void CopyProperty(ComputedStyle& s, const ComputedStyle& from, CssProperty p) {
  switch (p) {
    case CssProperty::Color: s.color = from.color; break;
    case CssProperty::BackgroundColor: s.backgroundColor = from.backgroundColor; break;
    case CssProperty::FontFamily: s.fontFamily = from.fontFamily; break;
    case CssProperty::FontSize: s.fontSize = from.fontSize; break;
    case CssProperty::FontWeight: s.fontWeight = from.fontWeight; break;
    case CssProperty::FontStyle: s.italic = from.italic; break;
    case CssProperty::TextTransform: s.textTransform = from.textTransform; break;
    case CssProperty::TextAlign: s.textAlign = from.textAlign; break;
    case CssProperty::VerticalAlign:
      s.verticalAlign = from.verticalAlign;
      s.verticalShift = from.verticalShift;
      break;
    case CssProperty::TextDecoration:
      s.underline = from.underline;
      s.lineThrough = from.lineThrough;
      break;
    case CssProperty::WhiteSpace: s.whiteSpace = from.whiteSpace; break;
    case CssProperty::LineHeight:
      s.lineHeight = from.lineHeight;
      s.lineHeightIsFactor = from.lineHeightIsFactor;
      break;
    case CssProperty::Display: s.display = from.display; break;
    case CssProperty::Float: s.floatSide = from.floatSide; break;
    case CssProperty::Clear: break;
    case CssProperty::Width: s.width = from.width; break;
    case CssProperty::Height: s.height = from.height; break;
    case CssProperty::MinWidth: s.minWidth = from.minWidth; break;
    case CssProperty::MinHeight: s.minHeight = from.minHeight; break;
    case CssProperty::MarginTop: s.margin[kTop] = from.margin[kTop]; break;
    case CssProperty::MarginRight: s.margin[kRight] = from.margin[kRight]; break;
    case CssProperty::MarginBottom: s.margin[kBottom] = from.margin[kBottom]; break;
    case CssProperty::MarginLeft: s.margin[kLeft] = from.margin[kLeft]; break;
    case CssProperty::PaddingTop: s.padding[kTop] = from.padding[kTop]; break;
    case CssProperty::PaddingRight: s.padding[kRight] = from.padding[kRight]; break;
    case CssProperty::PaddingBottom: s.padding[kBottom] = from.padding[kBottom]; break;
    case CssProperty::PaddingLeft: s.padding[kLeft] = from.padding[kLeft]; break;
    case CssProperty::BorderTopWidth: s.borderWidth[kTop] = from.borderWidth[kTop]; break;
    case CssProperty::BorderRightWidth: s.borderWidth[kRight] = from.borderWidth[kRight]; break;
    case CssProperty::BorderBottomWidth: s.borderWidth[kBottom] = from.borderWidth[kBottom]; break;
    case CssProperty::BorderLeftWidth: s.borderWidth[kLeft] = from.borderWidth[kLeft]; break;
    case CssProperty::BorderTopStyle: s.borderStyle[kTop] = from.borderStyle[kTop]; break;
    case CssProperty::BorderRightStyle: s.borderStyle[kRight] = from.borderStyle[kRight]; break;
    case CssProperty::BorderBottomStyle: s.borderStyle[kBottom] = from.borderStyle[kBottom]; break;
    case CssProperty::BorderLeftStyle: s.borderStyle[kLeft] = from.borderStyle[kLeft]; break;
    case CssProperty::BorderTopColor: case CssProperty::BorderRightColor: case CssProperty::BorderBottomColor:
    case CssProperty::BorderLeftColor: {
      const auto i = static_cast<std::size_t>(static_cast<int>(p) - static_cast<int>(CssProperty::BorderTopColor));
      s.borderColor[i] = from.borderColor[i];
      s.borderColorIsCurrent[i] = from.borderColorIsCurrent[i];
      break;
    }
    case CssProperty::BorderTopLeftRadius: case CssProperty::BorderTopRightRadius:
    case CssProperty::BorderBottomRightRadius: case CssProperty::BorderBottomLeftRadius: {
      const auto i = static_cast<std::size_t>(static_cast<int>(p) - static_cast<int>(CssProperty::BorderTopLeftRadius));
      s.borderRadius[i] = from.borderRadius[i];
      break;
    }
    case CssProperty::Content:
      s.hasContent = from.hasContent;
      s.content = from.content;
      break;
    case CssProperty::Cursor: s.cursor = from.cursor; break;
    case CssProperty::BorderSpacing: s.borderSpacing = from.borderSpacing; break;
    case CssProperty::Visibility: s.visible = from.visible; break;
    case CssProperty::TextIndent: s.textIndent = from.textIndent; break;
    case CssProperty::Count: break;
  }
}

int SideIndex(CssProperty p, CssProperty first) { return static_cast<int>(p) - static_cast<int>(first); }

void Apply(ComputedStyle& s, const CssDeclaration& d, const ComputedStyle& parent, float rootFontSize) {
  const CssValue& v = d.value;
  if (v.type == CssValue::Type::Inherit) {
    CopyProperty(s, parent, d.property);
    return;
  }
  if (v.type == CssValue::Type::Keyword && v.keyword == CssKeyword::Initial) {
    static const ComputedStyle kInitial;
    CopyProperty(s, kInitial, d.property);
    return;
  }
  const CssKeyword k = v.type == CssValue::Type::Keyword ? v.keyword : CssKeyword::Unknown;
  const float em = s.fontSize;
  switch (d.property) {
    case CssProperty::Color:
      if (v.type == CssValue::Type::Color) s.color = v.color;
      else if (k == CssKeyword::CurrentColor) s.color = parent.color;
      break;
    case CssProperty::BackgroundColor:
      if (v.type == CssValue::Type::Color) s.backgroundColor = v.color;
      else if (k == CssKeyword::CurrentColor) s.backgroundColor = s.color;
      break;
    case CssProperty::FontFamily: s.fontFamily = v.text; break;
    case CssProperty::FontSize: break;  // resolved before all others
    case CssProperty::FontWeight:
      if (v.type != CssValue::Type::Keyword) {
        s.fontWeight = static_cast<int>(v.number);
      } else if (k == CssKeyword::Bolder) {
        s.fontWeight = parent.fontWeight < 350 ? 400 : (parent.fontWeight < 550 ? 700 : 900);
      } else if (k == CssKeyword::Lighter) {
        s.fontWeight = parent.fontWeight < 550 ? 100 : (parent.fontWeight < 750 ? 400 : 700);
      }
      break;
    case CssProperty::FontStyle: s.italic = k == CssKeyword::Italic || k == CssKeyword::Oblique; break;
    case CssProperty::TextTransform:
      s.textTransform = k == CssKeyword::Uppercase   ? TextTransform::Uppercase
                        : k == CssKeyword::Lowercase ? TextTransform::Lowercase
                        : k == CssKeyword::Capitalize ? TextTransform::Capitalize
                                                       : TextTransform::None;
      break;
    case CssProperty::TextAlign:
      s.textAlign = k == CssKeyword::Right    ? TextAlign::Right
                    : k == CssKeyword::Center ? TextAlign::Center
                    : k == CssKeyword::Justify ? TextAlign::Justify
                                                : TextAlign::Left;
      break;
    case CssProperty::VerticalAlign:
      if (v.type == CssValue::Type::Length) {
        s.verticalAlign = VerticalAlign::Length;
        s.verticalShift = v.unit == CssUnit::Percent ? v.number * em / 100.0f : ToPx(v, em, rootFontSize);
        break;
      }
      switch (k) {
        case CssKeyword::Top: s.verticalAlign = VerticalAlign::Top; break;
        case CssKeyword::Middle: s.verticalAlign = VerticalAlign::Middle; break;
        case CssKeyword::Bottom: s.verticalAlign = VerticalAlign::Bottom; break;
        case CssKeyword::Sub: s.verticalAlign = VerticalAlign::Sub; break;
        case CssKeyword::Super: s.verticalAlign = VerticalAlign::Super; break;
        case CssKeyword::TextTop: s.verticalAlign = VerticalAlign::TextTop; break;
        case CssKeyword::TextBottom: s.verticalAlign = VerticalAlign::TextBottom; break;
        default: s.verticalAlign = VerticalAlign::Baseline; break;
      }
      break;
    case CssProperty::TextDecoration:
      s.underline = k == CssKeyword::Underline;
      s.lineThrough = k == CssKeyword::LineThrough;
      break;
    case CssProperty::WhiteSpace:
      s.whiteSpace = k == CssKeyword::Nowrap    ? WhiteSpace::Nowrap
                     : k == CssKeyword::Pre     ? WhiteSpace::Pre
                     : k == CssKeyword::PreWrap ? WhiteSpace::PreWrap
                     : k == CssKeyword::PreLine ? WhiteSpace::PreLine
                                                : WhiteSpace::Normal;
      break;
    case CssProperty::LineHeight:
      if (k == CssKeyword::Normal) {
        s.lineHeight = 0;
        s.lineHeightIsFactor = false;
      } else if (v.type == CssValue::Type::Number) {
        s.lineHeight = Clamp(v.number, 0.0f, 100.0f);
        s.lineHeightIsFactor = true;
      } else if (v.type == CssValue::Type::Length) {
        s.lineHeight = Clamp(ToPx(v, em, rootFontSize), 0.0f, 10000.0f);
        s.lineHeightIsFactor = false;
      }
      break;
    case CssProperty::Display: s.display = ToDisplay(k); break;
    case CssProperty::Float:
      s.floatSide = k == CssKeyword::Left ? FloatSide::Left : (k == CssKeyword::Right ? FloatSide::Right : FloatSide::None);
      break;
    case CssProperty::Clear: break;
    case CssProperty::Width: s.width = ToLength(v, em, rootFontSize); break;
    case CssProperty::Height: s.height = ToLength(v, em, rootFontSize); break;
    case CssProperty::MinWidth: s.minWidth = ToLength(v, em, rootFontSize); break;
    case CssProperty::MinHeight: s.minHeight = ToLength(v, em, rootFontSize); break;
    case CssProperty::MarginTop: case CssProperty::MarginRight: case CssProperty::MarginBottom:
    case CssProperty::MarginLeft:
      s.margin[SideIndex(d.property, CssProperty::MarginTop)] = ToLength(v, em, rootFontSize);
      break;
    case CssProperty::PaddingTop: case CssProperty::PaddingRight: case CssProperty::PaddingBottom:
    case CssProperty::PaddingLeft: {
      Length l = ToLength(v, em, rootFontSize);
      if (l.isAuto() || l.value < 0) l = Length::Px(0);
      s.padding[SideIndex(d.property, CssProperty::PaddingTop)] = l;
      break;
    }
    case CssProperty::BorderTopWidth: case CssProperty::BorderRightWidth: case CssProperty::BorderBottomWidth:
    case CssProperty::BorderLeftWidth:
      s.borderWidth[SideIndex(d.property, CssProperty::BorderTopWidth)] = Clamp(ToPx(v, em, rootFontSize), 0.0f, 1000.0f);
      break;
    case CssProperty::BorderTopStyle: case CssProperty::BorderRightStyle: case CssProperty::BorderBottomStyle:
    case CssProperty::BorderLeftStyle:
      s.borderStyle[SideIndex(d.property, CssProperty::BorderTopStyle)] = ToBorderStyle(k);
      break;
    case CssProperty::BorderTopColor: case CssProperty::BorderRightColor: case CssProperty::BorderBottomColor:
    case CssProperty::BorderLeftColor: {
      const int i = SideIndex(d.property, CssProperty::BorderTopColor);
      s.borderColorIsCurrent[i] = v.type != CssValue::Type::Color;
      if (v.type == CssValue::Type::Color) s.borderColor[i] = v.color;
      break;
    }
    case CssProperty::BorderTopLeftRadius: case CssProperty::BorderTopRightRadius:
    case CssProperty::BorderBottomRightRadius: case CssProperty::BorderBottomLeftRadius:
      s.borderRadius[SideIndex(d.property, CssProperty::BorderTopLeftRadius)] =
          Clamp(ToPx(v, em, rootFontSize), 0.0f, 10000.0f);
      break;
    case CssProperty::Content:
      s.hasContent = v.type == CssValue::Type::String;
      s.content = v.text;
      break;
    case CssProperty::Cursor: s.cursor = ToCursor(k); break;
    case CssProperty::BorderSpacing: s.borderSpacing = Clamp(ToPx(v, em, rootFontSize), 0.0f, 1000.0f); break;
    case CssProperty::Visibility: s.visible = k != CssKeyword::Hidden && k != CssKeyword::Collapse; break;
    case CssProperty::TextIndent: s.textIndent = ToPx(v, em, rootFontSize); break;
    case CssProperty::Count: break;
  }
}

float ResolveFontSize(const CssValue& v, float parentSize, float rootFontSize) {
  if (v.type == CssValue::Type::Inherit) return parentSize;
  if (v.type != CssValue::Type::Length) return parentSize;
  float px = 0;
  if (v.unit == CssUnit::Percent) {
    px = parentSize * v.number / 100.0f;
  } else {
    px = ToPx(v, parentSize, rootFontSize);
  }
  return Clamp(px, 1.0f, 1000.0f);
}

}  // namespace

StyleResolver::StyleResolver() {
  addSheet(UserAgentStyleSheet(), kOriginUserAgent);
}

void StyleResolver::clearAuthorSheets() {
  all_.clear();
  byId_.clear();
  byClass_.clear();
  byTag_.clear();
  universal_.clear();
  addSheet(UserAgentStyleSheet(), kOriginUserAgent);
}

void StyleResolver::addAuthorSheet(const StyleSheet& sheet) { addSheet(sheet, kOriginAuthor); }

void StyleResolver::addSheet(const StyleSheet& sheet, int origin) {
  for (const StyleRule& rule : sheet.rules) {
    for (const Selector& sel : rule.selectors) {
      const std::size_t index = all_.size();
      all_.push_back(IndexedSelector{&sel, &rule, origin, index});
      const CompoundSelector& last = sel.compounds.back();
      if (!last.ids.empty()) {
        byId_[last.ids.front()].push_back(index);
      } else if (!last.classes.empty()) {
        byClass_[last.classes.front()].push_back(index);
      } else if (!last.tag.empty()) {
        byTag_[last.tag].push_back(index);
      } else {
        universal_.push_back(index);
      }
    }
  }
}

void StyleResolver::collect(const Node& e, std::vector<const IndexedSelector*>& out) const {
  const auto test = [&](const std::vector<std::size_t>& candidates) {
    for (std::size_t i : candidates) {
      if (SelectorMatches(*all_[i].selector, e)) out.push_back(&all_[i]);
    }
  };
  if (!byId_.empty()) {
    if (const std::string* id = e.attribute("id")) {
      const auto it = byId_.find(*id);
      if (it != byId_.end()) test(it->second);
    }
  }
  if (!byClass_.empty()) {
    if (const std::string* cls = e.attribute("class")) {
      // Each distinct class name once, so a rule is not found twice.
      std::vector<std::string> seen;
      std::size_t pos = 0;
      while (pos < cls->size()) {
        const std::size_t start = cls->find_first_not_of(" \t\r\n\f", pos);
        if (start == std::string::npos) break;
        std::size_t end = cls->find_first_of(" \t\r\n\f", start);
        if (end == std::string::npos) end = cls->size();
        std::string name = cls->substr(start, end - start);
        pos = end;
        if (std::find(seen.begin(), seen.end(), name) != seen.end()) continue;
        const auto it = byClass_.find(name);
        if (it != byClass_.end()) test(it->second);
        seen.push_back(std::move(name));
      }
    }
  }
  const auto it = byTag_.find(e.name());
  if (it != byTag_.end()) test(it->second);
  test(universal_);
}

ComputedStyle StyleResolver::compute(const Node& e, const ComputedStyle* parent) const {
  static const ComputedStyle kDefault;
  const ComputedStyle& p = parent ? *parent : kDefault;
  ComputedStyle s = parent ? ComputedStyle::InheritedFrom(*parent) : ComputedStyle();

  std::vector<const IndexedSelector*> matched;
  collect(e, matched);
  struct Entry {
    int origin;
    std::uint32_t specificity;
    std::size_t order;
    const std::vector<CssDeclaration>* declarations;
  };
  std::vector<Entry> entries;
  entries.reserve(matched.size() + 2);
  for (const IndexedSelector* m : matched) {
    // A rule matched through two selectors of its list counts once, with the
    // higher specificity.
    bool merged = false;
    for (Entry& en : entries) {
      if (en.declarations == &m->rule->declarations) {
        en.specificity = std::max(en.specificity, m->selector->specificity);
        merged = true;
      }
    }
    if (!merged) entries.push_back(Entry{m->origin, m->selector->specificity, m->order, &m->rule->declarations});
  }
  const std::vector<CssDeclaration> hints = PresentationalHints(e);
  if (!hints.empty()) entries.push_back(Entry{kOriginHints, 0, 0, &hints});
  std::vector<CssDeclaration> inlineStyle;
  if (const std::string* style = e.attribute("style")) {
    inlineStyle = ParseInlineStyle(*style);
    entries.push_back(Entry{kOriginInline, 0, 0, &inlineStyle});
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    if (a.origin != b.origin) return a.origin < b.origin;
    if (a.specificity != b.specificity) return a.specificity < b.specificity;
    return a.order < b.order;
  });

  // Normal declarations in cascade order, then the important ones of page
  // sheets above them all.
  std::vector<const CssDeclaration*> ordered;
  for (const Entry& en : entries) {
    for (const CssDeclaration& d : *en.declarations) {
      if (!d.important || en.origin == kOriginUserAgent) ordered.push_back(&d);
    }
  }
  for (const Entry& en : entries) {
    if (en.origin == kOriginUserAgent) continue;
    for (const CssDeclaration& d : *en.declarations) {
      if (d.important) ordered.push_back(&d);
    }
  }

  const float rootFontSize = 12.0f;
  for (const CssDeclaration* d : ordered) {
    if (d->property == CssProperty::FontSize) s.fontSize = ResolveFontSize(d->value, p.fontSize, rootFontSize);
  }
  for (const CssDeclaration* d : ordered) Apply(s, *d, p, rootFontSize);

  for (std::size_t i = 0; i < 4; ++i) {
    if (s.borderColorIsCurrent[i]) s.borderColor[i] = s.color;
  }
  // Floats and the root are blocks whatever their display says.
  if (s.floatSide != FloatSide::None || !parent) {
    if (s.display == Display::Inline || s.display == Display::InlineBlock || s.display == Display::TableRow ||
        s.display == Display::TableCell || s.display == Display::TableRowGroup) {
      s.display = Display::Block;
    }
  }
  return s;
}

void StyleResolver::computeTree(Node& root, std::deque<ComputedStyle>& store) const {
  const ComputedStyle* parentStyle = root.parent() ? root.parent()->style : nullptr;
  store.push_back(compute(root, parentStyle));
  root.style = &store.back();
  computeChildren(root, store);
}

void StyleResolver::computeChildren(Node& parent, std::deque<ComputedStyle>& store) const {
  for (const auto& c : parent.children()) {
    if (c->isText()) {
      c->style = parent.style;
      continue;
    }
    store.push_back(compute(*c, parent.style));
    c->style = &store.back();
    computeChildren(*c, store);
  }
}

}  // namespace ks::render
