#include "render/html_serializer.h"

namespace ks::render {
namespace {

void AppendEscaped(std::string& out, const std::string& text, bool attribute) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += attribute ? "<" : "&lt;"; break;
      case '>': out += attribute ? ">" : "&gt;"; break;
      case '"': out += attribute ? "&quot;" : "\""; break;
      // A carriage return read back raw becomes a line feed; only a
      // character reference keeps it.
      case '\r': out += "&#13;"; break;
      default:
        // U+00A0 is written as &nbsp; so it survives a round trip visibly.
        if (c == '\xC2' && i + 1 < text.size() && text[i + 1] == '\xA0') {
          out += "&nbsp;";
          ++i;
        } else {
          out.push_back(c);
        }
    }
  }
}

void AppendNode(std::string& out, const Node& node, bool rawParent);

void AppendChildren(std::string& out, const Node& node) {
  const bool raw = IsRawTextTag(node.tag()) && node.tag() != Tag::Title && node.tag() != Tag::Textarea;
  for (const auto& c : node.children()) AppendNode(out, *c, raw);
}

void AppendNode(std::string& out, const Node& node, bool rawParent) {
  if (node.isText()) {
    if (rawParent) {
      out += node.text();
    } else {
      AppendEscaped(out, node.text(), false);
    }
    return;
  }
  out.push_back('<');
  out += node.name();
  for (const Attribute& a : node.attributes()) {
    out.push_back(' ');
    out += a.name;
    out += "=\"";
    AppendEscaped(out, a.value, true);
    out.push_back('"');
  }
  out.push_back('>');
  if (IsVoidTag(node.tag())) return;
  AppendChildren(out, node);
  out += "</";
  out += node.name();
  out.push_back('>');
}

}  // namespace

std::string OuterHtml(const Node& node) {
  std::string out;
  AppendNode(out, node, false);
  return out;
}

std::string InnerHtml(const Node& node) {
  std::string out;
  if (node.isText()) return node.text();
  AppendChildren(out, node);
  return out;
}

}  // namespace ks::render
