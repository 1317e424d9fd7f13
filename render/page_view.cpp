#include "render/page_view.h"

#include <algorithm>
#include <unordered_map>

#include "render/html_parser.h"
#include "render/layout_dump.h"
#include "render/layout_saturating.h"
#include "render/text_utf8.h"

namespace ks::render {
namespace {

// Imports nest at most this deep and a page loads at most this many sheets,
// so import cycles end.
constexpr int kMaxImportDepth = 8;
constexpr int kMaxSheets = 64;

// True when the subtree holds a style element or a style sheet link, so that
// changing it changes what the page imports.
bool HoldsSheets(Node& from) {
  return !Document::VisitElements(from, [](Node& n) { return n.tag() != Tag::Style && n.tag() != Tag::Link; });
}

}  // namespace

PageView::PageView(Container& container)
    : container_(container), document_(std::make_unique<Document>()), engine_(container) {}

void PageView::loadHtml(std::string_view utf8) {
  boxes_.clear();
  styles_.clear();
  if (document_->pinned()) {
    // The styles and boxes the old tree points at are gone.
    Document::VisitElements(document_->root(), [](Node& n) {
      n.style = nullptr;
      n.box = nullptr;
      return true;
    });
    retired_.push_back(std::move(document_));
  }
  document_ = std::make_unique<Document>(ParseHtmlDocument(utf8));
  supplied_.clear();
  sheetsDirty_ = true;
  styleDirty_ = true;
  collectSheets();
}

void PageView::collectSheets() {
  sheets_.clear();
  sheetCount_ = 0;
  Document::VisitElements(document_->root(), [&](Node& n) {
    if (n.tag() == Tag::Style) {
      SheetSlot slot;
      slot.loaded = true;
      slot.sheet = std::make_shared<const StyleSheet>(ParseStyleSheet(InnerText(n)));
      sheets_.push_back(std::move(slot));
    } else if (n.tag() == Tag::Link && EqualsIgnoreAsciiCase(n.attributeOr("rel", ""), "stylesheet")) {
      SheetSlot slot;
      slot.url = std::string(n.attributeOr("href", ""));
      sheets_.push_back(std::move(slot));
    }
    return true;
  });
  for (SheetSlot& s : sheets_) addImports(s, 0);
  sheetsDirty_ = false;
  styleDirty_ = true;
}

void PageView::addImports(SheetSlot& slot, int depth) {
  if (!slot.loaded && !slot.url.empty()) {
    const auto it = supplied_.find(slot.url);
    if (it != supplied_.end()) {
      slot.loaded = true;
      slot.sheet = it->second;
    }
  }
  if (!slot.sheet || depth >= kMaxImportDepth) return;
  if (slot.imports.empty()) {
    for (const std::string& url : slot.sheet->imports) {
      if (++sheetCount_ > kMaxSheets) break;
      SheetSlot child;
      child.url = url;
      slot.imports.push_back(std::move(child));
    }
  }
  for (SheetSlot& c : slot.imports) addImports(c, depth + 1);
}

std::vector<std::string> PageView::pendingStyleSheets() const {
  std::vector<std::string> out;
  std::vector<const SheetSlot*> stack;
  for (auto it = sheets_.rbegin(); it != sheets_.rend(); ++it) stack.push_back(&*it);
  while (!stack.empty()) {
    const SheetSlot* s = stack.back();
    stack.pop_back();
    if (!s->loaded && std::find(out.begin(), out.end(), s->url) == out.end()) out.push_back(s->url);
    for (auto it = s->imports.rbegin(); it != s->imports.rend(); ++it) stack.push_back(&*it);
  }
  return out;
}

void PageView::supplyStyleSheet(std::string_view url, std::string_view bytes, bool found) {
  SharedSheet sheet = found ? std::make_shared<const StyleSheet>(ParseStyleSheet(bytes)) : nullptr;
  const auto [it, added] = supplied_.try_emplace(std::string(url), sheet);
  if (!added) {
    // New text for a sheet already in place, perhaps with other imports:
    // gather the sheets again, so that what is pending is known at once.
    it->second = std::move(sheet);
    collectSheets();
    return;
  }
  for (SheetSlot& s : sheets_) addImports(s, 0);
  styleDirty_ = true;
}

void PageView::orderSheets(const SheetSlot& slot, std::vector<AppliedSheet>& out) const {
  for (const SheetSlot& c : slot.imports) orderSheets(c, out);
  if (slot.sheet) out.push_back(AppliedSheet{&slot, slot.sheet.get()});
}

std::vector<PageView::AppliedSheet> PageView::cascadeOrder() const {
  std::vector<AppliedSheet> all;
  for (const SheetSlot& s : sheets_) orderSheets(s, all);
  // The same rules read again later override their first reading, so only
  // the last reading counts.
  std::unordered_map<const StyleSheet*, std::size_t> last;
  for (std::size_t i = 0; i < all.size(); ++i) last[all[i].sheet] = i;
  std::vector<AppliedSheet> out;
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (last[all[i].sheet] == i) out.push_back(all[i]);
  }
  return out;
}

std::vector<std::string> PageView::appliedStyleSheets() {
  if (sheetsDirty_) collectSheets();
  std::vector<std::string> urls;
  for (const AppliedSheet& a : cascadeOrder()) urls.push_back(a.slot->url);
  return urls;
}

// An edit that changes the page's sheets gathers them again at once, so the
// host asks for new imports before the next layout.
void PageView::setInnerHtml(Node& element, std::string_view utf8) {
  const bool heldSheets = HoldsSheets(element);
  document_->setInnerHtml(element, utf8);
  if (heldSheets || HoldsSheets(element)) collectSheets();
  styleDirty_ = true;
}

void PageView::setInnerText(Node& element, std::string_view utf8) {
  const bool heldSheets = HoldsSheets(element);
  document_->setInnerText(element, utf8);
  if (heldSheets) collectSheets();
  styleDirty_ = true;
}

void PageView::setState(Node& element, std::uint32_t set, std::uint32_t clear) {
  const std::uint32_t next = (element.state() & ~clear) | set;
  if (next == element.state()) return;
  element.setState(next);
  styleDirty_ = true;
}

void PageView::invalidateLayout() {
  styleDirty_ = true;  // intrinsic widths and measured words are kept in the boxes
}

void PageView::ensureBoxes() {
  if (sheetsDirty_) collectSheets();
  if (!styleDirty_ && styledGeneration_ == document_->generation()) return;
  resolver_.clearAuthorSheets();
  for (const AppliedSheet& a : cascadeOrder()) resolver_.addAuthorSheet(*a.sheet);
  boxes_.clear();
  styles_.clear();
  resolver_.computeTree(document_->root(), styles_);
  BuildBoxTree(document_->root(), boxes_);
  styledGeneration_ = document_->generation();
  styleDirty_ = false;
  layoutDirty_ = true;
}

void PageView::layout(int width) {
  ensureBoxes();
  if (!layoutDirty_ && width == width_) return;
  height_ = boxes_.root ? engine_.layout(*boxes_.root, width) : 0;
  width_ = width;
  contentWidth_ = width;
  if (boxes_.root) {
    // A table that cannot get narrower than its content sticks out.
    std::vector<const LayoutBox*> stack{boxes_.root};
    while (!stack.empty()) {
      const LayoutBox* b = stack.back();
      stack.pop_back();
      const Rect r = AbsoluteBorderBox(*b);
      contentWidth_ = std::max(contentWidth_, AddPx(r.x, r.w, b->margin.right));
      for (const LayoutBox* c : b->children) stack.push_back(c);
    }
  }
  layoutDirty_ = false;
}

int PageView::minWidth() {
  ensureBoxes();
  if (!boxes_.root) return 0;
  const int width = engine_.minContentWidth(*boxes_.root);
  // Measuring resolves the boxes' margins and paddings without a containing
  // width, so percentages are lost until the next layout.
  layoutDirty_ = true;
  return width;
}

int PageView::maxWidth() {
  ensureBoxes();
  if (!boxes_.root) return 0;
  const int width = engine_.maxContentWidth(*boxes_.root);
  layoutDirty_ = true;  // as for minWidth
  return width;
}

int PageView::minHeight(int width) {
  layout(width);
  return height_;
}

void PageView::collectRemoved() {
  document_->collectRemoved();
  for (auto& d : retired_) d->collectRemoved();
  retired_.erase(
      std::remove_if(retired_.begin(), retired_.end(), [](const std::unique_ptr<Document>& d) { return !d->pinned(); }),
      retired_.end());
}

bool PageView::attached(const Node& node) const {
  const Node* n = &node;
  while (n->parent()) n = n->parent();
  return n == &document_->root();
}

bool PageView::borderBox(const Node& element, Rect& out) {
  if (width_ < 0) return false;
  layout(width_);
  if (!element.box || !attached(element)) return false;
  out = AbsoluteBorderBox(*element.box);
  return true;
}

bool PageView::contentBox(const Node& element, Rect& out) {
  if (width_ < 0) return false;
  layout(width_);
  if (!element.box || !attached(element)) return false;
  out = AbsoluteContentBox(*element.box);
  return true;
}

Node* PageView::hitTest(int x, int y) {
  if (width_ < 0) return nullptr;
  layout(width_);
  Node* best = nullptr;
  std::size_t bestDepth = 0;
  Document::VisitElements(document_->root(), [&](Node& n) {
    if (!n.box || n.box->kind == BoxKind::Text) return true;
    bool inside = false;
    if (n.box->kind == BoxKind::Inline) {
      const Rect origin = n.box->container ? AbsoluteContentBox(*n.box->container) : Rect{};
      // Fragments sit where they are drawn: below the shift of a
      // vertically aligned table cell.
      const int shift = n.box->container ? n.box->container->contentShiftY : 0;
      for (const Rect& f : n.box->fragments) {
        if (Rect{AddPx(origin.x, f.x), AddPx(origin.y, shift, f.y), f.w, f.h}.contains(x, y)) inside = true;
      }
    } else {
      inside = AbsoluteBorderBox(*n.box).contains(x, y);
    }
    if (inside && (!best || n.depth() >= bestDepth)) {
      best = &n;
      bestDepth = n.depth();
    }
    return true;
  });
  return best;
}

std::vector<PaintOp> PageView::paint() {
  if (width_ < 0 || !boxes_.root) return {};
  layout(width_);
  return BuildPaintList(*boxes_.root, container_.checkMarkSize());
}

std::string PageView::dumpBoxes() {
  if (width_ < 0 || !boxes_.root) return {};
  layout(width_);
  return DumpBoxTree(*boxes_.root);
}

}  // namespace ks::render
