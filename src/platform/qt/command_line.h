#pragma once
// The reader's command line: quillon [--screen WxH] [--scale F] [BOOK] or quillon --chapters
// [--convert t2s|s2t] BOOK, besides --help and --version.

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "book/script_convert.h"

namespace quillon::qt {

struct CommandLine {
  // The book to start in, made absolute so that it matches the paths in the reading history.
  std::optional<std::u16string> Book;
  // --screen: lay the reader out for this supported size on a larger screen.
  int ScreenWidth = 0;
  int ScreenHeight = 0;
  // --scale: the factor the layout is drawn at, 1 to 4; 0 lets the screen decide.
  double Scale = 0;
  // --chapters: print the book's chapters and end, without a window; --convert: in this script.
  bool ListChapters = false;
  ScriptConversion Convert = ScriptConversion::None;
  // Help, the version or a mistake: print Output (on standard error when the code is not 0)
  // and end with ExitCode instead of starting.
  bool Exit = false;
  int ExitCode = 0;
  QString Output;
};

// The arguments as the system passed them, in bytes: a book's name need not be UTF-8.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments, const QString& version);

}  // namespace quillon::qt
