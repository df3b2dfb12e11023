#include "platform/qt/command_line.h"

#include <QCommandLineParser>
#include <QDir>
#include <QRegularExpression>

#include "book/book_labels.h"
#include "platform/files.h"
#include "platform/qt/convert.h"

namespace quillon::qt {

namespace {

const QString kScreens = QStringLiteral("1024x768、1280x1024、1366x768、1440x900");

CommandLine Ending(int code, const QString& output) {
  CommandLine line;
  line.Exit = true;
  line.ExitCode = code;
  line.Output = output;
  return line;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments, const QString& version) {
  QStringList decoded;
  for (const std::string& argument : arguments) decoded << QString::fromLocal8Bit(argument);
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Quillon：中文 txt 小说阅读器。"));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("显示这段说明后退出。"));
  const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                         QStringLiteral("显示版本后退出。"));
  const QCommandLineOption screen(
      QStringLiteral("screen"),
      QStringLiteral("按这四种分辨率之一布局：") + kScreens +
          QStringLiteral("；屏幕更大时放大到屏幕能放下的大小。不给出时按屏幕选择最合适的一种。"),
      QStringLiteral("WxH"));
  const QCommandLineOption scale(
      QStringLiteral("scale"),
      QStringLiteral("放大倍数，1 到 4 之间，如 1.5；1 为不放大。不给出时放大到屏幕能放下的大小。"),
      QStringLiteral("F"));
  const QCommandLineOption chapters(
      QStringLiteral("chapters"),
      QStringLiteral("列出这本书的章节后退出：每章一行，书中的行号、制表符和章节标题（UTF-8）。"));
  parser.addOption(help);
  parser.addOption(versionOption);
  parser.addOption(screen);
  parser.addOption(scale);
  parser.addOption(chapters);
  const QCommandLineOption convert(
      QStringLiteral("convert"),
      QStringLiteral(
          "和 --chapters 一起用：标题按 t2s（繁体→简体）或 s2t（简体→繁体）转换后列出。"),
      QStringLiteral("t2s|s2t"));
  parser.addOption(convert);
  parser.addPositionalArgument(QStringLiteral("BOOK"),
                               QStringLiteral("要打开的书；读过的书从上次的进度接着读。"),
                               QStringLiteral("[BOOK]"));

  const QString program = QStringLiteral("quillon");
  if (!parser.parse(decoded)) {
    return Ending(2, program + QStringLiteral(": ") + parser.errorText() +
                         QStringLiteral("\n请用 quillon --help 查看用法。\n"));
  }
  if (parser.isSet(help)) return Ending(0, parser.helpText());
  if (parser.isSet(versionOption)) return Ending(0, program + QStringLiteral(" ") + version + '\n');

  CommandLine line;
  if (parser.isSet(screen)) {
    static const QRegularExpression size(QStringLiteral("^(\\d{3,4})[xX*](\\d{3,4})$"));
    const QString value = parser.value(screen);
    const QRegularExpressionMatch match = size.match(value);
    const QString normal =
        match.hasMatch() ? match.captured(1) + 'x' + match.captured(2) : QString();
    if (!kScreens.split(QStringLiteral("、")).contains(normal)) {
      return Ending(2, program + QStringLiteral(": --screen ") + value +
                           QStringLiteral(" 不是 Quillon 支持的分辨率；可以用的是 ") + kScreens +
                           QStringLiteral("。\n"));
    }
    line.ScreenWidth = match.captured(1).toInt();
    line.ScreenHeight = match.captured(2).toInt();
  }
  if (parser.isSet(scale)) {
    const QString value = parser.value(scale);
    bool number = false;
    const double factor = value.toDouble(&number);
    // The comparison is written so that NaN fails it too.
    if (!number || !(factor >= 1.0 && factor <= 4.0)) {
      return Ending(2, program + QStringLiteral(": --scale ") + value +
                           QStringLiteral(" 不是 1 到 4 之间的数，如 1、1.5 或 2。\n"));
    }
    line.Scale = factor;
  }
  const QStringList books = parser.positionalArguments();
  if (books.size() > 1) {
    return Ending(2, program + QStringLiteral(": 一次只能打开一本书。\n"));
  }
  line.ListChapters = parser.isSet(chapters);
  if (line.ListChapters && books.isEmpty()) {
    return Ending(2, program + QStringLiteral(": --chapters 要跟一本书。\n"));
  }
  if (parser.isSet(convert)) {
    const std::optional<ScriptConversion> conversion =
        ScriptConversionNamed(FromQString(parser.value(convert)));
    if (!conversion) {
      return Ending(2, program + QStringLiteral(": --convert ") + parser.value(convert) +
                           QStringLiteral(" 不是 t2s 或 s2t。\n"));
    }
    if (!line.ListChapters) {
      return Ending(2, program + QStringLiteral(": --convert 只和 --chapters 一起用。\n"));
    }
    line.Convert = *conversion;
  }
  if (!books.isEmpty()) {
    // The book's own bytes, found again among the arguments: decoding may have lost some.
    std::string book = books.front().toLocal8Bit().toStdString();
    for (std::size_t i = arguments.size(); i-- > 1;) {
      if (QString::fromLocal8Bit(arguments[i]) == books.front()) {
        book = arguments[i];
        break;
      }
    }
    if (book.empty()) {
      return Ending(2, program + QStringLiteral(": ") + ToQString(BookNotReadText(u"")) + '\n');
    }
    // The folder's own bytes too: its name need not be UTF-8 either.
    if (book[0] != '/') book = files::NativePath(files::WorkingDirectory()) + '/' + book;
    line.Book =
        files::PathFromNative(QDir::cleanPath(QString::fromLatin1(book)).toLatin1().toStdString());
  }
  return line;
}

}  // namespace quillon::qt
