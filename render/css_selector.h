// Selectors: parsing from tokens and matching against elements. Supported are
// type, universal, id, class and attribute selectors, the state
// pseudo-classes, and descendant and child combinators; a selector using
// anything else never matches, without spoiling the rest of its rule.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "render/css_tokenizer.h"
#include "render/dom_node.h"

namespace ks::render {

struct AttributeCondition {
  enum class Op : std::uint8_t { Exists, Equals, Includes, DashMatch, Prefix, Suffix, Substring };
  std::string name;  // lower case
  std::string value;
  Op op = Op::Exists;
};

struct CompoundSelector {
  std::string tag;  // lower case; empty for any element
  std::vector<std::string> ids;
  std::vector<std::string> classes;
  std::vector<AttributeCondition> attributes;
  std::uint32_t states = 0;  // ElementState bits that must be set
  bool link = false;         // :link, an a with href that is not visited
  bool firstChild = false;
  bool never = false;  // uses something unsupported
};

enum class Combinator : std::uint8_t { Descendant, Child };

struct Selector {
  std::vector<CompoundSelector> compounds;  // left to right
  std::vector<Combinator> combinators;      // combinators[i] joins compounds[i] and compounds[i + 1]
  std::uint32_t specificity = 0;            // ids << 16 | classes << 8 | types
};

// Parses a comma-separated selector list from tokens[begin, end). Answers false
// when the list is malformed, in which case the whole rule is dropped.
bool ParseSelectorList(const std::vector<CssToken>& tokens, std::size_t begin, std::size_t end,
                       std::vector<Selector>& out);

bool SelectorMatches(const Selector& selector, const Node& element);

}  // namespace ks::render
