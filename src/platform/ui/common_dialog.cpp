#include "platform/ui/common_dialog.h"

namespace quillon::ui {

void CommonDialog::ShowOpen() {
  FileName = dialogs_.OpenFile(OpenFileRequest{DefaultExt, Filter}).value_or(std::u16string());
}

bool CommonDialog::ShowColor() {
  const auto chosen = dialogs_.ChooseColor(Color);
  if (chosen) Color = *chosen;
  return chosen.has_value();
}

}  // namespace quillon::ui
