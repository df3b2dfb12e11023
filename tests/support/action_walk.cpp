#include "support/action_walk.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>

#include "book/book_rows.h"
#include "book/script_convert.h"
#include "bookmarks/frmBookmarks.h"
#include "chapters/frmChapters.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/rounding.h"
#include "reader/frmMain.h"
#include "records/frmReadRecord.h"
#include "records/last_read.h"
#include "records/reading_history.h"
#include "search/frmSearch.h"
#include "settings/frmSet.h"
#include "settings/row_metrics.h"
#include "speech/frmSpeech.h"
#include "support/fake_platform.h"

namespace quillon::fake {

namespace {

enum Kind : std::uint8_t {
  kOpenBook,
  kLastRead,
  kHistory,
  kSettings,
  kToolbar,
  kPageKey,
  kSpace,
  kJump,
  kSlideTicks,
  kScrollTicks,
  kClock,
  kHover,
  kCoverExit,
  kDrop,
  kPageMenu,
  kChapters,
  kSearch,
  kFindKey,
  kHistoryEdit,
  kCloseWindow,
  kBookmark,
  kBookmarks,
  kScript,
  kReadAloud,
  kSpeechEvent,
  kSpeechSettings,
  kKindCount
};

const char* const kKindNames[kKindCount] = {
    "open a book", "上次阅读",    "历史阅读 row", "settings",     "toolbar",
    "page key",    "Space",       "jump",         "slide ticks",  "scroll ticks",
    "clock",       "hover a row", "合上书本",     "drop files",   "page menu",
    "目录",        "查找",        "F3",           "history edit", "close the window",
    "添加书签",    "书签",        "简繁转换",     "F5",           "speech event",
    "朗读设置"};

// Phrases to look for: found in one walk book or another, across rows and pages, in the other
// width, or nowhere.
const char16_t* const kPhrases[] = {u"字", u"第1", u"１２", u"尾声", u"一页的书", u"宝玉", u"行者",
                                    u"范进", u"第十章", u"丁丂七丄丅", u"不会有的词",
                                    // Longer than a row: a hit spans two.
                                    (u"字字字字字字字字字字字字字字字字字字字字字字"
                                     u"字字字字字字字字字字字字字字字字字字字字字字字")};

// The toolbar buttons a user presses besides 设置 and 跳转, which have actions of their own.
const int kToolbarButtons[] = {1, 3, 4, 6, 7, 11};
const int kPageKeys[] = {ui::keys::PageUp, ui::keys::Left, ui::keys::Up,  ui::keys::PageDown,
                         ui::keys::Right,  ui::keys::Down, ui::keys::Home};

std::u16string Utf16(const std::string& text) {
  return codepage::DecodeUtf8(text);
}

std::string Utf8(const std::u16string& text) {
  return codepage::EncodeUtf8(text);
}

// Books small enough to open often, each with something of its own.
std::vector<std::u16string> WriteWalkBooks(const TempDir& folder) {
  std::u16string pages, longParagraph = u"长段落开始", shortBook;
  for (int row = 0; row < 80; ++row) {
    pages += u"第" + Utf16(std::to_string(row)) + u"行" +
             std::u16string(static_cast<std::size_t>(row * 7 % 60), u'字') + u"\r\n";
  }
  for (int i = 0; i < 4000; ++i) longParagraph += static_cast<char16_t>(u'一' + i % 500);
  longParagraph += u"\r\n\r\n尾声\r\n";
  for (int row = 0; row < 6; ++row) shortBook += u"一页的书\r\n";
  std::u16string chapters = u"前言\r\n这是一本分了章的书。\r\n";
  for (int chapter = 1; chapter <= 30; ++chapter) {
    chapters += u"第" + Utf16(std::to_string(chapter)) + u"章　宝玉的第" +
                Utf16(std::to_string(chapter)) + u"天\r\n";
    for (int line = 0; line < chapter % 4 + 1; ++line) {
      for (int i = 0; i < chapter % 7 + 1; ++i) chapters += u"宝玉看书，";
      chapters += std::u16string(static_cast<std::size_t>(chapter * 11 % 90), u'文') + u"\r\n";
    }
  }
  std::vector<std::u16string> books;
  for (const auto& [name, text] : std::vector<std::pair<std::string, std::u16string>>{
           {"books/多页.txt", pages},
           {"books/长段落.txt", longParagraph},
           {"books/一页.txt", shortBook},
           {"books/空.txt", u""},
           {"books/名字[*]带星.txt", shortBook + pages},
           {"books/章回.txt", chapters}}) {
    books.push_back(Utf16(folder.Write(name, codepage::EncodeGb18030(text))));
  }
  books.push_back(Utf16(folder.path() + "/books/不存在.txt"));
  return books;
}

// The reader only reads books, so every walk of the process shares one copy of them: writing
// them anew took longer than many a short walk.
const std::vector<std::u16string>& WalkBooks() {
  static const TempDir folder;
  static const std::vector<std::u16string> books = WriteWalkBooks(folder);
  return books;
}

// Equal text, compared as bytes: the character loop of string equality, instrumented for the
// fuzzer, took a fifth of the check.
bool SameText(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0);
}

class Walk {
 public:
  explicit Walk(const WalkOptions& options) {
    fake_.screen.SetPixels(options.ScreenWidth, options.ScreenHeight);
    books_ = WalkBooks();
    for (const std::string& book : options.ExtraBooks) books_.push_back(Utf16(book));
    Start();
  }

  std::optional<std::string> Step(const WalkAction& action) {
    try {
      Do(action);
    } catch (const std::exception& error) {
      return std::string("an exception escaped: ") + error.what();
    }
    fake_.dialogs.openAnswers.clear();
    fake_.dialogs.inputAnswers.clear();
    fake_.dialogs.colorAnswers.clear();
    fake_.forms.onModal = nullptr;
    fake_.forms.onPopup = nullptr;
    if (std::optional<std::string> failure = CheckRecord()) return failure;
    if (expectation_) {
      const auto expectation = std::move(expectation_);
      expectation_ = nullptr;
      if (std::optional<std::string> failure = expectation()) return failure;
    }
    if (!reader_->IsLoaded()) Start();  // the program ended; the user starts it again
    return Check();
  }

 private:
  void Start() {
    reader_.reset();
    pub_ = std::make_unique<mPubVariable>();
    reader_ = std::make_unique<frmMain>(fake_.platform, *pub_);
    reader_->Show();
  }

  bool Reading() const { return reader_->Toolbar.Visible; }

  void Do(const WalkAction& action) {
    frmMain& r = *reader_;
    const int arg = action.Argument;
    expectedRecord_.reset();
    expectation_ = nullptr;
    switch (action.Kind % kKindCount) {
      case kOpenBook:
        if (Reading()) return;
        if (arg % (books_.size() + 1) < books_.size()) {
          fake_.dialogs.openAnswers.push_back(books_[arg % (books_.size() + 1)]);
        }
        r.lblOpen.Click();
        return;
      case kLastRead:
        if (!Reading()) r.lblLastRead.Click();
        return;
      case kHistory:
        if (Reading()) return;
        fake_.forms.onModal = [arg](ui::Form& form) {
          auto& history = dynamic_cast<frmReadRecord&>(form);
          if (arg % 21 < 20) history.lblRead[arg % 21].Click();
          if (history.IsLoaded()) history.CloseFromFrame();
        };
        r.lblHistory.Click();
        return;
      case kSettings:
        fake_.forms.onModal = [arg](ui::Form& form) {
          WorkSettings(dynamic_cast<frmSet&>(form), arg);
        };
        if (Reading()) {
          ExpectSamePlace();
          r.Toolbar.ButtonClick(2);
        } else {
          r.lblSet.Click();
        }
        return;
      case kToolbar: {
        const int button = kToolbarButtons[arg % std::size(kToolbarButtons)];
        if ((button == 1 || button == 11) && Reading()) ExpectRecord();
        if (button == 4 && Reading()) ExpectSamePlace();
        r.Toolbar.ButtonClick(button);
        return;
      }
      case kPageKey:
        r.MainPage[arg & 1].KeyDown(kPageKeys[(arg >> 1) % std::size(kPageKeys)], 0);
        return;
      case kSpace:
        r.MainPage[arg & 1].KeyDown(ui::keys::Space, 0);
        r.MainPage[arg & 1].KeyPress(ui::keys::Space);
        return;
      case kJump: {
        const std::int32_t pages = r.PageCount;
        const std::optional<std::u16string> answers[] = {
            Utf16(std::to_string(1 + (pages > 0 ? arg % pages : 0))),
            Utf16(std::to_string(pages)),
            u"0",
            Utf16(std::to_string(pages + 1)),
            u"第三页",
            std::nullopt};
        fake_.dialogs.inputAnswers.push_back(answers[arg % std::size(answers)]);
        r.Toolbar.ButtonClick(9);
        return;
      }
      case kSlideTicks:
        for (int tick = 0; tick <= arg % 8; ++tick) r.tmrPage.Tick();
        return;
      case kScrollTicks:
        if (arg & 1) {
          // On to the very tick in which the upper surface goes round to the bottom, where a
          // stop has to tell which page is in view.
          for (int tick = 0; tick < 2000 && r.tmrScrollScr.Enabled; ++tick) {
            const int tops[2] = {r.MainPage[0].Top, r.MainPage[1].Top};
            r.tmrScrollScr.Tick();
            if (r.MainPage[0].Top > tops[0] || r.MainPage[1].Top > tops[1]) break;
          }
          return;
        }
        // A page passes under the toolbar in some 900 ticks.
        for (int tick = 0; tick < (arg / 2 + 1) * 16; ++tick) r.tmrScrollScr.Tick();
        return;
      case kClock:
        fake_.clock.Advance(arg);
        r.tmrTime.Tick();
        return;
      case kHover: {
        ui::ControlArray<ui::Label>& rows = arg & 1 ? r.lblRow2 : r.lblRow1;
        const int index = (arg >> 1) % (rows.UBound() + 1);
        if (rows.Exists(index)) rows[index].MouseMove(ui::MouseButton::None, 0, 10, 10);
        return;
      }
      case kCoverExit:
        if (!Reading()) r.lblExit.Click();
        return;
      case kCloseWindow:
        // The close button, or the session ending: the book in view is saved as 退出阅读 saves.
        if (Reading()) ExpectRecord();
        r.CloseFromFrame();
        return;
      case kDrop:
        r.Form_DropFiles({books_[arg % books_.size()], books_[(arg + 1) % books_.size()]});
        return;
      case kPageMenu:
        // A right click on a row of either surface; any command of the menu, sub-menus opened.
        fake_.forms.onPopup = [arg](const ui::Menu& menu) {
          std::vector<const ui::MenuItem*> commands;
          std::function<void(const std::vector<ui::MenuItem>&)> collect =
              [&](const std::vector<ui::MenuItem>& items) {
                for (const ui::MenuItem& item : items) {
                  if (!item.Items.empty()) collect(item.Items);
                  if (item.Items.empty() && item.onClick && item.Enabled) commands.push_back(&item);
                }
              };
          collect(menu.Items);
          if (!commands.empty()) commands[(arg >> 1) % commands.size()]->onClick();
        };
        (arg & 1 ? r.lblRow2 : r.lblRow1)[0].MouseUp(ui::MouseButton::Right, 0, 10, 10);
        return;
      case kChapters:
        fake_.forms.onModal = [this, arg](ui::Form& form) {
          WorkChapters(dynamic_cast<frmChapters&>(form), arg);
        };
        if (arg & 2) {
          r.MainPage[arg & 1].KeyDown('T', 2);
        } else {
          r.ShowChapterList();  // the page menu's 目录
        }
        return;
      case kSearch:
        fake_.forms.onModal = [this, arg](ui::Form& form) {
          WorkSearch(dynamic_cast<frmSearch&>(form), arg);
        };
        r.MainPage[arg & 1].KeyDown('F', 2);
        return;
      case kFindKey:
        // Without a phrase yet, F3 opens the search window.
        fake_.forms.onModal = [this, arg](ui::Form& form) {
          WorkSearch(dynamic_cast<frmSearch&>(form), arg);
        };
        r.MainPage[arg & 1].KeyDown(ui::keys::F3, (arg >> 1) & 1);
        return;
      case kHistoryEdit:
        if (Reading()) return;
        fake_.forms.onModal = [this, arg](ui::Form& form) {
          WorkHistory(dynamic_cast<frmReadRecord&>(form), arg);
        };
        r.lblHistory.Click();
        return;
      case kBookmark: {
        // The page menu's command, or Ctrl+D on the page in view (or coming into view), which has
        // the keyboard once any of it shows.
        ui::PictureBox& surface = r.MainPage[std::max(r.PageInView(), 0) % 2];
        if (Reading() && !r.ScrollActive && ((arg & 1) || surface.TakesInput())) {
          ExpectMarkInView();
        }
        if (arg & 1) {
          r.AddBookmark();
        } else {
          surface.KeyDown('D', 2);
        }
        return;
      }
      case kBookmarks:
        fake_.forms.onModal = [this, arg](ui::Form& form) {
          WorkBookmarks(dynamic_cast<frmBookmarks&>(form), arg);
        };
        r.MainPage[arg & 1].KeyDown('B', 2);
        return;
      case kScript:
        if (Reading()) ExpectSamePlace();
        r.ChooseScript(static_cast<ScriptConversion>(arg % 3));
        return;
      case kReadAloud: {
        // F5 on the page in view, Esc there, or the menu's commands.
        ui::PictureBox& surface = r.MainPage[std::max(r.PageInView(), 0) % 2];
        switch (arg % 4) {
          case 0:
            surface.KeyDown(ui::keys::F5, 0);
            break;
          case 1:
            surface.KeyDown(ui::keys::Escape, 0);
            break;
          case 2:
            r.ToggleReading();
            break;
          default:
            r.StopReading();
            break;
        }
        return;
      }
      case kSpeechEvent:
        // The service says sentences, fails, or says nothing for a long while.
        if (arg % 8 == 0) {
          fake_.speech.Fail(u"朗读服务不见了。");
        } else if (arg % 8 == 1) {
          fake_.clock.Advance(arg * 2);
          r.tmrSpeech.Tick();
        } else {
          for (int sentence = 0; sentence < arg % 8; ++sentence) fake_.speech.Finish();
        }
        return;
      case kSpeechSettings:
        fake_.forms.onModal = [arg](ui::Form& form) {
          auto& settings = dynamic_cast<frmSpeech&>(form);
          settings.cboVoice.ListIndex = arg % settings.cboVoice.ListCount();
          settings.hsbRate.Value = arg % 21 - 10;
          settings.cboSleep.ListIndex = arg / 21 % settings.cboSleep.ListCount();
          if (arg & 1) {
            settings.cmdOK.Click();
          } else {
            settings.cmdCancel.Click();
          }
        };
        r.ShowSpeechSettings();
        return;
      default:
        return;
    }
  }

  // A mark added (or one there already) on the page in view, in the marks file.
  void ExpectMarkInView() {
    const frmMain& r = *reader_;
    if (r.PageCount <= 0 || !IsStorable(r.strBookPath)) return;
    expectation_ = [this]() -> std::optional<std::string> {
      const frmMain& r = *reader_;
      const std::optional<std::int32_t> page = PageInView();
      if (!page) return std::nullopt;
      for (const Bookmark& mark : r.BookMarks()) {
        if (r.PageOfPlace(mark.Place.Line, mark.Place.Offset) == *page) return std::nullopt;
      }
      return "添加书签 left no mark on the page in view, " + std::to_string(*page + 1);
    };
  }

  // A mark chosen by a double-click or Enter (its page must then be in view), one removed by Delete
  // or the list's menu (the file must then be without it), or the window closed.
  void WorkBookmarks(frmBookmarks& window, int arg) {
    const std::vector<Bookmark> marks = window.Marks();
    if (marks.size() != reader_->BookMarks().size()) {
      expectation_ = [] { return std::string("the bookmark list does not list every mark"); };
    }
    if (!marks.empty()) {
      const int entry = arg / 4 % static_cast<int>(marks.size());
      window.lstMarks.ListIndex = entry;
      const Bookmark mark = marks[static_cast<std::size_t>(entry)];
      switch (arg % 4) {
        case 0:
          window.lstMarks.Choose(entry);
          expectation_ = [this, mark]() -> std::optional<std::string> {
            const std::optional<std::int32_t> page = PageInView();
            if (!page || reader_->PageOfPlace(mark.Place.Line, mark.Place.Offset) != *page) {
              return "the page of a chosen bookmark is not in view";
            }
            return std::nullopt;
          };
          break;
        case 1:
        case 2:
          if (arg % 4 == 1) {
            window.lstMarks.KeyDown(ui::keys::Delete, 0);
          } else {
            fake_.forms.onPopup = [](const ui::Menu& menu) { menu.Items.at(0).onClick(); };
            window.lstMarks.MouseUp(ui::MouseButton::Right, 0, 10, 10);
          }
          expectation_ = [this, mark, count = marks.size()]() -> std::optional<std::string> {
            const std::vector<Bookmark> left = reader_->BookMarks();
            if (left.size() + 1 != count ||
                std::find(left.begin(), left.end(), mark) != left.end()) {
              return "a bookmark removed from the list is still in the file";
            }
            return std::nullopt;
          };
          break;
        default:
          window.lstMarks.KeyDown(ui::keys::Escape, 0);
          break;
      }
    }
    if (window.IsLoaded()) window.CloseFromFrame();
  }

  // An entry chosen by a double-click or by Enter, or one moved to and the window closed; the
  // chapter's heading must then be on the page in view.
  void WorkChapters(frmChapters& window, int arg) {
    ui::ListBox& list = window.lstChapters;
    const int count = list.ListCount();
    const std::vector<Chapter>& chapters = reader_->BookChapters;
    if (count != static_cast<int>(chapters.size()) && list.Visible) {
      expectation_ = [] { return std::string("the chapter list does not list every chapter"); };
      return;
    }
    if (count > 0) {
      const int entry = (arg * 37 + arg / 4) % count;
      const Chapter& chapter = chapters[static_cast<std::size_t>(entry)];
      // The heading as the page shows it, not as it is listed.
      const std::u16string title(
          reader_->BookLines.Line(chapter.Line).substr(chapter.TitleFrom(), chapter.TitleLength()));
      const int way = arg / 4 % 4;
      if (way == 0) {
        list.Choose(entry);
      } else if (way == 1) {
        list.ListIndex = entry;
        list.Choose(list.ListIndex);  // Enter
      } else if (way == 2) {
        list.ListIndex = entry;
        list.KeyDown(ui::keys::Escape, 0);
      }
      if (way <= 1) {
        if (window.IsLoaded()) {
          expectation_ = [] { return std::string("choosing a chapter left the list open"); };
        } else {
          expectation_ = [this, title] { return HeadingInView(title); };
        }
      }
    }
    if (window.IsLoaded()) window.CloseFromFrame();
  }

  std::optional<std::string> HeadingInView(const std::u16string& title) const {
    const frmMain& r = *reader_;
    const std::optional<std::int32_t> page = PageInView();
    if (!page) return "no page is in view after a chapter was chosen";
    std::u16string text;
    for (const std::u16string& row : r.BookRows.Rows(r.BookLines, *page * r.PageRows, r.PageRows)) {
      text += row;
    }
    const std::u16string start = title.substr(0, 8);
    if (text.find(start) == std::u16string::npos) {
      return "the page in view, " + std::to_string(*page + 1) + ", does not show the chapter " +
             Utf8(title);
    }
    return std::nullopt;
  }

  // A phrase typed (or the last one kept), then a few of: 下一个, 上一个, Enter or Shift+Enter in
  // the field, ticks of the listing, a hit chosen from the list, Escape.
  void WorkSearch(frmSearch& window, int arg) {
    std::mt19937 random(static_cast<std::uint32_t>(arg) * 2654435761u);
    if (random() % 4 != 0) window.txtFind.Text = kPhrases[random() % std::size(kPhrases)];
    for (int action = 0, actions = 1 + static_cast<int>(random() % 4);
         action < actions && window.IsLoaded(); ++action) {
      switch (random() % 6) {
        case 0:
          window.cmdNext.Click();
          break;
        case 1:
          window.cmdPrevious.Click();
          break;
        case 2:
          window.txtFind.KeyDown(ui::keys::Return, static_cast<int>(random() % 2));
          break;
        case 3:
          for (int tick = 0, ticks = static_cast<int>(random() % 5); tick < ticks; ++tick) {
            window.tmrSearch.Tick();
          }
          break;
        case 4:
          if (window.lstHits.ListCount() > 0) {
            window.lstHits.Choose(static_cast<int>(random() % window.lstHits.ListCount()));
          }
          break;
        default:
          window.txtFind.KeyDown(ui::keys::Escape, 0);
          break;
      }
    }
    if (window.IsLoaded()) window.CloseFromFrame();
  }

  // A right click on a record (or beside them) and 删除此记录 or 清空全部记录, answered either way;
  // the other records keep their order, the file its 20 lines, and the last-read record stays.
  void WorkHistory(frmReadRecord& window, int arg) {
    const int row = arg % (kHistorySize + 1);
    const bool clear = arg / (kHistorySize + 1) % 3 == 0;
    const bool yes = arg / (3 * (kHistorySize + 1)) % 2 == 0;
    std::vector<std::u16string> expected(pub_->ReadRecordPath.begin(), pub_->ReadRecordPath.end());
    if (clear && yes && !expected[0].empty()) {
      expected.assign(kHistorySize, u"");
    } else if (!clear && row < kHistorySize && !expected[static_cast<std::size_t>(row)].empty()) {
      expected.erase(expected.begin() + row);
      expected.push_back(u"");
    }
    if (clear) fake_.dialogs.askAnswers.push_back(yes);
    fake_.forms.onPopup = [clear](const ui::Menu& menu) {
      const ui::MenuItem& item = menu.Items.at(clear ? 1 : 0);
      if (item.Enabled) item.onClick();
    };
    const std::optional<std::string> lastRead =
        files::ReadWholeFile(LastReadFilePath(fake_.Directory()));
    ui::Control& cell =
        row < kHistorySize ? static_cast<ui::Control&>(window.lblBookName[row]) : window.Picture1;
    cell.MouseUp(ui::MouseButton::Right, 0, 10, 10);
    if (window.IsLoaded()) window.CloseFromFrame();
    expectation_ = [this, expected, lastRead]() -> std::optional<std::string> {
      fake_.dialogs.askAnswers.clear();
      if (files::ReadWholeFile(LastReadFilePath(fake_.Directory())) != lastRead) {
        return "editing the history changed the last-read record";
      }
      const std::optional<std::string> bytes =
          files::ReadWholeFile(HistoryFilePath(fake_.Directory()));
      if (!bytes || std::count(bytes->begin(), bytes->end(), '\n') != kHistorySize) {
        return "the history file is not 20 lines after an edit";
      }
      mPubVariable written;
      ParseHistoryFile(*bytes, written);
      if (!std::equal(expected.begin(), expected.end(), written.ReadRecordPath.begin())) {
        return "the history file does not hold the records left, in their order";
      }
      return std::nullopt;
    };
  }

  // A few changes to the settings, then OK, Cancel or the frame's close.
  static void WorkSettings(frmSet& dialog, int arg) {
    std::mt19937 random(static_cast<std::uint32_t>(arg));
    const auto pick = [&random](ui::ComboBox& list) {
      if (list.ListCount() > 0) {
        list.Pick(static_cast<int>(random() % static_cast<unsigned>(list.ListCount())));
      }
    };
    ui::CheckBox* const boxes[] = {&dialog.chkFontBold, &dialog.chkNotFlash, &dialog.chkPageActive,
                                   &dialog.chkAutoScroll};
    for (int change = 0, changes = 1 + arg % 3; change < changes; ++change) {
      const unsigned which = random() % 7;
      if (which == 0) {
        pick(dialog.cboFontSize);
      } else if (which == 1) {
        pick(dialog.cboFontName);
      } else if (which == 2) {
        dialog.optReadMode[static_cast<int>(random() % 6)].Value = true;
      } else {
        ui::CheckBox& box = *boxes[which - 3];
        box.Value = 1 - box.Value;
      }
    }
    switch (arg / 3 % 3) {
      case 0:
        dialog.cmdOK.Click();
        break;
      case 1:
        dialog.cmdCancel.Click();
        break;
      default:
        dialog.CloseFromFrame();
        break;
    }
  }

  // The page the user sees; while a page slides in, the one coming.
  std::optional<std::int32_t> PageInView() const {
    const frmMain& r = *reader_;
    if (r.ScrollActive || r.PageCount <= 0) return std::nullopt;
    return r.FirstTurnPending ? r.CurrentPage - 1 : r.CurrentPage;
  }

  // A re-layout (the layout switched, the settings applied) keeps the reader at the character
  // it was at, on whatever page holds it now.
  void ExpectSamePlace() {
    if (!PageInView()) return;
    const BookPlace place = reader_->PlaceInView();
    expectation_ = [this, place]() -> std::optional<std::string> {
      const frmMain& r = *reader_;
      if (!Reading() || r.ScrollActive || r.PageCount <= 0) return std::nullopt;
      const std::int32_t page = r.PageOfPlace(place.Line, place.Offset);
      if (r.PlaceInView() != place || page != *PageInView()) {
        return "a re-layout moved the reader from line " + std::to_string(place.Line) +
               ", character " + std::to_string(place.Offset) + " (page " +
               std::to_string(page + 1) + ") to page " + std::to_string(*PageInView() + 1);
      }
      return std::nullopt;
    };
  }

  // The record that leaving the book must write: the page in view, or in the full-screen layout
  // the page of the normal layout that holds the place, worked out here with a wrap of its own.
  void ExpectRecord() {
    const frmMain& r = *reader_;
    const std::optional<std::int32_t> page = PageInView();
    if (!page || !IsStorable(r.strBookPath)) return;
    const SettingsRecord& settings = pub_->ReaderSettings;
    std::int32_t stored = *page;
    if (pub_->FullScreenMode) {
      auto metrics = LookupRowMetrics(false, settings.FontSize, r.ScreenMode, settings.FontBold);
      if (!metrics) metrics = LookupRowMetrics(false, 10.5f, r.ScreenMode, settings.FontBold);
      if (!metrics) return;
      RowTable normal;
      normal.Wrap(r.BookLines,
                  WrapMetrics{metrics->RowChars, metrics->PageRows, pub_->IndentWidth});
      const BookPlace place = r.PlaceInView();
      stored = normal.PageOfPosition(r.BookLines, place.Line, place.Offset, metrics->PageRows);
    }
    expectedRecord_ = LastRead{r.strBookPath, stored};
    std::filesystem::remove(Utf8(LastReadFilePath(fake_.Directory())));
  }

  static bool IsStorable(const std::u16string& path) {
    return path.find_first_of(u"\"\r\n") == std::u16string::npos;
  }

  std::optional<std::string> CheckRecord() {
    if (!expectedRecord_) return std::nullopt;
    const auto bytes = files::ReadWholeFile(LastReadFilePath(fake_.Directory()));
    const std::optional<LastRead> record = bytes ? ParseLastReadFile(*bytes) : std::nullopt;
    if (!record) return "leaving the book wrote no last-read record";
    if (record->Path != expectedRecord_->Path || record->Page != expectedRecord_->Page) {
      return "the last-read record holds page " + std::to_string(record->Page) + " of " +
             Utf8(record->Path) + ", not the page in view, " +
             std::to_string(expectedRecord_->Page);
    }
    return std::nullopt;
  }

  // The chapters of the book read, found again only when its text is not the text they were
  // found in; the whole text is compared, so no change of book slips by.
  const std::vector<Chapter>& ChaptersOfBookRead() {
    const BookText& book = reader_->BookLines;
    bool same = chaptersFound_ && static_cast<std::size_t>(book.Count()) == chaptersText_.size();
    if (same) {
      book.VisitLines(0, book.Count(), [this, &same](std::int32_t i, std::u16string_view line) {
        same = same && SameText(line, chaptersText_[static_cast<std::size_t>(i)]);
      });
    }
    if (!same) {
      chaptersText_.assign(static_cast<std::size_t>(book.Count()), u"");
      book.VisitLines(0, book.Count(), [this](std::int32_t i, std::u16string_view line) {
        chaptersText_[static_cast<std::size_t>(i)] = line;
      });
      chapters_ = FindChapters(book);
      chaptersFound_ = true;
    }
    return chapters_;
  }

  std::optional<std::string> Check() {
    const frmMain& r = *reader_;
    const auto inView = [&r](int k) {
      const ui::PictureBox& surface = r.MainPage[k];
      return surface.Left < r.ScaleWidth() && surface.Left + surface.Width > 0 &&
             surface.Top < r.ScaleHeight() && surface.Top + surface.Height > 0;
    };
    const std::vector<Chapter>& chapters = ChaptersOfBookRead();
    if (chapters != r.BookChapters) {
      return "the chapters kept are not those of the book read";
    }
    if (!Reading()) {
      if (inView(0) || inView(1)) return "a page surface is in view over the cover";
      if (r.tmrPage.Enabled || r.tmrScrollScr.Enabled) return "a motion runs behind the cover";
      return std::nullopt;
    }
    if (r.shpBar.Width < 0 || r.shpBar.Width > r.shpPanel.Width) {
      return "the progress bar is " + std::to_string(r.shpBar.Width) + " twips in a panel of " +
             std::to_string(r.shpPanel.Width);
    }
    const std::u16string label = r.lblPage.Caption;
    const std::u16string expectedEnd = u"/" + Utf16(std::to_string(r.PageCount));
    const std::size_t slash = label.rfind(u'/');
    if (label.rfind(u"书页 ", 0) != 0 || slash == std::u16string::npos ||
        label.substr(slash) != expectedEnd) {
      return "the page label reads \"" + Utf8(label) + "\" for a book of " +
             std::to_string(r.PageCount) + " pages";
    }
    const std::int32_t named = std::stoi(Utf8(label.substr(3, slash - 3)));
    if (r.PageCount > 0 ? named < 1 || named > r.PageCount : named != 0) {
      return "the page label names page " + std::to_string(named);
    }
    if (r.ScrollActive) {
      for (int button : {4, 6, 7, 9}) {
        if (r.Toolbar.Buttons(button).Enabled) return "a locked button is enabled while scrolling";
      }
      return std::nullopt;
    }
    if (r.tmrPage.Enabled) return std::nullopt;  // on its way to rest
    if (std::optional<std::string> failure = CheckMark()) return failure;

    int resting = -1;
    for (int k = 0; k <= 1; ++k) {
      if (!inView(k)) continue;
      if (resting >= 0) return "both page surfaces are in view at rest";
      if (r.MainPage[k].Left != 0 || r.MainPage[k].Top != r.Toolbar.Height) {
        return "the page in view is off its place: left " + std::to_string(r.MainPage[k].Left) +
               ", top " + std::to_string(r.MainPage[k].Top);
      }
      resting = k;
    }
    if (resting < 0) return "no page surface is in view while reading";
    if (r.PageCount <= 0) return std::nullopt;
    const std::int32_t page = named - 1;
    if (page % 2 != resting) {
      return "the label names page " + std::to_string(named) + " but surface " +
             std::to_string(resting) + " is in view";
    }
    const std::vector<std::u16string> rows =
        r.BookRows.Rows(r.BookLines, page * r.PageRows, r.PageRows);
    const std::vector<LinePiece> pieces =
        r.BookRows.Pieces(r.BookLines, page * r.PageRows, r.PageRows);
    const ui::ControlArray<ui::Label>& labels = resting == 0 ? r.lblRow1 : r.lblRow2;
    for (int k = 0; k < r.PageRows; ++k) {
      const auto index = static_cast<std::size_t>(k);
      const std::u16string_view expected =
          index < rows.size() ? rows[index] : std::u16string_view();
      if (!labels.Exists(k)) return "row " + std::to_string(k) + " of the page has no label";
      const std::u16string& caption = labels[k].Caption.get();
      // In the other script a row shows the same characters' other forms, as many as it has.
      const bool right =
          r.BookScript == ScriptConversion::None || index >= pieces.size()
              ? SameText(caption, expected)
              : caption.size() == expected.size() &&
                    SameText(
                        caption,
                        std::u16string(static_cast<std::size_t>(pieces[index].Piece.Indent), u' ') +
                            r.ShownText(pieces[index].Line, pieces[index].Piece.Offset,
                                        pieces[index].Piece.Length));
      if (!right) {
        return "row " + std::to_string(k) + " in view is not row " + std::to_string(k) +
               " of page " + std::to_string(named);
      }
    }
    return std::nullopt;
  }

  // Found text is marked only on the page at rest in view, and what is marked is the hit: the
  // phrase, up to width and case, cut where the page begins or ends.
  std::optional<std::string> CheckMark() const {
    const frmMain& r = *reader_;
    const int inView = r.MainPage[0].Left == 0 ? 0 : 1;
    std::u16string marked;
    for (int k = 0; k <= 1; ++k) {
      const ui::ControlArray<ui::Label>& rows = k == 0 ? r.lblRow1 : r.lblRow2;
      for (int i = rows.LBound(); i <= rows.UBound(); ++i) {
        const ui::Label& row = rows[i];
        if (row.HighlightLength == 0) continue;
        if (k != inView) return "found text is marked on the page out of view";
        const std::u16string& caption = row.Caption;
        if (row.HighlightStart < 0 || row.HighlightLength < 0 ||
            static_cast<std::size_t>(row.HighlightStart + row.HighlightLength) > caption.size()) {
          return "a mark runs past its row's text";
        }
        marked += caption.substr(static_cast<std::size_t>(row.HighlightStart),
                                 static_cast<std::size_t>(row.HighlightLength));
      }
    }
    // While reading aloud the sentence being read is what is marked, on the page that holds it.
    if (r.ReadingAloud != frmMain::Reading::Off) {
      if (!r.SpokenSentence) return "reading aloud without a sentence";
      const Sentence& sentence = *r.SpokenSentence;
      if (r.PageOfPlace(sentence.Line, sentence.Offset) != *PageInView()) {
        return "the sentence read aloud is not on the page in view";
      }
      const std::u16string shown = r.ShownText(sentence.Line, sentence.Offset, sentence.Length);
      if (marked.empty() || shown.compare(0, marked.size(), marked) != 0) {
        return "the page marks \"" + Utf8(marked) + "\" for the sentence read, \"" + Utf8(shown) +
               "\"";
      }
      return std::nullopt;
    }
    if (!r.MarkedHit) {
      return marked.empty() ? std::nullopt : std::optional<std::string>("a mark without a hit");
    }
    if (marked.empty()) return "the hit shown is not marked";
    const SearchHit& hit = *r.MarkedHit;
    const std::u16string text(r.BookLines.Line(hit.Line).substr(
        static_cast<std::size_t>(hit.Offset), static_cast<std::size_t>(hit.Length)));
    if (Folded(text) != Folded(r.LastSearch)) {
      return "the hit marked, \"" + Utf8(text) + "\", is not the phrase \"" + Utf8(r.LastSearch) +
             "\"";
    }
    // What the page shows of the hit, in whichever script.
    const std::u16string shown = r.ShownText(hit.Line, hit.Offset, hit.Length);
    const bool isStart = shown.compare(0, marked.size(), marked) == 0;
    const bool isEnd = marked.size() <= shown.size() &&
                       shown.compare(shown.size() - marked.size(), marked.size(), marked) == 0;
    if (!isStart && !isEnd) {
      return "the page marks \"" + Utf8(marked) + "\" for the hit \"" + Utf8(text) + "\"";
    }
    return std::nullopt;
  }

  // Width, case and script aside: a phrase in simplified finds the book's traditional text.
  static std::u16string Folded(std::u16string text) {
    for (char16_t& c : text) {
      if (c >= u'！' && c <= u'～') c = static_cast<char16_t>(c - u'！' + u'!');
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    static const std::unique_ptr<ScriptConverter> simplify =
        ScriptConverter::Open(ScriptConversion::ToSimplified);
    return simplify != nullptr ? simplify->ConvertEach(text) : text;
  }

  FakePlatform fake_;
  std::vector<std::u16string> books_;
  std::unique_ptr<mPubVariable> pub_;
  std::unique_ptr<frmMain> reader_;
  std::optional<LastRead> expectedRecord_;
  std::vector<std::u16string> chaptersText_;
  std::vector<Chapter> chapters_;
  bool chaptersFound_ = false;
  // What the action just done must have brought about, checked once it is over.
  std::function<std::optional<std::string>()> expectation_;
};

}  // namespace

std::vector<WalkAction> ActionsFromBytes(const std::uint8_t* data, std::size_t size) {
  std::vector<WalkAction> actions;
  for (std::size_t i = 0; i + 1 < size; i += 2) actions.push_back({data[i], data[i + 1]});
  return actions;
}

std::vector<WalkAction> RandomActions(std::uint32_t seed, std::size_t count) {
  // What users do most, most often: the toolbar and the page keys.
  const std::uint8_t kinds[] = {
      kOpenBook, kLastRead,  kHistory,     kSettings,    kToolbar,     kToolbar,       kToolbar,
      kPageKey,  kPageKey,   kSpace,       kJump,        kSlideTicks,  kSlideTicks,    kScrollTicks,
      kClock,    kHover,     kCoverExit,   kDrop,        kPageMenu,    kChapters,      kSearch,
      kSearch,   kFindKey,   kHistoryEdit, kCloseWindow, kBookmark,    kBookmark,      kBookmarks,
      kScript,   kReadAloud, kReadAloud,   kSpeechEvent, kSpeechEvent, kSpeechSettings};
  std::mt19937 random(seed);
  std::vector<WalkAction> actions;
  for (std::size_t i = 0; i < count; ++i) {
    actions.push_back(
        {kinds[random() % std::size(kinds)], static_cast<std::uint8_t>(random() % 256)});
  }
  return actions;
}

std::string DescribeAction(const WalkAction& action) {
  return std::string(kKindNames[action.Kind % kKindCount]) + " " + std::to_string(action.Argument);
}

std::optional<WalkFailure> RunWalk(const std::vector<WalkAction>& actions,
                                   const WalkOptions& options) {
  Walk walk(options);
  for (std::size_t step = 0; step < actions.size(); ++step) {
    if (std::optional<std::string> failure = walk.Step(actions[step])) {
      return WalkFailure{step, *failure};
    }
  }
  return std::nullopt;
}

std::vector<WalkAction> ShrinkWalk(std::vector<WalkAction> actions, const WalkOptions& options) {
  if (const auto failure = RunWalk(actions, options)) actions.resize(failure->Step + 1);
  // Drop runs of actions, long ones first, as long as the walk still fails.
  for (std::size_t run = actions.size() / 2; run >= 1; run /= 2) {
    for (std::size_t start = 0; start + run <= actions.size();) {
      std::vector<WalkAction> shorter = actions;
      shorter.erase(shorter.begin() + static_cast<std::ptrdiff_t>(start),
                    shorter.begin() + static_cast<std::ptrdiff_t>(start + run));
      if (const auto failure = RunWalk(shorter, options)) {
        shorter.resize(failure->Step + 1);
        actions = std::move(shorter);
      } else {
        start += run;
      }
    }
  }
  return actions;
}

}  // namespace quillon::fake
