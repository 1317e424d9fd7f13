// The cascade: finds the rules that match each element, orders them by
// origin, importance, specificity and source order, and computes the style
// with inheritance from the parent.
#pragma once

#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "render/css_stylesheet.h"
#include "render/dom_node.h"
#include "render/style_computed.h"

namespace ks::render {

class StyleResolver {
 public:
  StyleResolver();

  // Author sheets apply in the order they are added; add imported sheets
  // before the sheet that imports them.
  void addAuthorSheet(const StyleSheet& sheet);
  void clearAuthorSheets();

  // Computes the style of every element below root (root included) into
  // store, and points each node's style at its entry. Text nodes share their
  // parent's style.
  void computeTree(Node& root, std::deque<ComputedStyle>& store) const;

  // The style of one element given its parent's style (null for the root).
  ComputedStyle compute(const Node& element, const ComputedStyle* parent) const;

 private:
  struct IndexedSelector {
    const Selector* selector;
    const StyleRule* rule;
    int origin;  // 0 user agent, 2 author
    std::size_t order;
  };
  void addSheet(const StyleSheet& sheet, int origin);
  void collect(const Node& e, std::vector<const IndexedSelector*>& out) const;
  void computeChildren(Node& parent, std::deque<ComputedStyle>& store) const;

  std::vector<IndexedSelector> all_;
  // Rightmost compound keyed by id, class or tag, so each element tests only
  // selectors that can match it.
  std::unordered_map<std::string, std::vector<std::size_t>> byId_, byClass_, byTag_;
  std::vector<std::size_t> universal_;
};

}  // namespace ks::render
