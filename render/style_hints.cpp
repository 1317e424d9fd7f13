#include "render/style_hints.h"

#include <algorithm>
#include <string>

#include "render/css_declaration_parser.h"
#include "render/text_utf8.h"

namespace ks::render {
namespace {

std::string Px(float v) { return std::to_string(static_cast<int>(v)) + "px"; }

void Add(std::vector<CssDeclaration>& out, std::string_view property, const std::string& value) {
  ParseSingleDeclaration(property, value, out);
}

void AddDimension(const Node& e, std::string_view attribute, std::string_view property,
                  std::vector<CssDeclaration>& out) {
  const std::string* text = e.attribute(attribute);
  float value = 0;
  bool percent = false;
  if (!text || !ParseDimensionAttribute(*text, value, percent)) return;
  Add(out, property, percent ? std::to_string(value) + "%" : Px(value));
}

const Node* EnclosingTable(const Node& cell) {
  for (const Node* p = cell.parent(); p; p = p->parent()) {
    if (p->tag() == Tag::Table) return p;
  }
  return nullptr;
}

}  // namespace

bool ParseDimensionAttribute(std::string_view text, float& value, bool& percent) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  double v = 0;
  bool digits = false;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    if (v < 1.0e6) v = v * 10 + (text[i] - '0');
    digits = true;
    ++i;
  }
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      v += (text[i] - '0') * scale;
      scale /= 10;
      digits = true;
    }
  }
  if (!digits) return false;
  value = static_cast<float>(v);
  percent = i < text.size() && text[i] == '%';
  return true;
}

bool ParseIntegerAttribute(std::string_view text, int& value, bool* isSigned) {
  std::size_t i = text.find_first_not_of(" \t\n\f\r");
  if (i == std::string_view::npos) return false;
  const bool negative = text[i] == '-';
  const bool sign = negative || text[i] == '+';
  if (sign) ++i;
  int v = 0;
  const std::size_t first = i;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    v = std::min(kMaxIntegerAttribute, v * 10 + (text[i] - '0'));
  }
  if (i == first) return false;
  value = negative ? -v : v;
  if (isSigned) *isSigned = sign;
  return true;
}

std::vector<CssDeclaration> PresentationalHints(const Node& e) {
  std::vector<CssDeclaration> out;
  if (e.attributes().empty() && e.tag() != Tag::Td && e.tag() != Tag::Th) return out;
  const Tag tag = e.tag();
  const std::string align = AsciiLowered(e.attributeOr("align", ""));
  const std::string valign = AsciiLowered(e.attributeOr("valign", ""));
  switch (tag) {
    case Tag::Img:
    case Tag::Input:
      AddDimension(e, "width", "width", out);
      AddDimension(e, "height", "height", out);
      if (const std::string* h = e.attribute("hspace")) {
        float v = 0;
        bool pct = false;
        if (ParseDimensionAttribute(*h, v, pct)) {
          Add(out, "margin-left", Px(v));
          Add(out, "margin-right", Px(v));
        }
      }
      if (const std::string* h = e.attribute("vspace")) {
        float v = 0;
        bool pct = false;
        if (ParseDimensionAttribute(*h, v, pct)) {
          Add(out, "margin-top", Px(v));
          Add(out, "margin-bottom", Px(v));
        }
      }
      if (align == "left" || align == "right") {
        Add(out, "float", align);
      } else if (align == "top" || align == "bottom" || align == "middle") {
        Add(out, "vertical-align", align);
      } else if (align == "absmiddle" || align == "center") {
        Add(out, "vertical-align", "middle");
      }
      if (const std::string* b = e.attribute("border")) {
        float v = 0;
        bool pct = false;
        if (ParseDimensionAttribute(*b, v, pct)) Add(out, "border", Px(v) + " solid");
      }
      break;
    case Tag::Table:
      AddDimension(e, "width", "width", out);
      AddDimension(e, "height", "height", out);
      if (align == "center") {
        Add(out, "margin-left", "auto");
        Add(out, "margin-right", "auto");
      } else if (align == "left" || align == "right") {
        Add(out, "float", align);
      }
      if (const std::string* s = e.attribute("cellspacing")) {
        float v = 0;
        bool pct = false;
        if (ParseDimensionAttribute(*s, v, pct)) Add(out, "border-spacing", Px(v));
      }
      if (const std::string* b = e.attribute("border")) {
        float v = 1;
        bool pct = false;
        if (b->empty() || ParseDimensionAttribute(*b, v, pct)) {
          if (v > 0) Add(out, "border", Px(v) + " outset gray");
        }
      }
      break;
    case Tag::Td:
    case Tag::Th:
      AddDimension(e, "width", "width", out);
      AddDimension(e, "height", "height", out);
      if (e.attribute("nowrap")) Add(out, "white-space", "nowrap");
      if (const Node* table = EnclosingTable(e)) {
        if (const std::string* p = table->attribute("cellpadding")) {
          float v = 0;
          bool pct = false;
          if (ParseDimensionAttribute(*p, v, pct)) Add(out, "padding", Px(v));
        }
        if (const std::string* b = table->attribute("border")) {
          float v = 1;
          bool pct = false;
          if ((b->empty() || ParseDimensionAttribute(*b, v, pct)) && v > 0) Add(out, "border", "1px inset gray");
        }
      }
      break;
    case Tag::Font:
      if (const std::string* c = e.attribute("color")) Add(out, "color", *c);
      if (const std::string* f = e.attribute("face")) Add(out, "font-family", *f);
      if (const std::string* s = e.attribute("size")) {
        static const char* const kSizes[] = {"x-small", "small", "medium", "large", "x-large", "xx-large", "48px"};
        int n = 0;
        bool relative = false;
        // A size without a number sets none; a signed one counts from 3.
        if (ParseIntegerAttribute(*s, n, &relative)) {
          if (relative) n += 3;
          Add(out, "font-size", kSizes[std::clamp(n, 1, 7) - 1]);
        }
      }
      break;
    default: break;
  }
  if (tag == Tag::Td || tag == Tag::Th || tag == Tag::Tr || tag == Tag::Div || tag == Tag::P || tag == Tag::Tbody ||
      (tag >= Tag::H1 && tag <= Tag::H6)) {
    if (align == "left" || align == "right" || align == "center" || align == "justify") Add(out, "text-align", align);
    if (align == "middle") Add(out, "text-align", "center");
  }
  if (tag == Tag::Td || tag == Tag::Th || tag == Tag::Tr || tag == Tag::Tbody) {
    if (valign == "top" || valign == "middle" || valign == "bottom" || valign == "baseline") {
      Add(out, "vertical-align", valign);
    }
  }
  if (const std::string* bg = e.attribute("bgcolor")) {
    std::string value = *bg;
    // Old pages write colours without '#'.
    if (!value.empty() && value[0] != '#' && value.size() == 6 &&
        value.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) {
      value = "#" + value;
    }
    Add(out, "background-color", value);
  }
  return out;
}

}  // namespace ks::render
