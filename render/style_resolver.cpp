#include "render/style_resolver.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <unordered_map>

#include "render/css_declaration_parser.h"
#include "render/css_properties.h"
#include "render/style_hints.h"
#include "render/style_ua_sheet.h"

namespace ks::render {
namespace {

constexpr int kOriginUserAgent = 0;
constexpr int kOriginHints = 1;
constexpr int kOriginAuthor = 2;
constexpr int kOriginInline = 3;

// Sets one declared value; 'inherit' and 'initial' copy the parent's or the
// initial computed value.
void Apply(ComputedStyle& s, const CssDeclaration& d, const ComputedStyle& parent, float rootFontSize) {
  const CssLonghand& property = LonghandOf(d.property);
  const CssValue& v = d.value;
  if (v.type == CssValue::Type::Inherit) {
    property.copy(s, parent);
    return;
  }
  if (v.type == CssValue::Type::Keyword && v.keyword == CssKeyword::Initial) {
    static const ComputedStyle kInitial;
    property.copy(s, kInitial);
    return;
  }
  property.apply(s, v, parent, rootFontSize);
}

}  // namespace

StyleResolver::StyleResolver() { addSheet(UserAgentStyleSheet(), kOriginUserAgent); }

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
      // Each distinct class name once, so a rule is not found twice; sorted,
      // so a hand-made list of thousands of names costs n log n.
      std::vector<std::string_view> names;
      const std::string_view list = *cls;
      std::size_t pos = 0;
      while (pos < list.size()) {
        const std::size_t start = list.find_first_not_of(" \t\r\n\f", pos);
        if (start == std::string_view::npos) break;
        std::size_t end = list.find_first_of(" \t\r\n\f", start);
        if (end == std::string_view::npos) end = list.size();
        names.push_back(list.substr(start, end - start));
        pos = end;
      }
      std::sort(names.begin(), names.end());
      names.erase(std::unique(names.begin(), names.end()), names.end());
      for (const std::string_view name : names) {
        const auto it = byClass_.find(std::string(name));
        if (it != byClass_.end()) test(it->second);
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
  // A rule matched through two selectors of its list counts once, with the
  // higher specificity; found by its declarations, so thousands of matched
  // rules cost no more than their number.
  std::unordered_map<const std::vector<CssDeclaration>*, std::size_t> entryOf;
  entryOf.reserve(matched.size());
  for (const IndexedSelector* m : matched) {
    const auto [at, added] = entryOf.emplace(&m->rule->declarations, entries.size());
    if (added) {
      entries.push_back(Entry{m->origin, m->selector->specificity, m->order, &m->rule->declarations});
    } else {
      entries[at->second].specificity = std::max(entries[at->second].specificity, m->selector->specificity);
    }
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
