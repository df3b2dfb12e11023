#pragma once
// A popup menu of the kind a right click opens: items with a caption, the shortcut they answer
// to (shown beside them; the window handles the key itself), a check mark, and sub-menus. A
// window builds it afresh each time it pops one up, so it always shows the state of the moment.

#include <functional>
#include <string>
#include <vector>

namespace quillon::ui {

struct MenuItem {
  // An empty caption is a separator.
  std::u16string Caption;
  std::u16string Shortcut;
  bool Checked = false;
  bool Enabled = true;
  // A sub-menu when not empty; its own click is then never raised.
  std::vector<MenuItem> Items;
  std::function<void()> onClick;
};

struct Menu {
  std::vector<MenuItem> Items;
};

}  // namespace quillon::ui
