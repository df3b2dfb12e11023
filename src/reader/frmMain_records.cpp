// Remembering where the reader stopped: the last-read record, the reading history, and reopening
// a book from either.

#include "book/book_labels.h"
#include "platform/files.h"
#include "platform/rounding.h"
#include "reader/frmMain.h"
#include "records/frmReadRecord.h"
#include "records/last_read.h"
#include "records/reading_history.h"

namespace quillon {

namespace {

const char16_t kCannotSave[] =
    u"Quillon 无法在程序所在的文件夹中保存阅读记录（Bookmark），这次的阅读进度没有保存。";
const char16_t kHistoryUnreadable[] =
    u"阅读进度已保存，但阅读历史文件 Bookmark/Readrecord.dat 无法读取，为了不覆盖其中的记录，"
    u"这次没有把这本书加入历史。";
const char16_t kPathNotStorable[] =
    u"这本书的文件名中含有引号或换行符，Quillon 无法记住它的阅读进度。";

}  // namespace

void frmMain::LoadReadRecords() {
  if (LoadHistoryFile(platform_.program.Directory(), pub_) != HistoryFile::Unreadable ||
      historyUnreadableTold_) {
    return;
  }
  historyUnreadableTold_ = true;
  platform_.dialogs.MessageBox(
      u"无法读取阅读历史文件 Bookmark/Readrecord.dat。Quillon 不会覆盖它；"
      u"在它能够读取之前，读过的书不会加入历史。",
      u"提示", MessageIcon::Information);
}

float frmMain::FractionOfPage(std::int32_t page) const {
  // An empty book has been read no way into.
  return PageCount >= 1 ? static_cast<float>(static_cast<double>(page) / PageCount) : 0.0f;
}

bool frmMain::SaveLastRead() {
  const std::u16string directory = platform_.program.Directory();
  // Right after opening CurrentPage holds the page's number; what is stored is the index of the
  // page shown, so the reopen shows that page again.
  TakePageIndex();
  MakeBookmarkDirectory(directory);
  // An empty book stores 0, whatever the book before it had.
  BookPrePercent = FractionOfPage(CurrentPage);
  // The position stored is always one of the normal layout.
  if (pub_.FullScreenMode) {
    CurrentPage = RoundHalfEven(static_cast<double>(BookPrePercent) * NormalPageCount);
  }
  if (!IsStorablePath(strBookPath)) {
    platform_.dialogs.MessageBox(kPathNotStorable, u"提示", MessageIcon::Information);
    return false;
  }
  if (!files::ReplaceFile(LastReadFilePath(directory),
                          LastReadFileBytes({strBookPath, CurrentPage}))) {
    platform_.dialogs.MessageBox(kCannotSave, u"提示", MessageIcon::Information);
    return false;
  }
  switch (frmReadRecord::SaveReadRecord(platform_, pub_, strBookPath, BookPrePercent)) {
    case HistorySave::Saved:
      return true;
    case HistorySave::Unreadable:
      platform_.dialogs.MessageBox(kHistoryUnreadable, u"提示", MessageIcon::Information);
      return false;
    default:
      platform_.dialogs.MessageBox(kCannotSave, u"提示", MessageIcon::Information);
      return false;
  }
}

void frmMain::ShowReopenedPage(std::int32_t page) {
  // A damaged record may point past either end; the nearest page of the book is shown instead.
  CurrentPage = std::max(0, std::min(page, PageCount - 1));
  FirstTurnPending = false;
  ShowPage(CurrentPage);
  tmrPage.Enabled = true;
  MainPage[CurrentPage % 2].SetFocus();
}

void frmMain::lblLastRead_Click() {
  const auto bytes = files::ReadWholeFile(LastReadFilePath(platform_.program.Directory()));
  const std::optional<LastRead> record = bytes ? ParseLastReadFile(*bytes) : std::nullopt;
  if (!record) {
    platform_.dialogs.MessageBox(u"没有历史阅读记录！", u"提醒", MessageIcon::Information);
    return;
  }
  if (!LoadBookText(record->Path)) return;
  TakeOpenedBook(record->Path);
  std::int32_t page = record->Page;
  // The record holds a page of the normal layout; in full screen the same place is another page.
  if (pub_.FullScreenMode && NormalPageCount > 0) {
    page = RoundHalfEven(static_cast<double>(page) / NormalPageCount * PageCount);
  }
  ShowReopenedPage(page);
  ShowBookInfo();
  UpdatePageLabel();
  Toolbar.Visible = true;
}

bool frmMain::LoadHistoryRecord() {
  return LoadHistoryRecord(strBookPath, BookPrePercent);
}

bool frmMain::LoadHistoryRecord(const std::u16string& path, float percent) {
  if (!LoadBookText(path)) return false;
  BookPrePercent = percent;
  TakeOpenedBook(path);
  ShowReopenedPage(RoundHalfEven(static_cast<double>(BookPrePercent) * PageCount));
  UpdatePageLabel();
  ShowBookInfo();
  Toolbar.Visible = true;
  return true;
}

void frmMain::lblHistory_Click() {
  frmReadRecord history(platform_, pub_, *this);
  history.ShowModal();
}

}  // namespace quillon
