// The reader walked by random user actions on every supported screen: opening books (the test
// novels and small books of every kind), the cover, every toolbar button, keys, jumps, the
// settings and history windows, and the timers ticking in between. After every action the cover,
// the page in view, its label and the last-read record must agree with each other.

#include "support/action_walk.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/test_books.h"

namespace quillon {
namespace {

TEST(ActionWalk, NoSequenceOfActionsLeavesTheReaderWrong) {
  fake::WalkOptions options;
  for (const char* book : {"hongloumeng.gbk.txt", "xiyouji.gbk.txt", "rulinwaishi.gbk.txt"}) {
    options.ExtraBooks.push_back((fake::TestBooksDir() / book).string());
  }
  for (const auto& [width, height] :
       {std::pair{1024, 768}, std::pair{1280, 1024}, std::pair{1366, 768}, std::pair{1440, 900}}) {
    options.ScreenWidth = width;
    options.ScreenHeight = height;
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
      const std::vector<fake::WalkAction> actions = fake::RandomActions(seed * 7919 + width, 400);
      const std::optional<fake::WalkFailure> failure = fake::RunWalk(actions, options);
      if (!failure) continue;
      std::ostringstream steps;
      for (const fake::WalkAction& action : fake::ShrinkWalk(actions, options)) {
        steps << "\n  " << fake::DescribeAction(action);
      }
      ADD_FAILURE() << width << "*" << height << ", seed " << seed << ": after step "
                    << failure->Step << ", " << failure->What
                    << "\nthe shortest walk that still fails:" << steps.str();
    }
  }
}

}  // namespace
}  // namespace quillon
