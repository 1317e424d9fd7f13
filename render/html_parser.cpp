#include "render/html_parser.h"

#include <string>
#include <unordered_set>

#include "render/html_entities.h"
#include "render/text_utf8.h"

namespace ks::render {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool IsAsciiAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsAllSpace(std::string_view s) {
  for (char c : s) {
    if (!IsSpace(c)) return false;
  }
  return true;
}

bool IsHeadContent(Tag t) {
  return t == Tag::Meta || t == Tag::Base || t == Tag::Style || t == Tag::Title || t == Tag::Link || t == Tag::Script;
}

// Start tags that end an open paragraph, as in browsers.
bool ClosesParagraph(Tag t) {
  switch (t) {
    case Tag::Div:
    case Tag::P:
    case Tag::Table:
    case Tag::Ul:
    case Tag::Ol:
    case Tag::Dl:
    case Tag::H1:
    case Tag::H2:
    case Tag::H3:
    case Tag::H4:
    case Tag::H5:
    case Tag::H6:
    case Tag::Hr:
    case Tag::Pre:
    case Tag::Center:
    case Tag::Li:
    case Tag::Dd:
    case Tag::Dt: return true;
    default: return false;
  }
}

bool IsTableSection(Tag t) { return t == Tag::Tbody || t == Tag::Thead || t == Tag::Tfoot; }
bool IsCell(Tag t) { return t == Tag::Td || t == Tag::Th; }

class TreeBuilder {
 public:
  TreeBuilder(std::string_view input, Node& container, bool documentMode, std::size_t baseDepth)
      : in_(input), documentMode_(documentMode), baseDepth_(baseDepth) {
    stack_.push_back(&container);
    if (documentMode_) html_ = &container;
  }

  void run() {
    while (pos_ < in_.size()) {
      const char c = in_[pos_];
      if (c == '<' && pos_ + 1 < in_.size()) {
        const char n = in_[pos_ + 1];
        if (IsAsciiAlpha(n)) {
          flushText();
          startTag();
          continue;
        }
        if (n == '/') {
          flushText();
          endTag();
          continue;
        }
        if (n == '!' || n == '?') {
          flushText();
          skipMarkup();
          continue;
        }
      }
      if (c == '&') {
        if (DecodeCharacterReference(in_, pos_, text_)) continue;
      }
      if (c == '\r') {
        text_.push_back('\n');
        ++pos_;
        if (pos_ < in_.size() && in_[pos_] == '\n') ++pos_;
        continue;
      }
      text_.push_back(c);
      ++pos_;
    }
    flushText();
    if (documentMode_) {
      ensureHead();
      ensureBody();
    }
  }

 private:
  Node& current() { return *stack_.back(); }

  std::size_t depthOfTop() const { return baseDepth_ + stack_.size() - 1; }

  void flushText() {
    if (text_.empty()) return;
    std::string text = std::move(text_);
    text_.clear();
    if (documentMode_ && !bodyStarted_) {
      if (IsAllSpace(text)) return;
      ensureBodyCurrent();
    }
    const Tag t = current().tag();
    if ((t == Tag::Table || t == Tag::Tr || IsTableSection(t)) && IsAllSpace(text)) return;
    appendText(current(), std::move(text));
  }

  static void appendText(Node& parent, std::string text) {
    const auto& kids = parent.children();
    if (!kids.empty() && kids.back()->isText()) {
      kids.back()->mutableText() += text;
      return;
    }
    parent.appendChild(Node::MakeText(std::move(text)));
  }

  void ensureHead() {
    if (head_ || !html_) return;
    head_ = html_->appendChild(Node::MakeElement("head"));
  }

  void ensureBody() {
    if (body_ || !html_) return;
    ensureHead();
    body_ = html_->appendChild(Node::MakeElement("body"));
    bodyStarted_ = true;
  }

  // Body content arrived: the body becomes the insertion point unless it
  // (or something inside it) already is.
  void ensureBodyCurrent() {
    ensureBody();
    if (stack_.size() == 1 || stack_.back() == head_) {
      stack_.resize(1);
      stack_.push_back(body_);
    }
  }

  std::string readName() {
    const std::size_t start = pos_;
    while (pos_ < in_.size() && !IsSpace(in_[pos_]) && in_[pos_] != '/' && in_[pos_] != '>') ++pos_;
    return AsciiLowered(in_.substr(start, pos_ - start));
  }

  void skipSpace() {
    while (pos_ < in_.size() && IsSpace(in_[pos_])) ++pos_;
  }

  // Reads attributes up to and including '>'. The first of two attributes of
  // one name counts; the names seen are kept in a set, so a tag with
  // thousands of attributes costs no more than their number.
  void readAttributes(Node* element) {
    std::unordered_set<std::string> seen;
    // A second <html> or <body> tag adds only what the element lacks.
    if (element) {
      for (const Attribute& a : element->attributes()) seen.insert(a.name);
    }
    while (pos_ < in_.size()) {
      skipSpace();
      if (pos_ >= in_.size()) return;
      const char c = in_[pos_];
      if (c == '>') {
        ++pos_;
        return;
      }
      if (c == '/') {
        ++pos_;
        continue;
      }
      const std::size_t start = pos_;
      ++pos_;  // a name may start with '='
      while (pos_ < in_.size() && !IsSpace(in_[pos_]) && in_[pos_] != '/' && in_[pos_] != '>' && in_[pos_] != '=') {
        ++pos_;
      }
      std::string name = AsciiLowered(in_.substr(start, pos_ - start));
      skipSpace();
      std::string value;
      if (pos_ < in_.size() && in_[pos_] == '=') {
        ++pos_;
        skipSpace();
        if (pos_ < in_.size() && (in_[pos_] == '"' || in_[pos_] == '\'')) {
          const char quote = in_[pos_++];
          std::size_t end = in_.find(quote, pos_);
          if (end == std::string_view::npos) end = in_.size();
          value = DecodeEntities(in_.substr(pos_, end - pos_));
          pos_ = end < in_.size() ? end + 1 : end;
        } else {
          const std::size_t vs = pos_;
          while (pos_ < in_.size() && !IsSpace(in_[pos_]) && in_[pos_] != '>') ++pos_;
          value = DecodeEntities(in_.substr(vs, pos_ - vs));
        }
      }
      if (element && seen.insert(name).second) element->appendNewAttribute(std::move(name), std::move(value));
    }
  }

  // Index of the nearest open element named name, searching down from the top
  // and stopping at the given boundaries; 0 when absent (the container).
  template <typename Boundary>
  std::size_t findOpen(std::string_view name, Boundary isBoundary) const {
    for (std::size_t i = stack_.size() - 1; i > 0; --i) {
      if (stack_[i]->name() == name) return i;
      if (isBoundary(stack_[i]->tag())) return 0;
    }
    return 0;
  }

  void popTo(std::size_t index) {
    if (index > 0) stack_.resize(index);
  }

  void closeParagraph() {
    popTo(findOpen("p", [](Tag t) { return IsCell(t) || t == Tag::Table || t == Tag::Widget; }));
  }

  void applyAutoClosing(Tag t) {
    if (ClosesParagraph(t)) closeParagraph();
    switch (t) {
      case Tag::Li:
        popTo(findOpen("li", [](Tag b) { return b == Tag::Ul || b == Tag::Ol || IsCell(b) || b == Tag::Table; }));
        break;
      case Tag::Dd:
      case Tag::Dt: {
        const auto bound = [](Tag b) { return b == Tag::Dl || IsCell(b) || b == Tag::Table; };
        std::size_t i = findOpen("dd", bound);
        if (i == 0) i = findOpen("dt", bound);
        popTo(i);
        break;
      }
      case Tag::Td:
      case Tag::Th: {
        const auto bound = [](Tag b) { return b == Tag::Table; };
        std::size_t i = findOpen("td", bound);
        const std::size_t j = findOpen("th", bound);
        if (j > i) i = j;
        popTo(i);
        const Tag top = current().tag();
        // At the nesting cap no row could hold the cell: a row written back
        // there would close the table around it instead.
        if ((top == Tag::Table || IsTableSection(top)) && depthOfTop() + 1 < kMaxElementDepth) {
          pushElement(Node::MakeElement("tr"));
        }
        break;
      }
      case Tag::Tr: {
        std::size_t i = stack_.size() - 1;
        while (i > 0 && stack_[i]->tag() != Tag::Table && !IsTableSection(stack_[i]->tag())) --i;
        if (i > 0) popTo(i + 1);
        break;
      }
      case Tag::Tbody:
      case Tag::Thead:
      case Tag::Tfoot: {
        std::size_t i = stack_.size() - 1;
        while (i > 0 && stack_[i]->tag() != Tag::Table) --i;
        if (i > 0) popTo(i + 1);
        break;
      }
      case Tag::A: popTo(findOpen("a", [](Tag b) { return IsCell(b) || b == Tag::Table; })); break;
      default: break;
    }
  }

  // Appends an element to the insertion point and makes it the new insertion
  // point, unless the nesting cap is reached.
  Node* pushElement(std::unique_ptr<Node> element) {
    Node* parent = &current();
    Node* added = parent->appendChild(std::move(element));
    if (depthOfTop() + 1 < kMaxElementDepth) {
      stack_.push_back(added);
    } else {
      capped_ = added;
      cappedParent_ = parent;
    }
    return added;
  }

  // An element kept at the cap was never opened, so its own end tag closes
  // nothing: otherwise it would close an open ancestor of that name, or make
  // a new <p>, and the page written back would read as another tree.
  bool closesCappedElement(std::string_view name) {
    const bool closes = capped_ != nullptr && cappedParent_ == &current() && capped_->name() == name;
    if (closes) capped_ = nullptr;
    return closes;
  }

  void startTag() {
    ++pos_;  // '<'
    const std::string name = readName();
    const Tag t = TagFromName(name);
    if (documentMode_ && t == Tag::Html) {
      readAttributes(html_);
      return;
    }
    if (documentMode_ && t == Tag::Body) {
      ensureBodyCurrent();
      readAttributes(body_);
      return;
    }
    if (documentMode_ && t == Tag::Head) {
      readAttributes(nullptr);
      if (!bodyStarted_ && stack_.back() != head_) {
        ensureHead();
        stack_.push_back(head_);
      }
      return;
    }
    std::unique_ptr<Node> element = Node::MakeElement(name);
    readAttributes(element.get());
    if (documentMode_) {
      if (!bodyStarted_ && IsHeadContent(t)) {
        ensureHead();
        if (stack_.back() != head_) {
          stack_.resize(1);
          stack_.push_back(head_);
        }
      } else {
        ensureBodyCurrent();
      }
    }
    applyAutoClosing(t);
    if (IsVoidTag(t)) {
      current().appendChild(std::move(element));
      return;
    }
    Node* added = pushElement(std::move(element));
    if (IsRawTextTag(t)) {
      readRawText(*added, name, t == Tag::Title || t == Tag::Textarea);
      if (stack_.back() == added) stack_.pop_back();
    }
  }

  void readRawText(Node& element, const std::string& name, bool decode) {
    std::size_t end = pos_;
    for (;;) {
      end = in_.find("</", end);
      if (end == std::string_view::npos) {
        end = in_.size();
        break;
      }
      const std::size_t after = end + 2 + name.size();
      if (after <= in_.size() && EqualsIgnoreAsciiCase(in_.substr(end + 2, name.size()), name) &&
          (after == in_.size() || IsSpace(in_[after]) || in_[after] == '>' || in_[after] == '/')) {
        break;
      }
      end += 2;
    }
    const std::string_view raw = in_.substr(pos_, end - pos_);
    if (!raw.empty()) element.appendChild(Node::MakeText(decode ? DecodeEntities(raw) : std::string(raw)));
    pos_ = end;
    if (pos_ < in_.size()) {
      const std::size_t close = in_.find('>', pos_);
      pos_ = close == std::string_view::npos ? in_.size() : close + 1;
    }
  }

  void endTag() {
    pos_ += 2;  // "</"
    if (pos_ >= in_.size() || !IsAsciiAlpha(in_[pos_])) {
      skipToTagEnd();
      return;
    }
    const std::string name = readName();
    skipToTagEnd();
    if (closesCappedElement(name)) return;
    const Tag t = TagFromName(name);
    switch (t) {
      case Tag::Html:
      case Tag::Body: return;  // content after them still belongs to the body
      case Tag::Head:
        if (stack_.back() == head_) stack_.pop_back();
        return;
      case Tag::Br:  // browsers read </br> as <br>
        if (documentMode_) ensureBodyCurrent();
        current().appendChild(Node::MakeElement("br"));
        return;
      case Tag::P:
        if (findOpen("p", [](Tag b) { return IsCell(b) || b == Tag::Table || b == Tag::Widget; }) == 0) {
          if (documentMode_) ensureBodyCurrent();
          current().appendChild(Node::MakeElement("p"));
          return;
        }
        break;
      default: break;
    }
    const bool tablePart = IsCell(t) || t == Tag::Tr || IsTableSection(t) || t == Tag::Table;
    const std::size_t i = tablePart ? findOpen(name, [](Tag b) { return b == Tag::Table; })
                                    : findOpen(name, [](Tag b) { return IsCell(b) || b == Tag::Table; });
    popTo(i);
  }

  void skipToTagEnd() {
    const std::size_t close = in_.find('>', pos_);
    pos_ = close == std::string_view::npos ? in_.size() : close + 1;
  }

  void skipMarkup() {
    if (in_.substr(pos_, 4) == "<!--") {
      const std::size_t end = in_.find("-->", pos_ + 4);
      pos_ = end == std::string_view::npos ? in_.size() : end + 3;
      return;
    }
    skipToTagEnd();
  }

  std::string_view in_;
  std::size_t pos_ = 0;
  std::string text_;
  std::vector<Node*> stack_;
  bool documentMode_;
  std::size_t baseDepth_;
  Node* html_ = nullptr;
  Node* head_ = nullptr;
  Node* body_ = nullptr;
  bool bodyStarted_ = false;
  // The last element appended at the nesting cap, and where.
  Node* capped_ = nullptr;
  Node* cappedParent_ = nullptr;
};

}  // namespace

std::unique_ptr<Node> ParseHtmlDocument(std::string_view utf8) {
  const std::string text = SanitizedUtf8(StripUtf8Bom(utf8));
  std::unique_ptr<Node> html = Node::MakeElement("html");
  TreeBuilder builder(text, *html, true, 0);
  builder.run();
  return html;
}

std::vector<std::unique_ptr<Node>> ParseHtmlFragment(std::string_view utf8, std::string_view contextName,
                                                     std::size_t contextDepth) {
  const std::string text = SanitizedUtf8(StripUtf8Bom(utf8));
  std::unique_ptr<Node> container = Node::MakeElement(AsciiLowered(contextName));
  TreeBuilder builder(text, *container, false, contextDepth);
  builder.run();
  return container->takeChildren();
}

}  // namespace ks::render
