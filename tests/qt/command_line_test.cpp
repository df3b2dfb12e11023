// The command line as a user types it: a book, --screen, --scale, --chapters, --help and
// --version, and mistakes.

#include "platform/qt/command_line.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>

#include "platform/files.h"
#include "platform/qt/convert.h"
#include "support/temp_dir.h"

namespace quillon {
namespace {

TEST(CommandLine, BooksScreensHelpAndMistakes) {
  struct Case {
    QStringList arguments;
    int exitCode;  // -1: not ended by reading the line (the reader starts, or lists chapters)
    const char* output;
    const char* book;
    int width;
    bool chapters = false;
    double scale = 0;
    ScriptConversion convert = ScriptConversion::None;
  };
  const QString cwd = QDir::currentPath();
  const Case cases[] = {
      {{}, -1, "", nullptr, 0},
      {{"/书库/红楼梦.txt"}, -1, "", "/书库/红楼梦.txt", 0},
      {{"红楼梦.txt"}, -1, "", "红楼梦.txt", 0},  // relative: made absolute
      {{"--screen", "1440x900", "a.txt"}, -1, "", "a.txt", 1440},
      {{"--screen=1024*768"}, -1, "", nullptr, 1024},
      {{"--screen", "1920x1080"}, 2, "1920x1080 不是 Quillon 支持的分辨率", nullptr, 0},
      {{"--screen", "big"}, 2, "不是 Quillon 支持的分辨率", nullptr, 0},
      {{"--scale", "1.5", "a.txt"}, -1, "", "a.txt", 0, false, 1.5},
      {{"--scale=1", "--screen", "1366x768"}, -1, "", nullptr, 1366, false, 1},
      {{"--scale", "4"}, -1, "", nullptr, 0, false, 4},
      {{"--scale", "0.5"}, 2, "--scale 0.5 不是 1 到 4 之间的数", nullptr, 0},
      {{"--scale", "4.01"}, 2, "不是 1 到 4 之间的数", nullptr, 0},
      {{"--scale", "两倍"}, 2, "不是 1 到 4 之间的数", nullptr, 0},
      {{"--scale", "nan"}, 2, "不是 1 到 4 之间的数", nullptr, 0},
      {{"--scale", "inf"}, 2, "不是 1 到 4 之间的数", nullptr, 0},
      {{"--scale"}, 2, "--help", nullptr, 0},
      {{"--colour"}, 2, "--help", nullptr, 0},
      {{"a.txt", "b.txt"}, 2, "一次只能打开一本书", nullptr, 0},
      {{""}, 2, "书的路径是空的", nullptr, 0},  // not the working folder taken for a book
      {{"--chapters", ""}, 2, "书的路径是空的", nullptr, 0},
      {{"--chapters", "/书库/红楼梦.txt"}, -1, "", "/书库/红楼梦.txt", 0, true},
      {{"红楼梦.txt", "--chapters"}, -1, "", "红楼梦.txt", 0, true},
      {{"--chapters"}, 2, "--chapters 要跟一本书", nullptr, 0},
      {{"--chapters", "--convert", "t2s", "/书库/儒林外史.txt"},
       -1,
       "",
       "/书库/儒林外史.txt",
       0,
       true,
       0,
       ScriptConversion::ToSimplified},
      {{"--convert=s2t", "--chapters", "a.txt"},
       -1,
       "",
       "a.txt",
       0,
       true,
       0,
       ScriptConversion::ToTraditional},
      {{"--chapters", "--convert", "t2tw", "a.txt"},
       2,
       "--convert t2tw 不是 t2s 或 s2t",
       nullptr,
       0},
      {{"--convert", "t2s", "a.txt"}, 2, "--convert 只和 --chapters 一起用", nullptr, 0},
      {{"--help"}, 0, "--screen <WxH>", nullptr, 0},
      {{"--help"}, 0, "--chapters", nullptr, 0},
      {{"--help"}, 0, "--scale <F>", nullptr, 0},
      {{"--version"}, 0, "quillon 2.0.0", nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    std::vector<std::string> arguments{"quillon"};
    for (const QString& argument : c.arguments) arguments.push_back(argument.toStdString());
    const qt::CommandLine line = qt::ParseCommandLine(arguments, QStringLiteral("2.0.0"));
    EXPECT_EQ(line.Exit ? line.ExitCode : -1, c.exitCode);
    EXPECT_TRUE(line.Output.contains(QString::fromUtf8(c.output))) << line.Output.toStdString();
    if (c.book == nullptr) {
      EXPECT_FALSE(line.Book.has_value());
    } else {
      ASSERT_TRUE(line.Book.has_value());
      const QString book = QString::fromUtf8(c.book);
      EXPECT_EQ(qt::ToQString(*line.Book), book.startsWith('/') ? book : cwd + '/' + book);
    }
    EXPECT_EQ(line.ScreenWidth, c.width);
    EXPECT_EQ(line.ListChapters, c.chapters);
    EXPECT_EQ(line.Scale, c.scale);
    EXPECT_EQ(line.Convert, c.convert);
  }
  // A name in GBK bytes, as archives made on Windows carry, is read as GB18030.
  const qt::CommandLine gbk =
      qt::ParseCommandLine({"quillon", "/\xBA\xEC\xC2\xA5\xC3\xCE.txt"}, QStringLiteral("2.0.0"));
  ASSERT_TRUE(gbk.Book.has_value());
  EXPECT_EQ(qt::ToQString(*gbk.Book), QString::fromUtf8("/红楼梦.txt"));
  // Bytes of neither keep their bytes, in the book's name and in the working folder's.
  const fake::TempDir temp;
  const std::string folder = temp.path() + "/dir\xE9";
  ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
  const std::string working = files::NativePath(files::WorkingDirectory());
  ASSERT_EQ(::chdir(folder.c_str()), 0);
  const qt::CommandLine latin =
      qt::ParseCommandLine({"quillon", "caf\xE9.txt"}, QStringLiteral("2.0.0"));
  ASSERT_EQ(::chdir(working.c_str()), 0);
  ASSERT_TRUE(latin.Book.has_value());
  EXPECT_EQ(files::NativePath(*latin.Book), folder + "/caf\xE9.txt");
}

}  // namespace
}  // namespace quillon
