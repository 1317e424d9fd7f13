#include "render/win32_painter.h"

#include <windows.h>

#include "render/win32_gdiplus.h"

#include <algorithm>
#include <cmath>

#include "render/dom_controls.h"
#include "render/layout_saturating.h"
#include "render/paint_image_scaling.h"
#include "render/text_utf8.h"
#include "render/win32_container.h"
#include "render/win32_image.h"

namespace ks::render {
namespace {

using Gdiplus::Color;
using Gdiplus::GraphicsPath;
using Gdiplus::RectF;

Color Argb(std::uint32_t c) { return Color(static_cast<Gdiplus::ARGB>(c)); }

std::uint32_t Mix(std::uint32_t c, std::uint32_t with, float amount) {
  std::uint32_t out = c & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const float a = static_cast<float>((c >> shift) & 0xFF);
    const float b = static_cast<float>((with >> shift) & 0xFF);
    out |= static_cast<std::uint32_t>(std::lround(a + (b - a) * amount)) << shift;
  }
  return out;
}

RectF ToF(const Rect& r) {
  return RectF(static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.w), static_cast<float>(r.h));
}

RectF Inset(const RectF& r, float d) { return RectF(r.X + d, r.Y + d, r.Width - 2 * d, r.Height - 2 * d); }

// A rectangle with its four corner radii (top-left, top-right, bottom-right,
// bottom-left), each limited to half the shorter side.
void RoundedRect(GraphicsPath& path, const RectF& r, const float radius[4], float shrink) {
  const float limit = std::max(0.0f, std::min(r.Width, r.Height) / 2);
  float rad[4];
  for (int i = 0; i < 4; ++i) rad[i] = std::clamp(radius[i] - shrink, 0.0f, limit);
  const float right = r.X + r.Width;
  const float bottom = r.Y + r.Height;
  path.StartFigure();
  if (rad[0] > 0) path.AddArc(r.X, r.Y, 2 * rad[0], 2 * rad[0], 180, 90);
  path.AddLine(r.X + rad[0], r.Y, right - rad[1], r.Y);
  if (rad[1] > 0) path.AddArc(right - 2 * rad[1], r.Y, 2 * rad[1], 2 * rad[1], 270, 90);
  path.AddLine(right, r.Y + rad[1], right, bottom - rad[2]);
  if (rad[2] > 0) path.AddArc(right - 2 * rad[2], bottom - 2 * rad[2], 2 * rad[2], 2 * rad[2], 0, 90);
  path.AddLine(right - rad[2], bottom, r.X + rad[3], bottom);
  if (rad[3] > 0) path.AddArc(r.X, bottom - 2 * rad[3], 2 * rad[3], 2 * rad[3], 90, 90);
  path.AddLine(r.X, bottom - rad[3], r.X, r.Y + rad[0]);
  path.CloseFigure();
}

class Replay {
 public:
  Replay(Gdiplus::Graphics& g, const std::vector<PaintOp>& ops, const Win32Container& c, const PaintSettings& s)
      : g_(g), ops_(ops), container_(c), settings_(s), forced_(s.forced) {}

  void run() {
    for (std::size_t i = 0; i < ops_.size(); ++i) {
      const PaintOp& op = ops_[i];
      switch (op.kind) {
        case PaintOp::Kind::Background: background(op); break;
        case PaintOp::Kind::Border: border(op); break;
        case PaintOp::Kind::Text: text(op); break;
        case PaintOp::Kind::Image: image(op); break;
        case PaintOp::Kind::CheckBox: checkBox(op); break;
        case PaintOp::Kind::Radio: radio(op); break;
        case PaintOp::Kind::Button:
          button_ = op.node;
          buttonState_ = op.state;
          break;
        case PaintOp::Kind::FocusRect:
          if (settings_.showFocus) focus(i);
          break;
      }
    }
  }

 private:
  void background(const PaintOp& op) {
    const RectF r = ToF(op.rect);
    GraphicsPath path;
    RoundedRect(path, r, op.radius, 0);
    if (button_ && op.node == button_ && !forced_) {
      // Push buttons get a soft vertical shade; pressed ones are darker.
      std::uint32_t top = Mix(op.color, 0xFFFFFFFFu, (buttonState_ & kStateHover) ? 0.75f : 0.55f);
      std::uint32_t bottom = (buttonState_ & kStateHover) ? Mix(op.color, 0xFFE5F1FBu, 0.6f) : op.color;
      if (buttonState_ & kStateActive) std::swap(top, bottom);
      Gdiplus::LinearGradientBrush brush(RectF(r.X, r.Y - 1, r.Width, r.Height + 2), Argb(top), Argb(bottom),
                                         Gdiplus::LinearGradientModeVertical);
      g_.FillPath(&brush, &path);
      return;
    }
    Gdiplus::SolidBrush brush(Argb(op.color));
    g_.FillPath(&brush, &path);
  }

  void border(const PaintOp& op) {
    const RectF r = ToF(op.rect);
    bool uniform = true;
    for (int i = 1; i < 4; ++i) {
      uniform = uniform && op.borderWidth[i] == op.borderWidth[0] && op.borderStyle[i] == op.borderStyle[0] &&
                op.borderColor[i] == op.borderColor[0];
    }
    if (!uniform) {
      sides(op);
      return;
    }
    const float w = static_cast<float>(op.borderWidth[0]);
    const Color color = Argb(op.borderColor[0]);
    switch (op.borderStyle[0]) {
      case BorderStyle::None:
      case BorderStyle::Hidden: return;
      case BorderStyle::Double: {
        // Two lines with a gap; a border too thin to split still shows two
        // hairlines, the inner one reaching into the padding.
        const float line = w >= 3 ? std::floor(w / 3) : 1.0f;
        const float innerInset = w >= 3 ? w - line : 2.0f;
        stroke(r, op.radius, color, line, 0);
        stroke(r, op.radius, color, line, innerInset);
        return;
      }
      default: stroke(r, op.radius, color, w, 0, op.borderStyle[0]); return;
    }
  }

  // A line of width w whose outer edge lies inset pixels inside r.
  void stroke(const RectF& r, const float radius[4], const Color& color, float w, float inset,
              BorderStyle style = BorderStyle::Solid) {
    if (w <= 0) return;
    const float d = inset + w / 2;
    if (r.Width <= 2 * d || r.Height <= 2 * d) return;
    GraphicsPath path;
    RoundedRect(path, Inset(r, d), radius, d);
    Gdiplus::Pen pen(color, w);
    if (style == BorderStyle::Dashed) pen.SetDashStyle(Gdiplus::DashStyleDash);
    if (style == BorderStyle::Dotted) pen.SetDashStyle(Gdiplus::DashStyleDot);
    g_.DrawPath(&pen, &path);
  }

  void sides(const PaintOp& op) {
    const Rect& r = op.rect;
    const Rect bands[4] = {{r.x, r.y, r.w, op.borderWidth[0]},
                           {AddPx(r.x, r.w, -op.borderWidth[1]), r.y, op.borderWidth[1], r.h},
                           {r.x, AddPx(r.y, r.h, -op.borderWidth[2]), r.w, op.borderWidth[2]},
                           {r.x, r.y, op.borderWidth[3], r.h}};
    for (int i = 0; i < 4; ++i) {
      if (op.borderWidth[i] <= 0 || op.borderStyle[i] == BorderStyle::None || op.borderStyle[i] == BorderStyle::Hidden)
        continue;
      Gdiplus::SolidBrush brush(Argb(op.borderColor[i]));
      g_.FillRectangle(&brush, ToF(bands[i]));
    }
  }

  void text(const PaintOp& op) {
    Gdiplus::Font* font = container_.font(op.font);
    if (!font || op.text.empty()) return;
    const std::u16string wide = Utf8ToUtf16(op.text);
    const float top = static_cast<float>(op.baseline) - container_.ascent(op.font);
    Gdiplus::SolidBrush brush(Argb(op.color));
    g_.DrawString(reinterpret_cast<const WCHAR*>(wide.data()), static_cast<INT>(wide.size()), font,
                  Gdiplus::PointF(static_cast<float>(op.rect.x), top), &container_.textFormat(), &brush);
    const float thickness = std::max(1.0f, std::round(font->GetSize() / 14.0f));
    if (op.underline) {
      g_.FillRectangle(&brush, RectF(static_cast<float>(op.rect.x), static_cast<float>(op.baseline) + 1,
                                     static_cast<float>(op.rect.w), thickness));
    }
    if (op.lineThrough) {
      g_.FillRectangle(&brush,
                       RectF(static_cast<float>(op.rect.x), std::round(top + container_.ascent(op.font) * 0.65f),
                             static_cast<float>(op.rect.w), thickness));
    }
  }

  void image(const PaintOp& op) {
    const Win32Image* img = container_.image(op.text);
    if (!img || op.rect.w <= 0 || op.rect.h <= 0) return;
    const int width = static_cast<int>(std::lround(static_cast<float>(op.rect.w) * settings_.scale));
    const int height = static_cast<int>(std::lround(static_cast<float>(op.rect.h) * settings_.scale));
    const ImageScaling how = ChooseImageScaling(img->width(), img->height(), width, height);
    Gdiplus::Bitmap& source = how.prescale > 1 ? img->enlarged(how.prescale) : img->bitmap();
    g_.SetInterpolationMode(how.smooth ? Gdiplus::InterpolationModeHighQualityBicubic
                                       : Gdiplus::InterpolationModeNearestNeighbor);
    g_.DrawImage(&source, ToF(op.rect));
  }

  void checkBox(const PaintOp& op) {
    // Drawn from filled rectangles on whole pixels, so the small box stays
    // crisp wherever strokes would land between pixels.
    const RectF r = ToF(op.rect);
    const bool checked = (op.state & kStateChecked) != 0;
    const bool hot = (op.state & (kStateHover | kStateActive)) != 0;
    const std::uint32_t accent = (op.state & kStateActive) ? 0xFF005A9Eu : 0xFF0067C0u;
    std::uint32_t edgeColor = checked ? accent : (hot ? 0xFF0067C0u : 0xFF767676u);
    std::uint32_t fillColor = checked ? accent : (hot ? 0xFFE5F1FBu : 0xFFFFFFFFu);
    std::uint32_t tickColor = 0xFFFFFFFFu;
    if (forced_) {
      // High contrast: the box in window colours, a hovered one outlined in
      // the highlight colour, the tick in the text colour.
      edgeColor = hot ? forced_->highlight : forced_->windowText;
      fillColor = forced_->window;
      tickColor = forced_->windowText;
    }
    Gdiplus::SolidBrush edge(Argb(edgeColor));
    g_.FillRectangle(&edge, r);
    Gdiplus::SolidBrush fill(Argb(fillColor));
    g_.FillRectangle(&fill, Inset(r, 1));
    if (checked) {
      Gdiplus::Pen tick(Argb(tickColor), std::max(1.5f, r.Width / 7));
      tick.SetLineJoin(Gdiplus::LineJoinRound);
      const Gdiplus::PointF points[3] = {{r.X + r.Width * 0.22f, r.Y + r.Height * 0.50f},
                                         {r.X + r.Width * 0.42f, r.Y + r.Height * 0.70f},
                                         {r.X + r.Width * 0.78f, r.Y + r.Height * 0.28f}};
      g_.DrawLines(&tick, points, 3);
    }
  }

  void radio(const PaintOp& op) {
    const RectF r = Inset(ToF(op.rect), 0.5f);
    const bool checked = (op.state & kStateChecked) != 0;
    const bool hot = (op.state & (kStateHover | kStateActive)) != 0;
    std::uint32_t fillColor = hot ? 0xFFE5F1FBu : 0xFFFFFFFFu;
    std::uint32_t edgeColor = checked || hot ? 0xFF0067C0u : 0xFF767676u;
    std::uint32_t dotColor = 0xFF0067C0u;
    if (forced_) {
      fillColor = forced_->window;
      edgeColor = hot ? forced_->highlight : forced_->windowText;
      dotColor = forced_->windowText;
    }
    Gdiplus::SolidBrush fill(Argb(fillColor));
    g_.FillEllipse(&fill, r);
    Gdiplus::Pen edge(Argb(edgeColor), 1.0f);
    g_.DrawEllipse(&edge, r);
    if (checked) {
      Gdiplus::SolidBrush dot(Argb(dotColor));
      g_.FillEllipse(&dot, Inset(r, r.Width * 0.27f));
    }
  }

  // The dotted mark goes round what the control shows (its mark and
  // caption) rather than its whole row.
  void focus(std::size_t index) {
    const PaintOp& op = ops_[index];
    RectF area = ToF(op.rect);
    bool tight = false;
    float left = 0, top = 0, right = 0, bottom = 0;
    // A push button's mark stays inside its face, round the whole button.
    const bool button = op.node && ControlKindOf(*op.node) == ControlKind::Button;
    for (std::size_t j = button ? 0 : index; j-- > 0;) {
      const PaintOp& o = ops_[j];
      if (o.node == op.node &&
          (o.kind == PaintOp::Kind::Background || o.kind == PaintOp::Kind::Border || o.kind == PaintOp::Kind::Button)) {
        break;
      }
      if (o.kind != PaintOp::Kind::Text && o.kind != PaintOp::Kind::CheckBox && o.kind != PaintOp::Kind::Radio &&
          o.kind != PaintOp::Kind::Image) {
        continue;
      }
      bool inside = false;
      for (const Node* n = o.node; n; n = n->parent()) inside = inside || n == op.node;
      if (!inside) continue;
      const RectF r = ToF(o.rect);
      if (!tight) {
        left = r.X, top = r.Y, right = r.X + r.Width, bottom = r.Y + r.Height;
      } else {
        left = std::min(left, r.X), top = std::min(top, r.Y);
        right = std::max(right, r.X + r.Width), bottom = std::max(bottom, r.Y + r.Height);
      }
      tight = true;
    }
    if (tight) {
      area = RectF(left - 2, top - 1, right - left + 4, bottom - top + 2);
    } else if (area.Width > 8 && area.Height > 8) {
      area = Inset(area, 3);
    }
    Gdiplus::Pen pen(forced_ ? Argb(forced_->highlight) : Color(255, 40, 40, 40), forced_ ? 2.0f : 1.0f);
    if (!forced_) pen.SetDashStyle(Gdiplus::DashStyleDot);
    g_.DrawRectangle(&pen, Inset(area, 0.5f));
  }

  Gdiplus::Graphics& g_;
  const std::vector<PaintOp>& ops_;
  const Win32Container& container_;
  const PaintSettings& settings_;
  const ForcedColors* forced_;
  const Node* button_ = nullptr;
  std::uint32_t buttonState_ = 0;
};

}  // namespace

void PaintPage(Gdiplus::Graphics& g, const std::vector<PaintOp>& ops, const Win32Container& container,
               const PaintSettings& settings) {
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
  g.SetPageUnit(Gdiplus::UnitPixel);
  g.ResetTransform();
  g.ScaleTransform(settings.scale, settings.scale);
  g.TranslateTransform(-static_cast<float>(settings.scrollX), -static_cast<float>(settings.scrollY));
  Replay(g, ops, container, settings).run();
}

}  // namespace ks::render
