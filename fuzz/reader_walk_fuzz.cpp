// Bytes as a walk of user actions over the reader on the fake platform (the first byte chooses
// the screen): the fuzzer searches for a sequence of clicks, keys and timer ticks that leaves the
// cover, the page in view, its label or the last-read record wrong, or lets an exception out.

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "support/action_walk.h"

using namespace quillon::fake;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // The reader syncs every record it writes to the disk, which took half of a walk's time; in a
  // folder in memory the sync costs nothing and the files read back the same.
  if (std::getenv("TMPDIR") == nullptr && ::access("/dev/shm", W_OK) == 0) {
    ::setenv("TMPDIR", "/dev/shm", 0);
  }
  // Entropic scheduling scans its list of rare features for every feature a run covers; a walk
  // covers thousands, and the scans took as long as the walk. A command line may still ask for it.
  static std::vector<char*> arguments(*argv, *argv + *argc);
  static char entropicOff[] = "-entropic=0";
  if (std::none_of(arguments.begin(), arguments.end(), [](const char* argument) {
        return std::strncmp(argument, "-entropic=", 10) == 0;
      })) {
    arguments.push_back(entropicOff);
    *argc = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);
    *argv = arguments.data();
  }
  return 0;
}

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
