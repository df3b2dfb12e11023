#include "platform/qt/services.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <future>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

// The one call past Qt's public interface: the factor QT_SCALE_FACTOR gives, set once the screen
// is known rather than before Qt starts.
#include <QtGui/private/qhighdpiscaling_p.h>

#include "platform/qt/convert.h"
#include "platform/qt/open_dialog.h"
#include "platform/qt/widgets.h"

namespace quillon::qt {

namespace {

int TwipsPerPixel(double dotsPerInch) {
  if (dotsPerInch <= 0) return 15;
  return std::max(1, static_cast<int>(std::lround(1440.0 / dotsPerInch)));
}

QWidget* DialogParent() {
  return QApplication::activeWindow();
}

QString LineBreaks(const std::u16string& text) {
  return ToQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

QtScreen::QtScreen() : screen_(QGuiApplication::screenAt(QCursor::pos())) {}

QScreen* QtScreen::Current() const {
  // A screen unplugged while the reader runs leaves the primary one.
  return screen_ != nullptr ? screen_.data() : QGuiApplication::primaryScreen();
}

int QtScreen::TwipsPerPixelX() const {
  QScreen* screen = Current();
  return TwipsPerPixel(screen != nullptr ? screen->logicalDotsPerInchX() : 96.0);
}

int QtScreen::TwipsPerPixelY() const {
  QScreen* screen = Current();
  return TwipsPerPixel(screen != nullptr ? screen->logicalDotsPerInchY() : 96.0);
}

int QtScreen::PixelWidth() const {
  QScreen* screen = Current();
  return screen != nullptr ? screen->geometry().width() : 0;
}

int QtScreen::PixelHeight() const {
  QScreen* screen = Current();
  return screen != nullptr ? screen->geometry().height() : 0;
}

void QtScreen::Magnify(double factor) {
  // Qt's own factor, which a user may have set for every program, stays under ours.
  bool set = false;
  const double desktop = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&set);
  QHighDpiScaling::setGlobalFactor((set && desktop > 0 ? desktop : 1.0) * factor);
}

QPoint QtScreen::Origin() const {
  QScreen* screen = Current();
  if (screen == nullptr) return {};
  const QRect whole = screen->geometry();
  const int spare = areaWidth_ > 0 ? std::max(0, whole.width() - areaWidth_) : 0;
  return whole.topLeft() + QPoint(spare / 2, 0);
}

qreal QtScreen::DevicePixelRatio() const {
  QScreen* screen = Current();
  return screen != nullptr ? screen->devicePixelRatio() : 1.0;
}

int QtScreen::WidthTwips() const {
  return (areaWidth_ > 0 ? areaWidth_ : PixelWidth()) * TwipsPerPixelX();
}

int QtScreen::HeightTwips() const {
  return (areaHeight_ > 0 ? areaHeight_ : PixelHeight()) * TwipsPerPixelY();
}

void QtDialogs::MessageBox(const std::u16string& text, const std::u16string& title,
                           MessageIcon icon) {
  QMessageBox box(icon == MessageIcon::Information ? QMessageBox::Information : QMessageBox::NoIcon,
                  ToQString(title), LineBreaks(text), QMessageBox::Ok, DialogParent());
  box.setTextFormat(Qt::PlainText);
  box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
  box.exec();
}

std::optional<std::u16string> QtDialogs::InputBox(const std::u16string& prompt,
                                                  const std::u16string& title) {
  QInputDialog dialog(DialogParent());
  dialog.setWindowTitle(ToQString(title));
  dialog.setLabelText(LineBreaks(prompt));
  dialog.setOkButtonText(QStringLiteral("确定"));
  dialog.setCancelButtonText(QStringLiteral("取消"));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return FromQString(dialog.textValue());
}

QString QtFileFilter(const std::u16string& filter) {
  const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    const qsizetype bracket = description.indexOf(QLatin1Char('('));
    if (bracket >= 0) description.truncate(bracket);
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    // Names on this system need no dot, so "all files" is "*".
    for (QString& pattern : patterns) {
      if (pattern == QStringLiteral("*.*")) pattern = QStringLiteral("*");
    }
    entries << description.trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                   QLatin1Char(')');
  }
  return entries.join(QStringLiteral(";;"));
}

std::optional<std::u16string> QtDialogs::OpenFile(const OpenFileRequest& request) {
  OpenBookDialog dialog(DialogParent(), QtFileFilter(request.Filter), request.DefaultExt);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Chosen();
}

std::optional<ui::Color> QtDialogs::ChooseColor(ui::Color initial) {
  const QColor chosen =
      QColorDialog::getColor(ToQColor(initial), DialogParent(), QStringLiteral("颜色"));
  if (!chosen.isValid()) return std::nullopt;
  return FromQColor(chosen);
}

bool QtDialogs::Ask(const std::u16string& text, const std::u16string& title,
                    const std::u16string& yes, const std::u16string& no) {
  QMessageBox box(QMessageBox::Question, ToQString(title), LineBreaks(text), QMessageBox::NoButton,
                  DialogParent());
  box.setTextFormat(Qt::PlainText);
  QAbstractButton* yesButton = box.addButton(ToQString(yes), QMessageBox::AcceptRole);
  box.addButton(ToQString(no), QMessageBox::RejectRole);
  box.exec();
  return box.clickedButton() == yesButton;
}

void QtDialogs::RunLongTask(const std::u16string& text, LongTask& task,
                            const std::function<void()>& work) {
  // The window keeps painting while the work runs, but takes no input until the progress window,
  // modal to the whole program, stands in front of it; only work that lasts shows its progress.
  // The work ends the wait itself: a book read in a few milliseconds is not kept waiting for the
  // next look at the progress.
  if (task.PaintAtOnce) {
    // The window is drawn, and a page parked beside it to slide in is painted, before the work
    // competes with the drawing for the processors (a page shown while the rest of its book is
    // read); a window not on screen soon is not waited for.
    QElapsedTimer waited;
    waited.start();
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (!window->isVisible() || window->windowHandle() == nullptr) continue;
      while (!window->windowHandle()->isExposed() && waited.elapsed() < 200) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
      }
      if (window->windowHandle()->isExposed()) window->repaint();
      if (auto* form = dynamic_cast<FormWindow*>(window)) form->PaintParkedPages();
    }
  }
  QEventLoop wait;
  std::atomic<bool> finished{false};
  std::mutex guard;
  std::condition_variable ended;
  std::exception_ptr failure;
  std::thread worker([&] {
    try {
      if (task.PaintAtOnce) PictureSurface::WaitForPaintingAhead(std::chrono::milliseconds(500));
      work();
    } catch (...) {
      failure = std::current_exception();
    }
    {
      const std::lock_guard<std::mutex> lock(guard);
      finished = true;
    }
    ended.notify_all();
    QMetaObject::invokeMethod(&wait, &QEventLoop::quit, Qt::QueuedConnection);
  });
  // Work that ends at once (a book read while the window started) is not worth a paint of what
  // it replaces: the window is drawn once, with its result.
  if (!task.PaintAtOnce) {
    std::unique_lock<std::mutex> lock(guard);
    ended.wait_for(lock, std::chrono::milliseconds(50), [&] { return finished.load(); });
  }
  std::unique_ptr<QProgressDialog> progress;
  QElapsedTimer clock;
  clock.start();
  QTimer tick;
  tick.setInterval(30);
  QObject::connect(&tick, &QTimer::timeout, [&] {
    // A quit that came while the wait was between two runs is not lost for good.
    if (finished) {
      wait.quit();
      return;
    }
    if (!progress && clock.elapsed() >= 500) {
      progress = std::make_unique<QProgressDialog>(ToQString(text), QStringLiteral("取消"), 0, 1000,
                                                   DialogParent());
      progress->setWindowTitle(QStringLiteral("Quillon"));
      progress->setWindowModality(Qt::ApplicationModal);
      progress->setMinimumDuration(0);
      QObject::connect(progress.get(), &QProgressDialog::canceled, [&task] { task.Cancel = true; });
      progress->show();
      // From now on the wait takes input, for 取消.
      wait.quit();
    }
    if (progress && task.Total > 0) {
      progress->setValue(static_cast<int>(1000.0 * static_cast<double>(task.Done) /
                                          static_cast<double>(task.Total)));
    }
  });
  tick.start();
  while (!finished) {
    wait.exec(progress ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
  }
  worker.join();
  progress.reset();
  if (failure) std::rethrow_exception(failure);
}

DateTime QtClock::Now() const {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate date = now.date();
  const QTime time = now.time();
  return DateTime{date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

QtProgram::QtProgram()
    : folders_(
          ChooseDataFolders(ReadFolderFacts(FromQString(QCoreApplication::applicationDirPath())))) {
}

void QtProgram::MakeWritableFolder() const {
  if (folders_.Writable != folders_.Shipped) QDir().mkpath(ToQString(folders_.Writable));
}

void QtProgram::End() {
  ended_ = true;
  for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
  QCoreApplication::exit(0);
}

const QPixmap& QtPicture::Pixmap() const {
  if (pixmap_.isNull() && !Image().isNull()) pixmap_ = QPixmap::fromImage(Image());
  return pixmap_;
}

namespace {

// "CoverImg.jpg" drawn at twice the size is "CoverImg@2x.jpg", beside it.
QString TwiceName(const QString& name) {
  const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot > slash ? name.left(dot) + QStringLiteral("@2x") + name.mid(dot)
                     : name + QStringLiteral("@2x");
}

// The format of the pictures we ship, told by their first bytes; empty for any other. Qt asks
// every image plugin whether it reads a format it is not told the plugin of (loading each), even
// one it reads itself, as PNG.
QByteArray FormatOf(const QByteArray& header) {
  const auto starts = [&header](std::initializer_list<unsigned char> bytes) {
    if (header.size() < static_cast<qsizetype>(bytes.size())) return false;
    return std::equal(bytes.begin(), bytes.end(), header.begin(),
                      [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); });
  };
  if (starts({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) return "png";
  if (starts({0xFF, 0xD8, 0xFF})) return "jpeg";
  if (starts({0, 0, 2, 0})) return "cur";
  return {};
}

}  // namespace

ui::PicturePtr QtPictures::Load(const std::u16string& path) {
  return LoadFor(path, qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0);
}

ui::PicturePtr QtPictures::LoadFor(const std::u16string& path, qreal devicePixelRatio) {
  const QString name = ToQString(path);
  // On a screen drawn larger, the picture made for twice the size, when there is one: drawn
  // smaller it stays sharp, where the picture of the first size would be blurred by enlarging.
  if (devicePixelRatio > 1) {
    if (auto twice = Read(path, TwiceName(name), 2)) return twice;
  }
  return Read(path, name, 1);
}

QtPictures::~QtPictures() {
  for (const std::shared_future<QImage>& image : decoding_) image.wait();
}

ui::PicturePtr QtPictures::Read(const std::u16string& source, const QString& name, int ratio) {
  const std::pair<QString, int> key(name, ratio);
  if (auto found = loaded_.find(key); found != loaded_.end()) {
    if (std::shared_ptr<const QtPicture> picture = found->second.lock()) return picture;
  }
  auto file = std::make_shared<QFile>(name);
  if (!file->open(QIODevice::ReadOnly)) return nullptr;
  const QByteArray header = file->peek(14);
  const QByteArray format = FormatOf(header);
  // A cursor file: the ico plugin reads its image, the hot spot is ours to take from the header.
  const bool isCursor = format == "cur" && header.size() >= 14;
  QPoint hotSpot;
  if (isCursor) {
    auto u16 = [&header](int at) {
      return static_cast<int>(static_cast<unsigned char>(header[at])) |
             (static_cast<int>(static_cast<unsigned char>(header[at + 1])) << 8);
    };
    hotSpot = QPoint(u16(10), u16(12)) / ratio;
  }
  auto reader = std::make_shared<QImageReader>(file.get(), format);
  if (!format.isEmpty()) reader->setAutoDetectImageFormat(false);
  // What no plugin takes is no picture; whether it decodes is known only once it has.
  if (!reader->canRead()) return nullptr;
  auto decode = [file, reader, ratio] {
    QImage image = reader->read();
    if (!image.isNull()) image.setDevicePixelRatio(ratio);
    return image;
  };
  std::shared_future<QImage> image;
  constexpr qint64 kDecodedWhereItIs = 64 * 1024;
  if (file->size() > kDecodedWhereItIs) {
    try {
      image = std::async(std::launch::async, decode).share();
      decoding_.erase(std::remove_if(decoding_.begin(), decoding_.end(),
                                     [](const std::shared_future<QImage>& other) {
                                       return other.wait_for(std::chrono::seconds(0)) ==
                                              std::future_status::ready;
                                     }),
                      decoding_.end());
      decoding_.push_back(image);
    } catch (const std::system_error&) {
    }
  }
  if (!image.valid()) {
    std::promise<QImage> now;
    now.set_value(decode());
    image = now.get_future().share();
    if (image.get().isNull()) return nullptr;
  }
  auto picture = std::make_shared<const QtPicture>(source, std::move(image), isCursor, hotSpot);
  loaded_[key] = picture;
  return picture;
}

}  // namespace quillon::qt
