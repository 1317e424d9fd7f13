// The tooltip tests share one host thread with one tooltip, as the agent has
// one for its whole life (its thread hook, too, is one per program).
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/agent/tooltips/menu_host.h"
#include "tests/agent/tooltips/tooltip_probe.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!ks::test::Host().Start()) {
    std::fprintf(stderr, "the tooltip host window could not be started\n");
    return 1;
  }
  ks::test::WatchTip(ks::test::Host().Tooltip().TooltipWindow());
  const int result = RUN_ALL_TESTS();
  ks::test::Host().Stop();
  return result;
}
