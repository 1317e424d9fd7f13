// What a real window shows: in high contrast the page is painted in the
// system's colours and follows the theme being switched and its colours
// being changed; at another scale it is drawn larger with its small icons
// kept sharp.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <vector>

#include "common/unique_handle.h"
#include "page_window.h"
#include "render/win32_system_colors.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace ks::render::testing {
namespace {

// What the client area shows, as 0x00RRGGBB pixels.
class Capture {
 public:
  explicit Capture(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT client{};
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width_;
    bi.bmiHeader.biHeight = -height_;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(window);
    void* bits = nullptr;
    UniqueGdiObject dib(CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    HDC memory = CreateCompatibleDC(screen);
    if (dib && bits && memory) {
      HGDIOBJ old = SelectObject(memory, dib.get());
      BitBlt(memory, 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
      const DWORD* p = static_cast<const DWORD*>(bits);
      pixels_.assign(p, p + static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
      for (DWORD& pixel : pixels_) pixel &= 0x00FFFFFF;
      SelectObject(memory, old);
    }
    if (memory) DeleteDC(memory);
    ReleaseDC(window, screen);
  }

  DWORD at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || pixels_.empty()) return 0xFFFFFFFF;
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
  }

  // Pixels inside r (grown by margin) within a small distance of rgb.
  int count(const RECT& r, DWORD rgb, int margin = 0) const {
    int n = 0;
    for (int y = r.top - margin; y < r.bottom + margin; ++y) {
      for (int x = r.left - margin; x < r.right + margin; ++x) n += Near(at(x, y), rgb) ? 1 : 0;
    }
    return n;
  }

 private:
  static bool Near(DWORD a, DWORD b) {
    if (a == 0xFFFFFFFF) return false;
    int d = 0;
    for (int shift = 0; shift < 24; shift += 8)
      d += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    return d <= 60;
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<DWORD> pixels_;
};

constexpr DWORD Rgb(int r, int g, int b) { return static_cast<DWORD>((r << 16) | (g << 8) | b); }
COLORREF Ref(DWORD rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

constexpr DWORD kTeal = Rgb(0, 64, 64);
constexpr DWORD kYellow = Rgb(255, 255, 0);
constexpr DWORD kGreen = Rgb(0, 255, 0);
constexpr DWORD kMagenta = Rgb(255, 0, 255);
constexpr DWORD kWhite = Rgb(255, 255, 255);
constexpr DWORD kBlack = Rgb(0, 0, 0);

// A high-contrast theme with unmistakable colours for the test's duration:
// switched on through the system when it keeps the switch, else answered for
// it; the colours set with SetSysColors. Everything is put back after.
class HighContrastTheme {
 public:
  HighContrastTheme() {
    for (int i = 0; i < kCount; ++i) saved_[i] = GetSysColor(kIndices[i]);
    HIGHCONTRASTW on{};
    on.cbSize = sizeof on;
    on.dwFlags = HCF_HIGHCONTRASTON;
    switchedBySystem_ = SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof on, &on, 0) && SystemSaysOn();
    if (!switchedBySystem_) OverrideHighContrast(true);
    setColors(kTeal);
  }
  ~HighContrastTheme() {
    SetSysColors(kCount, kIndices, saved_);
    if (switchedBySystem_) {
      HIGHCONTRASTW off{};
      off.cbSize = sizeof off;
      SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof off, &off, 0);
    }
    OverrideHighContrast(std::nullopt);
  }
  HighContrastTheme(const HighContrastTheme&) = delete;
  HighContrastTheme& operator=(const HighContrastTheme&) = delete;

  void setColors(DWORD window) {
    const COLORREF colors[kCount] = {Ref(window), Ref(kYellow), Ref(kGreen),  Ref(kMagenta),
                                     Ref(kBlack), Ref(window),  Ref(kYellow), Ref(Rgb(128, 128, 128))};
    SetSysColors(kCount, kIndices, colors);
  }

  static bool SystemSaysOn() {
    HIGHCONTRASTW info{};
    info.cbSize = sizeof info;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof info, &info, 0) && (info.dwFlags & HCF_HIGHCONTRASTON);
  }

 private:
  static constexpr int kCount = 8;
  static constexpr int kIndices[kCount] = {COLOR_WINDOW,        COLOR_WINDOWTEXT, COLOR_HOTLIGHT, COLOR_HIGHLIGHT,
                                           COLOR_HIGHLIGHTTEXT, COLOR_BTNFACE,    COLOR_BTNTEXT,  COLOR_GRAYTEXT};
  COLORREF saved_[kCount] = {};
  bool switchedBySystem_ = false;
};

// The system announces a switch of the theme to every top-level window.
void AnnounceThemeChange(HWND window) {
  SendMessageW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  SendMessageW(window, WM_SYSCOLORCHANGE, 0, 0);
}

TEST(Colors, HighContrastOn_PaintsThePageInTheSystemColoursAndOffPaintsItsOwnAgain) {
  PageWindow w;
  w.load(SettingsPage());
  w.pump();
  const RECT box = w.location("CHECKBOX_HS_SHIFT");
  const RECT log = w.location("LINK_TO_LOG_FILE");
  const RECT quote = w.location("tallowen");
  {
    const Capture normal(w.hwnd());
    ASSERT_EQ(normal.at(1, 1), kWhite);
    EXPECT_GT(normal.count(box, kBlack), 5);
    EXPECT_EQ(normal.count(log, kGreen), 0);
  }
  {
    HighContrastTheme theme;
    AnnounceThemeChange(w.hwnd());
    const Capture contrast(w.hwnd());
    EXPECT_EQ(contrast.at(1, 1), kTeal);
    // The caption in the window-text colour, nothing left of its black.
    EXPECT_GT(contrast.count(box, kYellow), 5);
    EXPECT_EQ(contrast.count(box, kBlack), 0);
    // The log link (grey on the page) in the hot-light colour.
    EXPECT_GT(contrast.count(log, kGreen), 5);
    // The quotation's whitesmoke cell and blue text are gone as well.
    EXPECT_EQ(contrast.count(quote, Rgb(245, 245, 245)), 0);
    EXPECT_EQ(contrast.count(quote, Rgb(0, 0, 139)), 0);
    EXPECT_GT(contrast.count(quote, kYellow), 5);

    // The keyboard focus is marked in the highlight colour.
    EXPECT_EQ(contrast.count(w.location("CHECKBOX_AUTORUN"), kMagenta, 4), 0);
    SetFocus(w.hwnd());
    w.key(VK_TAB);
    const Capture focused(w.hwnd());
    EXPECT_GT(focused.count(w.location("CHECKBOX_AUTORUN"), kMagenta, 4), 5);

    // Changed colours of the theme show at once.
    theme.setColors(Rgb(96, 0, 0));
    SendMessageW(w.hwnd(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(Capture(w.hwnd()).at(1, 1), Rgb(96, 0, 0));
  }
  AnnounceThemeChange(w.hwnd());
  const Capture after(w.hwnd());
  EXPECT_EQ(after.at(1, 1), kWhite);
  EXPECT_GT(after.count(box, kBlack), 5);
}

BOOL CALLBACK KeepFirst(HLELEMENT he, void* param) {
  *static_cast<HLELEMENT*>(param) = he;
  return TRUE;
}

RECT ImageRect(const PageWindow& w, const wchar_t* src) {
  HLELEMENT image = nullptr;
  HTMLayoutVisitElements(w.root(), "img", "src", src, KeepFirst, &image, 0);
  RECT r{};
  EXPECT_NE(image, nullptr);
  if (image) HTMLayoutGetElementLocation(image, &r, HL_VIEW_RELATIVE | HL_CONTENT_BOX);
  return r;
}

TEST(Scale, MonitorOfDoubleScale_DrawsThePageTwiceAsLargeWithIconsCopiedPixelForPixel) {
  PageWindow w;
  w.load(SettingsPage());
  w.pump();
  const UINT minWidth = HTMLayoutGetMinWidth(w.hwnd());
  const RECT icon = ImageRect(w, L"leafnote_ico.gif");
  ASSERT_EQ(icon.right - icon.left, 16);
  const RECT ok = w.location("BUTTON_OK");

  // What the system sends when the window moves to a 200% monitor.
  RECT suggested{};
  GetWindowRect(w.hwnd(), &suggested);
  SendMessageW(w.hwnd(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  w.pump();
  // The narrowest page is set by its longest words, and hinted text does not
  // grow exactly twice as wide with its font: within 1%.
  EXPECT_NEAR(static_cast<double>(HTMLayoutGetMinWidth(w.hwnd())), 2.0 * minWidth, 0.01 * 2.0 * minWidth);
  const RECT big = ImageRect(w, L"leafnote_ico.gif");
  ASSERT_EQ(big.right - big.left, 32);
  ASSERT_EQ(big.bottom - big.top, 32);
  const RECT okBig = w.location("BUTTON_OK");
  EXPECT_NEAR(okBig.right - okBig.left, 2 * (ok.right - ok.left), 1);

  // Each source pixel became a 2 x 2 block of one colour: nothing blurred.
  const Capture shown(w.hwnd());
  int colours = 0;
  DWORD last = shown.at(big.left, big.top);
  for (int y = big.top; y < big.bottom; y += 2) {
    for (int x = big.left; x < big.right; x += 2) {
      const DWORD p = shown.at(x, y);
      EXPECT_EQ(p, shown.at(x + 1, y)) << x << "," << y;
      EXPECT_EQ(p, shown.at(x, y + 1)) << x << "," << y;
      EXPECT_EQ(p, shown.at(x + 1, y + 1)) << x << "," << y;
      if (p != last) ++colours;
      last = p;
    }
  }
  // The icon has a picture to blur: many colour changes along its blocks.
  EXPECT_GT(colours, 10);
}

}  // namespace
}  // namespace ks::render::testing
