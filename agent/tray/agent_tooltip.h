// The agent's one tooltip for the items of its tray menu.
#pragma once

#include "agent/tooltips/tray_menu_tooltip.h"

namespace ks {

// Created on first use; its texts come through the localised string loader
// and, for language items, from the language list.
TrayMenuTooltip& AgentTooltip();

}  // namespace ks
