// Opening a book, wrapping it into rows and pages, and drawing a page.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <future>
#include <new>
#include <stdexcept>
#include <system_error>

#include "book/book_file.h"
#include "book/book_labels.h"
#include "platform/files.h"
#include "platform/text.h"
#include "reader/book_prefetch.h"
#include "reader/frmMain.h"
#include "records/book_encodings.h"
#include "records/book_scripts.h"
#include "settings/row_metrics.h"

namespace quillon {

namespace {

const char16_t kTooLarge[] = u"这本书太大，Quillon 没有足够的内存打开它。";

}  // namespace

void frmMain::lblOpen_Click() {
  cdlg.DefaultExt = u"txt";
  cdlg.Filter = u"txt(*.txt)|*.txt|All Files(*.*)|*.*";
  cdlg.ShowOpen();
  if (cdlg.FileName.empty()) return;
  OpenAtFirstPage(cdlg.FileName);
}

bool frmMain::OpenBook(const std::u16string& path) {
  StopScrollingIfRunning();
  SettleSlide();
  for (std::size_t k = 0; k < pub_.ReadRecordPath.size(); ++k) {
    if (!path.empty() && pub_.ReadRecordPath[k] == path) {
      return LoadHistoryRecord(path, pub_.ReadRecordPercent[k]);
    }
  }
  return OpenAtFirstPage(path);
}

void frmMain::Form_DropFiles(const std::vector<std::u16string>& paths) {
  if (!paths.empty()) OpenBook(paths.front());
}

bool frmMain::OpenAtFirstPage(const std::u16string& path) {
  if (!LoadBookText(path, BookPlace{})) return false;
  TakeOpenedBook(path);
  CurrentPage = 1;
  ShowPage(0);
  lblPage.Caption = PageBoxText(CurrentPage);
  // The bar would otherwise still show where the previous book was left.
  BookPrePercent = FractionOfPage(CurrentPage);
  SizeProgressBar();
  ShowBookInfo();
  Toolbar.Visible = true;
  // A book opened over another (a drop) may find the other surface in view.
  PlaceSurfacesAtRest(0);
  MainPage[0].SetFocus();
  FirstFocus = &MainPage[0];
  FirstTurnPending = true;
  if (Visible) FinishOpening();
  return true;
}

void frmMain::TakeOpenedBook(const std::u16string& path) {
  strBookPath = path;
  strBookName = BookNameOfPath(files::ShownPath(strBookPath));
  Caption = WindowCaptionFor(strBookName);
  WrapRows();
}

std::optional<WrapMetrics> frmMain::NormalMetrics() const {
  const SettingsRecord& settings = pub_.ReaderSettings;
  auto metrics = LookupRowMetrics(false, settings.FontSize, ScreenMode, settings.FontBold);
  if (!metrics) metrics = LookupRowMetrics(false, 10.5f, ScreenMode, settings.FontBold);
  if (!metrics) return std::nullopt;
  return WrapMetrics{metrics->RowChars, metrics->PageRows, pub_.IndentWidth};
}

bool frmMain::LoadBookText(const std::u16string& path, std::optional<BookPlace> shownAt) {
  if (path.empty()) {
    platform_.dialogs.MessageBox(BookNotReadText(path), u"提示", MessageIcon::Information);
    return false;
  }
  // A book still coming in is taken in whole before another replaces it.
  if (rest_ && !TakeRest()) return false;
  const std::optional<BookEncoding> chosen = ChosenEncoding(
      files::ReadWholeFile(BookEncodingsFilePath(platform_.program.Directory())).value_or(""),
      path);
  // The dictionaries of the script the book is shown in are read while the book is.
  const ScriptConversion script = ChosenScript(
      files::ReadWholeFile(BookScriptsFilePath(platform_.program.Directory())).value_or(""), path);
  std::future<std::unique_ptr<ScriptConverter>> converter;
  if (script != ScriptConversion::None) {
    try {
      converter =
          std::async(std::launch::async, [script] { return ScriptConverter::Open(script); });
    } catch (const std::system_error&) {
      // No thread to be had: they are read once the book is.
    }
  }
  BookFile book;
  RowTable rows;
  std::vector<Chapter> chapters;
  // A book read since the program started is taken as it is, if it was read as it is asked for.
  std::unique_ptr<BookPrefetch> source;
  if (prefetch_ && prefetch_->Path() == path && prefetch_->Encoding() == chosen) {
    source = std::move(prefetch_);
  }
  prefetch_.reset();
  // As the window loads, only a book already read (or whose page is) is opened; any other, and
  // anything to tell, waits for the window.
  if (openingOnLoad_ && !source) return false;
  const WrapMetrics metrics{RowChars, PageRows, pub_.IndentWidth};
  const bool wraps = PageRows > 0 && RowChars > 0;
  // The book read becomes the open one.
  const auto take = [&](BookFile& read, RowTable& readRows, std::vector<Chapter>& readChapters) {
    StopReading();
    BookLines = std::move(*read.Text);
    rowsOfReadBook_ = readRows.Metrics().RowChars > 0;
    BookRows = std::move(readRows);
    UseScript(script, converter.valid() ? converter.get() : ScriptConverter::Open(script));
    BookChapters = std::move(readChapters);
    MarkedHit.reset();
    keptPlace_.reset();
    LineCount = BookLines.Count();
    BookEncodingInUse = read.Encoding;
    BookEncodingChosen = chosen.has_value();
  };
  try {
    // Only from the cover: a book open in view stays open if this one's read is cancelled.
    if (shownAt && wraps && OnCover()) {
      if (!source) {
        source = std::make_unique<BookPrefetch>(path, chosen, BookPrefetch::kStartWorthBytes);
      }
      // The page shown first, from the book's first lines, when it lies within them: the rows of
      // whole lines are the book's own, and the last line read may be one the rest goes on with.
      BookFile start = source->TakeStart();
      if (start.Text && start.Text->Count() >= 2 && shownAt->Line < start.Text->Count() - 1) {
        const BookText& text = *start.Text;
        RowTable startRows;
        startRows.Wrap(text, metrics);
        const std::int64_t page =
            startRows.PageOfPosition(text, shownAt->Line, shownAt->Offset, PageRows);
        if ((page + 1) * PageRows <= startRows.FirstRowOf(text, text.Count() - 1)) {
          take(start, startRows, chapters);
          source->WrapAs(metrics);
          rest_ = std::move(source);
          return true;
        }
      }
    }
  } catch (const std::bad_alloc&) {
    // Read whole instead, which tells the user if the book does not fit.
  } catch (const std::length_error&) {
  }
  // Read, and wrapped here too, so that a book whose rows do not fit in memory fails before it
  // replaces the one open; the table is then kept. The chapters are found on the reading thread
  // while the rows are wrapped, once; a re-wrap changes only the pages they fall on.
  if (openingOnLoad_ && !source->ReadWithin(std::chrono::milliseconds(50))) {
    prefetch_ = std::move(source);
    return false;
  }
  const std::u16string name = BookNameOfPath(files::ShownPath(path));
  const auto read = [&](std::optional<BookEncoding> encoding) {
    if (!source) source = std::make_unique<BookPrefetch>(path, encoding);
    BookPrefetch& reading = *source;
    const auto finish = [&] {
      const BookFile& read = reading.Book();
      if (read.Text && wraps) rows.Wrap(*read.Text, metrics);
      chapters = reading.TakeChapters();
    };
    // A book read while the window started has only its rows left to make, a matter of
    // milliseconds: not worth a thread and a wait.
    if (openingOnLoad_) {
      finish();
    } else {
      platform_.dialogs.RunLongTask(u"正在打开 " + name + u" ……", reading.Task(), finish);
    }
    book = reading.TakeBook();
    source.reset();
  };
  try {
    read(chosen);
    if (book.NotText) {
      if (!platform_.dialogs.Ask(u"无法识别该文件的文字编码，它可能不是文本文件。", u"提示",
                                 u"仍按 GB18030 打开", u"取消")) {
        return false;
      }
      read(BookEncoding::Gb18030);
    }
  } catch (const std::bad_alloc&) {
    platform_.dialogs.MessageBox(kTooLarge, u"提示", MessageIcon::Information);
    return false;
  } catch (const std::length_error&) {
    platform_.dialogs.MessageBox(kTooLarge, u"提示", MessageIcon::Information);
    return false;
  }
  // Cancelled by the user, who knows it: the book open before stays as it was.
  if (book.Cancelled) return false;
  if (!book.Text) {
    platform_.dialogs.MessageBox(BookNotReadText(path), u"提示", MessageIcon::Information);
    return false;
  }
  take(book, rows, chapters);
  return true;
}

void frmMain::FinishOpening() {
  if (!rest_) return;
  const std::shared_ptr<BookPrefetch> rest = rest_;
  LongTask& task = rest->Task();
  // The page is there already: the window paints it from the first moment of the wait.
  task.PaintAtOnce = true;
  platform_.dialogs.RunLongTask(u"正在打开 " + strBookName + u" ……", task,
                                [rest] { rest->WaitAll(); });
  // Taken meanwhile by a close or another open, or by another wait.
  if (rest_ == rest) TakeRest();
}

bool frmMain::TakeRest() {
  const std::shared_ptr<BookPrefetch> rest = std::move(rest_);
  std::optional<std::u16string> told;
  try {
    RowTable rows = rest->TakeRows();
    std::vector<Chapter> chapters = rest->TakeChapters();
    BookFile book = rest->TakeBook();
    if (book.Text) {
      TakeWholeBook(std::move(book), std::move(rows), std::move(chapters));
      return true;
    }
    // Cancelled by the user, who knows it; otherwise the file went away or changed as it was read.
    if (!book.Cancelled) told = BookNotReadText(strBookPath);
  } catch (const std::bad_alloc&) {
    told = kTooLarge;
  } catch (const std::length_error&) {
    told = kTooLarge;
  }
  DropBook();
  if (told) platform_.dialogs.MessageBox(*told, u"提示", MessageIcon::Information);
  return false;
}

void frmMain::TakeWholeBook(BookFile book, RowTable rows, std::vector<Chapter> chapters) {
  // The page in view stays the page it is: its rows are those of whole lines, the same in both.
  const BookPlace place = PlaceInView();
  BookLines = std::move(*book.Text);
  rowsOfReadBook_ = rows.Metrics().RowChars > 0;
  BookRows = std::move(rows);
  BookChapters = std::move(chapters);
  LineCount = BookLines.Count();
  BookEncodingInUse = book.Encoding;
  if (converted_) converted_->Forget();
  WrapRows();
  if (keptPlace_) keptPlace_ = WithinBook(*keptPlace_);
  const std::int32_t number = FirstTurnPending ? 1 : 0;
  CurrentPage = PageOfPlace(place.Line, place.Offset) + number;
  ShowPage(PageInView());
  lblPage.Caption = PageBoxText(CurrentPage + 1 - number);
  BookPrePercent = FractionOfPage(CurrentPage + 1 - number);
  SizeProgressBar();
  ShowBookInfo();
}

void frmMain::ShowCover() {
  StopScrollingIfRunning();
  SettleSlide();
  for (int k = 0; k <= 1; ++k) MainPage[k].Left = Width;
  Toolbar.Visible = false;
}

void frmMain::DropBook() {
  ShowCover();
  BookLines = BookText();
  BookRows = RowTable();
  normalRows_ = RowTable();
  rowsOfReadBook_ = false;
  BookChapters.clear();
  MarkedHit.reset();
  keptPlace_.reset();
  LineCount = RowCount = PageCount = NormalPageCount = 0;
  CurrentPage = 0;
  strBookPath.clear();
  strBookName.clear();
  Caption = u"Quillon";
}

void frmMain::WrapRows() {
  const bool wrapped = rowsOfReadBook_;
  rowsOfReadBook_ = false;
  if (PageRows <= 0 || RowChars <= 0) return;
  const WrapMetrics metrics{RowChars, PageRows, pub_.IndentWidth};
  const WrapMetrics& had = BookRows.Metrics();
  if (!wrapped || had.RowChars != metrics.RowChars || had.PageRows != metrics.PageRows ||
      had.IndentWidth != metrics.IndentWidth) {
    BookRows.Wrap(BookLines, metrics);
  }
  RowCount = BookRows.Count();
  PageCount = PageCountOf(RowCount, PageRows);
  // The reading position is stored as a page of the normal layout, so its rows are kept current
  // in the full-screen layout too.
  normalRows_ = RowTable();
  NormalPageCount = PageCount;
  if (pub_.FullScreenMode) {
    if (const std::optional<WrapMetrics> normal = NormalMetrics()) {
      normalRows_.Wrap(BookLines, *normal);
      NormalPageCount = PageCountOf(normalRows_.Count(), normal->PageRows);
    }
  }
}

void frmMain::ShowPage(std::int32_t page) {
  ClearSearchMark();
  ui::ControlArray<ui::Label>& rows = page % 2 == 0 ? lblRow1 : lblRow2;
  std::vector<std::u16string> texts;
  if (page >= 0 && page < PageCount) {
    const std::int64_t first = static_cast<std::int64_t>(page) * PageRows;
    for (const LinePiece& row :
         BookRows.Pieces(BookLines, static_cast<std::int32_t>(first), PageRows)) {
      texts.push_back(std::u16string(static_cast<std::size_t>(row.Piece.Indent), u' ') +
                      ShownText(row.Line, row.Piece.Offset, row.Piece.Length));
    }
  }
  for (std::int32_t k = 0; k < PageRows; ++k) {
    if (!rows.Exists(k)) continue;
    rows[k].Caption = static_cast<std::size_t>(k) < texts.size()
                          ? texts[static_cast<std::size_t>(k)]
                          : std::u16string();
  }
  // The sentence read aloud stays marked wherever its page is drawn.
  if (page == PageInView()) MarkSentence();
}

std::u16string frmMain::PageBoxText(std::int64_t number) const {
  // The count of a book still being read is not known yet.
  return rest_ ? u"书页 " + DecimalText(number) + u"/…" : PageLabelText(number, PageCount);
}

void frmMain::UpdatePageLabel() {
  if (strBookName.empty()) return;
  lblPage.Caption = PageBoxText(static_cast<std::int64_t>(CurrentPage) + 1);
  BookPrePercent = FractionOfPage(CurrentPage + 1);
  SizeProgressBar();
}

void frmMain::SizeProgressBar() {
  // A damaged record may hold any fraction; the bar stays inside its panel.
  const double fraction = rest_ ? 0.0 : std::clamp(static_cast<double>(BookPrePercent), 0.0, 1.0);
  shpBar.Width =
      static_cast<int>(std::lround(shpPanel.Width * (std::isnan(fraction) ? 0 : fraction)));
}

}  // namespace quillon
