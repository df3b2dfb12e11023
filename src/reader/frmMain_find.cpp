// Finding the way in a book: the chapter list, the search, F3, and the mark on found text.

#include <algorithm>

#include "book/search_from.h"
#include "chapters/frmChapters.h"
#include "reader/frmMain.h"
#include "search/frmSearch.h"

namespace quillon {

namespace {

// Found text on a background that keeps the theme's letters readable: a light one under dark
// letters, a dark one under the light letters of the night themes.
ui::Color MarkColorFor(ui::Color text) {
  const int luma =
      (299 * ui::RedOf(text) + 587 * ui::GreenOf(text) + 114 * ui::BlueOf(text)) / 1000;
  return luma < 128 ? ui::RGB(255, 214, 80) : ui::RGB(140, 80, 0);
}

}  // namespace

std::int32_t frmMain::PageInView() const {
  return FirstTurnPending ? CurrentPage - 1 : CurrentPage;
}

std::int32_t frmMain::PageOfPlace(std::int32_t line, std::int32_t offset) const {
  return BookRows.PageOfPosition(BookLines, line, offset, PageRows);
}

BookPlace frmMain::PlaceInView() const {
  if (PageCount <= 0 || PageRows <= 0) return {};
  const std::int32_t page = std::clamp(PageInView(), 0, PageCount - 1);
  if (keptPlace_ && PageOfPlace(keptPlace_->Line, keptPlace_->Offset) == page) return *keptPlace_;
  return PlaceOfRow(BookLines, BookRows, page * PageRows);
}

BookPlace frmMain::WithinBook(BookPlace place) const {
  if (BookLines.Count() <= 0) return {};
  place.Line = std::clamp(place.Line, 0, BookLines.Count() - 1);
  place.Offset = std::clamp(place.Offset, 0, BookLines.LineLength(place.Line));
  return place;
}

void frmMain::ShowPlaceAtRest(BookPlace place) {
  place = WithinBook(place);
  // Kept first: reading aloud, which goes on from the page shown, keeps its sentence instead.
  keptPlace_ = place;
  ShowPageAtRest(PageOfPlace(place.Line, place.Offset));
}

void frmMain::ShowPageAtRest(std::int32_t page) {
  SettleSlide();
  CurrentPage = std::max(0, std::min(page, PageCount - 1));
  FirstTurnPending = false;
  ShowPage(CurrentPage);
  PlaceSurfacesAtRest(CurrentPage);
  UpdatePageLabel();
  FollowReading();
}

void frmMain::ShowChapterList() {
  if (OnCover()) return;
  StopScrollingIfRunning();
  SettleSlide();
  frmChapters chapters(platform_, *this);
  chapters.ShowModal();
}

void frmMain::ShowSearch() {
  if (OnCover()) return;
  StopScrollingIfRunning();
  SettleSlide();
  frmSearch search(platform_, *this);
  search.ShowModal();
}

frmMain::FindResult frmMain::FindHit(const std::u16string& phrase, bool backward) {
  if (OnCover() || phrase.empty()) return FindResult::NotFound;
  StopScrollingIfRunning();
  SettleSlide();
  // Another phrase starts from the page in view; the old one's mark would say it was found.
  if (phrase != LastSearch) {
    LastSearch = phrase;
    ClearSearchMark();
  }
  BookPlace place;
  if (MarkedHit) {
    place = PlaceOf(*MarkedHit);
    if (!backward) ++place.Offset;
  } else {
    place = PlaceOfRow(BookLines, BookRows, PageInView() * PageRows);
  }
  const std::optional<SearchHit> hit =
      backward ? FindHitBefore(BookLines, phrase, place) : FindHitFrom(BookLines, phrase, place);
  if (!hit) {
    return FindHitFrom(BookLines, phrase, BookPlace{}) ? FindResult::NoMore : FindResult::NotFound;
  }
  ShowHit(*hit);
  return FindResult::Shown;
}

void frmMain::FindAgain(bool backward) {
  if (OnCover()) return;
  if (LastSearch.empty()) return ShowSearch();
  const std::u16string quoted = u"“" + LastSearch + u"”";
  switch (FindHit(LastSearch, backward)) {
    case FindResult::NoMore:
      platform_.dialogs.MessageBox(
          (backward ? u"前面已经没有" : u"后面已经没有") + quoted + u"了。", u"查找",
          MessageIcon::Information);
      break;
    case FindResult::NotFound:
      platform_.dialogs.MessageBox(u"本书中没有找到" + quoted + u"。", u"查找",
                                   MessageIcon::Information);
      break;
    default:
      break;
  }
}

void frmMain::ShowHit(const SearchHit& hit) {
  if (OnCover() || hit.Line < 0 || hit.Line >= BookLines.Count()) return;
  StopScrollingIfRunning();
  ShowPlaceAtRest(PlaceOf(hit));
  // While reading aloud the reading goes on from the page the hit is on, and its sentence is
  // what is marked.
  if (ReadingAloud == Reading::Off) MarkHit(hit);
}

void frmMain::MarkHit(const SearchHit& hit) {
  if (PageRows <= 0 || hit.Length <= 0) return;
  MarkedHit = hit;
  MarkSpan(hit);
}

void frmMain::MarkSpan(const SearchHit& hit) {
  if (PageRows <= 0 || hit.Length <= 0) return;
  const std::int32_t page = PageInView();
  ui::ControlArray<ui::Label>& rows = page % 2 == 0 ? lblRow1 : lblRow2;
  for (const RowMark& mark : MarksOnPage(
           BookLines, BookRows, WrapMetrics{RowChars, PageRows, pub_.IndentWidth}, page, hit)) {
    if (!rows.Exists(mark.RowOnPage)) continue;
    ui::Label& label = rows[mark.RowOnPage];
    label.HighlightColor = MarkColorFor(pub_.ReaderSettings.FontColor);
    label.HighlightStart = mark.Start;
    label.HighlightLength = mark.Length;
  }
}

void frmMain::ClearSearchMark() {
  MarkedHit.reset();
  ClearMarks();
  // The sentence read aloud keeps its mark.
  if (ReadingAloud != Reading::Off && SpokenSentence) {
    MarkSpan({SpokenSentence->Line, SpokenSentence->Offset, SpokenSentence->Length});
  }
}

void frmMain::ClearMarks() {
  for (ui::ControlArray<ui::Label>* rows : {&lblRow1, &lblRow2}) {
    for (int k = rows->LBound(); k <= rows->UBound(); ++k) {
      if (rows->Exists(k)) (*rows)[k].HighlightLength = 0;
    }
  }
}

std::optional<std::pair<int, int>> frmMain::MarkOnScreen() const {
  if (!MarkedHit) return std::nullopt;
  const int surface = CurrentPage % 2;
  const ui::ControlArray<ui::Label>& rows = surface == 0 ? lblRow1 : lblRow2;
  std::optional<std::pair<int, int>> span;
  for (int k = rows.LBound(); k <= rows.UBound(); ++k) {
    if (!rows.Exists(k) || rows[k].HighlightLength == 0) continue;
    const int top = rows[k].Top;
    const int bottom = top + rows[k].Height;
    span = span ? std::pair{std::min(span->first, top), std::max(span->second, bottom)}
                : std::pair{top, bottom};
  }
  if (!span) return std::nullopt;
  const int origin = Top + kCaptionTwips + kBorderTwips + MainPage[surface].Top;
  return std::pair{origin + span->first, origin + span->second};
}

}  // namespace quillon
