// The book information line at the foot of each page surface, and the reading timer behind it.

#include "book/book_labels.h"
#include "reader/frmMain.h"

namespace quillon {

void frmMain::ShowBookInfo() {
  lblInfor1.Caption = BookInfoText(strBookName, ReadSeconds);
  lblInfor2.Caption = lblInfor1.Caption;
}

void frmMain::tmrTime_Timer() {
  ReadSeconds =
      static_cast<std::int32_t>(platform_.clock.Now().ToSeconds() - ReadStart.ToSeconds());
  if (lblInfor1.Visible || lblInfor2.Visible) ShowBookInfo();
}

}  // namespace quillon
