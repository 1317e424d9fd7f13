// One node of the document tree: an element with attributes and children, or
// a run of text. Nodes are owned by their parent; the host holds plain
// pointers as element handles and pins them with Use/Unuse.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "render/dom_tag.h"

namespace ks::render {

struct ComputedStyle;
struct LayoutBox;

// Element state bits; checked and visited keep the values the host expects.
enum ElementState : std::uint32_t {
  kStateHover = 0x02,
  kStateActive = 0x04,
  kStateFocus = 0x08,
  kStateVisited = 0x10,
  kStateChecked = 0x40,
  kStateDisabled = 0x80,
};

struct Attribute {
  std::string name;  // lower case
  std::string value;
};

class Node {
 public:
  enum class Type : std::uint8_t { Element, Text };

  static std::unique_ptr<Node> MakeElement(std::string_view lowerName);
  static std::unique_ptr<Node> MakeText(std::string text);

  Type type() const { return type_; }
  bool isElement() const { return type_ == Type::Element; }
  bool isText() const { return type_ == Type::Text; }
  Tag tag() const { return tag_; }
  const std::string& name() const { return name_; }  // tag name, lower case

  // Text nodes only.
  const std::string& text() const { return text_; }
  std::string& mutableText() { return text_; }

  Node* parent() const { return parent_; }
  const std::vector<std::unique_ptr<Node>>& children() const { return children_; }
  std::size_t depth() const { return depth_; }

  Node* appendChild(std::unique_ptr<Node> child);
  // Detaches every child and hands them to the caller.
  std::vector<std::unique_ptr<Node>> takeChildren();

  const std::vector<Attribute>& attributes() const { return attributes_; }
  // Null when the attribute is absent.
  const std::string* attribute(std::string_view lowerName) const;
  std::string_view attributeOr(std::string_view lowerName, std::string_view fallback) const;
  void setAttribute(std::string_view lowerName, std::string value);
  // Adds an attribute the caller knows the node does not have yet.
  void appendNewAttribute(std::string lowerName, std::string value);
  std::string_view id() const { return attributeOr("id", {}); }
  bool hasClass(std::string_view cls) const;

  std::uint32_t state() const { return state_; }
  void setState(std::uint32_t bits) { state_ = bits; }

  // Host pins: a pinned node outlives its removal from the tree.
  void use() { ++useCount_; }
  void unuse() {
    if (useCount_ > 0) --useCount_;
  }
  bool pinnedInSubtree() const;

  // Results of the last style and layout pass; owned by the page.
  const ComputedStyle* style = nullptr;
  LayoutBox* box = nullptr;

 private:
  explicit Node(Type type) : type_(type) {}
  void setDepthBelow(std::size_t parentDepth);

  Type type_;
  Tag tag_ = Tag::Unknown;
  std::string name_;
  std::string text_;
  Node* parent_ = nullptr;
  std::size_t depth_ = 0;
  std::vector<std::unique_ptr<Node>> children_;
  std::vector<Attribute> attributes_;
  std::uint32_t state_ = 0;
  int useCount_ = 0;
};

}  // namespace ks::render
