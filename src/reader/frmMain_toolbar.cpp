// The toolbar's commands, dispatched on the position of the button clicked.

#include "platform/itemfile.h"
#include "reader/frmMain.h"

namespace quillon {

namespace {

const char16_t kFullScreenCaption[] = u"全屏阅读";
const char16_t kNormalCaption[] = u"普通阅读";

}  // namespace

void frmMain::SaveBookInView() {
  if (OnCover() || strBookPath.empty()) return;
  StopScrollingIfRunning();
  SettleSlide();
  SaveLastRead();
}

void frmMain::Form_QueryUnload() {
  SaveBookInView();
}

void frmMain::StopScrollingIfRunning() {
  // No timer may go on behind the cover or a modal dialog, and the page saved is the page shown.
  if (ScrollActive) ToggleScrollScreen();
}

void frmMain::JumpToPage() {
  const std::optional<std::u16string> answer =
      platform_.dialogs.InputBox(u"请输入您需要跳转的页码数。", u"跳转...");
  if (!answer) return;  // cancelled: the user asked for nothing
  // An answer that is not a whole number within 32 bits (a fraction rounds, halves to even) is
  // page 0, which no book has.
  const std::int32_t number = itemfile::ToInt32(itemfile::Item{*answer, false}).value_or(0);
  if (number > PageCount || number < 1) {
    platform_.dialogs.MessageBox(u"输入的页码超出本书的范围，请重新输入。", u"提示",
                                 MessageIcon::Information);
    return;
  }
  ShowPageAtRest(number - 1);
}

void frmMain::Toolbar_ButtonClick(ui::ToolbarButton& button) {
  switch (button.Index()) {
    case 1:
      ShowCover();
      SaveLastRead();
      break;
    case 2:
      StopScrollingIfRunning();
      lblSet_Click();
      break;
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
    case 9:
      JumpToPage();
      break;
    case 11:
      SaveBookInView();
      // A failure to save has been told to the user by now; the reader still closes.
      Unload();
      break;
    default:
      break;
  }
}

}  // namespace quillon
