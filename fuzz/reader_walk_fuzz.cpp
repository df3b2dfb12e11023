// Bytes as a walk of user actions over the reader on the fake platform (the first byte chooses
// the screen): the fuzzer searches for a sequence of clicks, keys and timer ticks that leaves the
// cover, the page in view, its label or the last-read record wrong, or lets an exception out.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "support/action_walk.h"

using namespace quillon::fake;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  static const int kScreens[4][2] = {{1024, 768}, {1280, 1024}, {1366, 768}, {1440, 900}};
  WalkOptions options;
  options.ScreenWidth = kScreens[data[0] % 4][0];
  options.ScreenHeight = kScreens[data[0] % 4][1];
  std::vector<WalkAction> actions = ActionsFromBytes(data + 1, size - 1);
  // Long walks find nothing short ones cannot, and each action may tick a timer a thousand times.
  if (actions.size() > 300) actions.resize(300);
  if (const auto failure = RunWalk(actions, options)) {
    std::fprintf(stderr, "after step %zu: %s\n", failure->Step, failure->What.c_str());
    for (std::size_t i = 0; i <= failure->Step; ++i) {
      std::fprintf(stderr, "  %s\n", DescribeAction(actions[i]).c_str());
    }
    std::abort();
  }
  return 0;
}
