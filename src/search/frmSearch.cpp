#include "search/frmSearch.h"

#include <algorithm>

#include "book/search_from.h"
#include "platform/text.h"
#include "platform/ui/list_look.h"
#include "reader/frmMain.h"

namespace quillon {

namespace {

constexpr ui::Color kTextColor = ui::kListTextColor;
constexpr int kPageStop = 900;
// Kept clear of the screen's edges, where a desktop panel may stand.
constexpr int kScreenMargin = 450;

std::u16string Quoted(const std::u16string& phrase) {
  return u"“" + phrase + u"”";
}

}  // namespace

frmSearch::frmSearch(Platform& platform, frmMain& reader)
    : ui::Form(platform, "frmSearch"), reader_(reader) {
  Caption = u"查找";
  SetClientSize(7800, 5100);
  StartUpPosition = ui::StartUpPosition::CenterScreen;
  BorderStyle = ui::FormBorder::FixedDialog;
  Icon = reader.Icon;

  const ui::FontSpec plain{u"宋体", 10.5f, false, false, false};
  lblFind.Move(120, 195, 1260, 300);
  lblFind.Caption = u"查找内容：";
  lblFind.Font.Assign(plain);
  lblFind.BackStyle = ui::BackStyle::Transparent;
  lblFind.WordWrap = false;

  txtFind.Move(1320, 135, 4380, 375);
  txtFind.Font.Assign(plain);
  txtFind.onKeyDown = [this](int keyCode, int shift) { txtFind_KeyDown(keyCode, shift); };
  FirstFocus = &txtFind;

  cmdNext.Move(5880, 120, 1800, 405);
  cmdNext.Caption = u"下一个";
  cmdNext.onClick = [this] { cmdNext_Click(); };
  cmdPrevious.Move(5880, 585, 1800, 405);
  cmdPrevious.Caption = u"上一个";
  cmdPrevious.onClick = [this] { cmdPrevious_Click(); };

  lblStatus.Move(120, 660, 5640, 300);
  lblStatus.Font.Assign({u"宋体", 9.0f, false, false, false});
  lblStatus.ForeColor = ui::RGB(0, 64, 128);
  lblStatus.BackStyle = ui::BackStyle::Transparent;
  lblStatus.WordWrap = false;

  Picture1.Move(30, 1080, 7740, 3660);
  Picture1.BackColor = ui::RGB(255, 255, 255);
  const struct {
    const char16_t* caption;
    int left, width;
  } heads[] = {{u"页码", 150, 840}, {u"内容", 90 + 30 + kPageStop, 3000}};
  for (int i = 0; i < 2; ++i) {
    ui::Label& head = lblHead.Add(i);
    head.Move(heads[i].left, 90, heads[i].width, 300);
    ui::StyleColumnHead(head, heads[i].caption);
  }
  lstHits.Move(90, 420, 7560, 3150);
  lstHits.Font.Assign(plain);
  lstHits.ForeColor = kTextColor;
  lstHits.BackColor = ui::RGB(255, 255, 255);
  lstHits.TabStops = {kPageStop};
  lstHits.onDblClick = [this] { lstHits_DblClick(); };
  lstHits.onKeyDown = [this](int keyCode, int shift) { lstHits_KeyDown(keyCode, shift); };

  lblHint.Move(60, 4785, 7680, 285);
  lblHint.Caption = u"双击一处或按回车键转到那里；关闭本窗口后按 F3、Shift+F3 接着找。";
  ui::StyleHelpLine(lblHint);

  tmrSearch.onTimer = [this] { tmrSearch_Timer(); };
  onLoad = [this] { Form_Load(); };
}

void frmSearch::Form_Load() {
  // The last phrase again, its hits listed for the book as it is now.
  txtFind.Text = reader_.LastSearch;
  if (!reader_.LastSearch.empty()) StartListing();
}

void frmSearch::StartListing() {
  const std::u16string phrase = txtFind.Text;
  if (phrase.empty() || (search_ != nullptr && phrase == listed_)) return;
  search_ = std::make_unique<BookSearch>(phrase);
  listed_ = phrase;
  hitsInList_ = 0;
  lstHits.Clear();
  listingText_ = u"正在查找… 0%";
  findText_.clear();
  tmrSearch.Enabled = true;
  ShowStatus();
}

void frmSearch::tmrSearch_Timer() {
  if (search_ == nullptr) {
    tmrSearch.Enabled = false;
    return;
  }
  const BookText& book = reader_.BookLines;
  search_->Step(book, kLinesPerTick);
  const std::vector<SearchHit>& hits = search_->Hits();
  std::vector<std::u16string> entries;
  for (; hitsInList_ < hits.size(); ++hitsInList_) {
    const SearchHit& hit = hits[hitsInList_];
    const auto [start, length] = HitContextSpan(book, hit, kContext);
    std::u16string context = reader_.ShownText(hit.Line, start, length);
    // A tab in the text would start another column.
    std::replace(context.begin(), context.end(), u'\t', u' ');
    entries.push_back(DecimalText(std::int64_t{reader_.PageOfPlace(hit.Line, hit.Offset)} + 1) +
                      u"\t" + context);
  }
  lstHits.AddItems(entries);
  SelectMarkedHit();
  if (!search_->Done()) {
    const std::int64_t percent =
        book.Count() > 0 ? std::int64_t{search_->NextLine()} * 100 / book.Count() : 100;
    listingText_ = u"正在查找… " + DecimalText(percent) + u"%";
  } else {
    tmrSearch.Enabled = false;
    const std::int64_t total = search_->TotalHits();
    const auto listed = static_cast<std::int64_t>(hits.size());
    if (total == 0) {
      listingText_ = u"没有找到" + Quoted(listed_) + u"。";
    } else if (total > listed) {
      listingText_ = u"共 " + DecimalText(total) + u" 处，列出前 " + DecimalText(listed) + u" 处";
    } else {
      listingText_ = u"共 " + DecimalText(total) + u" 处";
    }
  }
  ShowStatus();
}

void frmSearch::ShowStatus() {
  // The list and the find of one phrase that is nowhere say so in the same words: once is enough.
  lblStatus.Caption = findText_.empty() || findText_ == listingText_
                          ? listingText_
                          : listingText_ + u"　" + findText_;
}

void frmSearch::Find(bool backward) {
  const std::u16string phrase = txtFind.Text;
  if (phrase.empty()) {
    findText_ = u"请输入要查找的文字。";
    return ShowStatus();
  }
  StartListing();
  switch (reader_.FindHit(phrase, backward)) {
    case frmMain::FindResult::Shown:
      findText_ = u"第 " + DecimalText(std::int64_t{reader_.PageInView()} + 1) + u" 页";
      PlaceAwayFromMark();
      markSelected_ = false;
      SelectMarkedHit();
      break;
    case frmMain::FindResult::NoMore:
      findText_ = backward ? u"前面已经没有了。" : u"后面已经没有了。";
      break;
    case frmMain::FindResult::NotFound:
      findText_ = u"没有找到" + Quoted(phrase) + u"。";
      break;
  }
  ShowStatus();
}

void frmSearch::SelectMarkedHit() {
  if (markSelected_ || search_ == nullptr || !reader_.MarkedHit) return;
  const std::vector<SearchHit>& hits = search_->Hits();
  const auto at = std::lower_bound(
      hits.begin(), hits.end(), *reader_.MarkedHit,
      [](const SearchHit& a, const SearchHit& b) { return PlaceOf(a) < PlaceOf(b); });
  const auto index = static_cast<int>(at - hits.begin());
  if (at == hits.end() || !(*at == *reader_.MarkedHit) || index >= lstHits.ListCount()) return;
  markSelected_ = true;
  lstHits.ListIndex = index;
  lstHits.TopIndex = std::max(index - 2, 0);
}

void frmSearch::PlaceAwayFromMark() {
  const std::optional<std::pair<int, int>> mark = reader_.MarkOnScreen();
  if (!mark) return;
  const int below = platform().screen.HeightTwips() - kScreenMargin - Height;
  if (mark->second <= below) {
    Top = below;
  } else if (mark->first >= Height) {
    Top = 0;
  }
}

void frmSearch::cmdNext_Click() {
  Find(false);
}

void frmSearch::cmdPrevious_Click() {
  Find(true);
}

void frmSearch::txtFind_KeyDown(int keyCode, int shift) {
  constexpr int kShift = 1;
  if (keyCode == ui::keys::Return || keyCode == ui::keys::F3) {
    Find((shift & kShift) != 0);
  } else if (keyCode == ui::keys::Escape) {
    Unload();
  }
}

void frmSearch::lstHits_DblClick() {
  if (search_ == nullptr || lstHits.ListIndex < 0) return;
  const auto index = static_cast<std::size_t>(lstHits.ListIndex);
  if (index >= search_->Hits().size()) return;
  const SearchHit hit = search_->Hits()[index];
  reader_.LastSearch = listed_;
  Unload();
  reader_.ShowHit(hit);
}

void frmSearch::lstHits_KeyDown(int keyCode, int shift) {
  constexpr int kShift = 1;
  if (keyCode == ui::keys::F3) {
    Find((shift & kShift) != 0);
  } else if (keyCode == ui::keys::Escape) {
    Unload();
  }
}

}  // namespace quillon
