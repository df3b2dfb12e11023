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
#include <QUrl>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <utility>

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

void PictureSurface::Redraw() {
  const qreal ratio = devicePixelRatioF();
  // At a fractional scale the widget's edge falls inside a device pixel, which it still paints:
  // the picture takes in that pixel too, and the colour fills it, so no unpainted column shows.
  const QSize device(qCeil(width() * ratio), qCeil(height() * ratio));
  if (cache_.size() != device || cache_.devicePixelRatio() != ratio) {
    cache_ = QPixmap(device);
    cache_.setDevicePixelRatio(ratio);
  }
  cache_.fill(back_);
  QPainter painter(&cache_);
  // A picture made for another scale than the screen's is resampled smoothly, not pixel by pixel.
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  if (picture_ != nullptr && !picture_->Pixmap().isNull()) {
    painter.drawPixmap(0, 0, picture_->Pixmap());
  }
  if (border_) {
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
  // Children in their stacking order, the topmost last.
  for (QObject* child : children()) {
    auto* label = dynamic_cast<LabelWidget*>(child);
    if (label == nullptr || !label->isVisibleTo(this)) continue;
    painter.save();
    painter.translate(label->pos());
    painter.setClipRect(label->rect());
    label->DrawContent(painter);
    painter.restore();
  }
  cacheValid_ = true;
}

void PictureSurface::paintEvent(QPaintEvent* event) {
  if (!cacheValid_) Redraw();
  QPainter painter(this);
  const QRect area = event->rect();
  const qreal ratio = cache_.devicePixelRatio();
  painter.drawPixmap(
      area, cache_,
      QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio));
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
  if (PictureSurface* surface = Surface()) {
    surface->InvalidateCache();
  } else {
    update();
  }
}

void LabelWidget::SetText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  Relayout();
}

void LabelWidget::SetTextColor(const QColor& color) {
  textColor_ = color;
  Refresh();
}

void LabelWidget::SetBack(bool opaque, const QColor& color) {
  opaque_ = opaque;
  back_ = color;
  Refresh();
}

void LabelWidget::SetBorder(bool border) {
  border_ = border;
  Refresh();
}

void LabelWidget::SetAlignment(Qt::Alignment alignment) {
  alignment_ = alignment;
  Relayout();
}

void LabelWidget::SetWordWrap(bool wrap) {
  if (wrap == wrap_) return;
  wrap_ = wrap;
  Relayout();
}

void LabelWidget::SetHighlight(int start, int length, const QColor& color) {
  if (start == highlightStart_ && length == highlightLength_ && color == highlightColor_) return;
  highlightStart_ = start;
  highlightLength_ = length;
  highlightColor_ = color;
  Refresh();
}

void LabelWidget::Relayout() {
  QString shown = text_;
  shown.remove(QLatin1Char('\r'));
  shown.replace(QLatin1Char('\n'), QChar::LineSeparator);
  layout_.setText(shown);
  layout_.setTextFormat(Qt::PlainText);
  QTextOption option(alignment_ & Qt::AlignHorizontal_Mask);
  option.setWrapMode(wrap_ ? QTextOption::WordWrap : QTextOption::NoWrap);
  layout_.setTextOption(option);
  // Without wrapping or alignment the text keeps its natural width and is simply cut at the edge.
  const bool needsWidth = wrap_ || (alignment_ & (Qt::AlignHCenter | Qt::AlignRight));
  layout_.setTextWidth(needsWidth ? width() : -1);
  // Laid out when first drawn: a label given its text, font and alignment one after another as
  // the window is built is laid out once, and a label never shown not at all.
  prepared_ = false;
  Refresh();
}

void LabelWidget::resizeEvent(QResizeEvent*) {
  if (wrap_ || (alignment_ & (Qt::AlignHCenter | Qt::AlignRight))) {
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

void LabelWidget::DrawContent(QPainter& painter) const {
  if (opaque_) painter.fillRect(rect(), back_);
  if (border_) {
    painter.setPen(QColor(64, 64, 64));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
  if (text_.isEmpty()) return;
  painter.setFont(font());
  painter.setPen(textColor_);
  if (!prepared_) {
    // In the label's font: unprepared, the text would be measured in the program's default one.
    layout_.prepare(QTransform(), font());
    prepared_ = true;
  }
  if (font().underline()) {
    // Laid-out text carries no underline; the few underlined labels, links, are drawn plainly.
    const int flags = static_cast<int>(alignment_) | Qt::AlignTop | (wrap_ ? Qt::TextWordWrap : 0);
    painter.drawText(rect(), flags, layout_.text());
    return;
  }
  // A line taller than its label (a Chinese fallback font has a tall line) is centred on it, so
  // the cut falls on the empty space above and below the letters.
  const qreal spare = height() - layout_.size().height();
  const qreal top = spare < 0 ? spare / 2 : 0;
  if (highlightLength_ > 0) DrawHighlight(painter, top);
  painter.drawStaticText(QPointF(0, top), layout_);
}

// Laid out again as the static text is, to find where the marked characters stand; only the one
// or two labels that show a mark pay for it.
void LabelWidget::DrawHighlight(QPainter& painter, qreal top) const {
  const QString shown = layout_.text();
  // The shown text has no carriage returns; positions past them move back.
  const auto shownPosition = [this](int position) {
    position = std::clamp(position, 0, static_cast<int>(text_.size()));
    return position - static_cast<int>(text_.left(position).count(QLatin1Char('\r')));
  };
  const int from = shownPosition(highlightStart_);
  const int to = shownPosition(highlightStart_ + highlightLength_);
  if (to <= from) return;
  QTextLayout layout(shown, font());
  layout.setTextOption(layout_.textOption());
  const qreal width = layout_.textWidth() >= 0 ? layout_.textWidth() : 1e6;
  layout.beginLayout();
  qreal y = 0;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    line.setPosition(QPointF(0, y));
    y += line.height();
  }
  layout.endLayout();
  for (int i = 0; i < layout.lineCount(); ++i) {
    const QTextLine line = layout.lineAt(i);
    const int start = std::max(from, line.textStart());
    const int end = std::min(to, line.textStart() + line.textLength());
    if (end <= start) continue;
    const qreal left = line.cursorToX(start);
    const qreal right = line.cursorToX(end);
    painter.fillRect(
        QRectF(std::min(left, right), top + line.y(), std::abs(right - left), line.height()),
        highlightColor_);
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
  // setAttribute(Qt::WA_OpaquePaintEvent);
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
