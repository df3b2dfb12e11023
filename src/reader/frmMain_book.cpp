// Opening a book, wrapping it into rows and pages, and drawing a page.

#include <cmath>

#include "book/book_file.h"
#include "book/book_labels.h"
#include "reader/frmMain.h"
#include "settings/row_metrics.h"

namespace quillon {

void frmMain::lblOpen_Click() {
  cdlg.DefaultExt = u"txt";
  cdlg.Filter = u"txt(*.txt)|*.txt|All Files(*.*)|*.*";
  cdlg.ShowOpen();
  if (cdlg.FileName.empty()) return;
  if (!LoadBookText(cdlg.FileName)) return;

  TakeOpenedBook(cdlg.FileName);
  CurrentPage = 1;
  ShowPage(0);
  lblPage.Caption = PageLabelText(CurrentPage, PageCount);
  if (PageCount > 0) {
    BookPrePercent = static_cast<float>(static_cast<double>(CurrentPage) / PageCount);
  }
  // The bar would otherwise still show where the previous book was left.
  SizeProgressBar();
  ShowBookInfo();
  Toolbar.Visible = true;
  MainPage[0].Left = 0;
  MainPage[0].SetFocus();
  FirstTurnPending = true;
}

void frmMain::TakeOpenedBook(const std::u16string& path) {
  strBookPath = path;
  strBookName = BookNameOfPath(strBookPath);
  Caption = WindowCaptionFor(strBookName);
  WrapRows();
  // A book opened in full screen has never been wrapped for the normal layout, in which its
  // reading position is stored.
  if (pub_.FullScreenMode) NormalPageCount = PagesInNormalLayout();
}

std::int32_t frmMain::PagesInNormalLayout() const {
  const SettingsRecord& settings = pub_.ReaderSettings;
  auto metrics = LookupRowMetrics(false, settings.FontSize, ScreenMode, settings.FontBold);
  if (!metrics) metrics = LookupRowMetrics(false, 10.5f, ScreenMode, settings.FontBold);
  if (!metrics) return PageCount;
  RowTable rows;
  rows.Wrap(BookLines, WrapMetrics{metrics->RowChars, metrics->PageRows, pub_.IndentWidth});
  return PageCountOf(rows.Count(), metrics->PageRows);
}

bool frmMain::LoadBookText(const std::u16string& path) {
  if (path.empty()) return false;
  std::optional<BookText> text = ReadBookFile(path);
  if (!text) {
    platform_.dialogs.MessageBox(u"Quillon 未找到有效的阅读文件，请检查。", u"提示",
                                 MessageIcon::Information);
    return false;
  }
  BookLines = std::move(*text);
  LineCount = BookLines.Count();
  return true;
}

void frmMain::WrapRows() {
  if (PageRows <= 0 || RowChars <= 0) return;
  BookRows.Wrap(BookLines, WrapMetrics{RowChars, PageRows, pub_.IndentWidth});
  RowCount = BookRows.Count();
  PageCount = PageCountOf(RowCount, PageRows);
  if (!pub_.FullScreenMode) NormalPageCount = PageCount;
}

void frmMain::ShowPage(std::int32_t page) {
  ui::ControlArray<ui::Label>& rows = page % 2 == 0 ? lblRow1 : lblRow2;
  std::vector<std::u16string> texts;
  if (page >= 0 && page < PageCount) {
    const std::int64_t first = static_cast<std::int64_t>(page) * PageRows;
    texts = BookRows.Rows(BookLines, static_cast<std::int32_t>(first), PageRows);
  }
  for (std::int32_t k = 0; k < PageRows; ++k) {
    if (!rows.Exists(k)) continue;
    rows[k].Caption = static_cast<std::size_t>(k) < texts.size()
                          ? texts[static_cast<std::size_t>(k)]
                          : std::u16string();
  }
}

void frmMain::UpdatePageLabel() {
  if (strBookName.empty()) return;
  lblPage.Caption = PageLabelText(static_cast<std::int64_t>(CurrentPage) + 1, PageCount);
  if (PageCount > 0) {
    BookPrePercent = static_cast<float>((static_cast<double>(CurrentPage) + 1) / PageCount);
  }
  SizeProgressBar();
}

void frmMain::SizeProgressBar() {
  shpBar.Width =
      static_cast<int>(std::lround(shpPanel.Width * static_cast<double>(BookPrePercent)));
}

}  // namespace quillon
