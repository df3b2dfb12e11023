#pragma once
// The book's bookmarks: each with the chapter it is in, the text it marks and when it was made, in
// the order of the book; a double-click or Enter shows its page, Delete or the list's right-click
// menu takes it away.

#include <vector>

#include "platform/platform.h"
#include "platform/ui/kit.h"
#include "records/bookmarks.h"

namespace quillon {

class frmMain;

class frmBookmarks : public ui::Form {
 public:
  frmBookmarks(Platform& platform, frmMain& reader);

  ui::PictureBox Picture1{this, "Picture1"};
  ui::ControlArray<ui::Label> lblHead{Picture1, "lblHead"};
  ui::ListBox lstMarks{&Picture1, "lstMarks"};
  ui::Label lblEmpty{&Picture1, "lblEmpty"};
  ui::Label lblCount{this, "lblCount"};

  void Form_Load();
  void lstMarks_DblClick();
  void lstMarks_KeyDown(int keyCode, int shift);
  void lstMarks_MouseUp(ui::MouseButton button);
  // Takes the selected mark away, from the list and from the marks file.
  void DeleteSelected();
  // The marks listed, in the order of the list.
  const std::vector<Bookmark>& Marks() const { return marks_; }

 private:
  void FillList();
  frmMain& reader_;
  std::vector<Bookmark> marks_;
};

}  // namespace quillon
