// The Qt backend on the offscreen screen: widgets stand where the kit says, the kit hears what the
// user does, the cover renders, pictures and cursors load, and Chinese faces resolve to CJK fonts.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <QWindow>
#include <chrono>
#include <filesystem>
#include <memory>
#include <set>
#include <thread>

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/qt/convert.h"
#include "platform/qt/fonts.h"
#include "platform/qt/open_dialog.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/widgets.h"
#include "reader/frmMain.h"
#include "support/fake_platform.h"
#include "support/test_books.h"

namespace quillon {
namespace {

const std::filesystem::path kAssets = std::filesystem::path(QUILLON_SOURCE_DIR) / "assets";

// Real screen, widgets, clock and pictures; scripted dialogs and a temporary program folder that
// holds the shipped pictures.
class QtReaderTest : public ::testing::Test {
 protected:
  QtReaderTest() {
    std::filesystem::copy(kAssets, folder.path(), std::filesystem::copy_options::recursive);
  }
  ~QtReaderTest() override {
    reader.reset();
    QCoreApplication::processEvents();
    // The widgets go now, with the pictures they hold, not at the program's end.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  frmMain& Start() {
    reader = std::make_unique<frmMain>(platform, pub);
    reader->Show();
    return *reader;
  }
  QWidget* Widget(const ui::Control& control) const { return qt.forms.WidgetOf(control); }
  QRect Expected(const ui::Control& control) const {
    const int left = qt::PixelsFromTwips(control.Left, 15);
    const int top = qt::PixelsFromTwips(control.Top, 15);
    return QRect(left, top, qt::PixelsFromTwips(control.Left + control.Width, 15) - left,
                 qt::PixelsFromTwips(control.Top + control.Height, 15) - top);
  }

  fake::TempDir folder;
  qt::QtPlatform qt;
  fake::FakeDialogs dialogs;
  fake::FakeProgram program{folder.path16()};
  Platform platform{qt.screen, dialogs, qt.forms, qt.clock, program, qt.pictures};
  mPubVariable pub;
  std::unique_ptr<frmMain> reader;
};

TEST_F(QtReaderTest, TheOffscreenScreenIsTheUsualOne) {
  EXPECT_EQ(qt.screen.TwipsPerPixelX(), 15);
  EXPECT_EQ(qt.screen.WidthTwips(), 1024 * 15);
  EXPECT_EQ(qt.screen.HeightTwips(), 768 * 15);
}

TEST_F(QtReaderTest, WidgetsStandWhereTheKitSays) {
  frmMain& window = Start();
  QWidget* top = Widget(window);
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->size(), QSize(8730 / 15, 10575 / 15));
  EXPECT_EQ(top->pos(), QPoint(3270 / 15, 0));
  EXPECT_EQ(top->windowTitle(), QStringLiteral("Quillon"));
  window.Caption = u"Quillon-[第一卷[*]]";
  EXPECT_EQ(top->windowHandle()->title(), QString::fromUtf16(u"Quillon-[第一卷[*]]"))
      << "a title shows a file name exactly as it is";

  for (const ui::Control* control : std::initializer_list<const ui::Control*>{
           &window.lblOpen, &window.lblExit, &window.lblHelp, &window.lblName, &window.MainPage[0],
           &window.MainPage[1], &window.lblRow1[0], &window.lblRow1[24], &window.lblRow2[13],
           &window.lblInfor1, &window.PicPage, &window.shpPanel, &window.lblPage}) {
    SCOPED_TRACE(control->QualifiedName());
    QWidget* widget = Widget(*control);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(), Expected(*control));
  }
  EXPECT_EQ(Widget(window.lblRow1[24])->geometry().top(), 9480 / 15);
  EXPECT_FALSE(Widget(window.Toolbar)->isVisible());

  // The widgets follow the kit: a slid surface, a new caption, a shown toolbar.
  window.MainPage[0].Left = -180;
  window.lblRow1[3].Caption = u"　　满纸荒唐言，一把辛酸泪！";
  window.Toolbar.Visible = true;
  window.Toolbar.Buttons(3).Caption = u"停止";
  EXPECT_EQ(Widget(window.MainPage[0])->x(), -12);
  EXPECT_EQ(static_cast<qt::LabelWidget*>(Widget(window.lblRow1[3]))->text(),
            QStringLiteral("　　满纸荒唐言，一把辛酸泪！"));
  // A Chinese face draws ASCII spaces half a character wide, as the classic system faces do.
  window.lblRow1[4].Caption = u"    盖闻";
  EXPECT_EQ(static_cast<qt::LabelWidget*>(Widget(window.lblRow1[4]))->text(),
            QString::fromUtf16(u"\u2002\u2002\u2002\u2002盖闻"));
  EXPECT_TRUE(Widget(window.Toolbar)->isVisible());
  auto* toolbar = static_cast<qt::ToolbarWidget*>(Widget(window.Toolbar));
  ASSERT_NE(toolbar->Button(3), nullptr);
  EXPECT_EQ(toolbar->Button(3)->text(), QStringLiteral("停止"));
  EXPECT_EQ(toolbar->Button(5), nullptr) << "a separator";
  EXPECT_EQ(toolbar->Button(11)->x(), qt::PixelsFromTwips(window.Toolbar.ButtonLeft(11), 15));
  EXPECT_LT(toolbar->Button(11)->geometry().right(), Widget(window.PicPage)->x())
      << "every button stands clear of the page panel";
  EXPECT_FALSE(toolbar->Button(1)->icon().isNull());
}

TEST_F(QtReaderTest, RowLabelsLoadedAndUnloadedAtRunTimeGetAndLoseTheirWidgets) {
  frmMain& window = Start();
  QPointer<QWidget> last = Widget(window.lblRow1[24]);
  pub.ReaderSettings.FontSize = 18.0f;
  ASSERT_TRUE(window.SetupScreen());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(last.isNull()) << "the 25th row label's widget went with it";
  ASSERT_NE(Widget(window.lblRow1[23]), nullptr);
  EXPECT_EQ(Widget(window.lblRow1[23])->geometry(), Expected(window.lblRow1[23]));
  EXPECT_EQ(QFontInfo(Widget(window.lblRow1[23])->font()).pointSizeF(), 18.0);
}

TEST_F(QtReaderTest, TheCoverRendersItsPictureAndItsMenu) {
  frmMain& window = Start();
  ASSERT_NE(window.Picture.get(), nullptr) << "the shipped cover loads";
  QWidget* top = Widget(window);
  const QImage cover = top->grab().toImage();
  ASSERT_FALSE(cover.isNull());

  std::set<QRgb> colours;
  for (int y = 0; y < cover.height(); y += 7) {
    for (int x = 0; x < cover.width(); x += 7) colours.insert(cover.pixel(x, y));
  }
  EXPECT_GT(colours.size(), 200u) << "a picture, not a flat colour";

  // The menu text darkens its label's area compared with the same area without text.
  const QRect area = Expected(window.lblOpen);
  auto darkness = [&area](const QImage& image) {
    long sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) sum += 255 - qGray(image.pixel(x, y));
    }
    return sum;
  };
  window.lblOpen.Caption = u"";
  const QImage without = top->grab().toImage();
  EXPECT_GT(darkness(cover), darkness(without) + 10000);
}

TEST_F(QtReaderTest, AHoveredMenuLabelTurnsBlue) {
  frmMain& window = Start();
  QWidget* top = Widget(window);
  const QRect area = Expected(window.lblOpen);
  auto blueness = [&] {
    const QImage image = top->grab().toImage();
    long blue = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) {
        const QColor c = image.pixelColor(x, y);
        blue += c.blue() > c.red() + 60 ? 1 : 0;
      }
    }
    return blue;
  };
  EXPECT_EQ(blueness(), 0);
  QTest::mouseMove(Widget(window.lblOpen), QPoint(20, 10));
  EXPECT_TRUE(window.MenuHighlighted);
  EXPECT_GT(blueness(), 50);
}

TEST_F(QtReaderTest, OpeningABookDrawsItsFirstPage) {
  frmMain& window = Start();
  dialogs.openAnswers.push_back(
      codepage::DecodeUtf8((fake::TestBooksDir() / "sample-short.gbk.txt").string()));
  window.lblOpen.Click();
  ASSERT_EQ(window.Caption, u"Quillon-[sample-short.gbk]");
  QWidget* page = Widget(window.MainPage[0]);
  EXPECT_EQ(page->x(), 0);
  EXPECT_TRUE(Widget(window.Toolbar)->isVisible());
  for (int k = 0; k < window.PageRows; ++k) {
    EXPECT_EQ(static_cast<qt::LabelWidget*>(Widget(window.lblRow1[k]))->text(),
              qt::DisplayText(window.lblRow1[k].Caption, window.lblRow1[k].Font.Value()));
  }
  EXPECT_FALSE(static_cast<qt::LabelWidget*>(Widget(window.lblRow1[0]))->text().isEmpty());

  // Text is drawn: a good share of the page's pixels are dark.
  const QImage image = page->grab().toImage();
  int dark = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
  }
  EXPECT_GT(dark, image.width() * image.height() / 50);
}

TEST_F(QtReaderTest, ASlideOnRealTimersEndsAtRest) {
  frmMain& window = Start();
  dialogs.openAnswers.push_back(
      codepage::DecodeUtf8((fake::TestBooksDir() / "sample-short.gbk.txt").string()));
  window.lblOpen.Click();
  window.cmdNext.Value = true;
  ASSERT_TRUE(window.tmrPage.Enabled);
  std::set<int> seen;
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        seen.insert(Widget(window.MainPage[1])->x());
        return !window.tmrPage.Enabled;
      },
      3000));
  EXPECT_GT(seen.size(), 2u) << "the surface was seen on its way";
  EXPECT_EQ(window.MainPage[1].Left, 0);
  EXPECT_EQ(window.MainPage[0].Left, 8820);
  EXPECT_EQ(Widget(window.MainPage[1])->geometry(), Expected(window.MainPage[1]));
  EXPECT_EQ(Widget(window.MainPage[0])->geometry(), Expected(window.MainPage[0]));
}

// On a desktop of two screens the reader opens on the one under the mouse, laid out in the mode
// that fills it most and drawn that much larger; a --scale the screen cannot hold changes nothing.
TEST(QtScreenFit, TheReaderFillsTheScreenUnderTheMouse) {
  QCursor::setPos(1024 + 960, 540);
  fake::TempDir folder;
  std::filesystem::copy(kAssets, folder.path(), std::filesystem::copy_options::recursive);
  fake::FakeDialogs dialogs;
  fake::FakeProgram program{folder.path16()};
  {
    qt::QtPlatform qt;
    ASSERT_EQ(qt.screen.PixelWidth(), 1920);
    qt::CommandLine twice;
    twice.Scale = 2;
    const std::optional<QString> refusal = qt.FitScreen(twice);
    ASSERT_TRUE(refusal.has_value());
    EXPECT_TRUE(refusal->contains(QStringLiteral("最多可以放大 1.4 倍"))) << refusal->toStdString();
    EXPECT_EQ(qt.screen.WidthTwips(), 1920 * 15);

    ASSERT_FALSE(qt.FitScreen({}).has_value());
    EXPECT_EQ(qt.screen.WidthTwips(), 1366 * 15);
    EXPECT_EQ(qt.screen.HeightTwips(), 768 * 15);
    Platform platform{qt.screen, dialogs, qt.forms, qt.clock, program, qt.pictures};
    mPubVariable pub;
    frmMain window(platform, pub);
    window.Show();
    QWidget* top = qt.forms.WidgetOf(window);
    ASSERT_NE(top, nullptr);
    QWindow* handle = top->windowHandle();
    EXPECT_EQ(handle->screen(), QGuiApplication::screens().at(1));
    EXPECT_NEAR(handle->devicePixelRatio(), 1920.0 / 1366, 0.0001);
    EXPECT_EQ(top->size(), QSize(582, 705));
    EXPECT_NEAR(top->x(), 1024 + 5835 / 15, 1) << "centred on the second screen as on its mode";
    EXPECT_EQ(top->y(), 0);
    const QImage cover = top->grab().toImage();
    EXPECT_EQ(cover.size(), QSize(818, 991)) << "drawn at the screen's own pixels";

    // A control ends inside a device pixel, which must not be left unpainted (black) beside it, as
    // the theme box of the settings, a picture box in a frame, was.
    QImage settings;
    QRect themes;
    QTimer::singleShot(0, [&settings, &themes] {
      QWidget* dialog = QApplication::activeModalWidget();
      if (dialog == nullptr) return;
      if (auto* box = dialog->findChild<QWidget*>(QStringLiteral("Picture1"))) {
        themes = QRect(box->mapTo(dialog, QPoint(0, 0)), box->size());
      }
      settings = dialog->grab().toImage().convertToFormat(QImage::Format_RGB32);
      dialog->close();
    });
    window.lblSet.Click();
    ASSERT_FALSE(settings.isNull());
    ASSERT_FALSE(themes.isEmpty());
    const qreal ratio = settings.devicePixelRatio();
    for (int x = static_cast<int>(themes.left() * ratio) - 2;
         x <= static_cast<int>((themes.right() + 1) * ratio) + 2; ++x) {
      int black = 0;
      for (int y = static_cast<int>(themes.top() * ratio); y < themes.bottom() * ratio; ++y) {
        black += settings.pixel(x, y) == qRgb(0, 0, 0) ? 1 : 0;
      }
      EXPECT_LT(black, themes.height()) << "a black column at " << x;
    }
    window.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  qt::QtScreen::Magnify(1);
  QCursor::setPos(100, 100);
}

// The metrics table's rows are wider than the page at some sizes (103 characters of 14 pixels at
// 1440*900 in full screen). Whatever the screen, layout, face, size and boldness, and drawn at
// whatever scale, the widest rows a wrap makes are drawn whole inside the window, and narrowed no
// more than needed.
TEST(QtRows, TheWidestRowsFitThePageInEveryLayout) {
  qt::QtPlatform qt;
  fake::FakeDialogs dialogs;
  // As on the reader's own screens, a 1920*1080 one and a 3840*2160 one.
  for (const double scale : {1.0, 1920.0 / 1366, 3840.0 / 1366}) {
    qt::QtScreen::Magnify(scale);
    for (const auto& [width, height] : {std::pair{1024, 768}, std::pair{1280, 1024},
                                        std::pair{1366, 768}, std::pair{1440, 900}}) {
      fake::TempDir folder;
      fake::FakeProgram program{folder.path16()};
      fake::FakeScreen screen;
      screen.SetPixels(width, height);
      Platform platform{screen, dialogs, qt.forms, qt.clock, program, qt.pictures};
      mPubVariable pub;
      frmMain window(platform, pub);
      window.Show();
      for (const bool fullScreen : {false, true}) {
        for (const char16_t* face : {u"宋体", u"Times New Roman"}) {
          for (const float size : {18.0f, 16.0f, 14.0f, 12.0f, 10.5f, 9.0f}) {
            for (const bool bold : {false, true}) {
              // Drawn larger, the rows keep the widths they are laid out with; a few sizes show it.
              if (scale != 1.0 && size != 18.0f && size != 10.5f) continue;
              SCOPED_TRACE(::testing::Message() << width << "*" << height << " at " << scale
                                                << (fullScreen ? " full screen " : " normal ")
                                                << qt::ToQString(face).toStdString() << " " << size
                                                << (bold ? " bold" : ""));
              pub.ReaderSettings.FontName = face;
              pub.ReaderSettings.FontSize = size;
              pub.ReaderSettings.FontBold = bold;
              pub.IndentWidth = IndentWidthFor(face);
              pub.FullScreenMode = fullScreen;
              window.SetLayoutWindow(fullScreen);
              ASSERT_TRUE(window.SetupScreen());
              ASSERT_EQ(window.lblRow1[0].Font.Size, size);
              const QString widest = qt::ToQString(
                  WidestRows(WrapMetrics{window.RowChars, window.PageRows, pub.IndentWidth}));
              window.lblRow1[0].Caption = qt::FromQString(widest.section(QLatin1Char('\n'), 0, 0));
              window.lblRow1[1].Caption = qt::FromQString(widest.section(QLatin1Char('\n'), 1, 1));
              // A full row without punctuation keeps the font's own spacing where it fits.
              const std::u16string plain(static_cast<std::size_t>(window.RowChars), u'国');
              window.lblRow1[2].Caption = plain;
              const auto& third =
                  *static_cast<qt::LabelWidget*>(qt.forms.WidgetOf(window.lblRow1[2]));

              // The rightmost ink of the two rows, on the surface as it is drawn.
              const QImage image = qt.forms.WidgetOf(window.MainPage[0])
                                       ->grab()
                                       .toImage()
                                       .convertToFormat(QImage::Format_RGB32);
              // Narrowed as it is drawn.
              if (QFontMetricsF(qt::MakeFont(window.lblRow1[2].Font.Value()))
                      .horizontalAdvance(qt::ToQString(plain)) <=
                  qt::PixelsFromTwips(window.lblRow1[2].FitWidth, 15)) {
                EXPECT_EQ(third.font().letterSpacing(), 0) << "a row that fits is narrowed";
              }
              const double ratio = image.devicePixelRatio();
              const QRect rows = qt.forms.WidgetOf(window.lblRow1[0])
                                     ->geometry()
                                     .united(qt.forms.WidgetOf(window.lblRow1[1])->geometry());
              int rightmost = -1;
              for (int y = static_cast<int>(rows.top() * ratio);
                   y < (rows.bottom() + 1) * ratio && y < image.height(); ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                for (int x = image.width() - 1; x > rightmost; --x) {
                  if (qGray(line[x]) < 160) rightmost = x;
                }
              }
              const double visible = qt::PixelsFromTwips(window.ScaleWidth(), 15) * ratio;
              EXPECT_LT(rightmost, visible) << "of a window " << visible << " pixels wide";
              const qt::LabelWidget& label =
                  *static_cast<qt::LabelWidget*>(qt.forms.WidgetOf(window.lblRow1[1]));
              if (label.font().letterSpacing() < 0) {
                EXPECT_GT(rightmost, visible - QFontMetrics(label.font()).height() * ratio)
                    << "narrowed more than needed";
              }
            }
          }
        }
      }
      window.Unload();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
  }
  qt::QtScreen::Magnify(1);
}

// A page painted on a thread of its own while its window is built shows exactly what its first
// paint would draw: rows narrowed to fit, a mark, wrapped and centred text on its own ground, over
// a picture drawn smaller or one with clear parts. What changes after it is painted is drawn anew,
// a page parked beside its window is painted once the window is first drawn, and labels left out
// of a window's first picture, under a page, are drawn as the page leaves.
TEST(QtSurfaces, APagePaintedAheadIsThePageItsPaintWouldDraw) {
  qt::QtPictures pictures;
  const QString text = QStringLiteral("宝玉读书，黛玉葬花；行者三调芭蕉扇。「进士」二字，");
  // How many pixels differ, so that a failure says how far apart the two are.
  const auto differing = [](const QImage& one, const QImage& other) {
    if (one.size() != other.size()) return -1;
    const QImage a = one.convertToFormat(QImage::Format_RGB32);
    const QImage b = other.convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
      for (int x = 0; x < a.width(); ++x) count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    }
    return count;
  };
  // The page's labels, in their stacking order.
  const auto fill = [&](qt::PictureSurface& page, const ui::PicturePtr& picture) {
    std::vector<qt::LabelWidget*> made;
    page.resize(600, 520);
    page.SetBackColor(QColor(250, 240, 215));
    page.SetPicture(std::dynamic_pointer_cast<const qt::QtPicture>(picture));
    QFont font = qt::MakeFont({u"宋体", 14.0f, false, false, false});
    for (int k = 0; k < 20; ++k) {
      auto* row = made.emplace_back(new qt::LabelWidget(&page));
      row->setGeometry(10, 10 + k * 22, 560, 22);
      const QString shown = text.mid(k % 7) + text.left(k % 11);
      row->SetText(shown);
      row->SetTextColor(k % 3 == 0 ? QColor(20, 20, 20) : QColor(120, 20, 20));
      // Every third row a little wider than the page.
      row->SetNarrowedFont(qt::Narrowing{font, {shown}, k % 3 == 0 ? 400 : 560});
      if (k == 4) row->SetHighlight(3, 4, QColor(255, 214, 80));
    }
    auto* note = new qt::LabelWidget(&page);
    note->setGeometry(100, 450, 300, 60);
    note->SetWordWrap(true);
    note->SetAlignment(Qt::AlignHCenter);
    note->SetBack(true, QColor(230, 230, 255));
    note->SetBorder(true);
    note->setFont(qt::MakeFont({u"黑体", 10.5f, true, false, false}));
    note->SetText(text + QStringLiteral("\r\n") + text);
    made.push_back(note);
    return made;
  };
  for (const auto& [name, ratio] :
       {std::pair{"Configure/BK1.jpg", 2.0}, std::pair{"Icosource/tool1.png", 1.0}}) {
    SCOPED_TRACE(name);
    const ui::PicturePtr picture =
        pictures.LoadFor(codepage::DecodeUtf8((kAssets / name).string()), ratio);
    ASSERT_NE(picture, nullptr);
    qt::PictureSurface plain, ahead, changed, plainChanged;
    const std::vector<qt::LabelWidget*> plainLabels = fill(plain, picture);
    const std::vector<qt::LabelWidget*> aheadLabels = fill(ahead, picture);
    qt::LabelWidget* third = fill(changed, picture)[2];
    ahead.PaintAhead();
    changed.PaintAhead();
    third->SetText(text);
    fill(plainChanged, picture)[2]->SetText(text);

    const QImage drawn = plain.grab().toImage();
    EXPECT_FALSE(plain.ShowsPaintedAhead());
    EXPECT_EQ(differing(ahead.grab().toImage(), drawn), 0);
    EXPECT_TRUE(ahead.ShowsPaintedAhead());
    // The narrowed rows keep the fonts they were painted in, the same the paint measures.
    for (std::size_t k = 0; k < plainLabels.size(); ++k) {
      EXPECT_EQ(aheadLabels[k]->font(), plainLabels[k]->font()) << k;
    }
    EXPECT_LT(plainLabels[0]->font().letterSpacing(), 0);
    EXPECT_EQ(plainLabels[1]->font().letterSpacing(), 0);
    EXPECT_EQ(differing(changed.grab().toImage(), plainChanged.grab().toImage()), 0);
    EXPECT_FALSE(changed.ShowsPaintedAhead());
    EXPECT_GT(differing(changed.grab().toImage(), drawn), 0);

    qt::FormWindow window;
    window.resize(600, 520);
    auto* parked = new qt::PictureSurface(&window);
    fill(*parked, picture);
    parked->move(600, 0);
    parked->PaintAhead();
    window.grab();
    QCoreApplication::processEvents();
    parked->move(0, 0);
    EXPECT_EQ(differing(parked->grab().toImage(), drawn), 0);
    EXPECT_TRUE(parked->ShowsPaintedAhead());

    // On screen, a window's first picture leaves out the labels under a page in view; they are
    // there once the page leaves.
    qt::FormWindow shown;
    fill(shown, picture);
    auto* page = new qt::PictureSurface(&shown);
    page->SetBackColor(Qt::white);
    page->setGeometry(0, 380, 600, 140);
    shown.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&shown));
    QCoreApplication::processEvents();
    page->move(600, 380);
    QCoreApplication::processEvents();
    EXPECT_EQ(differing(shown.windowHandle()->screen()->grabWindow(shown.winId()).toImage(), drawn),
              0);
  }
}

// Work that waits for a window to be drawn first (the rest of a book, read behind its page) also
// waits for the page parked beside the window to be painted, rather than compete with it.
TEST(QtSurfaces, WorkAfterAWindowIsDrawnWaitsForItsParkedPage) {
  qt::FormWindow window;
  window.resize(400, 300);
  auto* parked = new qt::PictureSurface(&window);
  parked->setGeometry(400, 0, 400, 300);
  parked->SetBackColor(Qt::white);
  for (int k = 0; k < 12; ++k) {
    auto* row = new qt::LabelWidget(parked);
    row->setGeometry(0, k * 24, 400, 24);
    row->setFont(qt::MakeFont({u"宋体", 14.0f, false, false, false}));
    row->SetText(QString(24, QChar(0x4E00 + 97 * k)));
  }
  parked->PaintAhead();
  window.show();
  qt::QtDialogs dialogs;
  LongTask task;
  task.PaintAtOnce = true;
  bool beside = false;
  dialogs.RunLongTask(u"正在打开", task, [&beside] {
    // Long enough to see a painting started by the window's first paint.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
    while (std::chrono::steady_clock::now() < until) {
      if (!qt::PictureSurface::WaitForPaintingAhead(std::chrono::milliseconds(0))) beside = true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  EXPECT_FALSE(beside);
  parked->move(0, 0);
  parked->grab();
  EXPECT_TRUE(parked->ShowsPaintedAhead());
}

TEST(QtPictures, CursorsCarryTheirHotSpotAndJunkGivesNoPicture) {
  qt::QtPictures pictures;
  const auto cursor =
      pictures.Load(codepage::DecodeUtf8((kAssets / "Icosource" / "hand.cur").string()));
  ASSERT_NE(cursor, nullptr);
  const auto* qtCursor = dynamic_cast<const qt::QtPicture*>(cursor.get());
  ASSERT_NE(qtCursor, nullptr);
  EXPECT_TRUE(qtCursor->IsCursor());
  EXPECT_EQ(qtCursor->Image().size(), QSize(32, 32));
  EXPECT_GT(qtCursor->HotSpot().x() + qtCursor->HotSpot().y(), 0);

  fake::TempDir dir;
  const std::string junk = dir.Write("junk.jpg", "not a jpeg at all");
  EXPECT_EQ(pictures.Load(codepage::DecodeUtf8(junk)), nullptr);
  EXPECT_EQ(pictures.Load(dir.path16() + u"/missing.jpg"), nullptr);
  // A picture of the user's is read by what it holds, whatever its name says.
  QImage small(3, 2, QImage::Format_RGB32);
  small.fill(Qt::red);
  for (const auto& [name, format] : {std::pair{"png-named.jpg", "PNG"}, {"plain.bmp", "BMP"},
                                     {"jpeg-named.png", "JPEG"}}) {
    const QString path = QString::fromStdString(dir.path() + "/" + name);
    ASSERT_TRUE(small.save(path, format)) << name;
    const auto picture = pictures.Load(path.toStdU16String());
    ASSERT_NE(picture, nullptr) << name;
    EXPECT_EQ(static_cast<const qt::QtPicture&>(*picture).Image().size(), QSize(3, 2)) << name;
  }
  for (int n = 1; n <= 6; ++n) {
    const auto background = pictures.Load(codepage::DecodeUtf8(
        (kAssets / "Configure" / ("BK" + std::to_string(n) + ".jpg")).string()));
    ASSERT_NE(background, nullptr) << n;
    const QImage& image = static_cast<const qt::QtPicture&>(*background).Image();
    EXPECT_GE(image.width(), 1440);
    EXPECT_GE(image.height(), 1024);
  }
}

// On a screen drawn larger every shipped picture comes from the one made for twice the size,
// standing as large as the first; a picture without one is the first, enlarged.
TEST(QtPictures, ALargerScreenGetsThePicturesMadeForIt) {
  qt::QtPictures pictures;
  std::vector<std::string> names{"Configure/CoverImg.jpg", "Icosource/hand.cur"};
  for (int n = 1; n <= 6; ++n) names.push_back("Configure/BK" + std::to_string(n) + ".jpg");
  for (int n = 1; n <= 8; ++n) names.push_back("Icosource/tool" + std::to_string(n) + ".png");
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const std::u16string path = codepage::DecodeUtf8((kAssets / name).string());
    const auto first = pictures.LoadFor(path, 1.0);
    const auto twice = pictures.LoadFor(path, 1920.0 / 1366);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(twice, nullptr);
    const auto& small = static_cast<const qt::QtPicture&>(*first);
    const auto& large = static_cast<const qt::QtPicture&>(*twice);
    EXPECT_EQ(large.Source(), path) << "known by the name the reader asked for";
    EXPECT_EQ(large.Image().size(), small.Image().size() * 2);
    EXPECT_EQ(large.Image().deviceIndependentSize(), small.Image().deviceIndependentSize());
    EXPECT_EQ(large.Pixmap().deviceIndependentSize(), small.Pixmap().deviceIndependentSize());
    EXPECT_EQ(large.HotSpot(), small.HotSpot());
  }
  fake::TempDir dir;
  std::filesystem::copy_file(kAssets / "Icosource" / "tool1.png", dir.path() + "/tool1.png");
  const auto alone = pictures.LoadFor(dir.path16() + u"/tool1.png", 2.0);
  ASSERT_NE(alone, nullptr);
  EXPECT_EQ(static_cast<const qt::QtPicture&>(*alone).Image().devicePixelRatio(), 1.0);
}

TEST(QtDialogs, TheOpenFilterBecomesQtsForm) {
  EXPECT_EQ(qt::QtFileFilter(u"txt(*.txt)|*.txt|All Files(*.*)|*.*"),
            QStringLiteral("txt (*.txt);;All Files (*)"));
}

// The open dialog lists the names Qt's own dialog leaves out (any that are not UTF-8) as the user
// can read them, and opens the file they name: from the list, after a typed folder, and by a name
// typed without its extension in the folder the last book came from.
TEST(QtDialogs, TheOpenDialogShowsAndOpensNamesOfAnyBytes) {
  const fake::TempDir temp;
  const std::string folder = temp.path() + "/dir\xE9";
  temp.Write("dir\xE9/caf\xE9.txt", "1");
  temp.Write("dir\xE9/\xBA\xEC.txt", "2");  // 红 in GBK
  temp.Write("dir\xE9/notes.doc", "3");
  temp.Write("dir\xE9/.hidden.txt", "4");
  temp.Write("dir\xE9/sub\xFF/x.txt", "5");
  qt::QtDialogs dialogs;
  const OpenFileRequest request{u"txt", u"txt(*.txt)|*.txt|All Files(*.*)|*.*"};
  const auto dialog = [] {
    auto* open = dynamic_cast<qt::OpenBookDialog*>(QApplication::activeModalWidget());
    EXPECT_NE(open, nullptr);
    return open;
  };

  QStringList listed;
  QTimer::singleShot(0, [&] {
    qt::OpenBookDialog* open = dialog();
    if (open == nullptr) return;
    open->OpenTyped(qt::ToQString(files::PathFromNative(temp.path())));
    open->Activate(QStringLiteral("dir\\xE9"));
    listed = open->ShownNames();
    open->Activate(QStringLiteral("caf\\xE9.txt"));
    if (open->isVisible()) open->reject();  // nothing chosen: the test must not wait for a user
  });
  const std::optional<std::u16string> chosen = dialogs.OpenFile(request);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(files::NativePath(*chosen), folder + "/caf\xE9.txt");
  EXPECT_EQ(listed, QStringList({QStringLiteral("sub\\xFF"), QStringLiteral("caf\\xE9.txt"),
                                 QStringLiteral("红.txt")}));

  QTimer::singleShot(0, [&] {
    qt::OpenBookDialog* open = dialog();
    if (open == nullptr) return;
    // A name not found is told in a message box, which must not wait for a user either.
    QTimer::singleShot(500, [] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->reject();
    });
    for (QLineEdit* field : open->findChildren<QLineEdit*>()) {
      if (field->isReadOnly()) continue;
      field->setText(QStringLiteral("红"));
      QTest::keyClick(field, Qt::Key_Return);
    }
    if (open->isVisible()) open->reject();
  });
  const std::optional<std::u16string> typed = dialogs.OpenFile(request);
  ASSERT_TRUE(typed.has_value());
  EXPECT_EQ(files::NativePath(*typed), folder + "/\xBA\xEC.txt");
}

TEST(QtFonts, ChineseFacesResolveToFontsWithChineseGlyphs) {
  for (const char16_t* face :
       {u"宋体", u"新宋体", u"黑体", u"仿宋_GB2312", u"楷体_GB2312", u"隶书", u"幼圆", u"方正舒体",
        u"Arial", u"Times New Roman", u"Tahoma", u"MS Sans Serif", u"Roman", u"不存在的字体"}) {
    SCOPED_TRACE(qt::ToQString(face).toStdString());
    const QFont font = qt::MakeFont({face, 10.5f, false, false, false});
    const QFontMetrics metrics(font);
    for (char16_t c : std::u16string(u"宋书页阅读鎔")) {
      EXPECT_TRUE(metrics.inFontUcs4(c)) << "glyph " << static_cast<int>(c);
    }
  }
  EXPECT_EQ(qt::FamiliesForFace(QStringLiteral("宋体")).first(),
            QStringLiteral("Noto Serif CJK SC"));
  EXPECT_EQ(qt::FamiliesForFace(QStringLiteral("黑体")).first(),
            QStringLiteral("Noto Sans CJK SC"));
}

// A small form of the other kinds of control, worked by mouse and keyboard through Qt.
class QtInputTest : public ::testing::Test {
 protected:
  QtInputTest() {
    form.SetClientSize(6000, 4000);
    check.Move(120, 120, 2000, 300);
    check.Caption = u"是否粗体";
    combo.Move(120, 600, 2000, 300);
    for (const char16_t* size : {u"小二(18磅)", u"三号(16磅)"}) combo.AddItem(size);
    bar.Move(120, 1200, 2000, 255);
    bar.Max = 255;
    bar.LargeChange = 10;
    surface.Move(3000, 120, 2000, 2000);
    check.onClick = [this] { events.push_back("check " + std::to_string(check.Value)); };
    combo.onClick = [this] { events.push_back("combo " + std::to_string(combo.ListIndex)); };
    combo.onChange = [this] { events.push_back("typed"); };
    bar.onChange = [this] { events.push_back("bar " + std::to_string(bar.Value)); };
    surface.onKeyDown = [this](int code, int) { events.push_back("key " + std::to_string(code)); };
    surface.onKeyPress = [this](int ascii) { events.push_back("char " + std::to_string(ascii)); };
    timer.onTimer = [this] {
      if (++ticks == 3) timer.Enabled = false;
    };
    form.Show();
  }
  ~QtInputTest() override {
    form.Unload();
    QCoreApplication::processEvents();
  }

  fake::TempDir folder;
  qt::QtPlatform qt;
  fake::FakeDialogs dialogs;
  fake::FakeProgram program{folder.path16()};
  Platform platform{qt.screen, dialogs, qt.forms, qt.clock, program, qt.pictures};
  ui::Form form{platform, "frmInput"};
  ui::CheckBox check{&form, "chkFontBold"};
  ui::ComboBox combo{&form, "cboFontSize"};
  ui::HScrollBar bar{&form, "HScrollR"};
  ui::PictureBox surface{&form, "MainPage"};
  ui::Timer timer{&form, "tmrPage", 5};
  std::vector<std::string> events;
  int ticks = 0;
};

TEST_F(QtInputTest, TheUsersActionsArriveAsKitEvents) {
  auto* box = static_cast<QCheckBox*>(qt.forms.WidgetOf(check));
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
  EXPECT_EQ(check.Value, ui::CheckBox::Checked);

  auto* list = static_cast<QComboBox*>(qt.forms.WidgetOf(combo));
  emit list->activated(1);  // what a pick from the popup sends
  EXPECT_EQ(combo.Text, u"三号(16磅)");
  QTest::keyClicks(list->lineEdit(), "x");

  auto* scroll = static_cast<QScrollBar*>(qt.forms.WidgetOf(bar));
  scroll->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(bar.Value, 10);

  QWidget* page = qt.forms.WidgetOf(surface);
  page->setFocus();
  QTest::keyClick(page, Qt::Key_PageDown);
  QTest::keyClick(page, Qt::Key_Space);

  EXPECT_EQ(events, (std::vector<std::string>{"check 1", "combo 1", "typed", "bar 10", "key 34",
                                              "key 32", "char 32"}));

  // And the other way: values set by code reach the widgets without echoing back as events.
  events.clear();
  check.Value = ui::CheckBox::Unchecked;
  bar.Value = 200;
  EXPECT_FALSE(box->isChecked());
  EXPECT_EQ(scroll->value(), 200);
  EXPECT_EQ(events, (std::vector<std::string>{"check 0", "bar 200"}));
}

// Only what the user can see and use takes input; typing in a list or turning the wheel over it
// while it is closed chooses nothing.
TEST_F(QtInputTest, HiddenDisabledAndClosedControlsMakeNoChoice) {
  ui::Label swatch{&form, "lblFontColor"};
  swatch.Announce();  // made after the form was shown
  swatch.Move(3000, 2400, 600, 300);
  swatch.onClick = [this] { events.push_back("swatch"); };
  QWidget* page = qt.forms.WidgetOf(surface);
  QWidget* label = qt.forms.WidgetOf(swatch);
  ASSERT_NE(label, nullptr);

  for (const char* state : {"hidden", "disabled", "parked outside the window"}) {
    SCOPED_TRACE(state);
    surface.Move(3000, 120, 2000, 2000);
    surface.Visible = true;
    surface.Enabled = true;
    if (state[0] == 'h') surface.Visible = false;
    if (state[0] == 'd') surface.Enabled = false;
    if (state[0] == 'p') surface.Left = 6000;
    page->setFocus();
    QTest::keyClick(page, Qt::Key_PageDown);
  }
  swatch.Enabled = false;
  QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5));

  auto* list = static_cast<QComboBox*>(qt.forms.WidgetOf(combo));
  list->setFocus();
  QTest::keyClicks(list->lineEdit(), "x");
  QWheelEvent wheel(QPointF(10, 10), list->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(list, &wheel);
  EXPECT_EQ(events, std::vector<std::string>{"typed"});

  // Enter on what an entry reads chooses it; leaving the field does not.
  list->lineEdit()->setText(QString::fromUtf16(u"三号(16磅)"));
  QWidget* elsewhere = qt.forms.WidgetOf(check);
  elsewhere->setFocus();
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(list->lineEdit(), &out);
  EXPECT_EQ(events, std::vector<std::string>{"typed"});
  list->setFocus();
  QTest::keyClick(list->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(events, (std::vector<std::string>{"typed", "combo 1"}));
}

// Arrows move the selection (Click), Enter and a double-click choose the entry (DblClick), other
// keys reach the window; entries added later are appended to what the list shows.
TEST_F(QtInputTest, AListsChoicesArriveAsKitEvents) {
  ui::ListBox list{&form, "lstChapters"};
  list.TabStops = {360, 2400};
  list.Move(120, 1800, 2800, 1500);
  list.AddItems({u"▶\t第一回\t1", u"\t第二回\t5"});
  list.Announce();
  list.AddItem(u"\t第三回\t9");
  list.onClick = [&] { events.push_back("select " + std::to_string(list.ListIndex)); };
  list.onDblClick = [&] { events.push_back("choose " + std::to_string(list.ListIndex)); };
  list.onKeyDown = [&](int code, int) { events.push_back("key " + std::to_string(code)); };
  auto* widget = qobject_cast<QListWidget*>(qt.forms.WidgetOf(list));
  ASSERT_NE(widget, nullptr);
  ASSERT_EQ(widget->count(), 3);
  EXPECT_EQ(widget->item(2)->text(), QString::fromUtf16(u"\t第三回\t9"));
  list.ListIndex = 0;
  EXPECT_EQ(widget->currentRow(), 0);
  events.clear();

  widget->setFocus();
  QTest::keyClick(widget, Qt::Key_Down);
  QTest::keyClick(widget, Qt::Key_Return);
  QTest::keyClick(widget, Qt::Key_Escape);
  const QRect third = widget->visualItemRect(widget->item(2));
  // A double-click is a click, then the second press (QTest's double-click alone is not one).
  QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, third.center());
  QTest::mouseDClick(widget->viewport(), Qt::LeftButton, {}, third.center());
  EXPECT_EQ(events, (std::vector<std::string>{"key 40", "select 1", "choose 1", "key 27",
                                              "select 2", "choose 2"}));
}

// The mark stands behind the characters it names, a row's indent counted, and goes with its length.
TEST_F(QtInputTest, MarkedTextIsDrawnOnItsOwnBackground) {
  surface.Move(60, 2400, 5880, 900);
  surface.BackColor = ui::RGB(255, 255, 255);
  ui::Label row{&surface, "lblRow1"};
  row.Announce();
  row.Move(60, 60, 5700, 360);
  row.BackStyle = ui::BackStyle::Transparent;
  row.WordWrap = false;
  row.Font.Assign({u"宋体", 10.5f, false, false, false});
  row.Caption = u"    宝玉读书，黛玉葬花。";
  row.HighlightColor = ui::RGB(255, 214, 80);
  row.HighlightStart = 10;  // 黛玉
  row.HighlightLength = 2;
  QWidget* page = qt.forms.WidgetOf(surface);
  auto* label = static_cast<qt::LabelWidget*>(qt.forms.WidgetOf(row));
  const auto markColumns = [&] {
    const QImage image = page->grab().toImage();
    std::set<int> columns;
    for (int y = label->y(); y < label->y() + label->height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, y) == QColor(255, 214, 80)) columns.insert(x);
      }
    }
    return columns;
  };
  const std::set<int> marked = markColumns();
  ASSERT_FALSE(marked.empty());
  const QFontMetricsF metrics(label->font());
  const qreal left = label->x() + metrics.horizontalAdvance(label->text().left(10));
  const qreal right = label->x() + metrics.horizontalAdvance(label->text().left(12));
  EXPECT_NEAR(*marked.begin(), left, 1.0);
  EXPECT_NEAR(*marked.rbegin() + 1, right, 1.0);
  row.HighlightLength = 0;
  EXPECT_TRUE(markColumns().empty());
}

TEST_F(QtInputTest, KitTimersRunOnQtTimers) {
  timer.Enabled = true;
  EXPECT_TRUE(QTest::qWaitFor([this] { return ticks == 3; }, 2000));
  QTest::qWait(30);
  EXPECT_EQ(ticks, 3) << "a timer that disabled itself stays quiet";
}

}  // namespace
}  // namespace quillon
