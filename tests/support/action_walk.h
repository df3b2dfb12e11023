#pragma once
// A walk over the reader on the fake platform: user actions in any order (opening books, the
// cover, the toolbar, keys, jumps, the settings and history windows, ticks of the timers), with
// the invariants a user relies on checked after every one. The test runs it from seeds, the fuzz
// target from bytes.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillon::fake {

struct WalkAction {
  std::uint8_t Kind = 0;
  std::uint8_t Argument = 0;
};

// Two bytes an action; an odd last byte is dropped.
std::vector<WalkAction> ActionsFromBytes(const std::uint8_t* data, std::size_t size);
std::vector<WalkAction> RandomActions(std::uint32_t seed, std::size_t count);
std::string DescribeAction(const WalkAction& action);

struct WalkOptions {
  int ScreenWidth = 1024;
  int ScreenHeight = 768;
  // Book files to open besides the small books the walk writes itself (UTF-8 paths).
  std::vector<std::string> ExtraBooks;
};

// What went wrong: the action (its index in the list) after which an invariant failed, and how.
struct WalkFailure {
  std::size_t Step = 0;
  std::string What;
};

// Runs the actions on a new reader in a new program folder; nullopt when every invariant held.
std::optional<WalkFailure> RunWalk(const std::vector<WalkAction>& actions,
                                   const WalkOptions& options);

// The shortest list found, by dropping actions, that still fails (with the same kind of failure
// or another): what a failing walk prints.
std::vector<WalkAction> ShrinkWalk(std::vector<WalkAction> actions, const WalkOptions& options);

}  // namespace quillon::fake
