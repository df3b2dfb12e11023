#include "records/frmReadRecord.h"

#include "platform/files.h"
#include "platform/ui/list_look.h"
#include "reader/frmMain.h"
#include "records/reading_history.h"

namespace quillon {

namespace {

constexpr ui::Color kTextColor = ui::kListTextColor;
const char16_t kUnreadableHistory[] =
    u"无法读取阅读历史文件 Bookmark/Readrecord.dat。为了不覆盖其中的记录，这次没有更改它。";
constexpr ui::Color kLinkColor = ui::RGB(0, 0, 255);

}  // namespace

frmReadRecord::frmReadRecord(Platform& platform, mPubVariable& pub, frmMain& reader)
    : ui::Form(platform, "frmReadRecord"), platform_(platform), pub_(pub), reader_(reader) {
  Caption = u"历史阅读记录";
  SetClientSize(11115, 8445);
  StartUpPosition = ui::StartUpPosition::CenterScreen;
  BorderStyle = ui::FormBorder::FixedDialog;
  Icon = reader.Icon;

  Picture1.Move(30, 30, 11025, 8025);
  Picture1.BackColor = ui::RGB(255, 255, 255);

  struct Column {
    const char16_t* head;
    int left, width;
  };
  const Column columns[] = {{u"上次阅读时间", 180, 1905},
                            {u"书籍名称", 2070, 6495},
                            {u"阅读进度", 8550, 1095},
                            {u"操作", 9660, 1155}};
  for (int i = 0; i < 4; ++i) {
    ui::Label& head = lblName.Add(i);
    head.Move(columns[i].left, 210, columns[i].width, 345);
    ui::StyleColumnHead(head, columns[i].head);
  }

  for (int k = 0; k < kHistorySize; ++k) {
    const int top = 570 + 360 * k;
    struct Cell {
      ui::ControlArray<ui::Label>& array;
      int left, width;
      const char16_t* design;
    };
    for (const Cell& cell :
         {Cell{Label1, 180, 1905, u"0000-00-00 00:00:00"}, Cell{lblBookName, 2100, 6465, u""},
          Cell{lblPercent, 8580, 1065, u"0.0%"}, Cell{lblRead, 9660, 1155, u"进入阅读"}}) {
      ui::Label& label = cell.array.Add(k);
      label.Move(cell.left, top, cell.width, 345);
      label.Caption = cell.design;
      label.Font.Assign({u"宋体", 9.0f, false, false, false});
      label.ForeColor = kTextColor;
      label.BackStyle = ui::BackStyle::Transparent;
      label.WordWrap = false;
    }
    ui::Label& link = lblRead[k];
    link.Font.Underline = true;
    link.ForeColor = kLinkColor;
  }
  lblRead.SetWiring([this](ui::Label& link) {
    link.onClick = [this, index = link.Index()] { lblRead_Click(index); };
  });
  for (ui::ControlArray<ui::Label>* cells : {&Label1, &lblBookName, &lblPercent, &lblRead}) {
    cells->SetWiring([this](ui::Label& cell) {
      cell.onMouseUp = [this, index = cell.Index()](ui::MouseButton button, int, int, int) {
        Row_MouseUp(index, button);
      };
    });
  }
  Picture1.onMouseUp = [this](ui::MouseButton button, int, int, int) { Row_MouseUp(-1, button); };

  Label2.Move(60, 8100, 10995, 315);
  Label2.Caption =
      u"阅读记录最多保留20条。在一条记录上单击鼠标右键，可以删除这条记录或清空全部记录。";
  ui::StyleHelpLine(Label2);

  onLoad = [this] { Form_Load(); };
}

void frmReadRecord::Form_Load() {
  ShowReadRecords();
}

void frmReadRecord::ReadHistory() {
  const std::u16string directory = platform_.program.Directory();
  const HistoryFile state = LoadHistoryFile(directory, pub_);
  unreadable_ = state == HistoryFile::Unreadable;
  if (state != HistoryFile::Missing) return;
  ClearHistory(pub_);
  // The folder is made here too: the window may be the first to want the file.
  MakeBookmarkDirectory(directory);
  files::ReplaceFile(HistoryFilePath(directory), HistoryFileBytes(pub_));
}

void frmReadRecord::ShowReadRecords() {
  ReadHistory();
  for (int k = 0; k < kHistorySize; ++k) {
    const auto entry = static_cast<std::size_t>(k);
    Label1[k].Caption = u"";
    lblBookName[k].Caption = u"";
    lblPercent[k].Caption = u"";
    lblRead[k].Caption = u"";
    if (pub_.ReadRecordPath[entry].empty()) continue;
    Label1[k].Caption = FormatDateTime(pub_.ReadRecordDate[entry]);
    lblBookName[k].Caption = files::ShownPath(pub_.ReadRecordPath[entry]);
    lblPercent[k].Caption = ProgressText(pub_.ReadRecordPercent[entry]);
    lblRead[k].Caption = u"进入阅读";
  }
}

void frmReadRecord::lblRead_Click(int index) {
  if (index < 0 || index >= kHistorySize || lblRead[index].Caption.get().empty()) return;
  const auto entry = static_cast<std::size_t>(index);
  reader_.LoadHistoryRecord(pub_.ReadRecordPath[entry], pub_.ReadRecordPercent[entry]);
  Unload();
}

void frmReadRecord::Row_MouseUp(int index, ui::MouseButton button) {
  if (button == ui::MouseButton::Right) PopupMenu(RecordMenu(index));
}

ui::Menu frmReadRecord::RecordMenu(int index) {
  // A history that could not be read offers nothing to change.
  const bool onRecord = !unreadable_ && index >= 0 && index < kHistorySize &&
                        !pub_.ReadRecordPath[static_cast<std::size_t>(index)].empty();
  const bool anyRecord = !unreadable_ && !pub_.ReadRecordPath[0].empty();
  ui::Menu menu;
  menu.Items.push_back(
      {u"删除此记录", u"", false, onRecord, {}, [this, index] { DeleteRecord(index); }});
  menu.Items.push_back({u"清空全部记录", u"", false, anyRecord, {}, [this] { ClearRecords(); }});
  return menu;
}

void frmReadRecord::DeleteRecord(int index) {
  if (index < 0 || index >= kHistorySize ||
      pub_.ReadRecordPath[static_cast<std::size_t>(index)].empty()) {
    return;
  }
  // The entry of that book in the history as it is now on disk: another reader may have saved
  // since this window was opened.
  const std::u16string path = pub_.ReadRecordPath[static_cast<std::size_t>(index)];
  if (!ReadBeforeWriting()) return;
  for (int k = 0; k < kHistorySize; ++k) {
    if (pub_.ReadRecordPath[static_cast<std::size_t>(k)] == path) {
      RemoveHistoryEntry(pub_, k);
      break;
    }
  }
  WriteHistory();
}

bool frmReadRecord::ReadBeforeWriting() {
  if (LoadHistoryFile(platform_.program.Directory(), pub_) != HistoryFile::Unreadable) {
    return true;
  }
  platform_.dialogs.MessageBox(kUnreadableHistory, u"提示", MessageIcon::Information);
  ShowReadRecords();
  return false;
}

void frmReadRecord::ClearRecords() {
  if (!platform_.dialogs.Ask(u"确定要清空全部历史阅读记录吗？清空后无法恢复。", u"清空全部记录",
                             u"清空", u"取消")) {
    return;
  }
  if (!ReadBeforeWriting()) return;
  ClearHistory(pub_);
  WriteHistory();
}

// The last-read record is left as it is: 上次阅读 still opens the book last left.
void frmReadRecord::WriteHistory() {
  const std::u16string directory = platform_.program.Directory();
  MakeBookmarkDirectory(directory);
  if (!files::ReplaceFile(HistoryFilePath(directory), HistoryFileBytes(pub_))) {
    platform_.dialogs.MessageBox(
        u"Quillon 无法在程序所在的文件夹中保存阅读记录（Bookmark），记录没有改变。", u"提示",
        MessageIcon::Information);
  }
  // The table shows what the file holds, whether or not it could be written.
  ShowReadRecords();
}

HistorySave frmReadRecord::SaveReadRecord(Platform& platform, mPubVariable& pub,
                                          const std::u16string& bookPath, float bookPercent,
                                          std::string* error) {
  // The book goes to the top of the history on disk, so two readers on one folder keep each
  // other's books; a history that cannot be read is left as it is.
  const std::u16string directory = platform.program.Directory();
  if (LoadHistoryFile(directory, pub) == HistoryFile::Unreadable) return HistorySave::Unreadable;
  MoveBookToTop(pub, bookPath, platform.clock.Now(), bookPercent);
  return files::ReplaceFile(HistoryFilePath(directory), HistoryFileBytes(pub), error)
             ? HistorySave::Saved
             : HistorySave::Failed;
}

}  // namespace quillon
