// Inline formatting: white-space collapsing, words and break opportunities,
// line breaking around floats, and vertical alignment within lines.
#include <algorithm>
#include <cmath>
#include <limits>

#include "render/layout_engine.h"
#include "render/layout_saturating.h"
#include "render/text_utf8.h"

namespace ks::render {
namespace {

bool IsCollapsible(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

char32_t ToUpper(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
  if (c >= 0x430 && c <= 0x44F) return c - 32;
  if (c >= 0x450 && c <= 0x45F) return c - 80;
  return c;
}

char32_t ToLower(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
}

bool IsPunctuation(char32_t c) {
  if (c < 0x80) return c > ' ' && !((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'));
  return (c >= 0xA1 && c <= 0xBF) || (c >= 0x2010 && c <= 0x205E);
}

// Appends word with the text-transform applied; wordStart says whether it
// begins a word for capitalize.
void AppendTransformed(std::string& out, std::string_view word, TextTransform t, bool wordStart) {
  if (t == TextTransform::None) {
    out += word;
    return;
  }
  std::size_t pos = 0;
  bool first = wordStart;
  while (pos < word.size()) {
    char32_t c = DecodeUtf8(word, pos);
    if (t == TextTransform::Uppercase) c = ToUpper(c);
    if (t == TextTransform::Lowercase) c = ToLower(c);
    if (t == TextTransform::Capitalize) {
      // Capitalize the first letter of each word: a no-break space (and,
      // in preformatted text, a space) separates words; leading punctuation
      // such as quotes and brackets is passed over.
      if (c == ' ' || c == '\t' || c == 0xA0) {
        first = true;
      } else if (!IsPunctuation(c)) {
        if (first) c = ToUpper(c);
        first = false;
      }
    }
    AppendUtf8(out, c);
  }
}

// Letters and digits, counting every byte of a multi-byte character.
bool IsWordChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 0x80 || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool Wraps(WhiteSpace ws) { return ws == WhiteSpace::Normal || ws == WhiteSpace::PreWrap || ws == WhiteSpace::PreLine; }

}  // namespace

void LayoutEngine::collectItems(LayoutBox& container) {
  if (container.itemsReady) return;
  container.items.clear();
  bool prevSpace = true;  // spaces at the start of the block collapse away
  collectFrom(container, container, prevSpace);
  container.itemsReady = true;
}

void LayoutEngine::collectFrom(LayoutBox& container, LayoutBox& parent, bool& prevSpace) {
  const bool wraps = Wraps(container.style->whiteSpace);
  for (LayoutBox* c : parent.children) {
    switch (c->kind) {
      case BoxKind::Text: addText(container, *c, prevSpace); break;
      case BoxKind::LineBreak: {
        InlineItem item;
        item.kind = InlineItem::Kind::Break;
        item.box = c;
        container.items.push_back(item);
        prevSpace = true;
        break;
      }
      case BoxKind::Inline: {
        c->container = &container;
        resolveEdges(*c, 0);
        InlineItem open;
        open.kind = InlineItem::Kind::Open;
        open.box = c;
        open.width = AddPx(c->margin.left, c->border.left, c->padding.left);
        container.items.push_back(open);
        collectFrom(container, *c, prevSpace);
        InlineItem close;
        close.kind = InlineItem::Kind::Close;
        close.box = c;
        close.width = AddPx(c->margin.right, c->border.right, c->padding.right);
        container.items.push_back(close);
        break;
      }
      default: {
        InlineItem item;
        item.box = c;
        c->container = &container;
        if (c->floating) {
          item.kind = InlineItem::Kind::Float;
        } else {
          item.kind = InlineItem::Kind::Atomic;
          item.breakAfter = wraps;
          // A line may also break just before an image or a control.
          if (wraps && !container.items.empty()) container.items.back().breakAfter = true;
          prevSpace = false;
        }
        container.items.push_back(item);
        break;
      }
    }
  }
}

void LayoutEngine::addText(LayoutBox& container, LayoutBox& t, bool& prevSpace) {
  const ComputedStyle& s = *t.style;
  const Font& font = fontFor(s);
  t.font = font.handle;
  t.container = &container;
  const std::string source = t.node ? t.node->text() : t.text;
  t.text.clear();
  const WhiteSpace ws = s.whiteSpace;
  const bool wraps = Wraps(ws);
  const bool preserveSpaces = ws == WhiteSpace::Pre || ws == WhiteSpace::PreWrap;
  const bool preserveNewlines = ws != WhiteSpace::Normal && ws != WhiteSpace::Nowrap;
  const auto lastContent = [&]() -> InlineItem* {
    for (auto it = container.items.rbegin(); it != container.items.rend(); ++it) {
      if (it->kind == InlineItem::Kind::Word || it->kind == InlineItem::Kind::Atomic) return &*it;
      if (it->kind == InlineItem::Kind::Break) return nullptr;
    }
    return nullptr;
  };
  std::size_t i = 0;
  while (i < source.size()) {
    const char c = source[i];
    if (c == '\n' && preserveNewlines) {
      InlineItem br;
      br.kind = InlineItem::Kind::Break;
      br.box = &t;
      container.items.push_back(br);
      prevSpace = true;
      ++i;
      continue;
    }
    if (IsCollapsible(c) && !preserveSpaces) {
      if (!prevSpace) {
        if (InlineItem* last = lastContent()) {
          last->spaceAfter = font.spaceWidth;
          last->breakAfter = wraps;
          if (last->box == &t) t.text.push_back(' ');
        }
        prevSpace = true;
      }
      ++i;
      continue;
    }
    // A word: everything up to the next collapsible space (or, when spaces
    // are kept, up to the next newline).
    std::size_t end = i;
    while (end < source.size() && source[end] != '\n' && (preserveSpaces || !IsCollapsible(source[end]))) ++end;
    // A wrapping line may also break after a hyphen inside a word, as in
    // "Tree-structured", when a letter or digit stands on either side.
    std::size_t pieceStart = i;
    while (pieceStart < end) {
      std::size_t pieceEnd = end;
      if (wraps && !preserveSpaces) {
        for (std::size_t k = pieceStart + 1; k + 1 < end; ++k) {
          if (source[k] == '-' && IsWordChar(source[k - 1]) && IsWordChar(source[k + 1])) {
            pieceEnd = k + 1;
            break;
          }
        }
      }
      const std::string_view word(source.data() + pieceStart, pieceEnd - pieceStart);
      InlineItem item;
      item.kind = InlineItem::Kind::Word;
      item.box = &t;
      item.start = static_cast<std::uint32_t>(t.text.size());
      const bool wordStart = prevSpace && pieceStart == i;
      if (preserveSpaces) {
        std::string spaced(word);
        for (char& ch : spaced) ch = ch == '\t' ? ' ' : ch;
        AppendTransformed(t.text, spaced, s.textTransform, wordStart);
      } else {
        AppendTransformed(t.text, word, s.textTransform, wordStart);
      }
      item.length = static_cast<std::uint32_t>(t.text.size()) - item.start;
      const std::string_view text = std::string_view(t.text).substr(item.start, item.length);
      item.width = SaturatePx(container_.textWidth(font.handle, text));
      item.breakAfter = pieceEnd < end;
      container.items.push_back(item);
      pieceStart = pieceEnd;
    }
    prevSpace = false;
    i = end;
  }
}

void LayoutEngine::lineSpan(const std::vector<FloatBox>& floats, int y, int width, int& left, int& right) const {
  left = 0;
  right = width;
  for (const FloatBox& f : floats) {
    if (y < f.rect.y || y >= AddPx(f.rect.y, f.rect.h)) continue;
    if (f.left) {
      left = std::max(left, AddPx(f.rect.x, f.rect.w));
    } else {
      right = std::min(right, f.rect.x);
    }
  }
}

void LayoutEngine::halfLeading(const ComputedStyle& s, int& ascent, int& descent) {
  const Font& f = fontFor(s);
  ascent = SaturatePx(f.metrics.ascent);
  descent = SaturatePx(f.metrics.descent);
  if (s.lineHeight <= 0) return;
  const float lh = s.lineHeightIsFactor ? s.lineHeight * s.fontSize : s.lineHeight;
  const int total = RoundPx(static_cast<double>(lh));
  const int extra = SubPx(total, AddPx(ascent, descent));
  ascent = AddPx(ascent, extra / 2);
  descent = SubPx(total, ascent);
}

int LayoutEngine::baselineShift(const LayoutBox& box, const LayoutBox& container) const {
  int shift = 0;
  for (const LayoutBox* b = &box; b && b != &container; b = b->parent) {
    if (b->kind == BoxKind::Text) continue;
    const float parentSize = b->parent ? b->parent->style->fontSize : b->style->fontSize;
    switch (b->style->verticalAlign) {
      case VerticalAlign::Super: shift = AddPx(shift, RoundPx(static_cast<double>(parentSize) / 3.0)); break;
      case VerticalAlign::Sub: shift = SubPx(shift, RoundPx(static_cast<double>(parentSize) / 5.0)); break;
      case VerticalAlign::Length: shift = AddPx(shift, RoundPx(static_cast<double>(b->style->verticalShift))); break;
      default: break;
    }
  }
  return shift;
}

int LayoutEngine::layoutInline(LayoutBox& c) {
  collectItems(c);
  c.runs.clear();
  c.lines.clear();
  std::vector<InlineItem>& items = c.items;
  const int width = c.width;
  for (InlineItem& item : items) {
    if (item.kind == InlineItem::Kind::Open) item.box->fragments.clear();
    if (item.kind == InlineItem::Kind::Atomic || item.kind == InlineItem::Kind::Float) {
      layoutAtomic(*item.box, width);
      item.box->offsetParent = &c;
      item.width = item.box->marginBoxWidth();
    }
  }
  int strutA = 0, strutD = 0;
  halfLeading(*c.style, strutA, strutD);
  const int xHeight = SaturatePx(fontFor(*c.style).metrics.xHeight);
  const TextAlign align = c.style->textAlign;
  const int indent = RoundPx(static_cast<double>(c.style->textIndent));

  std::vector<FloatBox> floats;
  std::vector<bool> floatPlaced(items.size(), false);
  std::vector<LayoutBox*> openInlines;  // inline boxes open at the start of the next line
  int y = 0;
  std::size_t i = 0;
  const auto placeFloat = [&](LayoutBox& f, int atY, int left, int right) {
    const int w = f.marginBoxWidth();
    const bool isLeft = f.style->floatSide != FloatSide::Right;
    const int x = isLeft ? left : std::max(left, SubPx(right, w));
    floats.push_back(FloatBox{Rect{x, atY, w, f.marginBoxHeight()}, isLeft});
    f.x = AddPx(x, f.margin.left);
    f.y = AddPx(atY, f.margin.top);
  };

  while (i < items.size()) {
    int left = 0, right = width;
    lineSpan(floats, y, width, left, right);
    const int lineIndent = c.lines.empty() ? indent : 0;
    int avail = AddPx(right, -left, -lineIndent);
    std::size_t j = i;
    int used = 0;
    bool hasContent = false;
    std::size_t breakAt = 0;  // one past the last break opportunity
    std::vector<std::size_t> deferredFloats;
    while (j < items.size()) {
      InlineItem& item = items[j];
      if (item.kind == InlineItem::Kind::Float) {
        if (!floatPlaced[j]) {
          floatPlaced[j] = true;
          if (AddPx(used, item.width) <= avail || !hasContent) {
            placeFloat(*item.box, y, left, right);
            lineSpan(floats, y, width, left, right);
            avail = AddPx(right, -left, -lineIndent);
          } else {
            deferredFloats.push_back(j);
          }
        }
        ++j;
        continue;
      }
      if (item.kind == InlineItem::Kind::Break) {
        ++j;
        break;
      }
      const bool content = item.kind == InlineItem::Kind::Word || item.kind == InlineItem::Kind::Atomic;
      if (content && AddPx(used, item.width) > avail) {
        if (hasContent && breakAt > i) {
          j = breakAt;
          break;
        }
        // Nothing fits beside a float: move below it and try again.
        if (!hasContent && (left > 0 || right < width)) {
          int next = std::numeric_limits<int>::max();
          for (const FloatBox& f : floats) {
            if (AddPx(f.rect.y, f.rect.h) > y) next = std::min(next, AddPx(f.rect.y, f.rect.h));
          }
          if (next != std::numeric_limits<int>::max()) {
            y = next;
            lineSpan(floats, y, width, left, right);
            avail = AddPx(right, -left, -lineIndent);
            continue;
          }
        }
      }
      used = AddPx(used, item.width, item.spaceAfter);
      if (content) hasContent = true;
      if (item.breakAfter) breakAt = j + 1;
      ++j;
    }
    if (j == i) j = i + 1;  // always make progress

    // Horizontal positions relative to the line start.
    std::size_t lastContent = j;
    for (std::size_t k = i; k < j; ++k) {
      if (items[k].kind == InlineItem::Kind::Word || items[k].kind == InlineItem::Kind::Atomic) lastContent = k;
    }
    std::vector<int> xs(j - i, 0);
    int cursor = 0;
    for (std::size_t k = i; k < j; ++k) {
      const InlineItem& item = items[k];
      xs[k - i] = cursor;
      if (item.kind == InlineItem::Kind::Float || item.kind == InlineItem::Kind::Break) continue;
      cursor = AddPx(cursor, item.width);
      if (k < lastContent || (lastContent == j && k + 1 < j)) cursor = AddPx(cursor, item.spaceAfter);
    }
    // Trailing inline edges after the last content still take room.
    const int lineWidth = cursor;
    int offset = AddPx(left, lineIndent);
    const int free = AddPx(right, -left, -lineIndent, -lineWidth);
    if (free > 0 && align == TextAlign::Center) offset = AddPx(offset, free / 2);
    if (free > 0 && align == TextAlign::Right) offset = AddPx(offset, free);

    // Vertical metrics.
    int A = strutA, D = strutD, tallAligned = 0;
    const bool onlyBreak = j == i + 1 && items[i].kind == InlineItem::Kind::Break;
    for (std::size_t k = i; k < j && !onlyBreak; ++k) {
      const InlineItem& item = items[k];
      if (item.kind == InlineItem::Kind::Word) {
        int a = 0, d = 0;
        halfLeading(*item.box->style, a, d);
        const int shift = baselineShift(*item.box, c);
        A = std::max(A, AddPx(a, shift));
        D = std::max(D, SubPx(d, shift));
      } else if (item.kind == InlineItem::Kind::Atomic) {
        const LayoutBox& b = *item.box;
        const int h = b.marginBoxHeight();
        const VerticalAlign va = b.style->verticalAlign;
        if (va == VerticalAlign::Top || va == VerticalAlign::Bottom) {
          tallAligned = std::max(tallAligned, h);
        } else if (va == VerticalAlign::Middle) {
          const int a = AddPx(h, xHeight) / 2;
          A = std::max(A, a);
          D = std::max(D, SubPx(h, a));
        } else {
          const int asc = b.baseline >= 0 ? b.baseline : h;
          const int shift = baselineShift(b, c);
          A = std::max(A, AddPx(asc, shift));
          D = std::max(D, AddPx(h, -asc, -shift));
        }
      }
    }
    const int lineHeight = std::max(AddPx(A, D), tallAligned);
    const int baseline = AddPx(y, A);
    const int lineIndex = static_cast<int>(c.lines.size());
    c.lines.push_back(LineInfo{y, lineHeight, A});

    // Place runs, atomics and inline fragments.
    struct Open {
      LayoutBox* box;
      int startX;
    };
    std::vector<Open> open;
    for (LayoutBox* b : openInlines) open.push_back(Open{b, offset});
    const auto closeFragment = [&](LayoutBox& b, int startX, int endX) {
      int a = 0, d = 0;
      const Font& f = fontFor(*b.style);
      a = SaturatePx(f.metrics.ascent);
      d = SaturatePx(f.metrics.descent);
      const int shift = baselineShift(b, c);
      b.fragments.push_back(Rect{startX, AddPx(baseline, -shift, -a, -b.padding.top, -b.border.top),
                                 SubPx(endX, startX), AddPx(a, d, b.padding.vertical(), b.border.vertical())});
    };
    for (std::size_t k = i; k < j; ++k) {
      InlineItem& item = items[k];
      const int x = AddPx(offset, xs[k - i]);
      switch (item.kind) {
        case InlineItem::Kind::Open: open.push_back(Open{item.box, AddPx(x, item.box->margin.left)}); break;
        case InlineItem::Kind::Close:
          for (std::size_t o = open.size(); o-- > 0;) {
            if (open[o].box == item.box) {
              closeFragment(*item.box, open[o].startX, AddPx(x, item.width, -item.box->margin.right));
              open.erase(open.begin() + static_cast<std::ptrdiff_t>(o));
              break;
            }
          }
          break;
        case InlineItem::Kind::Word: {
          const int shift = baselineShift(*item.box, c);
          if (!c.runs.empty() && c.runs.back().box == item.box && c.runs.back().line == lineIndex &&
              c.runs.back().end + 1 >= item.start) {
            TextRun& r = c.runs.back();
            r.end = item.start + item.length;
            r.width = AddPx(x, item.width, -r.x);
          } else {
            c.runs.push_back(TextRun{item.box, item.start, item.start + item.length, x, SubPx(baseline, shift),
                                     item.width, lineIndex});
          }
          break;
        }
        case InlineItem::Kind::Atomic: {
          LayoutBox& b = *item.box;
          const int h = b.marginBoxHeight();
          int top = 0;
          switch (b.style->verticalAlign) {
            case VerticalAlign::Top: top = y; break;
            case VerticalAlign::Bottom: top = AddPx(y, lineHeight, -h); break;
            case VerticalAlign::Middle: top = SubPx(baseline, AddPx(h, xHeight) / 2); break;
            default: top = AddPx(baseline, -baselineShift(b, c), -(b.baseline >= 0 ? b.baseline : h)); break;
          }
          b.x = AddPx(x, b.margin.left);
          b.y = AddPx(top, b.margin.top);
          break;
        }
        default: break;
      }
    }
    // Inline boxes still open continue on the next line.
    openInlines.clear();
    for (const Open& o : open) {
      closeFragment(*o.box, o.startX, AddPx(offset, lineWidth));
      openInlines.push_back(o.box);
    }
    y = AddPx(y, lineHeight);
    for (std::size_t k : deferredFloats) {
      int l = 0, r = width;
      lineSpan(floats, y, width, l, r);
      placeFloat(*items[k].box, y, l, r);
    }
    i = j;
  }
  int bottom = y;
  for (const FloatBox& f : floats) bottom = std::max(bottom, AddPx(f.rect.y, f.rect.h));
  return bottom;
}

}  // namespace ks::render
