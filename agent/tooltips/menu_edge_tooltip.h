// A menu tooltip placed flush beside its item that keeps clear of the right
// and bottom screen edges. The screen size is taken once, at construction.
#pragma once

#include "agent/tooltips/menu_tooltip.h"

namespace ks {

class MenuEdgeTooltip : public MenuTooltip {
 public:
  MenuEdgeTooltip() noexcept;
  ~MenuEdgeTooltip() override;

  void AdjustPosition(POINT& point, HMENU menu, UINT item) override;

 private:
  int screenWidth_;
  int screenHeight_;
};

}  // namespace ks
