// The slide of a page turn: both surfaces move 1500 twips a tick, the new page pushing the old
// one out, until the new one arrives; then both snap to their resting places.

#include "reader/frmMain.h"

namespace quillon {

namespace {

constexpr int kSlideStep = 1500;

}  // namespace

void frmMain::tmrPage_Timer() {
  const int width = Width;
  const int fresh = CurrentPage % 2 == 0 ? 0 : 1;
  ui::PictureBox& incoming = MainPage[fresh];
  ui::PictureBox& outgoing = MainPage[1 - fresh];
  if (!TurnBackward) {
    MainPage[0].Left -= kSlideStep;
    MainPage[1].Left -= kSlideStep;
    if (incoming.Left <= 0) {
      tmrPage.Enabled = false;
      if (fresh == 1) {
        outgoing.Left = width;
        incoming.Left = 0;
      } else {
        incoming.Left = 0;
        outgoing.Left = width;
      }
      incoming.SetFocus();  // the page that went out is parked and takes no keys
    }
    return;
  }
  // Backward, the new page comes in from the left: one parked on the right starts from beyond
  // the left edge instead.
  if (incoming.Left == width) incoming.Left = -width;
  MainPage[0].Left += kSlideStep;
  MainPage[1].Left += kSlideStep;
  if (incoming.Left >= 0) {
    tmrPage.Enabled = false;
    incoming.Left = 0;
    outgoing.Left = width;
    incoming.SetFocus();
  }
}

}  // namespace quillon
