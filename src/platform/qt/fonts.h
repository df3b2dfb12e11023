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

}  // namespace quillon::qt
