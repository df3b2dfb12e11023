#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QProxyStyle>
#include <QTranslator>

#include <cmath>

#include "platform/qt/fonts.h"
#include "reader/screen_mode.h"

namespace quillon::qt {

namespace {

// Fusion, without the pictures it puts on dialog buttons: a Chinese "确定" reads better alone.
class ReaderStyle : public QProxyStyle {
 public:
  ReaderStyle() : QProxyStyle(QStringLiteral("Fusion")) {}
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

}  // namespace

QtPlatform::QtPlatform() {
  InstallFaceSubstitutions();
  QApplication::setStyle(new ReaderStyle);
  // Dialogs, tooltips and toolbar captions: a clean Chinese sans at the desktop's usual size.
  QApplication::setFont(MakeFont({u"黑体", 9.0f, false, false, false}));
  // The reader speaks Chinese, and so should the standard dialogs it borrows from Qt.
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (translator->load(QStringLiteral("qtbase_zh_CN"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator);
  }
}

std::optional<QString> QtPlatform::FitScreen(const CommandLine& line) {
  const int width = screen.PixelWidth();
  const int height = screen.PixelHeight();
  const std::optional<ScreenFit> fit =
      quillon::FitScreen(width, height, line.ScreenWidth, line.ScreenHeight);
  if (!fit) {
    if (line.ScreenWidth == 0) return std::nullopt;
    return QStringLiteral("屏幕是 %1x%2，放不下 --screen 要求的 %3x%4。")
        .arg(width)
        .arg(height)
        .arg(line.ScreenWidth)
        .arg(line.ScreenHeight);
  }
  double scale = fit->Scale;
  if (line.Scale > 0) {
    if (!FitsAtScale(*fit, line.Scale, width, height)) {
      return QStringLiteral("屏幕是 %1x%2，%3x%4 的布局放大 %5 倍就放不下了；最多可以放大 %6 倍。")
          .arg(width)
          .arg(height)
          .arg(fit->Width)
          .arg(fit->Height)
          .arg(line.Scale)
          .arg(std::floor(LargestScale(*fit, width, height) * 100) / 100);
    }
    scale = line.Scale;
  }
  QtScreen::Magnify(scale);
  screen.UseArea(fit->Width, fit->Height);
  return std::nullopt;
}

}  // namespace quillon::qt
