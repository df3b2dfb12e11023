#include "platform/qt/qt_platform.h"

#include "platform/qt/fonts.h"

namespace quillon::qt {

QtPlatform::QtPlatform() {
  InstallFaceSubstitutions();
}

}  // namespace quillon::qt
