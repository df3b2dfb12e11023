// Starts Qt, the platform services and the reader window, with the book and the screen size the
// command line names; or prints what the command line asks for and ends.

#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <memory>
#include <new>
#include <optional>
#include <system_error>
#include <thread>

#include "book/book_file.h"
#include "book/book_labels.h"
#include "book/chapters.h"
#include "chapters/chapter_pages.h"
#include "platform/files.h"
#include "platform/qt/command_line.h"
#include "platform/qt/convert.h"
#include "platform/qt/qt_platform.h"
#include "reader/book_prefetch.h"
#include "reader/frmMain.h"
#include "records/book_encodings.h"
#include "settings/pub_variables.h"

namespace {

void Print(const QString& text, bool error) {
  std::fputs(text.toLocal8Bit().constData(), error ? stderr : stdout);
}

// A termination signal only writes a byte here; the event loop reads it and closes the window as
// its close button would, so the book in view is remembered.
int signalPipe[2] = {-1, -1};

void OnTerminationSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

// quillon --chapters BOOK: the book read as the reader reads it, in the encoding the user chose
// for it if any.
int PrintChapters(const std::u16string& path, quillon::ScriptConversion conversion) {
  const quillon::qt::QtProgram program;
  const std::optional<quillon::BookEncoding> chosen = quillon::ChosenEncoding(
      quillon::files::ReadWholeFile(quillon::BookEncodingsFilePath(program.Directory()))
          .value_or(""),
      path);
  try {
    const quillon::BookFile book = quillon::ReadBookFile(path, chosen);
    if (!book.Text) {
      Print(QStringLiteral("quillon: ") +
                quillon::qt::ToQString(book.NotText ? u"这个文件不像文本文件：" +
                                                          quillon::files::ShownPath(path)
                                                    : quillon::BookNotReadText(path)) +
                '\n',
            true);
      return 1;
    }
    std::unique_ptr<quillon::ScriptConverter> converter;
    if (conversion != quillon::ScriptConversion::None) {
      converter = quillon::ScriptConverter::Open(conversion);
      if (converter == nullptr) {
        Print(QStringLiteral("quillon: 没有找到简繁转换的词典（OpenCC），请安装 libopencc1.1 和 "
                             "libopencc-data。\n"),
              true);
        return 1;
      }
    }
    const bool written = quillon::WriteChapterListing(
        *book.Text, quillon::FindChapters(*book.Text), converter.get(), [](std::string_view bytes) {
          return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
        });
    if (!written) return 1;
  } catch (const std::bad_alloc&) {
    Print(QStringLiteral("quillon: 这本书太大，没有足够的内存读它。\n"), true);
    return 1;
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}

// Lists the fonts on a thread of its own from its making until its end.
class FontList {
 public:
  FontList() {
    try {
      thread_ = std::thread([] { QFontDatabase::families(); });
    } catch (const std::system_error&) {
      // Then the first text drawn lists them.
    }
  }
  ~FontList() {
    if (thread_.joinable()) thread_.join();
  }
  FontList(const FontList&) = delete;
  FontList& operator=(const FontList&) = delete;

 private:
  std::thread thread_;
};

}  // namespace

int main(int argc, char* argv[]) {
  quillon::qt::CommandLine line;
  {
    // Read before a window system is asked for: --help, --version and --chapters need no display.
    const QCoreApplication core(argc, argv);
    line = quillon::qt::ParseCommandLine(std::vector<std::string>(argv, argv + argc),
                                         QStringLiteral(QUILLON_VERSION));
    if (line.Exit) {
      Print(line.Output, line.ExitCode != 0);
      return line.ExitCode;
    }
    if (line.ListChapters) return PrintChapters(*line.Book, line.Convert);
  }

  QApplication application(argc, argv);
  // The book named is read while the window is made. Not before: on two cores, reading beside
  // the start of the window system (its plugins loaded, the display asked) slows that by more
  // than the read takes, and the window's making leaves time enough for the read.
  std::unique_ptr<quillon::BookPrefetch> prefetch;
  if (line.Book) {
    const quillon::qt::QtProgram program;
    prefetch = std::make_unique<quillon::BookPrefetch>(
        *line.Book,
        quillon::ChosenEncoding(
            quillon::files::ReadWholeFile(quillon::BookEncodingsFilePath(program.Directory()))
                .value_or(""),
            *line.Book),
        quillon::BookPrefetch::kStartWorthBytes);
  }
  // The fonts installed are listed while the window is built, which needs none of them yet; its
  // first paint would otherwise wait for the font configuration to be read.
  const FontList fonts;
  // The windows decide when the program ends: unloading the last one ends it.
  QApplication::setQuitOnLastWindowClosed(false);

  quillon::qt::QtPlatform platform;
  if (const std::optional<QString> refusal = platform.FitScreen(line)) {
    Print(QStringLiteral("quillon: ") + *refusal + '\n', true);
    platform.dialogs.MessageBox(quillon::qt::FromQString(*refusal), u"Quillon",
                                quillon::MessageIcon::Information);
    return 2;
  }
  platform.program.MakeWritableFolder();

  quillon::mPubVariable pub;
  quillon::frmMain reader(platform.platform, pub);
  if (line.Book) {
    // A book read by the time the window loads is shown as it first appears.
    reader.TakePrefetch(std::move(prefetch));
    reader.OpenOnLoad(*line.Book);
  }
  reader.Show();
  if (platform.program.Ended() || !reader.IsLoaded()) return 0;

  std::unique_ptr<QSocketNotifier> signalNotifier;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) == 0) {
    signalNotifier = std::make_unique<QSocketNotifier>(signalPipe[1], QSocketNotifier::Read);
    QObject::connect(signalNotifier.get(), &QSocketNotifier::activated, [&reader] {
      char byte = 0;
      [[maybe_unused]] const ssize_t got = ::read(signalPipe[1], &byte, 1);
      if (reader.IsLoaded()) reader.CloseFromFrame();
    });
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) std::signal(signal, OnTerminationSignal);
  }
  // The desktop session ending may not give the window time to close itself.
  QObject::connect(&application, &QGuiApplication::commitDataRequest,
                   [&reader](QSessionManager&) { reader.SaveBookInView(); });
  if (line.Book && !reader.OpenedOnLoad()) {
    if (!quillon::files::FileExists(*line.Book)) {
      Print(QStringLiteral("quillon: ") +
                quillon::qt::ToQString(quillon::BookNotReadText(*line.Book)) + '\n',
            true);
    }
    // A book that cannot be read is told in a message, and the cover stays.
    reader.OpenBook(*line.Book);
  }
  // A page shown from the book's first lines: the rest comes in behind it.
  reader.FinishOpening();
  // Closed (or ended by a signal) while the book was read: no event loop was there to quit.
  if (platform.program.Ended() || !reader.IsLoaded()) return 0;
  return QApplication::exec();
}
