#pragma once
// The open-file and colour dialogs as the windows use them: properties set before, a Show call,
// and the answer read back from the same object.

#include <string>

#include "platform/platform.h"

namespace quillon::ui {

class CommonDialog {
 public:
  explicit CommonDialog(Dialogs& dialogs) : dialogs_(dialogs) {}

  std::u16string DefaultExt;
  std::u16string Filter;
  std::u16string FileName;
  // Keeps the colour last chosen in this dialog when the user cancels; black at first.
  ui::Color Color = 0;

  // FileName becomes the chosen path, or empty when the user cancelled.
  void ShowOpen();
  // False when the user cancelled; Color is then left as it was.
  bool ShowColor();

 private:
  Dialogs& dialogs_;
};

}  // namespace quillon::ui
