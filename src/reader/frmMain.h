#pragma once
// The reader window: the cover with its menu, the toolbar, and the two page surfaces that show a
// book one page at a time.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "book/book_file.h"
#include "book/book_rows.h"
#include "book/book_search.h"
#include "book/book_text.h"
#include "book/chapters.h"
#include "book/script_convert.h"
#include "book/sentences.h"
#include "platform/datetime.h"
#include "platform/platform.h"
#include "platform/ui/kit.h"
#include "reader/book_prefetch.h"
#include "records/bookmarks.h"
#include "settings/pub_variables.h"
#include "speech/speech_settings.h"

namespace quillon {

class frmAbout;

class frmMain : public ui::Form {
 public:
  frmMain(Platform& platform, mPubVariable& pub);
  ~frmMain() override;

  // The cover: title and menu column over the cover picture.
  ui::Label lblName{this, "lblName"};
  ui::Label lblOpen{this, "lblOpen"};
  ui::Label lblLastRead{this, "lblLastRead"};
  ui::Label lblHistory{this, "lblHistory"};
  ui::Label lblSet{this, "lblSet"};
  ui::Label lblExit{this, "lblExit"};
  ui::Label lblHelp{this, "lblHelp"};

  // The two page surfaces; even pages are shown on element 0, odd pages on element 1.
  ui::ControlArray<ui::PictureBox> MainPage{*this, "MainPage", {0, 1}};
  ui::ControlArray<ui::Label> lblRow1{MainPage[0], "lblRow1", {0}};
  ui::Label lblInfor1{&MainPage[0], "lblInfor1"};
  ui::ControlArray<ui::Label> lblRow2{MainPage[1], "lblRow2", {0}};
  ui::Label lblInfor2{&MainPage[1], "lblInfor2"};

  // The page-turn and scroll operations that the keys and the toolbar trigger.
  ui::CommandButton cmdBack{this, "cmdBack"};
  ui::CommandButton cmdNext{this, "cmdNext"};
  ui::CommandButton cmdScrollScreen{this, "cmdScrollScreen"};

  // Last, so that it stays above the surfaces when they scroll up under it.
  ui::Toolbar Toolbar{this, "Toolbar"};
  ui::PictureBox PicPage{&Toolbar, "PicPage"};
  ui::Shape shpBar{&PicPage, "shpBar"};
  ui::Shape shpPanel{&PicPage, "shpPanel"};
  ui::Label lblPage{&PicPage, "lblPage"};

  ui::Timer tmrTime{this, "tmrTime", 0};
  ui::Timer tmrPage{this, "tmrPage", 20};
  ui::Timer tmrScrollScr{this, "tmrScrollScr", 20};
  // While a sentence is read aloud: a service that never says it is done is given up on.
  ui::Timer tmrSpeech{this, "tmrSpeech", 1000};

  ui::ImageList ImageList;
  ui::CommonDialog cdlg;

  // Screen and reading-time state.
  std::int16_t ScreenWidthPx = 0;
  std::int16_t ScreenHeightPx = 0;
  std::u16string ScreenMode;
  DateTime ReadStart;

  // Row metrics of the current layout; 0 until the first lookup.
  std::int16_t PageRows = 0;
  std::int16_t RowChars = 0;

  // The open book. Right after opening, CurrentPage holds the page number shown (index 0 is
  // number 1) and FirstTurnPending says so; otherwise it is the index of the page shown.
  std::u16string strBookName;
  std::u16string strBookPath;
  float BookPrePercent = 0.0f;
  BookText BookLines;
  std::int32_t LineCount = 0;
  // The encoding the book was read in, and whether the user chose it rather than detection.
  BookEncoding BookEncodingInUse = BookEncoding::Gb18030;
  bool BookEncodingChosen = false;
  // The script the book is shown in (简繁转换), chosen per book.
  ScriptConversion BookScript = ScriptConversion::None;
  RowTable BookRows;
  std::int32_t RowCount = 0;
  std::int32_t PageCount = 0;
  std::int32_t NormalPageCount = 0;
  std::int32_t CurrentPage = 0;
  bool FirstTurnPending = false;
  bool TurnBackward = false;
  std::int32_t ReadSeconds = 0;

  // The open book's chapters, found once when it was read.
  std::vector<Chapter> BookChapters;
  // The phrase searched for last, which F3 looks for again, in whichever book is open.
  std::u16string LastSearch;
  // The hit marked on the page in view; drawing another page takes the mark away.
  std::optional<SearchHit> MarkedHit;

  // Auto-scroll: on while the surfaces rise; each surface advances the book once per pass.
  bool ScrollActive = false;
  bool ScrollAdvanced[2] = {false, false};

  // A cover label is drawn as a link under the mouse, with the hand cursor.
  bool MenuHighlighted = false;

  // Reading aloud (朗读): the sentence being read is marked on its page, and the page that holds
  // the next one is shown when it comes.
  enum class Reading { Off, Speaking, Paused };
  Reading ReadingAloud = Reading::Off;
  std::optional<Sentence> SpokenSentence;

  void Form_Load();
  void lblOpen_Click();
  // Opens a book named from outside the window (the command line, a drop): one in the reading
  // history at its stored progress, any other at its first page as 打开书目 does.
  bool OpenBook(const std::u16string& path);
  // A book already being read (the one named on the command line); the open that asks for it
  // in the same encoding takes it rather than reading it again.
  void TakePrefetch(std::unique_ptr<BookPrefetch> prefetch) { prefetch_ = std::move(prefetch); }
  // The book to open as the window loads, if it has been read (or its first lines have) by
  // then: the window then shows its page from the start rather than the cover first.
  void OpenOnLoad(const std::u16string& path) { openOnLoad_ = path; }
  // Whether that book was opened as the window loaded.
  bool OpenedOnLoad() const { return openedOnLoad_; }
  // A page shown from the book's first lines while the rest is read: waits for the rest, painting
  // but taking no input meanwhile, and takes it in. Nothing to do otherwise.
  void FinishOpening();
  // Whether the book open is still only its first lines.
  bool OpeningUnfinished() const { return rest_ != nullptr; }
  // The first of several files dropped is opened.
  void Form_DropFiles(const std::vector<std::u16string>& paths);
  // A right click on the page pops up its menu.
  void Page_MouseUp(ui::MouseButton button);
  ui::Menu PageMenu();
  // Reads the open book again in `encoding` (nullopt: detected) at the same place, and keeps
  // the choice for the next time the book is opened.
  void ChooseEncoding(std::optional<BookEncoding> encoding);
  // Shows the open book in another script (or as it is written) from the page in view on, and
  // keeps the choice for the book.
  void ChooseScript(ScriptConversion conversion);
  // Text of the book as it is shown: converted when the book is shown in the other script, with
  // every character where the book has one.
  std::u16string ShownText(std::int32_t line, std::int32_t offset, std::int32_t length) const;
  // A text that is not the book's (a chapter title) as the book is shown.
  std::u16string ShownText(std::u16string_view text) const;
  // 添加书签 (Ctrl+D): marks the place in view, unless its page has a mark already.
  void AddBookmark();
  // 书签 (Ctrl+B): the book's marks, to go to or to remove.
  void ShowBookmarks();
  // F5, and 朗读 / 暂停朗读 / 继续朗读 in the page menu: starts reading aloud at the first sentence
  // that begins on the page in view, pauses, or goes on.
  void ToggleReading();
  // Esc and 停止朗读: the place kept is the sentence that was being read.
  void StopReading();
  // 朗读设置.
  void ShowSpeechSettings();
  void tmrSpeech_Timer();
  // The open book's marks, in book order; and one taken away again. False, after telling the user,
  // when the marks file could not be written (or read, and so is not written over).
  std::vector<Bookmark> BookMarks() const;
  bool RemoveBookmark(const Bookmark& mark);
  void tmrTime_Timer();
  void cmdBack_Click();
  void cmdNext_Click();
  void MainPage_KeyDown(int index, int keyCode, int shift);
  void MainPage_KeyPress(int index, int keyAscii);
  void tmrPage_Timer();
  void tmrScrollScr_Timer();
  void Toolbar_ButtonClick(ui::ToolbarButton& button);

  // 目录 (Ctrl+T) and 查找 (Ctrl+F), from the page menu or the keys; modal windows.
  void ShowChapterList();
  void ShowSearch();
  enum class FindResult { Shown, NoMore, NotFound };
  // Shows and marks the hit of `phrase` after the marked one (before it, `backward`), or from the
  // start of the page in view when nothing is marked or the phrase is new; it becomes LastSearch.
  FindResult FindHit(const std::u16string& phrase, bool backward);
  // F3 and Shift+F3: FindHit with the last phrase, telling the user when there is none.
  void FindAgain(bool backward);
  // Shows the page that holds `hit` at rest and marks the hit on it.
  void ShowHit(const SearchHit& hit);
  // Shows page index `page` at rest, label and bar following, as a jump does.
  void ShowPageAtRest(std::int32_t page);
  // The index of the page the user sees (right after opening CurrentPage holds its number).
  std::int32_t PageInView() const;
  // How far into the book page index `page` is, as the records store it.
  float FractionOfPage(std::int32_t page) const;
  std::int32_t PageOfPlace(std::int32_t line, std::int32_t offset) const;
  // The character the reader is at: the one a re-layout, a reopen, a chapter or a search hit went
  // to, while its page is in view; otherwise the first of the page in view. Every re-layout shows
  // the page that holds it, so no number of them moves the reader.
  BookPlace PlaceInView() const;
  // Shows the page that holds `place` at rest, as a jump does, and keeps the place.
  void ShowPlaceAtRest(BookPlace place);
  // The top and bottom of the marked text on the screen, in twips; nullopt without a mark.
  std::optional<std::pair<int, int>> MarkOnScreen() const;
  void lblLastRead_Click();
  void lblHistory_Click();
  // Shows the settings dialog modally.
  void lblSet_Click();
  void lblHelp_Click();
  void lblExit_Click();
  // The window closed by its frame, the desktop session or a termination signal: the book in
  // view is remembered as 退出阅读 would, then the program ends.
  void Form_QueryUnload();
  // What leaving saves, for the session's end, when the window may not get to close itself.
  void SaveBookInView();
  void Form_MouseMove();
  void CoverLabel_MouseMove(ui::Label& label);
  void lblRow_MouseMove(int surface, int index);

  // Writes the settings record to the settings file. False, after telling the user, when it could
  // not be written; the old file is then left as it was.
  bool SaveConfigure();

  // Starts auto-scroll when toolbar button 3 reads "滚屏", stops it otherwise.
  void ToggleScrollScreen();
  // Lays the window out again for its current size: the settings and metrics are read anew, the
  // book is re-wrapped and the page at the same reading fraction is shown.
  void FullScreen(const bool& mode);
  // The window's size and place for the normal or the full-screen layout.
  void SetLayoutWindow(bool fullScreen);

  // Remembers the open book and its page in the last-read file and moves it to the top of the
  // history. False, after telling the user, when they could not be written.
  bool SaveLastRead();
  // Opens the book at `path` at the fraction `percent` of its pages; what the history window
  // does. When the book cannot be read nothing changes.
  bool LoadHistoryRecord(const std::u16string& path, float percent);
  // The same from the public strBookPath and BookPrePercent, set by the caller.
  bool LoadHistoryRecord();
  void LoadReadRecords();

  // Reads the book at `path` into BookLines. When it cannot be read the user is told and nothing
  // changes, so every way of opening a book can simply stop. `shownAt`: the place whose page is
  // shown first; when its page lies in a large book's first lines, they are taken on their own
  // and the rest is read behind the page (FinishOpening).
  bool LoadBookText(const std::u16string& path, std::optional<BookPlace> shownAt = std::nullopt);
  void WrapRows();
  // Draws page index `page` on the surface of its parity; pages that do not exist draw empty.
  void ShowPage(std::int32_t page);
  void UpdatePageLabel();
  void ShowBookInfo();

  // Tests the screen, loads the settings and lays the window out. False when the screen was
  // refused and the program is ending; the caller then stops too.
  bool SetupScreen();
  void QuillonConfigInit(const bool& fullScreenMode);

 private:
  // The cover is in view: no page is shown and the toolbar is hidden.
  bool OnCover() const { return !Toolbar.Visible; }
  // Ends the state right after an open or a re-layout, in which CurrentPage holds the number of
  // the page in view: from here on it is the page's index.
  void TakePageIndex();
  // A slide that is still running ends at once, with the page coming in at rest in view, so that
  // a command that moves the surfaces starts from a page at rest.
  void SettleSlide();
  void DesignCover();
  void DesignSurfaces();
  void DesignToolbar();
  void LayOutSurface(ui::PictureBox& surface, ui::ControlArray<ui::Label>& rows, ui::Label& info);
  ui::PicturePtr LoadDataPicture(const std::u16string& relativePath);
  void SizeProgressBar();
  // The surface of page index `page` shown and the other parked, without a slide.
  void PlaceSurfacesAtRest(std::int32_t page);
  void StartScrolling();
  void StopScrolling();
  // Takes the book just read into BookLines as the open book: name, caption, rows and pages.
  void TakeOpenedBook(const std::u16string& path);
  // Reads the book and shows its first page, as 打开书目 does once a file is chosen.
  bool OpenAtFirstPage(const std::u16string& path);
  // The rows of the normal layout, in which the records keep their pages.
  std::optional<WrapMetrics> NormalMetrics() const;
  // Shows page index `page` (kept within the book) after a reopen, sliding its surface in.
  void ShowReopenedPage(std::int32_t page);
  // The book at `path` read again: at its kept place when the book is the file it was kept for,
  // otherwise at `place` if given, otherwise at the fraction `percent` of its pages.
  bool Reopen(const std::u16string& path, std::optional<BookPlace> place, float percent);
  std::optional<BookPlace> StoredPlace(const std::u16string& path) const;
  // Keeps where the reader is in Places.dat, for the books of the history and the last-read one.
  void StorePlace(BookPlace place);
  // A place of the book as it is now read: within its lines.
  BookPlace WithinBook(BookPlace place) const;
  void JumpToPage();
  void StopScrollingIfRunning();
  void MarkHit(const SearchHit& hit);
  // Marks that stretch of the book where the page in view shows it.
  void MarkSpan(const SearchHit& span);
  void ClearSearchMark();
  void ClearMarks();

  Platform& platform_;
  mPubVariable& pub_;
  bool settingsRead_ = false;
  // The settings file exists but could not be read: it is never written over.
  bool settingsUnreadable_ = false;
  bool historyUnreadableTold_ = false;
  std::unique_ptr<frmAbout> about_;
  // The place a re-layout, a reopen, a chapter or a search went to (see PlaceInView).
  std::optional<BookPlace> keptPlace_;
  // In the full-screen layout, the rows the book has in the normal one.
  RowTable normalRows_;
  std::unique_ptr<BookPrefetch> prefetch_;
  std::optional<std::u16string> openOnLoad_;
  bool openingOnLoad_ = false;
  bool openedOnLoad_ = false;
  // The page box's text for page number `number`.
  std::u16string PageBoxText(std::int64_t number) const;
  // The read of the rest of a book shown from its first lines.
  std::shared_ptr<BookPrefetch> rest_;
  // Waits for the rest of the book, blocking, and takes it in; a rest that could not be read
  // takes the book away, to the cover, after telling why. False then.
  bool TakeRest();
  // The whole book taken from the rest's read.
  void TakeWholeBook(BookFile book, RowTable rows, std::vector<Chapter> chapters);
  // The cover in view, the book's pages parked and the toolbar hidden; the book stays open.
  void ShowCover();
  // Back to the cover with no book open, as the program starts.
  void DropBook();
  // BookRows were wrapped as the book was read, and the layout has not changed since.
  bool rowsOfReadBook_ = false;
  // The open book's text in the other script, as far as it has been shown.
  std::unique_ptr<ConvertedBook> converted_;
  void ReadFromPageInView();
  void ReadSentence(const Sentence& sentence);
  void Speech_Said();
  void Speech_Failed(const std::u16string& why);
  // A page turned or jumped to by the user while reading: the reading goes on from there.
  void FollowReading();
  void MarkSentence();
  // When reading began, for the sleep timer, and when the sentence being read began.
  DateTime readingStarted_;
  DateTime sentenceStarted_;
  SpeechChoices speechChoices_;
  bool speechChoicesRead_ = false;
  // Configure/Speech.dat, read when first needed.
  void ReadSpeechChoices();
  // The reading itself turns the page: that is no move of the user's.
  bool turningForSpeech_ = false;
  // Shows the book in `conversion` through `converter` (opened for it, or null when the
  // dictionaries are missing, which the user is told).
  void UseScript(ScriptConversion conversion, std::unique_ptr<ScriptConverter> converter);
};

}  // namespace quillon
