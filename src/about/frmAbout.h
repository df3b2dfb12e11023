#pragma once
// The About window: the program's name, version and what it does. It is shown without blocking
// the reader.

#include "platform/platform.h"
#include "platform/ui/kit.h"

namespace quillon {

class frmAbout : public ui::Form {
 public:
  frmAbout(Platform& platform, ui::PicturePtr icon);

  ui::Label lbltitle{this, "lbltitle"};
  ui::Label lblVersion{this, "lblVersion"};
  ui::Label Label1{this, "Label1"};
  ui::TextBox txtTX{this, "txtTX"};
  ui::Label lblAuthor{this, "lblAuthor"};
  ui::Label lblEmail{this, "lblEmail"};
  ui::CommandButton cmdOK{this, "cmdOK"};

  void cmdOK_Click();
};

// The description in the window's text box: paragraphs indented by four spaces, CR LF line ends,
// only characters of GB2312.
extern const char16_t kAboutDescription[];

}  // namespace quillon
