#include "render/win32_system_colors.h"

#include <windows.h>

namespace ks::render {
namespace {

std::optional<bool>& Override() {
  static std::optional<bool> on;
  return on;
}

bool SystemSaysHighContrast() {
  if (Override()) return *Override();
  HIGHCONTRASTW info{};
  info.cbSize = sizeof info;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof info, &info, 0) && (info.dwFlags & HCF_HIGHCONTRASTON);
}

std::uint32_t SystemColor(int index) {
  const COLORREF c = GetSysColor(index);
  return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
         (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

}  // namespace

std::optional<ForcedColors> HighContrastColors() {
  if (!SystemSaysHighContrast()) return std::nullopt;
  ForcedColors colors;
  colors.window = SystemColor(COLOR_WINDOW);
  colors.windowText = SystemColor(COLOR_WINDOWTEXT);
  colors.hotLight = SystemColor(COLOR_HOTLIGHT);
  colors.highlight = SystemColor(COLOR_HIGHLIGHT);
  colors.highlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
  colors.buttonFace = SystemColor(COLOR_BTNFACE);
  colors.buttonText = SystemColor(COLOR_BTNTEXT);
  colors.grayText = SystemColor(COLOR_GRAYTEXT);
  return colors;
}

void OverrideHighContrast(std::optional<bool> on) { Override() = on; }

}  // namespace ks::render
