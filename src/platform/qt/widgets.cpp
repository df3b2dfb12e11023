#include "platform/qt/widgets.h"

#include <QApplication>
#include <QChildEvent>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLinearGradient>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>
#include <QTimer>
#include <QUrl>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <utility>

#include "platform/qt/fonts.h"
#include "platform/qt/services.h"

namespace quillon::qt {

PictureSurface::PictureSurface(QWidget* parent) : QWidget(parent) {
  // Every pixel is painted here, so Qt may move the surface without repainting what lies under it.
  // Not at a fractional scale: there Qt rounds the surface's edge to a device pixel it leaves to
  // no one, and a column of black shows at the right.
  const qreal ratio = devicePixelRatioF();
  setAttribute(Qt::WA_OpaquePaintEvent, ratio == std::floor(ratio));
}

void PictureSurface::SetBackColor(const QColor& color) {
  back_ = color;
  InvalidateCache();
}

void PictureSurface::SetPicture(std::shared_ptr<const QtPicture> picture) {
  picture_ = std::move(picture);
  InvalidateCache();
}

void PictureSurface::SetBorder(bool border) {
  border_ = border;
  InvalidateCache();
}

void PictureSurface::InvalidateCache() {
  cacheValid_ = false;
  update();
}

void PictureSurface::resizeEvent(QResizeEvent*) {
  InvalidateCache();
}

void PictureSurface::childEvent(QChildEvent* event) {
  if (event->removed()) InvalidateCache();
  QWidget::childEvent(event);
}

bool LabelLook::operator==(const LabelLook& other) const {
  return Geometry == other.Geometry && Text == other.Text && Font == other.Font &&
         Narrow == other.Narrow && TextColor == other.TextColor && Back == other.Back &&
         Opaque == other.Opaque && Border == other.Border && Wrap == other.Wrap &&
         Alignment == other.Alignment && HighlightStart == other.HighlightStart &&
         HighlightLength == other.HighlightLength && HighlightColor == other.HighlightColor;
}

bool PictureSurface::Scene::operator==(const Scene& other) const {
  return Size == other.Size && Ratio == other.Ratio && Back == other.Back &&
         Picture == other.Picture && Border == other.Border && Labels == other.Labels;
}

PictureSurface::Scene PictureSurface::Now() const {
  Scene scene;
  scene.Size = size();
  scene.Ratio = devicePixelRatioF();
  scene.Back = back_;
  scene.Picture = picture_;
  scene.Border = border_;
  for (QObject* child : children()) {
    auto* label = dynamic_cast<LabelWidget*>(child);
    if (label != nullptr && label->isVisibleTo(this)) scene.Labels.push_back(label->Look());
  }
  return scene;
}

namespace {

// About a quarter of a page of text.
constexpr qsizetype kWorthPaintingAhead = 200;

// At a fractional scale the widget's edge falls inside a device pixel, which it still paints: the
// picture takes in that pixel too, and the colour fills it, so no unpainted column shows.
QSize DevicePixels(const QSize& size, qreal ratio) {
  return QSize(qCeil(size.width() * ratio), qCeil(size.height() * ratio));
}

// How many surfaces are being painted ahead, for work that would rather not compete with them.
std::mutex paintingGuard;
std::condition_variable paintingEnded;
int paintingAhead = 0;

void BeginPaintingAhead() {
  const std::lock_guard<std::mutex> lock(paintingGuard);
  ++paintingAhead;
}

void EndPaintingAhead() {
  {
    const std::lock_guard<std::mutex> lock(paintingGuard);
    --paintingAhead;
  }
  paintingEnded.notify_all();
}

// Ends a painting ahead however its thread leaves.
struct PaintingAheadEnds {
  PaintingAheadEnds() = default;
  ~PaintingAheadEnds() { EndPaintingAhead(); }
  PaintingAheadEnds(const PaintingAheadEnds&) = delete;
  PaintingAheadEnds& operator=(const PaintingAheadEnds&) = delete;
};

QImage::Format FormatOver(const QColor& back) {
  return back.alpha() == 255 ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
}

// A copy of a font that shares nothing with it. A font keeps the glyphs it has loaded in itself,
// for the thread that loaded them; a copy another thread draws with must not write there. Changing
// a property (and changing it back) makes the copy its own, without what the font had loaded.
QFont FontOfItsOwn(const QFont& font) {
  QFont own = font;
  const QFont::StyleStrategy strategy = font.styleStrategy();
  own.setStyleStrategy(static_cast<QFont::StyleStrategy>(strategy ^ QFont::NoSubpixelAntialias));
  own.setStyleStrategy(strategy);
  return own;
}

void DrawBorder(QPainter& painter, const QSize& size) {
  painter.setPen(QColor(128, 128, 128));
  painter.drawRect(QRect(QPoint(0, 0), size).adjusted(0, 0, -1, -1));
}

}  // namespace

void PictureSurface::PaintAhead() {
  // A page parked beside the window, the one a reopened book slides in, waits until the window is
  // first drawn: on two cores, painting it beside the window's own first paint slows that.
  const QWidget* top = window();
  if (!QRect(mapTo(top, QPoint(0, 0)), size()).intersects(top->rect())) {
    aheadOnceShown_ = true;
    return;
  }
  StartPaintingAhead();
}

void PictureSurface::PaintParkedAhead() {
  if (!aheadOnceShown_) return;
  aheadOnceShown_ = false;
  StartPaintingAhead();
}

void PictureSurface::StartPaintingAhead() {
  // Only a surface with text enough: the thread loads every font it draws in afresh, which for a
  // few words costs more than it saves.
  if (aheadScene_) return;
  Scene scene = Now();
  qsizetype characters = 0;
  for (const LabelLook& look : scene.Labels) characters += look.Text.size();
  if (scene.Size.isEmpty() || characters < kWorthPaintingAhead) return;
  Scene copy = scene;
  for (LabelLook& look : copy.Labels) {
    look.Font = FontOfItsOwn(look.Font);
    if (look.Narrow) look.Narrow->Base = FontOfItsOwn(look.Narrow->Base);
  }
  // Counted from before the thread starts, so that nobody waiting can miss it.
  BeginPaintingAhead();
  try {
    ahead_ = std::async(std::launch::async, [copy = std::move(copy)] {
      const PaintingAheadEnds ends;
      Painted painted;
      QImage& image = painted.Image;
      image = QImage(DevicePixels(copy.Size, copy.Ratio), FormatOver(copy.Back));
      if (image.isNull()) return painted;
      image.setDevicePixelRatio(copy.Ratio);
      image.fill(copy.Back);
      QPainter painter(&image);
      painter.setRenderHint(QPainter::SmoothPixmapTransform);
      if (copy.Picture != nullptr && !copy.Picture->Image().isNull()) {
        // As the picture is made ready for the screen, for the same pixels as the first paint's.
        const QImage& picture = copy.Picture->Image();
        painter.drawImage(
            0, 0,
            picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                              : QImage::Format_RGB32));
      }
      if (copy.Border) DrawBorder(painter, copy.Size);
      for (LabelLook look : copy.Labels) {
        std::optional<qreal> spacing;
        if (look.Narrow) {
          spacing = look.Narrow->Measure();
          look.Font = look.Narrow->Narrowed(*spacing);
        }
        painted.Spacings.push_back(spacing);
        QStaticText layout;
        LabelWidget::Lay(layout, look);
        bool prepared = false;
        painter.save();
        painter.translate(look.Geometry.topLeft());
        painter.setClipRect(QRect(QPoint(0, 0), look.Geometry.size()));
        LabelWidget::Draw(painter, look, layout, prepared);
        painter.restore();
      }
      painter.end();
      return painted;
    });
    aheadScene_ = std::move(scene);
  } catch (const std::system_error&) {
    // No thread to be had: drawn at the first paint, as at any other time.
    EndPaintingAhead();
  }
}

bool PictureSurface::WaitForPaintingAhead(std::chrono::milliseconds most) {
  std::unique_lock<std::mutex> lock(paintingGuard);
  return paintingEnded.wait_for(lock, most, [] { return paintingAhead == 0; });
}

void PictureSurface::Redraw(const QRegion& shown) {
  showsAhead_ = false;
  if (aheadScene_) {
    const Scene scene = std::move(*aheadScene_);
    aheadScene_.reset();
    bool same = scene == Now();
    Painted painted;
    try {
      painted = ahead_.get();
    } catch (const std::exception&) {
      // Out of memory on that thread: painted here instead.
      same = false;
    }
    if (same && !painted.Image.isNull()) {
      // The labels take the fonts they were drawn in.
      std::size_t index = 0;
      for (QObject* child : children()) {
        auto* label = dynamic_cast<LabelWidget*>(child);
        if (label == nullptr || !label->isVisibleTo(this)) continue;
        if (const std::optional<qreal> spacing = painted.Spacings[index]) {
          label->TakeNarrowing(*scene.Labels[index].Narrow, *spacing);
        }
        ++index;
      }
      cache_ = std::move(painted.Image);
      drawnOnce_ = true;
      unpainted_ = QRegion();
      cacheValid_ = true;
      showsAhead_ = true;
      return;
    }
  }
  const qreal ratio = devicePixelRatioF();
  const QSize device = DevicePixels(size(), ratio);
  if (cache_.size() != device || cache_.format() != FormatOver(back_)) {
    cache_ = QImage(device, FormatOver(back_));
  }
  cache_.setDevicePixelRatio(ratio);
  cache_.fill(back_);
  QPainter painter(&cache_);
  // A picture made for another scale than the screen's is resampled smoothly, not pixel by pixel.
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  if (picture_ != nullptr && !picture_->Pixmap().isNull()) {
    painter.drawPixmap(0, 0, picture_->Pixmap());
  }
  if (border_) DrawBorder(painter, size());
  // Children in their stacking order, the topmost last. A label out of what is shown (one under
  // a page in view, as the cover's are under a book opened at start) waits until it is uncovered:
  // its font may be one nothing else in view needs loaded yet.
  drawnOnce_ = true;
  unpainted_ = QRegion();
  for (QObject* child : children()) {
    auto* label = dynamic_cast<LabelWidget*>(child);
    if (label == nullptr || !label->isVisibleTo(this)) continue;
    if (!shown.intersects(label->geometry())) {
      unpainted_ += label->geometry();
      continue;
    }
    painter.save();
    painter.translate(label->pos());
    painter.setClipRect(label->rect());
    label->DrawContent(painter);
    painter.restore();
  }
  cacheValid_ = true;
}

void PictureSurface::paintEvent(QPaintEvent* event) {
  // Only the surface's first picture leaves out labels out of view: later ones hold every label,
  // so that a page scrolling or sliding into view is not drawn again at every step.
  if (!cacheValid_) {
    Redraw(drawnOnce_ ? QRegion(rect()) : event->region());
  } else if (unpainted_.intersects(event->region())) {
    Redraw(QRegion(rect()));
  }
  QPainter painter(this);
  const QRect area = event->rect();
  const qreal ratio = cache_.devicePixelRatio();
  painter.drawImage(
      area, cache_,
      QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio));
}

void FormWindow::paintEvent(QPaintEvent* event) {
  PictureSurface::paintEvent(event);
  if (drawn_) return;
  drawn_ = true;
  // Once this first picture of the window is on the screen.
  QTimer::singleShot(0, this, [this] { PaintParkedPages(); });
}

void FormWindow::PaintParkedPages() {
  if (!drawn_) return;
  for (QWidget* child : findChildren<QWidget*>()) {
    if (auto* surface = dynamic_cast<PictureSurface*>(child)) surface->PaintParkedAhead();
  }
}

void FormWindow::closeEvent(QCloseEvent* event) {
  // The kit decides: unloading the form takes the window down.
  event->ignore();
  if (onCloseRequested) onCloseRequested();
}

namespace {

QStringList LocalFiles(const QMimeData* data) {
  QStringList paths;
  if (data == nullptr) return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths << url.toLocalFile();
  }
  return paths;
}

std::vector<std::string> LocalFileBytes(const QMimeData* data) {
  // The name's own bytes: a name that is not UTF-8 arrives percent-encoded and would not survive
  // a decoding to text.
  std::vector<std::string> paths;
  if (data == nullptr) return paths;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) continue;
    paths.push_back(
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString());
  }
  return paths;
}

}  // namespace

void FormWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (onFilesDropped && !LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void FormWindow::dropEvent(QDropEvent* event) {
  const std::vector<std::string> paths = LocalFileBytes(event->mimeData());
  if (!onFilesDropped || paths.empty()) return;
  event->acceptProposedAction();
  onFilesDropped(paths);
}

LabelWidget::LabelWidget(QWidget* parent) : QWidget(parent) {
  layout_.setPerformanceHint(QStaticText::AggressiveCaching);
}

PictureSurface* LabelWidget::Surface() const {
  return dynamic_cast<PictureSurface*>(parentWidget());
}

void LabelWidget::Refresh() {
  if (quiet_) return;
  if (PictureSurface* surface = Surface()) {
    surface->InvalidateCache();
  } else {
    update();
  }
}

void LabelWidget::SetText(const QString& text) {
  if (text == look_.Text) return;
  look_.Text = text;
  Relayout();
}

void LabelWidget::SetTextColor(const QColor& color) {
  look_.TextColor = color;
  Refresh();
}

void LabelWidget::SetBack(bool opaque, const QColor& color) {
  look_.Opaque = opaque;
  look_.Back = color;
  Refresh();
}

void LabelWidget::SetBorder(bool border) {
  look_.Border = border;
  Refresh();
}

void LabelWidget::SetAlignment(Qt::Alignment alignment) {
  look_.Alignment = alignment;
  Relayout();
}

void LabelWidget::SetWordWrap(bool wrap) {
  if (wrap == look_.Wrap) return;
  look_.Wrap = wrap;
  Relayout();
}

void LabelWidget::SetHighlight(int start, int length, const QColor& color) {
  if (start == look_.HighlightStart && length == look_.HighlightLength &&
      color == look_.HighlightColor) {
    return;
  }
  look_.HighlightStart = start;
  look_.HighlightLength = length;
  look_.HighlightColor = color;
  Refresh();
}

qreal Narrowing::Measure() const {
  return NarrowedToFit(Base, Texts, Width).letterSpacing();
}

QFont Narrowing::Narrowed(qreal spacing) const {
  QFont font = Base;
  font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
  return font;
}

void LabelWidget::SetNarrowedFont(Narrowing narrowing) {
  if (narrowing_ == narrowing) return;
  const QFont base = narrowing.Base;
  narrowing_ = std::move(narrowing);
  narrowed_ = false;
  if (base != font()) {
    setFont(base);
  } else {
    Relayout();
  }
}

void LabelWidget::TakeNarrowing(const Narrowing& narrowing, qreal spacing) {
  if (narrowed_ || !(narrowing_ == narrowing)) return;
  narrowed_ = true;
  SetFontNow(narrowing.Narrowed(spacing));
}

// While it is being drawn: its surface needs no drawing again.
void LabelWidget::SetFontNow(const QFont& font) {
  quiet_ = true;
  if (font != this->font()) setFont(font);
  quiet_ = false;
}

LabelLook LabelWidget::Look() const {
  LabelLook look = look_;
  look.Geometry = geometry();
  look.Font = font();
  if (!narrowed_) look.Narrow = narrowing_;
  return look;
}

void LabelWidget::Lay(QStaticText& layout, const LabelLook& look) {
  QString shown = look.Text;
  shown.remove(QLatin1Char('\r'));
  shown.replace(QLatin1Char('\n'), QChar::LineSeparator);
  layout.setText(shown);
  layout.setTextFormat(Qt::PlainText);
  QTextOption option(look.Alignment & Qt::AlignHorizontal_Mask);
  option.setWrapMode(look.Wrap ? QTextOption::WordWrap : QTextOption::NoWrap);
  layout.setTextOption(option);
  // Without wrapping or alignment the text keeps its natural width and is simply cut at the edge.
  const bool needsWidth = look.Wrap || (look.Alignment & (Qt::AlignHCenter | Qt::AlignRight));
  layout.setTextWidth(needsWidth ? look.Geometry.width() : -1);
}

void LabelWidget::Relayout() {
  Lay(layout_, Look());
  // Laid out when first drawn: a label given its text, font and alignment one after another as
  // the window is built is laid out once, and a label never shown not at all.
  prepared_ = false;
  Refresh();
}

void LabelWidget::resizeEvent(QResizeEvent*) {
  if (look_.Wrap || (look_.Alignment & (Qt::AlignHCenter | Qt::AlignRight))) {
    Relayout();
  } else {
    Refresh();
  }
}

void LabelWidget::moveEvent(QMoveEvent*) {
  Refresh();
}
void LabelWidget::showEvent(QShowEvent*) {
  Refresh();
}
void LabelWidget::hideEvent(QHideEvent*) {
  Refresh();
}

void LabelWidget::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) Relayout();
  QWidget::changeEvent(event);
}

void LabelWidget::DrawContent(QPainter& painter) {
  if (narrowing_ && !narrowed_) {
    narrowed_ = true;
    SetFontNow(narrowing_->Narrowed(narrowing_->Measure()));
  }
  Draw(painter, Look(), layout_, prepared_);
}

void LabelWidget::Draw(QPainter& painter, const LabelLook& look, QStaticText& layout,
                       bool& prepared) {
  const QRect rect(QPoint(0, 0), look.Geometry.size());
  if (look.Opaque) painter.fillRect(rect, look.Back);
  if (look.Border) {
    painter.setPen(QColor(64, 64, 64));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
  }
  if (look.Text.isEmpty()) return;
  painter.setFont(look.Font);
  painter.setPen(look.TextColor);
  if (!prepared) {
    // In the label's font: unprepared, the text would be measured in the program's default one.
    layout.prepare(QTransform(), look.Font);
    prepared = true;
  }
  if (look.Font.underline()) {
    // Laid-out text carries no underline; the few underlined labels, links, are drawn plainly.
    const int flags =
        static_cast<int>(look.Alignment) | Qt::AlignTop | (look.Wrap ? Qt::TextWordWrap : 0);
    painter.drawText(rect, flags, layout.text());
    return;
  }
  // A line taller than its label (a Chinese fallback font has a tall line) is centred on it, so
  // the cut falls on the empty space above and below the letters.
  const qreal spare = rect.height() - layout.size().height();
  const qreal top = spare < 0 ? spare / 2 : 0;
  if (look.HighlightLength > 0) DrawHighlight(painter, look, layout, top);
  painter.drawStaticText(QPointF(0, top), layout);
}

// Laid out again as the static text is, to find where the marked characters stand; only the one
// or two labels that show a mark pay for it.
void LabelWidget::DrawHighlight(QPainter& painter, const LabelLook& look, const QStaticText& layout,
                                qreal top) {
  const QString shown = layout.text();
  // The shown text has no carriage returns; positions past them move back.
  const auto shownPosition = [&look](int position) {
    position = std::clamp(position, 0, static_cast<int>(look.Text.size()));
    return position - static_cast<int>(look.Text.left(position).count(QLatin1Char('\r')));
  };
  const int from = shownPosition(look.HighlightStart);
  const int to = shownPosition(look.HighlightStart + look.HighlightLength);
  if (to <= from) return;
  QTextLayout lines(shown, look.Font);
  lines.setTextOption(layout.textOption());
  const qreal width = layout.textWidth() >= 0 ? layout.textWidth() : 1e6;
  lines.beginLayout();
  qreal y = 0;
  for (QTextLine line = lines.createLine(); line.isValid(); line = lines.createLine()) {
    line.setLineWidth(width);
    line.setPosition(QPointF(0, y));
    y += line.height();
  }
  lines.endLayout();
  for (int i = 0; i < lines.lineCount(); ++i) {
    const QTextLine line = lines.lineAt(i);
    const int start = std::max(from, line.textStart());
    const int end = std::min(to, line.textStart() + line.textLength());
    if (end <= start) continue;
    const qreal left = line.cursorToX(start);
    const qreal right = line.cursorToX(end);
    painter.fillRect(
        QRectF(std::min(left, right), top + line.y(), std::abs(right - left), line.height()),
        look.HighlightColor);
  }
}

void LabelWidget::paintEvent(QPaintEvent*) {
  if (Surface() != nullptr) return;  // drawn into the surface's picture
  QPainter painter(this);
  DrawContent(painter);
}

FrameWidget::FrameWidget(QWidget* parent) : QWidget(parent) {}

void FrameWidget::SetCaption(const QString& caption) {
  caption_ = caption;
  update();
}

void FrameWidget::SetCaptionFont(const QFont& font) {
  font_ = font;
  update();
}

void FrameWidget::SetCaptionColor(const QColor& color) {
  color_ = color;
  update();
}

void FrameWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics(font_);
  const int middle = metrics.height() / 2;
  const QRect box = rect().adjusted(0, middle, -2, -2);
  // An etched line: a dark edge with a light one beside it.
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(box);
  painter.setPen(palette().color(QPalette::Light));
  painter.drawRect(box.translated(1, 1));
  if (caption_.isEmpty()) return;
  const QRect text(8, 0, metrics.horizontalAdvance(caption_) + 4, metrics.height());
  painter.fillRect(text, palette().color(QPalette::Window));
  painter.setFont(font_);
  painter.setPen(color_);
  painter.drawText(text.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, caption_);
}

ShapeWidget::ShapeWidget(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::SetFill(bool opaque, const QColor& color) {
  opaque_ = opaque;
  fill_ = color;
  update();
}

void ShapeWidget::SetBorder(bool border, const QColor& color) {
  border_ = border;
  borderColor_ = color;
  update();
}

void ShapeWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (opaque_) painter.fillRect(rect(), fill_);
  if (border_) {
    painter.setPen(borderColor_);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

TabStopDelegate::TabStopDelegate(std::vector<int> stopsPixels, QObject* parent)
    : QStyledItemDelegate(parent), stops_(std::move(stopsPixels)) {}

void TabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
  QStyleOptionViewItem look = option;
  initStyleOption(&look, index);
  const QStringList parts = look.text.split(QLatin1Char('\t'));
  // The selection, focus and background as the style draws them, without the text.
  look.text.clear();
  const QWidget* widget = option.widget;
  QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &look, painter, widget);

  const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &look, widget);
  const bool selected = option.state & QStyle::State_Selected;
  painter->save();
  painter->setFont(look.font);
  painter->setPen(look.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  const int gap = QFontMetrics(look.font).horizontalAdvance(QLatin1Char(' '));
  // The first column starts at the left edge, column k at stop k - 1; each ends a space before
  // the next.
  const int columns = std::min(static_cast<int>(parts.size()), static_cast<int>(stops_.size()) + 1);
  for (int part = 0; part < columns; ++part) {
    const auto column = static_cast<std::size_t>(part);
    const int left = part == 0 ? area.left() : option.rect.left() + stops_[column - 1];
    const int right =
        column < stops_.size() ? option.rect.left() + stops_[column] - gap : area.right();
    const QRect cell(left, area.top(), right - left, area.height());
    if (cell.width() <= 0) continue;
    const QString text = look.fontMetrics.elidedText(parts[part], Qt::ElideRight, cell.width());
    painter->drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, text);
  }
  painter->restore();
}

namespace {

constexpr int kIconPixels = 24;

}  // namespace

ToolbarWidget::ToolbarWidget(QWidget* parent) : QWidget(parent) {
  // Not marked opaque: at a fractional scale its buttons may leave a column unpainted, which the
  // window beneath then fills.
}

void ToolbarWidget::SetButtons(const std::vector<ToolbarButtonLook>& buttons,
                               const std::vector<QRect>& places) {
  places_ = places;
  const bool sameShape = buttons.size() == items_.size() &&
                         std::equal(buttons.begin(), buttons.end(), separators_.begin(),
                                    [](const ToolbarButtonLook& look, bool separator) {
                                      return look.separator == separator;
                                    });
  if (!sameShape) {
    for (QWidget* item : items_) delete item;
    items_.clear();
    separators_.clear();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
      separators_.push_back(buttons[i].separator);
      if (buttons[i].separator) {
        auto* line = new QWidget(this);
        line->setAttribute(Qt::WA_TransparentForMouseEvents);
        items_.push_back(line);
      } else {
        auto* button = new QToolButton(this);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        // The keyboard belongs to the page: a clicked button must not take it away.
        button->setFocusPolicy(Qt::NoFocus);
        button->setIconSize(QSize(kIconPixels, kIconPixels));
        const int index = static_cast<int>(i) + 1;
        connect(button, &QToolButton::clicked, this, [this, index] {
          if (onButtonClick) onButtonClick(index);
        });
        items_.push_back(button);
      }
      items_.back()->show();
    }
  }
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (buttons[i].separator) continue;
    auto* button = static_cast<QToolButton*>(items_[i]);
    button->setText(buttons[i].caption);
    button->setToolTip(buttons[i].toolTip);
    button->setIcon(QIcon(buttons[i].icon));
    button->setEnabled(buttons[i].enabled);
  }
  Arrange();
}

QToolButton* ToolbarWidget::Button(int index) const {
  if (index < 1 || index > static_cast<int>(items_.size()) ||
      separators_[static_cast<std::size_t>(index - 1)]) {
    return nullptr;
  }
  return static_cast<QToolButton*>(items_[static_cast<std::size_t>(index - 1)]);
}

void ToolbarWidget::Arrange() {
  const int h = height() - 4;
  for (std::size_t i = 0; i < items_.size() && i < places_.size(); ++i) {
    const QRect& place = places_[i];
    if (separators_[i]) {
      items_[i]->setGeometry(place.x() + place.width() / 2, 6, 1, std::max(0, h - 8));
      items_[i]->setStyleSheet(QStringLiteral("background: rgba(0,0,0,40);"));
    } else {
      items_[i]->setGeometry(place.x(), 2, place.width(), h);
    }
  }
}

void ToolbarWidget::resizeEvent(QResizeEvent*) {
  Arrange();
}

void ToolbarWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QLinearGradient gradient(0, 0, 0, height());
  gradient.setColorAt(0.0, QColor(250, 249, 246));
  gradient.setColorAt(1.0, QColor(228, 225, 216));
  painter.fillRect(rect(), gradient);
  painter.setPen(QColor(190, 186, 176));
  painter.drawLine(0, height() - 1, width(), height() - 1);
}

}  // namespace quillon::qt
