// Minimum sizes and element locations in device pixels.
#include <gtest/gtest.h>

#include "page_window.h"

namespace ks::render::testing {
namespace {

void ResizeClient(HWND hwnd, int width, int height) {
  RECT r{0, 0, width, height};
  AdjustWindowRect(&r, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), FALSE);
  SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

TEST(Sizes, MinWidthAndHeight_FitTheSettingsPage) {
  PageWindow w;
  w.load(SettingsPage());
  const UINT minWidth = HTMLayoutGetMinWidth(w.hwnd());
  const UINT preferred = HTMLayoutGetMaxWidth(w.hwnd());
  // Preferred, the three cells have their widths: the options (400), the
  // products (350) and the picture (302 plus its block's margins and
  // paddings). At the minimum the first two have wrapped down to their
  // longest words and the buttons, as in a browser.
  EXPECT_GT(preferred, 400u + 350u + 302u);
  EXPECT_LT(preferred, 1600u);
  EXPECT_GT(minWidth, 302u + 120u);
  EXPECT_LT(minWidth + 300u, preferred);
  const UINT minHeight = HTMLayoutGetMinHeight(w.hwnd(), minWidth);
  EXPECT_GT(minHeight, 233u);
  // Narrower is never shorter.
  EXPECT_GE(minHeight, HTMLayoutGetMinHeight(w.hwnd(), minWidth + 300));

  // At that width the table fits inside the window. Taller than the screen,
  // the page gets a vertical scroll bar beside it, no horizontal one.
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
  ResizeClient(w.hwnd(), static_cast<int>(minWidth) + bar, 600);
  w.pump();
  HTMLayoutUpdateElement(w.root(), FALSE);
  const RECT table = w.location("MAIN_TABLE", HL_ROOT_RELATIVE | HL_BORDER_BOX);
  EXPECT_LE(table.right, static_cast<LONG>(minWidth));
  EXPECT_LE(table.bottom, static_cast<LONG>(minHeight));
  EXPECT_GT(table.bottom - table.top, 233);
  RECT client{};
  GetClientRect(w.hwnd(), &client);
  EXPECT_EQ(static_cast<LONG>(minWidth), client.right);
  const LONG style = GetWindowLongW(w.hwnd(), GWL_STYLE);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_FALSE(style & WS_HSCROLL);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(w.hwnd(), SB_VERT, &si));
  EXPECT_EQ(static_cast<int>(minHeight), si.nMax + 1);    // the whole page
  EXPECT_EQ(static_cast<UINT>(client.bottom), si.nPage);  // what the window shows of it
  RedrawWindow(w.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

TEST(Sizes, Locations_NestAndAreRelativeToTheRoot) {
  PageWindow w;
  w.load(SettingsPage());
  const RECT table = w.location("MAIN_TABLE", HL_ROOT_RELATIVE | HL_CONTENT_BOX);
  const RECT box = w.location("CHECKBOX_AUTORUN", HL_ROOT_RELATIVE | HL_CONTENT_BOX);
  const RECT border = w.location("CHECKBOX_AUTORUN", HL_ROOT_RELATIVE | HL_BORDER_BOX);
  EXPECT_GT(table.bottom - table.top, 0);
  EXPECT_GE(box.left, table.left);
  EXPECT_LE(box.right, table.right);
  EXPECT_GE(box.top, table.top);
  // The check mark sits in the border box, left of the caption.
  EXPECT_GE(box.left - border.left, 13);
  // Unscrolled, the view and the root agree (the root sits at the corner).
  const RECT view = w.location("CHECKBOX_AUTORUN", HL_VIEW_RELATIVE | HL_CONTENT_BOX);
  EXPECT_EQ(box.top, view.top);
  EXPECT_EQ(box.left, view.left);
  // A check box further down lies lower.
  EXPECT_GT(w.location("CHECKBOX_HS_LBUTTON").top, border.bottom);
  RECT r{};
  EXPECT_EQ(HL_INVALID_PARAMETER, HTMLayoutGetElementLocation(w.find("MAIN_TABLE"), &r, 0x7));
}

TEST(Sizes, WindowWithoutPage_AnswersZero) {
  PageWindow w;
  EXPECT_EQ(0u, HTMLayoutGetMinWidth(nullptr));
  HLELEMENT root = nullptr;
  EXPECT_EQ(HL_INVALID_WINDOW, HTMLayoutGetRootElement(reinterpret_cast<HWND>(0x1234), &root));
  EXPECT_EQ(HL_OK, HTMLayoutGetRootElement(w.hwnd(), &root));
  EXPECT_NE(nullptr, root);
}

}  // namespace
}  // namespace ks::render::testing
