#pragma once
// The search window: a phrase, 下一个 and 上一个 from where the reader stands, and the list of the
// book's hits with their pages, filled in slices on a timer so that a long book shows how far the
// search has come and the window keeps answering.
//
// It is modal: the book, its layout and the page cannot change under a search or its list, and
// the hit shown stays marked behind it. With the window closed, F3 and Shift+F3 go on with the
// same phrase.

#include <memory>
#include <string>

#include "book/book_search.h"
#include "platform/platform.h"
#include "platform/ui/kit.h"

namespace quillon {

class frmMain;

class frmSearch : public ui::Form {
 public:
  frmSearch(Platform& platform, frmMain& reader);

  ui::Label lblFind{this, "lblFind"};
  ui::TextBox txtFind{this, "txtFind"};
  ui::CommandButton cmdNext{this, "cmdNext"};
  ui::CommandButton cmdPrevious{this, "cmdPrevious"};
  ui::Label lblStatus{this, "lblStatus"};
  ui::PictureBox Picture1{this, "Picture1"};
  ui::ControlArray<ui::Label> lblHead{Picture1, "lblHead"};
  ui::ListBox lstHits{&Picture1, "lstHits"};
  ui::Label lblHint{this, "lblHint"};
  ui::Timer tmrSearch{this, "tmrSearch", 10};

  // Book lines searched a tick: a few milliseconds of work.
  static constexpr std::int32_t kLinesPerTick = 20000;
  // Characters shown on either side of a hit in the list.
  static constexpr int kContext = 12;

  void Form_Load();
  void cmdNext_Click();
  void cmdPrevious_Click();
  void txtFind_KeyDown(int keyCode, int shift);
  void lstHits_DblClick();
  void lstHits_KeyDown(int keyCode, int shift);
  void tmrSearch_Timer();

 private:
  // Lists the hits of the phrase in the field, unless they are listed or being listed already;
  // a search of another phrase stops.
  void StartListing();
  void Find(bool backward);
  void ShowStatus();
  // Selects the hit shown in the list, once the listing has come as far.
  void SelectMarkedHit();
  // Moves the window above or below the marked text, so that the text stays in sight.
  void PlaceAwayFromMark();

  frmMain& reader_;
  std::unique_ptr<BookSearch> search_;
  // The phrase whose hits are listed, or being listed.
  std::u16string listed_;
  std::size_t hitsInList_ = 0;
  std::u16string listingText_;
  std::u16string findText_;
  bool markSelected_ = true;
};

}  // namespace quillon
