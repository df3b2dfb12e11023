#include "chapters/frmChapters.h"

#include <algorithm>

#include "book/book_labels.h"
#include "chapters/chapter_pages.h"
#include "platform/text.h"
#include "platform/ui/list_look.h"
#include "reader/frmMain.h"

namespace quillon {

namespace {

constexpr ui::Color kTextColor = ui::kListTextColor;
// Where the title and the page start in an entry, in twips from the list's left edge; the mark
// of the chapter being read stands before the title.
constexpr int kTitleStop = 360;
constexpr int kPageStop = 6840;
// Entries above the chapter being read when the list opens, so it is seen among its neighbours.
constexpr int kRowsAboveCurrent = 3;

}  // namespace

frmChapters::frmChapters(Platform& platform, frmMain& reader)
    : ui::Form(platform, "frmChapters"), reader_(reader) {
  Caption = u"目录 - " + BookTitleOfName(reader.strBookName);
  // 560 * 620 pixels: within the smallest screen, 1024 * 768, with room for a desktop panel.
  SetClientSize(8400, 9300);
  StartUpPosition = ui::StartUpPosition::CenterScreen;
  BorderStyle = ui::FormBorder::FixedDialog;
  Icon = reader.Icon;

  Picture1.Move(30, 30, 8340, 8850);
  Picture1.BackColor = ui::RGB(255, 255, 255);

  lstChapters.Move(120, 540, 8100, 8190);
  lstChapters.Font.Assign({u"宋体", 10.5f, false, false, false});
  lstChapters.ForeColor = kTextColor;
  lstChapters.BackColor = ui::RGB(255, 255, 255);
  lstChapters.TabStops = {kTitleStop, kPageStop};
  lstChapters.onDblClick = [this] { lstChapters_DblClick(); };
  lstChapters.onKeyDown = [this](int keyCode, int shift) { lstChapters_KeyDown(keyCode, shift); };
  // Without chapters the panel has the keyboard, and Escape must still close the window.
  Picture1.onKeyDown = lstChapters.onKeyDown;
  FirstFocus = &lstChapters;

  // The heads stand over the columns: the list's left edge and its border, then the stop.
  const struct {
    const char16_t* caption;
    int left, width;
  } heads[] = {{u"章节", 120 + 30 + kTitleStop, 3000}, {u"页码", 120 + 30 + kPageStop, 1000}};
  for (int i = 0; i < 2; ++i) {
    ui::Label& head = lblHead.Add(i);
    head.Move(heads[i].left, 180, heads[i].width, 345);
    ui::StyleColumnHead(head, heads[i].caption);
  }

  lblEmpty.Move(120, 600, 8100, 345);
  lblEmpty.Caption = u"本书中没有找到章节标题。";
  lblEmpty.Font.Assign({u"宋体", 10.5f, false, false, false});
  lblEmpty.ForeColor = kTextColor;
  lblEmpty.BackStyle = ui::BackStyle::Transparent;
  lblEmpty.Alignment = ui::Alignment::Center;
  lblEmpty.Visible = false;

  lblCount.Move(60, 8955, 8280, 285);
  ui::StyleHelpLine(lblCount);

  onLoad = [this] { Form_Load(); };
}

void frmChapters::Form_Load() {
  const std::vector<Chapter>& chapters = reader_.BookChapters;
  if (chapters.empty()) {
    lstChapters.Visible = false;
    for (int i = 0; i < 2; ++i) lblHead[i].Visible = false;
    lblEmpty.Visible = true;
    lblCount.Caption = u"按 Esc 键或关闭窗口回到书页。";
    FirstFocus = nullptr;
    return;
  }
  const std::int32_t current = ChapterOfPage(reader_.BookLines, chapters, reader_.BookRows,
                                             reader_.PageInView(), reader_.PageRows);
  std::vector<std::u16string> entries;
  entries.reserve(chapters.size());
  for (std::size_t i = 0; i < chapters.size(); ++i) {
    const std::int32_t page =
        PageOfChapter(reader_.BookLines, chapters[i], reader_.BookRows, reader_.PageRows);
    entries.push_back((static_cast<std::int32_t>(i) == current ? u"▶\t" : u"\t") +
                      reader_.ShownText(ChapterTitle(reader_.BookLines, chapters[i])) + u"\t" +
                      DecimalText(std::int64_t{page} + 1));
  }
  lstChapters.AddItems(entries);
  lstChapters.ListIndex = std::max(current, 0);
  lstChapters.TopIndex = std::max(current - kRowsAboveCurrent, 0);
  lblCount.Caption = u"共 " + DecimalText(static_cast<std::int64_t>(chapters.size())) +
                     u" 章。双击一章或按回车键跳到那一页，Esc 键关闭。";
}

void frmChapters::lstChapters_DblClick() {
  const int index = lstChapters.ListIndex;
  const std::vector<Chapter>& chapters = reader_.BookChapters;
  if (index < 0 || static_cast<std::size_t>(index) >= chapters.size()) return;
  const std::int32_t line = chapters[static_cast<std::size_t>(index)].Line;
  Unload();
  reader_.ShowPlaceAtRest(BookPlace{line, 0});
}

void frmChapters::lstChapters_KeyDown(int keyCode, int shift) {
  (void)shift;
  if (keyCode == ui::keys::Escape) Unload();
}

}  // namespace quillon
