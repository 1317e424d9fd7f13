// One page and everything the renderer does with it, in pipeline order:
// parse the HTML, gather and load style sheets, compute styles, build boxes,
// lay out for a width, paint. Each step runs again only when something it
// depends on changed.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "render/css_stylesheet.h"
#include "render/dom_document.h"
#include "render/layout_builder.h"
#include "render/layout_container.h"
#include "render/layout_engine.h"
#include "render/paint_list.h"
#include "render/style_resolver.h"

namespace ks::render {

class PageView {
 public:
  explicit PageView(Container& container);

  // Parses a new document. Style sheets it imports are then pending until
  // supplyStyleSheet answers them. A replaced document that the host still
  // pins elements of stays alive (detached) until collectRemoved finds it
  // unpinned.
  void loadHtml(std::string_view utf8);
  Document& document() { return *document_; }
  // Frees removed subtrees and replaced documents that nobody pins any more.
  void collectRemoved();
  // True when element belongs to the current document's tree.
  bool attached(const Node& element) const;

  // URLs of imported style sheets that have not been answered yet, in the
  // order the page asks for them.
  std::vector<std::string> pendingStyleSheets() const;
  // Answers every pending request for url; found false means there is no
  // such sheet (the page goes on without it). The sheet is parsed once here,
  // however many sheets import it.
  void supplyStyleSheet(std::string_view url, std::string_view bytes, bool found = true);
  // URLs of the sheets the cascade reads, in the order it reads them ("" for
  // a style element). A sheet imported in several places is read once, at
  // the last of them, which is where it wins.
  std::vector<std::string> appliedStyleSheets();

  // Content and state edits; they mark the page for restyle and layout.
  void setInnerHtml(Node& element, std::string_view utf8);
  void setInnerText(Node& element, std::string_view utf8);
  void setState(Node& element, std::uint32_t set, std::uint32_t clear);
  // Images arrived or the container's fonts changed.
  void invalidateLayout();

  // Lays the page out for a width (runs the stale steps).
  void layout(int width);
  int contentHeight() const { return height_; }
  // The laid-out width, or wider where content overflows it to the right.
  int contentWidth() const { return contentWidth_; }
  int minWidth();
  int maxWidth();
  int minHeight(int width);

  // Content box relative to the root; false when the element has no box.
  bool contentBox(const Node& element, Rect& out);
  bool borderBox(const Node& element, Rect& out);
  // The innermost element whose box holds the point, or null.
  Node* hitTest(int x, int y);

  std::vector<PaintOp> paint();
  std::string dumpBoxes();

 private:
  using SharedSheet = std::shared_ptr<const StyleSheet>;
  struct SheetSlot {
    std::string url;  // empty for a style element
    bool loaded = false;
    SharedSheet sheet;  // null while pending and when there is no such sheet
    std::vector<SheetSlot> imports;
  };
  struct AppliedSheet {
    const SheetSlot* slot;
    const StyleSheet* sheet;
  };
  void collectSheets();
  void addImports(SheetSlot& slot, int depth);
  void orderSheets(const SheetSlot& slot, std::vector<AppliedSheet>& out) const;
  std::vector<AppliedSheet> cascadeOrder() const;
  void ensureBoxes();

  Container& container_;
  std::unique_ptr<Document> document_;
  std::vector<std::unique_ptr<Document>> retired_;
  StyleResolver resolver_;
  LayoutEngine engine_;
  std::vector<SheetSlot> sheets_;
  std::map<std::string, SharedSheet, std::less<>> supplied_;  // url -> parsed sheet (null: not found)
  std::deque<ComputedStyle> styles_;
  BoxTree boxes_;
  unsigned styledGeneration_ = ~0u;
  bool sheetsDirty_ = true;
  bool styleDirty_ = true;
  bool layoutDirty_ = true;
  int width_ = -1;
  int height_ = 0;
  int contentWidth_ = 0;
  int sheetCount_ = 0;
};

}  // namespace ks::render
