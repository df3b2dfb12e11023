#include "platform/qt/fonts.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

#include "platform/qt/convert.h"

namespace quillon::qt {

namespace {

const QString kSerifCjk = QStringLiteral("Noto Serif CJK SC");
const QString kSansCjk = QStringLiteral("Noto Sans CJK SC");
const QString kBrushCjk = QStringLiteral("AR PL UKai CN");
const QString kBookLatin = QStringLiteral("Liberation Serif");

// Each face with the installed families closest to it in look; a Chinese family always follows,
// so that Chinese text in a Latin face still has its glyphs.
const std::pair<const char16_t*, QStringList> kFaces[] = {
    {u"宋体", {kSerifCjk}},
    {u"新宋体", {kSerifCjk}},
    {u"仿宋_GB2312", {kSerifCjk}},
    {u"仿宋", {kSerifCjk}},
    {u"黑体", {kSansCjk}},
    {u"幼圆", {kSansCjk}},
    // The brush fonts' own Latin letters are plain typewriter shapes; a book face suits them
    // better.
    {u"楷体_GB2312", {kBookLatin, kBrushCjk, kSerifCjk}},
    {u"楷体", {kBookLatin, kBrushCjk, kSerifCjk}},
    {u"隶书", {kBookLatin, kBrushCjk, kSerifCjk}},
    {u"方正舒体", {kBookLatin, kBrushCjk, kSerifCjk}},
    {u"Arial", {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"), kSansCjk}},
    {u"Tahoma", {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), kSansCjk}},
    {u"MS Sans Serif",
     {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), kSansCjk}},
    {u"Times New Roman",
     {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif"), kSerifCjk}},
    {u"Roman", {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif"), kSerifCjk}},
};

bool IsLatinFace(const std::u16string& face) {
  return face == u"Arial" || face == u"Tahoma" || face == u"MS Sans Serif" ||
         face == u"Times New Roman" || face == u"Roman";
}

}  // namespace

QStringList FamiliesForFace(const QString& face) {
  for (const auto& entry : kFaces) {
    if (face == QString::fromUtf16(entry.first)) {
      QStringList families = entry.second;
      if (!families.contains(kSerifCjk)) families << kSerifCjk;
      return families;
    }
  }
  // A face we do not know: ask for it by name, with Chinese glyphs still guaranteed.
  return {face, kSerifCjk, kSansCjk};
}

void InstallFaceSubstitutions() {
  for (const auto& entry : kFaces) {
    QFont::insertSubstitutions(QString::fromUtf16(entry.first),
                               FamiliesForFace(QString::fromUtf16(entry.first)));
  }
}

QString DisplayText(const std::u16string& text, const ui::FontSpec& font) {
  QString shown = ToQString(text);
  // Chinese system faces have half-width Latin letters, so the four spaces before a paragraph
  // make the customary indent of two characters. The CJK fonts here have narrow spaces; an en
  // space is exactly half a character in them. Only the drawing changes, never the text.
  if (!IsLatinFace(font.Name)) shown.replace(QLatin1Char(' '), QChar(0x2002));
  return shown;
}

QFont NarrowedToFit(QFont font, const QStringList& texts, int widthPixels) {
  font.setLetterSpacing(QFont::AbsoluteSpacing, 0);
  if (widthPixels <= 0) return font;
  const auto widest = [&texts](const QFont& candidate) {
    const QFontMetricsF metrics(candidate);
    std::pair<qreal, qsizetype> found{0, 0};
    for (const QString& text : texts) {
      found = std::max(found,
                       std::pair<qreal, qsizetype>{metrics.horizontalAdvance(text), text.size()});
    }
    return found;
  };
  auto [width, characters] = widest(font);
  // Spacing is added once a character; hinted advances may round, so measure again until it fits.
  qreal spacing = 0;
  for (int tries = 0; width > widthPixels && characters > 0 && tries < 8; ++tries) {
    spacing -= (width - widthPixels) / static_cast<qreal>(characters) + 1.0 / 64;
    font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    std::tie(width, characters) = widest(font);
  }
  return font;
}

QFont MakeFont(const ui::FontSpec& look) {
  QFont font;
  font.setFamilies(FamiliesForFace(ToQString(look.Name)));
  // A damaged settings file may hold any size; keep Qt within sizes it can render.
  const double size =
      std::isfinite(look.Size) ? std::clamp(static_cast<double>(look.Size), 1.0, 200.0) : 9.0;
  font.setPointSizeF(size);
  font.setBold(look.Bold);
  font.setItalic(look.Italic);
  font.setUnderline(look.Underline);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

}  // namespace quillon::qt
