#include "render/layout_box.h"

#include <algorithm>

namespace ks::render {
namespace {

Rect Union(const std::vector<Rect>& rects) {
  if (rects.empty()) return Rect{};
  int x0 = rects[0].x, y0 = rects[0].y, x1 = AddPx(rects[0].x, rects[0].w), y1 = AddPx(rects[0].y, rects[0].h);
  for (const Rect& r : rects) {
    x0 = std::min(x0, r.x);
    y0 = std::min(y0, r.y);
    x1 = std::max(x1, AddPx(r.x, r.w));
    y1 = std::max(y1, AddPx(r.y, r.h));
  }
  return Rect{x0, y0, SubPx(x1, x0), SubPx(y1, y0)};
}

// Where the children of box are positioned from, in root coordinates.
void ContentOrigin(const LayoutBox& box, int& x, int& y) {
  const Rect r = AbsoluteBorderBox(box);
  x = AddPx(r.x, box.border.left, box.padding.left);
  y = AddPx(r.y, box.border.top, box.padding.top, box.contentShiftY);
}

}  // namespace

Rect AbsoluteBorderBox(const LayoutBox& box) {
  if (box.kind == BoxKind::Inline || box.kind == BoxKind::Text) {
    if (!box.container) return Rect{};
    int ox = 0, oy = 0;
    ContentOrigin(*box.container, ox, oy);
    Rect u;
    if (box.kind == BoxKind::Inline) {
      u = Union(box.fragments);
    } else {
      std::vector<Rect> runs;
      for (const TextRun& r : box.container->runs) {
        if (r.box == &box) runs.push_back(Rect{r.x, r.baseline, r.width, 0});
      }
      u = Union(runs);
    }
    u.x = AddPx(u.x, ox);
    u.y = AddPx(u.y, oy);
    return u;
  }
  int ox = 0, oy = 0;
  if (box.offsetParent) ContentOrigin(*box.offsetParent, ox, oy);
  return Rect{AddPx(ox, box.x), AddPx(oy, box.y), box.borderBoxWidth(), box.borderBoxHeight()};
}

Rect AbsoluteContentBox(const LayoutBox& box) {
  Rect r = AbsoluteBorderBox(box);
  r.x = AddPx(r.x, box.border.left, box.padding.left);
  r.y = AddPx(r.y, box.border.top, box.padding.top);
  r.w = std::max(0, AddPx(r.w, -box.border.horizontal(), -box.padding.horizontal()));
  r.h = std::max(0, AddPx(r.h, -box.border.vertical(), -box.padding.vertical()));
  return r;
}

}  // namespace ks::render
