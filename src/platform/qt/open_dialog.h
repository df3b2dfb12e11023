#pragma once
// The dialog that opens a book. Qt's own file dialog reads folders through Qt, which leaves out
// every name that is not UTF-8: a GBK name from an archive made on Windows, or a Latin-1 one, and
// every book in a folder so named, could not even be seen. This one lists what the system lists,
// shows each name as the user reads it (ShownPath) and hands back the path that opens it.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace quillon::qt {

class OpenBookDialog : public QDialog {
 public:
  // `filters` in Qt's form ("txt (*.txt);;All Files (*)"); `defaultExtension` is tried after a
  // typed name that is not found, as "txt" makes "红楼梦" find "红楼梦.txt".
  OpenBookDialog(QWidget* parent, const QString& filters, const std::u16string& defaultExtension);

  // The folder listed, as PathFromNative reads it; the first dialog starts in the working folder,
  // each later one where the last book was chosen.
  const std::u16string& Folder() const { return folder_; }
  void ShowFolder(const std::u16string& folder);
  // The names in the list, as shown, in their order.
  QStringList ShownNames() const;
  // What Enter or a double-click on the list entry so shown does: enters a folder, chooses a book.
  void Activate(const QString& shownName);
  // What the 打开 button does with the file name field: a listed name, a name in the folder or a
  // whole path; a folder is entered, a book chosen, anything else told and left in the field.
  void OpenTyped(const QString& typed);

  std::optional<std::u16string> Chosen() const { return chosen_; }

 private:
  void Choose(const std::u16string& path);
  void Enter(QListWidgetItem* item);
  QStringList Patterns() const;

  QLineEdit* folderField_;
  QListWidget* list_;
  QLineEdit* nameField_;
  QComboBox* filterBox_;
  std::u16string defaultExtension_;
  std::u16string folder_;
  std::vector<files::DirectoryEntry> entries_;  // in the list's order
  std::optional<std::u16string> chosen_;
};

}  // namespace quillon::qt
