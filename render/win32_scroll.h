// Scrolling of a page view: the offsets of the page within the window in CSS
// pixels, the window's own scroll bars (vertical, and horizontal when the page
// is wider than the window), and the steps that the wheel, the keys and the
// scroll bars take. The wheel follows the user's lines (and, sideways,
// characters) per notch.
#pragma once

#include <windows.h>

namespace ks::render {

class Win32Scroll {
 public:
  explicit Win32Scroll(HWND hwnd) : hwnd_(hwnd) {}

  int x() const { return x_; }
  int y() const { return y_; }

  // The page's extent and the part of it the window shows, in CSS pixels;
  // clamps the offsets and sets the scroll bars. Answers whether the bars
  // that show changed (the client area then changed too).
  bool setExtent(int pageWidth, int pageHeight, int viewWidth, int viewHeight);
  // A new page starts at its top-left corner.
  void reset();

  // Each answers whether the page moved.
  bool scrollTo(int x, int y);
  bool scrollBy(int dx, int dy) { return scrollTo(x_ + dx, y_ + dy); }
  // WM_VSCROLL or WM_HSCROLL.
  bool onScrollBar(int bar, WPARAM wParam);
  // WM_MOUSEWHEEL (vertical) or WM_MOUSEHWHEEL; delta as the message has it.
  bool onWheel(int delta, bool horizontal);
  // Page, Home, End and arrow keys; false for other keys.
  bool onKey(WPARAM key, bool& moved);
  // Brings a rectangle of the page (CSS pixels) into view, its top-left
  // corner first when it is larger than the view.
  bool reveal(int left, int top, int width, int height);

  // One line of the arrows and of each line the wheel turns, CSS pixels.
  static constexpr int kLine = 20;

 private:
  int maxX() const { return pageWidth_ > viewWidth_ ? pageWidth_ - viewWidth_ : 0; }
  int maxY() const { return pageHeight_ > viewHeight_ ? pageHeight_ - viewHeight_ : 0; }
  int pageStep(bool horizontal) const;
  void showPositions();

  HWND hwnd_;
  int x_ = 0;
  int y_ = 0;
  int pageWidth_ = 0;
  int pageHeight_ = 0;
  int viewWidth_ = 0;
  int viewHeight_ = 0;
  int wheelRest_[2] = {0, 0};  // part notches of fine-grained wheels, per axis
};

}  // namespace ks::render
