// The normal and the full-screen layout: the window's geometry for each, and the re-layout that
// re-wraps the book and shows the page that holds the character the reader is at.

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
  const BookPlace place = PlaceInView();
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
  // The place stays as it was, not the first character of the page now shown: the page a place is
  // on starts earlier in one layout than in another, and following that would walk the reader
  // back a little at every re-layout.
  keptPlace_ = WithinBook(place);
  CurrentPage = PageOfPlace(keptPlace_->Line, keptPlace_->Offset) + 1;
  const std::int32_t index = CurrentPage - 1;
  ShowPage(index);
  if (!OnCover()) PlaceSurfacesAtRest(index);
  lblPage.Caption = PageBoxText(CurrentPage);
  BookPrePercent = static_cast<float>(static_cast<double>(CurrentPage) / PageCount);
  SizeProgressBar();
}

}  // namespace quillon
