#include "render/dom_document.h"

#include <algorithm>

#include "render/html_parser.h"
#include "render/text_utf8.h"

namespace ks::render {
namespace {

Node* ChildWithTag(const Node& parent, Tag tag) {
  for (const auto& c : parent.children()) {
    if (c->isElement() && c->tag() == tag) return c.get();
  }
  return nullptr;
}

void AppendInnerText(const Node& node, std::string& out) {
  for (const auto& c : node.children()) {
    if (c->isText()) {
      out += c->text();
    } else if (c->tag() == Tag::Br) {
      out.push_back('\n');
    } else {
      AppendInnerText(*c, out);
    }
  }
}

// A removed subtree must not point into the page's style and box storage,
// which the next pass frees.
void ForgetLayout(Node& node) {
  node.style = nullptr;
  node.box = nullptr;
  for (const auto& c : node.children()) ForgetLayout(*c);
}

}  // namespace

Document::Document() : Document(ParseHtmlDocument({})) {}

Document::Document(std::unique_ptr<Node> html) : root_(std::move(html)) {}

Node* Document::head() const { return ChildWithTag(*root_, Tag::Head); }
Node* Document::body() const { return ChildWithTag(*root_, Tag::Body); }

Node* Document::findById(std::string_view id) const {
  Node* found = nullptr;
  VisitElements(*root_, [&](Node& n) {
    const std::string* v = n.attribute("id");
    if (v && *v == id) {
      found = &n;
      return false;
    }
    return true;
  });
  return found;
}

bool Document::VisitElements(Node& from, const std::function<bool(Node&)>& visitor) {
  if (!from.isElement()) return true;
  if (!visitor(from)) return false;
  for (const auto& c : from.children()) {
    if (!VisitElements(*c, visitor)) return false;
  }
  return true;
}

void Document::setInnerHtml(Node& node, std::string_view utf8) {
  if (!node.isElement()) return;
  std::vector<std::unique_ptr<Node>> parsed = ParseHtmlFragment(utf8, node.name(), node.depth());
  retire(node.takeChildren());
  for (auto& c : parsed) node.appendChild(std::move(c));
  touch();
}

void Document::setInnerText(Node& node, std::string_view utf8) {
  if (!node.isElement()) return;
  retire(node.takeChildren());
  if (!utf8.empty()) node.appendChild(Node::MakeText(SanitizedUtf8(utf8)));
  touch();
}

void Document::retire(std::vector<std::unique_ptr<Node>> removed) {
  for (auto& n : removed) {
    ForgetLayout(*n);
    if (n->pinnedInSubtree()) removed_.push_back(std::move(n));
  }
  collectRemoved();
}

void Document::collectRemoved() {
  removed_.erase(std::remove_if(removed_.begin(), removed_.end(),
                                [](const std::unique_ptr<Node>& n) { return !n->pinnedInSubtree(); }),
                 removed_.end());
}

std::string InnerText(const Node& node) {
  std::string out;
  if (node.isText()) return node.text();
  AppendInnerText(node, out);
  return out;
}

}  // namespace ks::render
