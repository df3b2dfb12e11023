// Turning pages one at a time, by keyboard, toolbar or the two command buttons, with or without
// the slide.

#include "reader/frmMain.h"

namespace quillon {

void frmMain::PlaceSurfacesAtRest(std::int32_t page) {
  if (page % 2 == 0) {
    MainPage[0].Left = 0;
    MainPage[1].Left = Width;
  } else {
    MainPage[1].Left = 0;
    MainPage[0].Left = Width;
  }
  // The keyboard goes with the page: a surface parked beside the window takes no keys.
  MainPage[page % 2].SetFocus();
}

void frmMain::TakePageIndex() {
  if (!FirstTurnPending) return;
  FirstTurnPending = false;
  --CurrentPage;
}

void frmMain::SettleSlide() {
  if (!tmrPage.Enabled) return;
  tmrPage.Enabled = false;
  PlaceSurfacesAtRest(PageInView());
}

void frmMain::cmdBack_Click() {
  SettleSlide();
  // Right after opening, page 1 is in view and there is nothing before it.
  TakePageIndex();
  TurnBackward = true;
  if (CurrentPage < 1) {
    platform_.dialogs.MessageBox(u"已经达到书本开头，无法继续向上翻页！", u"提示",
                                 MessageIcon::Information);
  } else {
    --CurrentPage;
    ShowPage(CurrentPage);
    if (pub_.ReaderSettings.NotFlash) {
      tmrPage.Enabled = true;
    } else {
      PlaceSurfacesAtRest(CurrentPage);
    }
  }
  UpdatePageLabel();
  FollowReading();
}

void frmMain::cmdNext_Click() {
  SettleSlide();
  // A refused turn leaves the label naming the page in view, even right after opening.
  TakePageIndex();
  const std::int64_t next = static_cast<std::int64_t>(CurrentPage) + 1;
  if (next < PageCount) {
    TurnBackward = false;
    CurrentPage = static_cast<std::int32_t>(next);
    ShowPage(CurrentPage);
    if (pub_.ReaderSettings.NotFlash) {
      tmrPage.Enabled = true;
    } else {
      PlaceSurfacesAtRest(CurrentPage);
    }
  } else {
    platform_.dialogs.MessageBox(u"已经达到书本结尾，无法继续向下翻页！", u"提示",
                                 MessageIcon::Information);
  }
  UpdatePageLabel();
  FollowReading();
}

void frmMain::MainPage_KeyDown(int index, int keyCode, int shift) {
  if ((index != 0 && index != 1) || OnCover()) return;
  // The commands' shortcuts, shown in the page menu, whether or not keys turn pages.
  constexpr int kCtrl = 2;
  constexpr int kShift = 1;
  if (shift == kCtrl && keyCode == 'T') return ShowChapterList();
  if (shift == kCtrl && keyCode == 'F') return ShowSearch();
  if (shift == kCtrl && keyCode == 'D') return AddBookmark();
  if (shift == kCtrl && keyCode == 'B') return ShowBookmarks();
  if (keyCode == ui::keys::F5 && shift == 0) return ToggleReading();
  if (keyCode == ui::keys::Escape && ReadingAloud != Reading::Off) return StopReading();
  if (keyCode == ui::keys::F3 && (shift & ~kShift) == 0) return FindAgain(shift == kShift);
  if (!pub_.ReaderSettings.PageActive) return;
  const bool pageKey = keyCode == ui::keys::PageUp || keyCode == ui::keys::Left ||
                       keyCode == ui::keys::Up || keyCode == ui::keys::PageDown ||
                       keyCode == ui::keys::Right || keyCode == ui::keys::Down;
  // A turn while the conveyor moves would leave the label and the page apart: the scrolling
  // stops first, on the page in view, as Space would stop it.
  if (pageKey && ScrollActive) StopScrolling();
  switch (keyCode) {
    case ui::keys::PageUp:
    case ui::keys::Left:
    case ui::keys::Up:
      cmdBack.Value = true;
      break;
    case ui::keys::PageDown:
    case ui::keys::Right:
    case ui::keys::Down:
      cmdNext.Value = true;
      break;
    default:
      break;
  }
}

}  // namespace quillon
