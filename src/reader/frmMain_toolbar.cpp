// The toolbar's commands, dispatched on the position of the button clicked.

#include "reader/frmMain.h"

namespace quillon {

namespace {

const char16_t kFullScreenCaption[] = u"全屏阅读";
const char16_t kNormalCaption[] = u"普通阅读";

}  // namespace

void frmMain::Toolbar_ButtonClick(ui::ToolbarButton& button) {
  switch (button.Index()) {
    case 3:
      ToggleScrollScreen();
      break;
    case 4: {
      // The caption, not the flag, says which way the toggle goes.
      const bool toFullScreen = button.Caption == kFullScreenCaption;
      pub_.FullScreenMode = toFullScreen;
      button.Caption = toFullScreen ? kNormalCaption : kFullScreenCaption;
      SetLayoutWindow(toFullScreen);
      FullScreen(pub_.FullScreenMode);
      break;
    }
    case 6:
      cmdBack.Value = true;
      break;
    case 7:
      cmdNext.Value = true;
      break;
    default:
      break;
  }
}

}  // namespace quillon
