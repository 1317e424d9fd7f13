// The document: its element tree, lookup by id and the content edits the host
// makes (replace inner HTML or text). Removed nodes that the host still pins
// stay alive until they are unpinned.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "render/dom_node.h"

namespace ks::render {

class Document {
 public:
  Document();  // an empty page: html with head and body
  explicit Document(std::unique_ptr<Node> html);

  Node& root() const { return *root_; }  // the html element
  Node* head() const;
  Node* body() const;

  // First element in document order whose id attribute equals id exactly.
  Node* findById(std::string_view id) const;

  // Visits the elements below from (from itself included) in document order
  // until the visitor returns false; answers false if it stopped early.
  static bool VisitElements(Node& from, const std::function<bool(Node&)>& visitor);

  // Replaces node's children with parsed HTML, or with one text node.
  void setInnerHtml(Node& node, std::string_view utf8);
  void setInnerText(Node& node, std::string_view utf8);

  // Changes every time the tree's content changes, so views know to restyle.
  unsigned generation() const { return generation_; }
  void touch() { ++generation_; }

  // Frees removed subtrees that nobody pins any more.
  void collectRemoved();
  // True while the host pins any node of the tree or of a removed subtree.
  bool pinned() const { return !removed_.empty() || root_->pinnedInSubtree(); }

 private:
  void retire(std::vector<std::unique_ptr<Node>> removed);

  std::unique_ptr<Node> root_;
  std::vector<std::unique_ptr<Node>> removed_;
  unsigned generation_ = 0;
};

// Text content: text nodes concatenated, a line break for each br.
std::string InnerText(const Node& node);

}  // namespace ks::render
