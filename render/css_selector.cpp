#include "render/css_selector.h"

#include "render/text_utf8.h"

namespace ks::render {
namespace {

using Type = CssTokenType;

// Compounds in one selector; longer ones are certainly not hand-written.
constexpr std::size_t kMaxCompounds = 32;

class SelectorParser {
 public:
  SelectorParser(const std::vector<CssToken>& tokens, std::size_t begin, std::size_t end)
      : t_(tokens), pos_(begin), end_(end) {}

  bool parseList(std::vector<Selector>& out) {
    for (;;) {
      Selector s;
      if (!parseComplex(s)) return false;
      out.push_back(std::move(s));
      skipSpace();
      if (pos_ >= end_) return true;
      if (t_[pos_].type != Type::Comma) return false;
      ++pos_;
    }
  }

 private:
  void skipSpace() {
    while (pos_ < end_ && t_[pos_].type == Type::Whitespace) ++pos_;
  }

  bool parseComplex(Selector& s) {
    skipSpace();
    for (;;) {
      CompoundSelector c;
      if (!parseCompound(c)) return false;
      s.compounds.push_back(std::move(c));
      if (s.compounds.size() > kMaxCompounds) return false;
      const bool hadSpace = pos_ < end_ && t_[pos_].type == Type::Whitespace;
      skipSpace();
      if (pos_ >= end_ || t_[pos_].type == Type::Comma) break;
      const CssToken& t = t_[pos_];
      if (t.type == Type::Delim && (t.text == ">" || t.text == "+" || t.text == "~")) {
        if (t.text != ">") s.compounds.back().never = true;  // sibling combinators are not supported
        s.combinators.push_back(Combinator::Child);
        ++pos_;
        skipSpace();
      } else if (hadSpace) {
        s.combinators.push_back(Combinator::Descendant);
      } else {
        return false;
      }
    }
    std::uint32_t ids = 0, classes = 0, types = 0;
    for (const CompoundSelector& c : s.compounds) {
      ids += static_cast<std::uint32_t>(c.ids.size());
      classes += static_cast<std::uint32_t>(c.classes.size() + c.attributes.size());
      for (std::uint32_t bits = c.states; bits; bits &= bits - 1) ++classes;
      if (c.link) ++classes;
      if (c.firstChild) ++classes;
      if (!c.tag.empty()) ++types;
    }
    const auto clamp = [](std::uint32_t v) { return v > 255 ? 255u : v; };
    s.specificity = (clamp(ids) << 16) | (clamp(classes) << 8) | clamp(types);
    return true;
  }

  bool parseCompound(CompoundSelector& c) {
    bool any = false;
    if (pos_ < end_ && t_[pos_].type == Type::Ident) {
      c.tag = AsciiLowered(t_[pos_].text);
      ++pos_;
      any = true;
    } else if (pos_ < end_ && t_[pos_].type == Type::Delim && t_[pos_].text == "*") {
      ++pos_;
      any = true;
    }
    while (pos_ < end_) {
      const CssToken& t = t_[pos_];
      if (t.type == Type::Hash) {
        if (!t.hashIsId) return false;
        c.ids.push_back(t.text);
        ++pos_;
      } else if (t.type == Type::Delim && t.text == ".") {
        ++pos_;
        if (pos_ >= end_ || t_[pos_].type != Type::Ident) return false;
        c.classes.push_back(t_[pos_].text);
        ++pos_;
      } else if (t.type == Type::LeftBracket) {
        ++pos_;
        if (!parseAttribute(c)) return false;
      } else if (t.type == Type::Colon) {
        ++pos_;
        if (!parsePseudo(c)) return false;
      } else {
        break;
      }
      any = true;
    }
    return any;
  }

  bool parseAttribute(CompoundSelector& c) {
    skipSpace();
    if (pos_ >= end_ || t_[pos_].type != Type::Ident) return false;
    AttributeCondition a;
    a.name = AsciiLowered(t_[pos_].text);
    ++pos_;
    skipSpace();
    if (pos_ < end_ && t_[pos_].type == Type::Delim) {
      const std::string& op = t_[pos_].text;
      if (op == "=") {
        a.op = AttributeCondition::Op::Equals;
        ++pos_;
      } else {
        if (op == "~") a.op = AttributeCondition::Op::Includes;
        else if (op == "|") a.op = AttributeCondition::Op::DashMatch;
        else if (op == "^") a.op = AttributeCondition::Op::Prefix;
        else if (op == "$") a.op = AttributeCondition::Op::Suffix;
        else if (op == "*") a.op = AttributeCondition::Op::Substring;
        else return false;
        ++pos_;
        if (pos_ >= end_ || t_[pos_].type != Type::Delim || t_[pos_].text != "=") return false;
        ++pos_;
      }
      skipSpace();
      if (pos_ >= end_ || (t_[pos_].type != Type::Ident && t_[pos_].type != Type::String)) return false;
      a.value = t_[pos_].text;
      ++pos_;
      skipSpace();
      // A case-sensitivity flag ("i") is accepted and ignored.
      if (pos_ < end_ && t_[pos_].type == Type::Ident) {
        ++pos_;
        skipSpace();
      }
    }
    if (pos_ >= end_ || t_[pos_].type != Type::RightBracket) return false;
    ++pos_;
    c.attributes.push_back(std::move(a));
    return true;
  }

  bool parsePseudo(CompoundSelector& c) {
    if (pos_ < end_ && t_[pos_].type == Type::Colon) {  // a pseudo-element
      ++pos_;
      c.never = true;
    }
    if (pos_ >= end_) return false;
    const CssToken& t = t_[pos_];
    if (t.type == Type::Function) {
      // :not() and friends: skip the arguments, never match.
      int depth = 1;
      ++pos_;
      while (pos_ < end_ && depth > 0) {
        if (t_[pos_].type == Type::Function || t_[pos_].type == Type::LeftParen) ++depth;
        if (t_[pos_].type == Type::RightParen) --depth;
        ++pos_;
      }
      c.never = true;
      return depth == 0;
    }
    if (t.type != Type::Ident) return false;
    const std::string name = AsciiLowered(t.text);
    ++pos_;
    if (name == "hover") c.states |= kStateHover;
    else if (name == "focus") c.states |= kStateFocus;
    else if (name == "active") c.states |= kStateActive;
    else if (name == "checked") c.states |= kStateChecked;
    else if (name == "visited") c.states |= kStateVisited;
    else if (name == "disabled") c.states |= kStateDisabled;
    else if (name == "link") c.link = true;
    else if (name == "first-child") c.firstChild = true;
    else c.never = true;
    return true;
  }

  const std::vector<CssToken>& t_;
  std::size_t pos_;
  std::size_t end_;
};

bool AttributeMatches(const AttributeCondition& a, const Node& e) {
  const std::string* v = e.attribute(a.name);
  if (!v) return false;
  const std::string& want = a.value;
  switch (a.op) {
    case AttributeCondition::Op::Exists: return true;
    case AttributeCondition::Op::Equals: return *v == want;
    case AttributeCondition::Op::Includes: {
      if (want.empty()) return false;
      std::size_t start = 0;
      while (start <= v->size()) {
        std::size_t end = v->find(' ', start);
        if (end == std::string::npos) end = v->size();
        if (v->compare(start, end - start, want) == 0) return true;
        start = end + 1;
      }
      return false;
    }
    case AttributeCondition::Op::DashMatch:
      return *v == want ||
             (v->size() > want.size() && v->compare(0, want.size(), want) == 0 && (*v)[want.size()] == '-');
    case AttributeCondition::Op::Prefix: return !want.empty() && v->compare(0, want.size(), want) == 0;
    case AttributeCondition::Op::Suffix:
      return !want.empty() && v->size() >= want.size() && v->compare(v->size() - want.size(), want.size(), want) == 0;
    case AttributeCondition::Op::Substring: return !want.empty() && v->find(want) != std::string::npos;
  }
  return false;
}

bool CompoundMatches(const CompoundSelector& c, const Node& e) {
  if (c.never || !e.isElement()) return false;
  if (!c.tag.empty() && c.tag != e.name()) return false;
  for (const std::string& id : c.ids) {
    if (e.id() != id) return false;
  }
  for (const std::string& cls : c.classes) {
    if (!e.hasClass(cls)) return false;
  }
  for (const AttributeCondition& a : c.attributes) {
    if (!AttributeMatches(a, e)) return false;
  }
  if ((e.state() & c.states) != c.states) return false;
  if (c.link && (e.tag() != Tag::A || !e.attribute("href") || (e.state() & kStateVisited))) return false;
  if (c.firstChild) {
    const Node* p = e.parent();
    if (!p) return false;
    for (const auto& sibling : p->children()) {
      if (sibling->isElement()) {
        if (sibling.get() != &e) return false;
        break;
      }
    }
  }
  return true;
}

enum class MatchResult { Matched, NotMatchedHere, NotMatchedAnywhere };

// Matches compounds[0..index] with compounds[index] on e. A failure that no
// higher ancestor can repair ends the search at once, which keeps matching
// linear in the depth of the tree instead of exponential in the selector.
MatchResult MatchFrom(const Selector& s, std::size_t index, const Node& e) {
  if (!CompoundMatches(s.compounds[index], e)) return MatchResult::NotMatchedHere;
  if (index == 0) return MatchResult::Matched;
  const Combinator comb = s.combinators[index - 1];
  for (const Node* a = e.parent(); a; a = a->parent()) {
    const MatchResult r = MatchFrom(s, index - 1, *a);
    if (r == MatchResult::Matched) return r;
    if (comb == Combinator::Child) return r == MatchResult::NotMatchedHere ? MatchResult::NotMatchedHere : r;
    if (r == MatchResult::NotMatchedAnywhere) return r;
  }
  return MatchResult::NotMatchedAnywhere;
}

}  // namespace

bool ParseSelectorList(const std::vector<CssToken>& tokens, std::size_t begin, std::size_t end,
                       std::vector<Selector>& out) {
  std::vector<Selector> parsed;
  SelectorParser parser(tokens, begin, end);
  if (!parser.parseList(parsed)) return false;
  for (auto& s : parsed) out.push_back(std::move(s));
  return true;
}

bool SelectorMatches(const Selector& selector, const Node& element) {
  if (selector.compounds.empty()) return false;
  return MatchFrom(selector, selector.compounds.size() - 1, element) == MatchResult::Matched;
}

}  // namespace ks::render
