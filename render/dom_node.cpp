#include "render/dom_node.h"

namespace ks::render {

std::unique_ptr<Node> Node::MakeElement(std::string_view lowerName) {
  std::unique_ptr<Node> node(new Node(Type::Element));
  node->name_ = std::string(lowerName);
  node->tag_ = TagFromName(lowerName);
  return node;
}

std::unique_ptr<Node> Node::MakeText(std::string text) {
  std::unique_ptr<Node> node(new Node(Type::Text));
  node->text_ = std::move(text);
  return node;
}

Node* Node::appendChild(std::unique_ptr<Node> child) {
  child->parent_ = this;
  child->setDepthBelow(depth_);
  children_.push_back(std::move(child));
  return children_.back().get();
}

void Node::setDepthBelow(std::size_t parentDepth) {
  // Depth is bounded by the parser's nesting cap, so recursion stays shallow.
  depth_ = parentDepth + 1;
  for (auto& c : children_) c->setDepthBelow(depth_);
}

std::vector<std::unique_ptr<Node>> Node::takeChildren() {
  std::vector<std::unique_ptr<Node>> out = std::move(children_);
  children_.clear();
  for (auto& c : out) c->parent_ = nullptr;
  return out;
}

const std::string* Node::attribute(std::string_view lowerName) const {
  for (const Attribute& a : attributes_) {
    if (a.name == lowerName) return &a.value;
  }
  return nullptr;
}

std::string_view Node::attributeOr(std::string_view lowerName, std::string_view fallback) const {
  const std::string* v = attribute(lowerName);
  return v ? std::string_view(*v) : fallback;
}

void Node::setAttribute(std::string_view lowerName, std::string value) {
  for (Attribute& a : attributes_) {
    if (a.name == lowerName) {
      a.value = std::move(value);
      return;
    }
  }
  attributes_.push_back(Attribute{std::string(lowerName), std::move(value)});
}

void Node::appendNewAttribute(std::string lowerName, std::string value) {
  attributes_.push_back(Attribute{std::move(lowerName), std::move(value)});
}

bool Node::hasClass(std::string_view cls) const {
  const std::string* list = attribute("class");
  if (!list || cls.empty()) return false;
  std::string_view rest(*list);
  while (!rest.empty()) {
    const std::size_t start = rest.find_first_not_of(" \t\r\n\f");
    if (start == std::string_view::npos) break;
    rest.remove_prefix(start);
    const std::size_t end = rest.find_first_of(" \t\r\n\f");
    if (rest.substr(0, end) == cls) return true;
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end);
  }
  return false;
}

bool Node::pinnedInSubtree() const {
  if (useCount_ > 0) return true;
  for (const auto& c : children_) {
    if (c->pinnedInSubtree()) return true;
  }
  return false;
}

}  // namespace ks::render
