// The cover's menu: labels that light up under the mouse with the hand cursor, and their
// commands; and the information line shown while the mouse rests on a page's last row.

#include "about/frmAbout.h"
#include "platform/files.h"
#include "reader/frmMain.h"

namespace quillon {

namespace {

constexpr ui::Color kRestColor = ui::RGB(64, 64, 64);
constexpr ui::Color kMenuHighlight = ui::RGB(0, 0, 255);
constexpr ui::Color kHelpHighlight = ui::RGB(255, 0, 0);

}  // namespace

void frmMain::CoverLabel_MouseMove(ui::Label& label) {
  MousePointer = ui::MousePointer::Custom;
  // Read again on every move, as the cursor file may be replaced while the reader runs; without
  // it the backend shows the platform's own pointing hand.
  MouseIcon = LoadDataPicture(u"Icosource/hand.cur");
  label.ForeColor = &label == &lblHelp ? kHelpHighlight : kMenuHighlight;
  MenuHighlighted = true;
}

void frmMain::Form_MouseMove() {
  if (!MenuHighlighted) return;
  MenuHighlighted = false;
  MousePointer = ui::MousePointer::Default;
  for (ui::Label* label : {&lblOpen, &lblLastRead, &lblHistory, &lblSet, &lblExit, &lblHelp}) {
    label->ForeColor = kRestColor;
  }
}

void frmMain::lblRow_MouseMove(int surface, int index) {
  if (ScrollActive) return;
  ui::ControlArray<ui::Label>& rows = surface == 0 ? lblRow1 : lblRow2;
  ui::Label& info = surface == 0 ? lblInfor1 : lblInfor2;
  info.Visible = index == rows.UBound();
}

void frmMain::lblHelp_Click() {
  // One About window at a time; asking again brings it to the front.
  if (about_ == nullptr || !about_->IsLoaded())
    about_ = std::make_unique<frmAbout>(platform_, Icon);
  about_->Show();
}

void frmMain::lblExit_Click() {
  Unload();
}

}  // namespace quillon
