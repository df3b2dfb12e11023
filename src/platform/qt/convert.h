#pragma once
// Between the kit's values and Qt's: text, colours, and twips to pixels.

#include <QColor>
#include <QString>
#include <cmath>
#include <string>

#include "platform/ui/types.h"

namespace quillon::qt {

inline QString ToQString(const std::u16string& text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string FromQString(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<std::size_t>(text.size()));
}

// Rounds to the nearest pixel; only the backend rounds, and only when it places a widget.
inline int PixelsFromTwips(int twips, int twipsPerPixel) {
  return static_cast<int>(std::lround(static_cast<double>(twips) / twipsPerPixel));
}

QColor ToQColor(ui::Color color);
ui::Color FromQColor(const QColor& color);

}  // namespace quillon::qt
