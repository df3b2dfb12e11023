#pragma once
// The history window: the last 20 books left, when, how far they were read, and a link that opens
// each one again at that point; a right click removes a record or all of them.

#include <string>

#include "platform/platform.h"
#include "platform/ui/kit.h"
#include "settings/pub_variables.h"

namespace quillon {

class frmMain;

enum class HistorySave { Saved, Failed, Unreadable };

class frmReadRecord : public ui::Form {
 public:
  frmReadRecord(Platform& platform, mPubVariable& pub, frmMain& reader);

  ui::PictureBox Picture1{this, "Picture1"};
  ui::ControlArray<ui::Label> lblName{Picture1, "lblName"};
  ui::ControlArray<ui::Label> Label1{Picture1, "Label1"};
  ui::ControlArray<ui::Label> lblBookName{Picture1, "lblBookName"};
  ui::ControlArray<ui::Label> lblPercent{Picture1, "lblPercent"};
  ui::ControlArray<ui::Label> lblRead{Picture1, "lblRead"};
  ui::Label Label2{this, "Label2"};

  void Form_Load();
  void lblRead_Click(int index);
  // A right click on record `index`, or on the table beside the records (index -1).
  void Row_MouseUp(int index, ui::MouseButton button);
  ui::Menu RecordMenu(int index);
  // Takes the record out of the history, or all of them after asking, and writes the file.
  void DeleteRecord(int index);
  void ClearRecords();

  // Puts the book just left at the top of the history as it is on disk, and writes the file.
  // Runs without the window; `error` says why a write failed.
  static HistorySave SaveReadRecord(Platform& platform, mPubVariable& pub,
                                    const std::u16string& bookPath, float bookPercent,
                                    std::string* error = nullptr);

 private:
  void ShowReadRecords();
  void ReadHistory();
  void WriteHistory();
  // Reads the file again before a change is written; false, after telling the user, when it
  // exists but cannot be read.
  bool ReadBeforeWriting();
  bool unreadable_ = false;

  Platform& platform_;
  mPubVariable& pub_;
  frmMain& reader_;
};

}  // namespace quillon
