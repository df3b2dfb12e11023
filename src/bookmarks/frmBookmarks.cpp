#include "bookmarks/frmBookmarks.h"

#include <algorithm>

#include "book/book_labels.h"
#include "platform/text.h"
#include "platform/ui/list_look.h"
#include "reader/frmMain.h"

namespace quillon {

namespace {

// Where the chapter, the marked text and the date start in an entry, in twips from the list's left
// edge.
constexpr int kChapterStop = 0;
constexpr int kTextStop = 2700;
constexpr int kDateStop = 6300;
// Characters of the marked text shown.
constexpr std::int32_t kExcerpt = 16;

std::u16string TwoDigits(int value) {
  return (value < 10 ? u"0" : u"") + DecimalText(value);
}

std::u16string NoTabs(std::u16string text) {
  std::replace(text.begin(), text.end(), u'\t', u' ');
  return text;
}

}  // namespace

frmBookmarks::frmBookmarks(Platform& platform, frmMain& reader)
    : ui::Form(platform, "frmBookmarks"), reader_(reader) {
  Caption = u"书签 - " + BookTitleOfName(reader.strBookName);
  SetClientSize(8400, 6300);
  StartUpPosition = ui::StartUpPosition::CenterScreen;
  BorderStyle = ui::FormBorder::FixedDialog;
  Icon = reader.Icon;

  Picture1.Move(30, 30, 8340, 5850);
  Picture1.BackColor = ui::RGB(255, 255, 255);

  lstMarks.Move(120, 540, 8100, 5190);
  lstMarks.Font.Assign({u"宋体", 10.5f, false, false, false});
  lstMarks.ForeColor = ui::kListTextColor;
  lstMarks.BackColor = ui::RGB(255, 255, 255);
  lstMarks.TabStops = {kTextStop, kDateStop};
  lstMarks.onDblClick = [this] { lstMarks_DblClick(); };
  lstMarks.onKeyDown = [this](int keyCode, int shift) { lstMarks_KeyDown(keyCode, shift); };
  lstMarks.onMouseUp = [this](ui::MouseButton button, int, int, int) { lstMarks_MouseUp(button); };
  // Without marks the panel has the keyboard, and Escape must still close the window.
  Picture1.onKeyDown = lstMarks.onKeyDown;
  FirstFocus = &lstMarks;

  const struct {
    const char16_t* caption;
    int stop, width;
  } heads[] = {
      {u"章节", kChapterStop, 2400}, {u"内容", kTextStop, 3000}, {u"日期", kDateStop, 1800}};
  for (int i = 0; i < 3; ++i) {
    ui::Label& head = lblHead.Add(i);
    // Over the columns: the list's left edge and its border, then the stop.
    head.Move(120 + 30 + heads[i].stop, 180, heads[i].width, 345);
    ui::StyleColumnHead(head, heads[i].caption);
  }

  lblEmpty.Move(120, 600, 8100, 690);
  lblEmpty.Caption = u"这本书还没有书签。\r\n在要记住的一页按 Ctrl+D 加一个。";
  lblEmpty.Font.Assign({u"宋体", 10.5f, false, false, false});
  lblEmpty.ForeColor = ui::kListTextColor;
  lblEmpty.BackStyle = ui::BackStyle::Transparent;
  lblEmpty.Alignment = ui::Alignment::Center;
  lblEmpty.Visible = false;

  lblCount.Move(60, 5955, 8280, 285);
  ui::StyleHelpLine(lblCount);

  onLoad = [this] { Form_Load(); };
}

void frmBookmarks::Form_Load() {
  marks_ = reader_.BookMarks();
  FillList();
}

void frmBookmarks::FillList() {
  const bool any = !marks_.empty();
  lstMarks.Visible = any;
  for (int i = 0; i < 3; ++i) lblHead[i].Visible = any;
  lblEmpty.Visible = !any;
  lstMarks.Clear();
  if (!any) {
    lblCount.Caption = u"按 Esc 键或关闭窗口回到书页。";
    FirstFocus = nullptr;
    return;
  }
  std::vector<std::u16string> entries;
  entries.reserve(marks_.size());
  for (const Bookmark& mark : marks_) {
    const std::int32_t chapter = ChapterAt(reader_.BookChapters, mark.Place.Line);
    const std::u16string title =
        chapter >= 0
            ? reader_.ShownText(ChapterTitle(
                  reader_.BookLines, reader_.BookChapters[static_cast<std::size_t>(chapter)]))
            : u"（正文之前）";
    const DateTime& made = mark.Made;
    entries.push_back(NoTabs(title) + u"\t" +
                      NoTabs(reader_.ShownText(mark.Place.Line, mark.Place.Offset, kExcerpt)) +
                      u"\t" + DecimalText(made.Year) + u"-" + TwoDigits(made.Month) + u"-" +
                      TwoDigits(made.Day) + u" " + TwoDigits(made.Hour) + u":" +
                      TwoDigits(made.Minute));
  }
  lstMarks.AddItems(entries);
  lstMarks.ListIndex = 0;
  lblCount.Caption = u"共 " + DecimalText(static_cast<std::int64_t>(marks_.size())) +
                     u" 个书签。双击或按回车键跳到那一页，Delete 键删除，Esc 键关闭。";
}

void frmBookmarks::lstMarks_DblClick() {
  const int index = lstMarks.ListIndex;
  if (index < 0 || static_cast<std::size_t>(index) >= marks_.size()) return;
  const BookPlace place = marks_[static_cast<std::size_t>(index)].Place;
  Unload();
  reader_.ShowPlaceAtRest(place);
}

void frmBookmarks::DeleteSelected() {
  const int index = lstMarks.ListIndex;
  if (index < 0 || static_cast<std::size_t>(index) >= marks_.size()) return;
  if (!reader_.RemoveBookmark(marks_[static_cast<std::size_t>(index)])) return;
  marks_.erase(marks_.begin() + index);
  FillList();
  if (!marks_.empty())
    lstMarks.ListIndex = std::min<int>(index, static_cast<int>(marks_.size()) - 1);
}

void frmBookmarks::lstMarks_KeyDown(int keyCode, int shift) {
  (void)shift;
  if (keyCode == ui::keys::Escape) Unload();
  if (keyCode == ui::keys::Delete) DeleteSelected();
}

void frmBookmarks::lstMarks_MouseUp(ui::MouseButton button) {
  if (button != ui::MouseButton::Right || marks_.empty()) return;
  ui::Menu menu;
  menu.Items.push_back(
      {u"删除此书签", u"Delete", false, lstMarks.ListIndex >= 0, {}, [this] { DeleteSelected(); }});
  PopupMenu(menu);
}

}  // namespace quillon
