// The settings dialog as the reader window opens it, and saving the settings it changed.

#include "platform/files.h"
#include "reader/frmMain.h"
#include "settings/frmSet.h"

namespace quillon {

namespace {

const char16_t kCannotSaveSettings[] =
    u"Quillon 无法在程序所在的文件夹中保存设置文件 Configure/Readerset.dat，"
    u"这次所做的设置没有保存。";

}  // namespace

void frmMain::lblSet_Click() {
  frmSet settings(platform_, pub_, *this);
  settings.ShowModal();
}

bool frmMain::SaveConfigure() {
  if (settingsUnreadable_) {
    platform_.dialogs.MessageBox(
        u"设置文件 Configure/Readerset.dat 无法读取，为了不覆盖它，这次所做的设置没有保存。",
        u"提示", MessageIcon::Information);
    return false;
  }
  const std::u16string directory = platform_.program.Directory();
  // Made at start-up, but the folder may have been removed while the reader ran.
  if (!files::DirectoryExists(SettingsDirectory(directory))) {
    files::MakeDirectory(SettingsDirectory(directory));
  }
  if (SaveSettings(directory, pub_.ReaderSettings)) return true;
  platform_.dialogs.MessageBox(kCannotSaveSettings, u"提示", MessageIcon::Information);
  return false;
}

}  // namespace quillon
