// The page's right-click menu: bookmarks, finding the way in the book, and the script and the
// encoding a user chooses for it.

#include "platform/files.h"
#include "reader/frmMain.h"
#include "records/book_encodings.h"
#include "records/reading_history.h"

namespace quillon {

namespace {

const BookEncoding kEncodings[] = {BookEncoding::Gb18030, BookEncoding::Big5, BookEncoding::Utf8,
                                   BookEncoding::Utf16LE, BookEncoding::Utf16BE};

}  // namespace

void frmMain::Page_MouseUp(ui::MouseButton button) {
  if (button != ui::MouseButton::Right || OnCover()) return;
  PopupMenu(PageMenu());
}

ui::Menu frmMain::PageMenu() {
  ui::MenuItem encodings{u"编码", u"", false, true, {}, nullptr};
  encodings.Items.push_back({u"自动识别（" + EncodingName(BookEncodingInUse) + u"）",
                             u"",
                             !BookEncodingChosen,
                             true,
                             {},
                             [this] { ChooseEncoding({}); }});
  encodings.Items.push_back({});
  for (BookEncoding encoding : kEncodings) {
    encodings.Items.push_back({EncodingName(encoding),
                               u"",
                               BookEncodingChosen && BookEncodingInUse == encoding,
                               true,
                               {},
                               [this, encoding] { ChooseEncoding(encoding); }});
  }
  ui::MenuItem scripts{u"简繁转换", u"", false, true, {}, nullptr};
  for (const auto& [conversion, caption] :
       {std::pair{ScriptConversion::None, u"不转换"},
        std::pair{ScriptConversion::ToSimplified, u"繁体→简体"},
        std::pair{ScriptConversion::ToTraditional, u"简体→繁体"}}) {
    scripts.Items.push_back(
        {caption, u"", BookScript == conversion, true, {}, [this, conversion = conversion] {
           ChooseScript(conversion);
         }});
  }
  const bool searched = !LastSearch.empty();
  ui::Menu menu;
  menu.Items.push_back({ReadingAloud == Reading::Off        ? u"朗读"
                        : ReadingAloud == Reading::Speaking ? u"暂停朗读"
                                                            : u"继续朗读",
                        u"F5",
                        false,
                        true,
                        {},
                        [this] { ToggleReading(); }});
  menu.Items.push_back(
      {u"停止朗读", u"Esc", false, ReadingAloud != Reading::Off, {}, [this] { StopReading(); }});
  menu.Items.push_back({u"朗读设置…", u"", false, true, {}, [this] { ShowSpeechSettings(); }});
  menu.Items.push_back({});
  menu.Items.push_back({u"添加书签", u"Ctrl+D", false, true, {}, [this] { AddBookmark(); }});
  menu.Items.push_back({u"书签…", u"Ctrl+B", false, true, {}, [this] { ShowBookmarks(); }});
  menu.Items.push_back({});
  menu.Items.push_back({u"目录", u"Ctrl+T", false, true, {}, [this] { ShowChapterList(); }});
  menu.Items.push_back({u"查找…", u"Ctrl+F", false, true, {}, [this] { ShowSearch(); }});
  menu.Items.push_back({u"查找下一个", u"F3", false, searched, {}, [this] { FindAgain(false); }});
  menu.Items.push_back(
      {u"查找上一个", u"Shift+F3", false, searched, {}, [this] { FindAgain(true); }});
  menu.Items.push_back({});
  menu.Items.push_back(std::move(scripts));
  menu.Items.push_back(std::move(encodings));
  return menu;
}

void frmMain::ChooseEncoding(std::optional<BookEncoding> encoding) {
  if (OnCover() || strBookPath.empty()) return;
  const std::u16string file = BookEncodingsFilePath(platform_.program.Directory());
  const std::string before = files::ReadWholeFile(file).value_or(std::string());
  MakeBookmarkDirectory(platform_.program.Directory());
  if (!files::ReplaceFile(file, WithChosenEncoding(before, strBookPath, encoding))) {
    platform_.dialogs.MessageBox(u"Quillon 无法保存这本书的编码选择，下次打开时仍将自动识别。",
                                 u"提示", MessageIcon::Information);
  }
  StopScrollingIfRunning();
  SettleSlide();
  // The same character of the book, as far as the text read anew has it.
  const BookPlace place = PlaceInView();
  Reopen(strBookPath, place, FractionOfPage(PageInView()));
}

}  // namespace quillon
