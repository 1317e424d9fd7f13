// The hook flags word: which wheel rules the hook library applies.
#pragma once

#include <stdint.h>

namespace ks {

constexpr uint32_t HOOK_HSCROLL_ON_CTRL = 0x01;
constexpr uint32_t HOOK_HSCROLL_ON_SHIFT = 0x02;
constexpr uint32_t HOOK_HSCROLL_ON_LBUTTON = 0x04;
constexpr uint32_t HOOK_HSCROLL_ON_RBUTTON = 0x08;
constexpr uint32_t HOOK_NO_WHEEL_IF_MIDDLE = 0x10;
// Every turn of the vertical (HOOK_REVERSE_VERTICAL) or horizontal wheel the
// hook handles goes the other way; what a rule makes of a turn follows it.
constexpr uint32_t HOOK_REVERSE_VERTICAL = 0x20;
constexpr uint32_t HOOK_REVERSE_HORIZONTAL = 0x40;
// While the Scroll Lock light is on, every turn goes on as Windows delivers it.
constexpr uint32_t HOOK_PAUSE_WITH_SCROLL_LOCK = 0x80;

}  // namespace ks
