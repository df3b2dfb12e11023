#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QProxyStyle>
#include <QTranslator>

#include "platform/qt/fonts.h"

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

}  // namespace quillon::qt
