#include "platform/ui/common_dialog.h"

namespace quillon::ui {

void CommonDialog::ShowOpen() {
  FileName = dialogs_.OpenFile(OpenFileRequest{DefaultExt, Filter}).value_or(std::u16string());
}

void CommonDialog::ShowColor() {
  if (auto chosen = dialogs_.ChooseColor(Color)) Color = *chosen;
}

}  // namespace quillon::ui
