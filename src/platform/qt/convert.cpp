#include "platform/qt/convert.h"

#include <QApplication>
#include <QPalette>

namespace quillon::qt {

QColor ToQColor(ui::Color color) {
  if ((color & ui::kSystemColorFlag) == 0) {
    return QColor(ui::RedOf(color), ui::GreenOf(color), ui::BlueOf(color));
  }
  const QPalette palette = QApplication::palette();
  switch (color) {
    case ui::kColorActiveTitleBar:
      return palette.color(QPalette::Active, QPalette::Highlight);
    case ui::kColorWindow:
      return palette.color(QPalette::Base);
    case ui::kColorWindowText:
      return palette.color(QPalette::WindowText);
    default:
      return palette.color(QPalette::Button);
  }
}

ui::Color FromQColor(const QColor& color) {
  return ui::RGB(color.red(), color.green(), color.blue());
}

}  // namespace quillon::qt
