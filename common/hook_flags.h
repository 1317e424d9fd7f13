// The hook flags word: which wheel rules the hook library applies.
#pragma once

#include <stdint.h>

namespace ks {

constexpr uint32_t HOOK_HSCROLL_ON_CTRL = 0x01;
constexpr uint32_t HOOK_HSCROLL_ON_SHIFT = 0x02;
constexpr uint32_t HOOK_HSCROLL_ON_LBUTTON = 0x04;
constexpr uint32_t HOOK_HSCROLL_ON_RBUTTON = 0x08;
constexpr uint32_t HOOK_NO_WHEEL_IF_MIDDLE = 0x10;

}  // namespace ks
