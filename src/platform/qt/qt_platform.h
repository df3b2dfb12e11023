#pragma once
// All platform services on Qt in one object; create it after the QApplication.

#include "platform/platform.h"
#include "platform/qt/backend.h"
#include "platform/qt/services.h"

namespace quillon::qt {

class QtPlatform {
 public:
  QtPlatform();

  QtScreen screen;
  QtDialogs dialogs;
  QtBackend forms{screen};
  QtClock clock;
  QtProgram program;
  QtPictures pictures;
  Platform platform{screen, dialogs, forms, clock, program, pictures};
};

}  // namespace quillon::qt
