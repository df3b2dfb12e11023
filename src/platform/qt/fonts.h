#pragma once
// The face names the reader's settings use are those of a Chinese desktop; here they are mapped to
// the installed CJK fonts so that Chinese text never shows as boxes or in Japanese glyph shapes.

#include <QFont>
#include <QString>
#include <QStringList>
#include <string>

#include "platform/ui/types.h"

namespace quillon::qt {

// The installed families to try, best first, for a face name of the settings.
QStringList FamiliesForFace(const QString& face);

// Registers the mapping with Qt, so that a face name given anywhere resolves the same way.
void InstallFaceSubstitutions();

QFont MakeFont(const ui::FontSpec& look);

// The text a label draws for its caption in a face.
QString DisplayText(const std::u16string& text, const ui::FontSpec& font);

// `font` with just enough negative letter spacing that the widest of `texts` is no wider than
// `widthPixels`; unchanged when they fit already. The row widths of the reader come from a fixed
// table, and at some sizes a full row is a few pixels wider than the page.
QFont NarrowedToFit(QFont font, const QStringList& texts, int widthPixels);

}  // namespace quillon::qt
