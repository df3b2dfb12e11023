#pragma once
// All platform services on Qt in one object; create it after the QApplication.

#include <QString>
#include <optional>

#include "platform/platform.h"
#include "platform/qt/backend.h"
#include "platform/qt/command_line.h"
#include "platform/qt/services.h"
#include "platform/qt/speech.h"

namespace quillon::qt {

class QtPlatform {
 public:
  QtPlatform();
  // Lays the reader out in one of its modes on the screen it starts on, drawn as large as the
  // screen allows or as --scale asks, before any window is made. A screen no mode fits is left to
  // the reader, which refuses it. What the command line asks and the screen cannot give is said in
  // the result.
  std::optional<QString> FitScreen(const CommandLine& line);

  QtScreen screen;
  QtDialogs dialogs;
  QtBackend forms{screen};
  QtClock clock;
  QtProgram program;
  QtPictures pictures;
  QtSpeech speech;
  Platform platform{screen, dialogs, forms, clock, program, pictures, &speech};
};

}  // namespace quillon::qt
