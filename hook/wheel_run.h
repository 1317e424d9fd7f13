// A high-resolution wheel or a precision touchpad sends one notch as many
// wheel messages of a part of it each. The lines and jumps a notch stands for
// are counted over the run of messages that go one way to one window under
// one rule, so such a device scrolls as far as a classic wheel.
#pragma once

#include <cstdint>

namespace ks {

// WHEEL_DELTA: the distance of one notch of a classic wheel.
constexpr std::int32_t kWheelNotch = 120;
// A pause this long ends a run: the next message starts a new one.
constexpr std::uint32_t kWheelRunPauseMs = 500;

// The rules that count runs. A message under none ends the run.
enum WheelRunRule : std::uint32_t {
  kRunNone = 0,
  kRunHorizontalScroll = 1,
  kRunVerticalBarJump = 2,
  kRunHorizontalBarJump = 3,
  kRunVerticalLines = 4,
  kRunHorizontalLines = 5,
};

// What a run has counted so far; zero-filled for none.
struct WheelRun {
  std::uintptr_t target;     // the window the run goes to
  std::uint32_t rule;        // the rule that counts it
  std::int32_t remainder;    // part of a notch not acted on yet, signed as the turn
  std::uint32_t lastTimeMs;  // message time of its last message
};

struct WheelRunStep {
  WheelRun next;     // the run with this message counted
  int notches;       // whole notches this message completes
  bool startsNotch;  // nothing of an unfinished notch came before it
};

// Counts one message of the given distance into the run. Whatever differs from
// the run (window, rule, direction) or a pause drops what was left of it.
inline WheelRunStep StepWheelRun(const WheelRun& run, std::uintptr_t target, std::uint32_t rule, std::int32_t distance,
                                 std::uint32_t timeMs) {
  const bool sameDirection = run.remainder == 0 || distance == 0 || (run.remainder < 0) == (distance < 0);
  // Unsigned: the tick count wraps, and a time before the last one is a pause too.
  const bool continues = target != 0 && run.target == target && run.rule == rule && sameDirection &&
                         timeMs - run.lastTimeMs < kWheelRunPauseMs;
  const std::int32_t before = continues ? run.remainder : 0;
  const std::int32_t total = before + distance;
  // Division truncates towards zero: the remainder keeps the turn's sign.
  const std::int32_t notches = total / kWheelNotch;
  WheelRunStep step{};
  step.next = WheelRun{target, rule, total - notches * kWheelNotch, timeMs};
  step.notches = notches < 0 ? -notches : notches;
  step.startsNotch = before == 0;
  return step;
}

}  // namespace ks
