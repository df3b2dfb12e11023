// The settings dialog as the reader window opens it, and saving the settings it changed.

#include "reader/frmMain.h"

namespace quillon {

void frmMain::lblSet_Click() {}

bool frmMain::SaveConfigure() { return false; }

}  // namespace quillon
