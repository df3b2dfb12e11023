#pragma once
// The chapter list: every heading of the open book with the page it stands on in the current
// layout, the chapter being read marked; a double-click or Enter shows that chapter's page.

#include "platform/platform.h"
#include "platform/ui/kit.h"

namespace quillon {

class frmMain;

class frmChapters : public ui::Form {
 public:
  frmChapters(Platform& platform, frmMain& reader);

  ui::PictureBox Picture1{this, "Picture1"};
  ui::ControlArray<ui::Label> lblHead{Picture1, "lblHead"};
  ui::ListBox lstChapters{&Picture1, "lstChapters"};
  ui::Label lblEmpty{&Picture1, "lblEmpty"};
  ui::Label lblCount{this, "lblCount"};

  void Form_Load();
  void lstChapters_DblClick();
  void lstChapters_KeyDown(int keyCode, int shift);

 private:
  frmMain& reader_;
};

}  // namespace quillon
