// Auto-scroll: the two surfaces stacked one above the other rise like a conveyor, and the next page
// is drawn on the lower one while it is out of sight.

#include <algorithm>

#include "reader/frmMain.h"

namespace quillon {

namespace {

constexpr int kRisePerTick = 10;
const char16_t kScrollCaption[] = u"滚屏";
const char16_t kStopCaption[] = u"停止";
// Layout toggle, previous page, next page and jump cannot run while the text moves.
constexpr int kButtonsLockedWhileScrolling[] = {4, 6, 7, 9};

}  // namespace

void frmMain::MainPage_KeyPress(int index, int keyAscii) {
  if ((index != 0 && index != 1) || !pub_.ReaderSettings.AutoScroll ||
      keyAscii != ui::keys::Space) {
    return;
  }
  ToggleScrollScreen();
}

void frmMain::ToggleScrollScreen() {
  if (Toolbar.Buttons(3).Caption == kScrollCaption) {
    StartScrolling();
  } else {
    StopScrolling();
  }
}

void frmMain::StartScrolling() {
  // Reading aloud and auto-scroll each move the page; one at a time.
  StopReading();
  SettleSlide();
  // Right after opening CurrentPage holds the page's number; the conveyor needs its index.
  TakePageIndex();
  Toolbar.Buttons(3).Caption = kStopCaption;
  for (int button : kButtonsLockedWhileScrolling) Toolbar.Buttons(button).Enabled = false;
  ScrollActive = true;
  ScrollAdvanced[0] = false;
  ScrollAdvanced[1] = false;
  ui::PictureBox& upper = MainPage[CurrentPage % 2 == 0 ? 0 : 1];
  ui::PictureBox& lower = MainPage[CurrentPage % 2 == 0 ? 1 : 0];
  upper.Left = 0;
  lower.Left = 0;
  lower.Top = upper.Top + upper.Height;
  tmrScrollScr.Enabled = true;
}

void frmMain::tmrScrollScr_Timer() {
  MainPage[0].Top -= kRisePerTick;
  MainPage[1].Top -= kRisePerTick;

  bool reachedEnd = false;
  for (int k = 0; k <= 1; ++k) {
    const bool onThisSurface = (CurrentPage % 2 == 0) == (k == 0);
    if (!onThisSurface || Toolbar.Height <= MainPage[k].Top || ScrollAdvanced[k]) continue;
    ScrollAdvanced[k] = true;
    ++CurrentPage;
    // The last page has reached the line under the toolbar: there is nothing to draw below it.
    if (CurrentPage >= PageCount) {
      reachedEnd = true;
      break;
    }
    ShowPage(CurrentPage);
    ScrollAdvanced[1 - k] = false;
    UpdatePageLabel();
  }

  // A surface that has risen out of sight goes to the bottom of the conveyor.
  const int lineUnderToolbar = Toolbar.Height;
  if (lineUnderToolbar - MainPage[0].Height >= MainPage[0].Top) {
    MainPage[0].Top = MainPage[1].Top + MainPage[1].Height;
  }
  if (lineUnderToolbar - MainPage[1].Height >= MainPage[1].Top) {
    MainPage[1].Top = MainPage[0].Top + MainPage[0].Height;
  }
  if (reachedEnd) StopScrolling();
}

void frmMain::StopScrolling() {
  tmrScrollScr.Enabled = false;
  Toolbar.Buttons(3).Caption = kScrollCaption;
  for (int button : kButtonsLockedWhileScrolling) Toolbar.Buttons(button).Enabled = true;
  ScrollActive = false;
  // The page in view is the one on the surface across the line under the toolbar. The conveyor
  // draws one page ahead: the lower surface holds CurrentPage once the upper one has passed the
  // line, so the upper one holds the page before it.
  const int lineUnderToolbar = Toolbar.Height;
  const auto across = [&](int k) {
    return MainPage[k].Top <= lineUnderToolbar &&
           lineUnderToolbar < MainPage[k].Top + MainPage[k].Height;
  };
  const int inView = across(0) ? 0 : across(1) ? 1 : CurrentPage % 2;
  if (inView != CurrentPage % 2) --CurrentPage;
  CurrentPage = std::max(0, std::min(CurrentPage, PageCount - 1));
  MainPage[0].Top = lineUnderToolbar;
  MainPage[1].Top = lineUnderToolbar;
  MainPage[inView].Left = 0;
  MainPage[1 - inView].Left = Width;
  MainPage[inView].SetFocus();
  ScrollAdvanced[0] = false;
  ScrollAdvanced[1] = false;
  UpdatePageLabel();
}

}  // namespace quillon
