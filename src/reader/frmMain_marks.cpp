// Bookmarks, and the script a book is shown in: marks kept per book beside the records, and the
// pages of a book shown converted, a piece of text at a time, with every character in its place.

#include <algorithm>

#include "bookmarks/frmBookmarks.h"
#include "platform/files.h"
#include "platform/text.h"
#include "reader/frmMain.h"
#include "records/book_scripts.h"
#include "records/reading_history.h"

namespace quillon {

namespace {

const char16_t kMarksUnreadable[] =
    u"无法读取书签文件 Bookmark/Bookmarks.dat。为了不覆盖其中的书签，Quillon 这次不改动它。";

}  // namespace

void frmMain::UseScript(ScriptConversion conversion, std::unique_ptr<ScriptConverter> converter) {
  converted_.reset();
  BookScript = ScriptConversion::None;
  if (conversion == ScriptConversion::None) return;
  if (converter == nullptr) {
    platform_.dialogs.MessageBox(
        u"没有找到简繁转换的词典（OpenCC）。请安装 libopencc1.1 和它的词典 libopencc-data，"
        u"这本书先按原文显示。",
        u"提示", MessageIcon::Information);
    return;
  }
  converted_ = std::make_unique<ConvertedBook>(std::move(converter));
  BookScript = conversion;
}

void frmMain::ChooseScript(ScriptConversion conversion) {
  if (OnCover() || strBookPath.empty()) return;
  const std::u16string file = BookScriptsFilePath(platform_.program.Directory());
  const std::string before = files::ReadWholeFile(file).value_or(std::string());
  MakeBookmarkDirectory(platform_.program.Directory());
  if (!files::ReplaceFile(file, WithChosenScript(before, strBookPath, conversion))) {
    platform_.dialogs.MessageBox(u"Quillon 无法保存这本书的简繁选择，下次打开时仍将按原文显示。",
                                 u"提示", MessageIcon::Information);
  }
  StopScrollingIfRunning();
  SettleSlide();
  UseScript(conversion, ScriptConverter::Open(conversion));
  // The rows are those of the book as read, whatever the script: only the page is drawn anew.
  TakePageIndex();
  ShowPage(CurrentPage);
  PlaceSurfacesAtRest(CurrentPage);
  UpdatePageLabel();
}

std::u16string frmMain::ShownText(std::int32_t line, std::int32_t offset,
                                  std::int32_t length) const {
  if (line < 0 || line >= BookLines.Count() || length <= 0 || offset < 0) return {};
  if (converted_) return converted_->Span(BookLines, line, offset, length);
  const std::u16string_view text = BookLines.Line(line);
  if (static_cast<std::size_t>(offset) >= text.size()) return {};
  return std::u16string(
      text.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length)));
}

std::u16string frmMain::ShownText(std::u16string_view text) const {
  return converted_ ? converted_->Converter().Convert(text) : std::u16string(text);
}

std::vector<Bookmark> frmMain::BookMarks() const {
  const std::optional<std::string> bytes =
      files::ReadWholeFile(BookmarksFilePath(platform_.program.Directory()));
  return bytes ? BookmarksOf(*bytes, strBookPath) : std::vector<Bookmark>{};
}

void frmMain::AddBookmark() {
  if (OnCover() || PageCount <= 0) return;
  StopScrollingIfRunning();
  SettleSlide();
  const std::u16string directory = platform_.program.Directory();
  const std::u16string file = BookmarksFilePath(directory);
  const std::optional<std::string> bytes = files::ReadWholeFile(file);
  if (!bytes && files::FileExists(file)) {
    platform_.dialogs.MessageBox(kMarksUnreadable, u"书签", MessageIcon::Information);
    return;
  }
  std::vector<Bookmark> marks = BookmarksOf(bytes.value_or(std::string()), strBookPath);
  const std::int32_t page = PageInView();
  for (const Bookmark& mark : marks) {
    const BookPlace place = WithinBook(mark.Place);
    if (PageOfPlace(place.Line, place.Offset) == page) {
      platform_.dialogs.MessageBox(u"这一页已经有书签了。", u"书签", MessageIcon::Information);
      return;
    }
  }
  if (!IsStorablePath(strBookPath)) {
    platform_.dialogs.MessageBox(u"这本书的文件名中含有引号或换行符，Quillon 无法为它保存书签。",
                                 u"书签", MessageIcon::Information);
    return;
  }
  marks.push_back({PlaceInView(), platform_.clock.Now()});
  MakeBookmarkDirectory(directory);
  if (!files::ReplaceFile(file, WithBookmarks(bytes.value_or(std::string()), strBookPath, marks))) {
    platform_.dialogs.MessageBox(u"Quillon 无法在程序所在的文件夹中保存书签，这个书签没有加上。",
                                 u"书签", MessageIcon::Information);
    return;
  }
  platform_.dialogs.MessageBox(
      u"已在第 " + DecimalText(std::int64_t{page} + 1) + u" 页加了书签。按 Ctrl+B 查看本书的书签。",
      u"书签", MessageIcon::Information);
}

bool frmMain::RemoveBookmark(const Bookmark& mark) {
  const std::u16string file = BookmarksFilePath(platform_.program.Directory());
  const std::optional<std::string> bytes = files::ReadWholeFile(file);
  if (!bytes) {
    if (files::FileExists(file)) {
      platform_.dialogs.MessageBox(kMarksUnreadable, u"书签", MessageIcon::Information);
    }
    return false;
  }
  std::vector<Bookmark> marks = BookmarksOf(*bytes, strBookPath);
  marks.erase(std::remove(marks.begin(), marks.end(), mark), marks.end());
  if (!files::ReplaceFile(file, WithBookmarks(*bytes, strBookPath, marks))) {
    platform_.dialogs.MessageBox(u"Quillon 无法改写书签文件 Bookmark/Bookmarks.dat，这个书签还在。",
                                 u"书签", MessageIcon::Information);
    return false;
  }
  return true;
}

void frmMain::ShowBookmarks() {
  if (OnCover()) return;
  StopScrollingIfRunning();
  SettleSlide();
  frmBookmarks marks(platform_, *this);
  marks.ShowModal();
}

}  // namespace quillon
