// The normal and the full-screen layout: the window's geometry for each, and the re-layout that
// re-wraps the book and finds the page at the same reading fraction.

#include <algorithm>

#include "book/book_labels.h"
#include "platform/rounding.h"
#include "reader/frmMain.h"

namespace quillon {

namespace {

constexpr int kNormalWidth = 8820;
constexpr int kBelowWindow = 450;

}  // namespace

void frmMain::SetLayoutWindow(bool fullScreen) {
  const Screen& screen = platform_.screen;
  Width = fullScreen ? screen.WidthTwips() : kNormalWidth;
  Height = screen.HeightTwips() - kBelowWindow;
  Top = 0;
  Left = fullScreen ? 0 : (screen.WidthTwips() - Width) / 2;
}

void frmMain::FullScreen(const bool& mode) {
  SettleSlide();
  const int width = Width;
  PicPage.Left = width - PicPage.Width - 150;
  for (int k = 0; k <= 1; ++k) {
    MainPage[k].Top = Toolbar.Height;
    MainPage[k].Width = width;
  }
  for (int i = lblRow1.LBound(); i <= lblRow1.UBound(); ++i) lblRow1[i].Width = MainPage[0].Width;
  for (int i = lblRow2.LBound(); i <= lblRow2.UBound(); ++i) lblRow2[i].Width = MainPage[1].Width;
  if (mode) {
    if (MainPage[0].Left == 0) MainPage[1].Left = width;
    if (MainPage[1].Left == 0) MainPage[0].Left = width;
  }
  if (!SetupScreen()) return;
  // The cover stays in view after a re-layout from it; the book shows in the new layout when it
  // is opened again.
  if (OnCover()) {
    MainPage[0].Left = Width;
    MainPage[1].Left = Width;
  }
  WrapRows();
  // Without pages there is no page to find and no label to write, but the empty page stays in
  // view rather than the cover behind it.
  if (PageCount <= 0) {
    if (!OnCover()) PlaceSurfacesAtRest(0);
    return;
  }

  FirstTurnPending = true;
  CurrentPage = RoundHalfEven(static_cast<double>(BookPrePercent) * PageCount);
  // A book that now has less than half as many pages, read from its first page, rounds to 0.
  CurrentPage = std::max(1, std::min(CurrentPage, PageCount));
  const std::int32_t index = CurrentPage - 1;
  ShowPage(index);
  if (!OnCover()) PlaceSurfacesAtRest(index);
  lblPage.Caption = PageLabelText(CurrentPage, PageCount);
  BookPrePercent = static_cast<float>(static_cast<double>(CurrentPage) / PageCount);
  SizeProgressBar();
}

}  // namespace quillon
