// Remembering where the reader stopped: the last-read record, the reading history, and reopening
// a book from either.

#include "book/book_labels.h"
#include "platform/files.h"
#include "platform/rounding.h"
#include "reader/frmMain.h"
#include "records/book_places.h"
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
  // What is kept is a place in the whole book.
  if (rest_ && !TakeRest()) return false;
  // Leaving the book ends the reading aloud, at the sentence being read.
  StopReading();
  const std::u16string directory = platform_.program.Directory();
  // Right after opening CurrentPage holds the page's number; what is stored is the index of the
  // page shown, so the reopen shows that page again.
  TakePageIndex();
  MakeBookmarkDirectory(directory);
  const BookPlace place = PlaceInView();
  // An empty book stores 0, whatever the book before it had.
  std::int32_t page = CurrentPage;
  BookPrePercent = FractionOfPage(page);
  // The page stored is always one of the normal layout: the one that holds the place.
  const std::optional<WrapMetrics> normal = NormalMetrics();
  if (pub_.FullScreenMode && normal && PageCount > 0) {
    page = normalRows_.PageOfPosition(BookLines, place.Line, place.Offset, normal->PageRows);
    BookPrePercent = NormalPageCount >= 1
                         ? static_cast<float>(static_cast<double>(page) / NormalPageCount)
                         : 0.0f;
  }
  if (!IsStorablePath(strBookPath)) {
    platform_.dialogs.MessageBox(kPathNotStorable, u"提示", MessageIcon::Information);
    return false;
  }
  if (!files::ReplaceFile(LastReadFilePath(directory), LastReadFileBytes({strBookPath, page}))) {
    platform_.dialogs.MessageBox(kCannotSave, u"提示", MessageIcon::Information);
    return false;
  }
  switch (frmReadRecord::SaveReadRecord(platform_, pub_, strBookPath, BookPrePercent)) {
    case HistorySave::Saved:
      StorePlace(place);
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
  // From the cover both surfaces wait beside the window, one on the other, and move together:
  // the empty one would slide in over the page, whose text showed only once it had arrived.
  ui::PictureBox& incoming = MainPage[CurrentPage % 2];
  ui::PictureBox& other = MainPage[1 - CurrentPage % 2];
  if (other.Left == incoming.Left) other.Left = 2 * Width;
  tmrPage.Enabled = true;
  incoming.SetFocus();
}

std::optional<BookPlace> frmMain::StoredPlace(const std::u16string& path) const {
  const std::optional<files::FileStamp> stamp = files::FileStampOf(path);
  const std::optional<std::string> bytes =
      files::ReadWholeFile(BookPlacesFilePath(platform_.program.Directory()));
  if (!stamp || !bytes) return std::nullopt;
  return PlaceKeptFor(*bytes, path, *stamp);
}

void frmMain::StorePlace(BookPlace place) {
  const std::u16string file = BookPlacesFilePath(platform_.program.Directory());
  const std::optional<std::string> bytes = files::ReadWholeFile(file);
  const std::optional<files::FileStamp> stamp = files::FileStampOf(strBookPath);
  // A file there that cannot be read is not written over; the pages in the records remain.
  if (!stamp || (!bytes && files::FileExists(file))) return;
  std::vector<std::u16string> books(pub_.ReadRecordPath.begin(), pub_.ReadRecordPath.end());
  books.push_back(strBookPath);
  files::ReplaceFile(file, WithKeptPlace(bytes.value_or(std::string()),
                                         KeptPlace{strBookPath, *stamp, place}, books));
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
  if (const std::optional<BookPlace> place = StoredPlace(record->Path)) {
    keptPlace_ = WithinBook(*place);
    ShowReopenedPage(PageOfPlace(keptPlace_->Line, keptPlace_->Offset));
  } else {
    std::int32_t page = record->Page;
    // The record holds a page of the normal layout; in full screen the same place is another page.
    if (pub_.FullScreenMode && NormalPageCount > 0) {
      page = RoundHalfEven(static_cast<double>(page) / NormalPageCount * PageCount);
    }
    ShowReopenedPage(page);
  }
  ShowBookInfo();
  UpdatePageLabel();
  Toolbar.Visible = true;
}

bool frmMain::LoadHistoryRecord() {
  return LoadHistoryRecord(strBookPath, BookPrePercent);
}

bool frmMain::LoadHistoryRecord(const std::u16string& path, float percent) {
  return Reopen(path, std::nullopt, percent);
}

bool frmMain::Reopen(const std::u16string& path, std::optional<BookPlace> place, float percent) {
  if (!place) place = StoredPlace(path);
  if (!LoadBookText(path, place)) return false;
  BookPrePercent = percent;
  TakeOpenedBook(path);
  if (place) {
    keptPlace_ = WithinBook(*place);
    ShowReopenedPage(PageOfPlace(keptPlace_->Line, keptPlace_->Offset));
  } else {
    ShowReopenedPage(RoundHalfEven(static_cast<double>(BookPrePercent) * PageCount));
  }
  UpdatePageLabel();
  ShowBookInfo();
  Toolbar.Visible = true;
  FirstFocus = &MainPage[CurrentPage % 2];
  if (Visible) FinishOpening();
  return true;
}

void frmMain::lblHistory_Click() {
  frmReadRecord history(platform_, pub_, *this);
  history.ShowModal();
}

}  // namespace quillon
