#pragma once
// The widgets that show kit controls Qt has no ready widget for: a form's inside with its picture,
// picture boxes, shapes and the toolbar.

#include <QPixmap>
#include <QStaticText>
#include <QStringList>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/types.h"

namespace quillon::qt {

class QtPicture;

// Paints a colour and then a picture at its natural size from the top-left corner, never
// stretched, with an optional one-pixel border, and the labels that stand on it.
//
// Everything is drawn once into a picture of the whole surface and then only copied: a page of
// rows slides and scrolls every 20 ms, and drawing its text on every tick would cost milliseconds.
// The picture is drawn again only when something on the surface changes.
class PictureSurface : public QWidget {
 public:
  explicit PictureSurface(QWidget* parent = nullptr);
  void SetBackColor(const QColor& color);
  // Decoded, if it is still being decoded, when the surface is first painted.
  void SetPicture(std::shared_ptr<const QtPicture> picture);
  void SetBorder(bool border);
  void InvalidateCache();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void childEvent(QChildEvent* event) override;

 private:
  void Redraw();
  QColor back_;
  std::shared_ptr<const QtPicture> picture_;
  bool border_ = false;
  QPixmap cache_;
  bool cacheValid_ = false;
};

// The inside of a form's window; closing the window asks the kit to unload the form, and local
// files dropped on it are handed on when someone listens.
class FormWindow : public PictureSurface {
 public:
  std::function<void()> onCloseRequested;
  // The paths in the system's bytes.
  std::function<void(const std::vector<std::string>& paths)> onFilesDropped;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
};

// A label that lays its text out once and then only draws it. On a picture surface the surface
// draws it, into its own picture; elsewhere it paints itself.
class LabelWidget : public QWidget {
 public:
  explicit LabelWidget(QWidget* parent);
  void SetText(const QString& text);
  QString text() const { return text_; }
  void SetTextColor(const QColor& color);
  void SetBack(bool opaque, const QColor& color);
  void SetBorder(bool border);
  void SetAlignment(Qt::Alignment alignment);
  void SetWordWrap(bool wrap);
  // Marks `length` characters of the text from `start` (in the text's own units) on `color`.
  void SetHighlight(int start, int length, const QColor& color);
  // Draws the label with its top-left corner at the painter's origin.
  void DrawContent(QPainter& painter) const;
  // What the font was last fitted to, so that the same fit is not measured again; none while the
  // label is hidden and its fit waits until it is shown.
  struct Fit {
    ui::FontSpec Look;
    int Width = 0;
    QStringList Texts;
    bool operator==(const Fit& other) const {
      return Look == other.Look && Width == other.Width && Texts == other.Texts;
    }
  };
  std::optional<Fit> fitted;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Relayout();
  // Asks whoever draws the label to draw it again.
  void Refresh();
  PictureSurface* Surface() const;
  void DrawHighlight(QPainter& painter, qreal top) const;
  QString text_;
  // Laid out when first drawn after a change.
  mutable QStaticText layout_;
  mutable bool prepared_ = false;
  int highlightStart_ = 0;
  int highlightLength_ = 0;
  QColor highlightColor_;
  QColor textColor_;
  QColor back_;
  bool opaque_ = false;
  bool border_ = false;
  bool wrap_ = false;
  Qt::Alignment alignment_ = Qt::AlignLeft;
};

// A frame: an etched box whose top line runs through the middle of its caption, as the classic
// desktop draws one. The caption's font and colour are its own and pass to nothing inside.
class FrameWidget : public QWidget {
 public:
  explicit FrameWidget(QWidget* parent);
  void SetCaption(const QString& caption);
  void SetCaptionFont(const QFont& font);
  void SetCaptionColor(const QColor& color);
  QString caption() const { return caption_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption_;
  QFont font_;
  QColor color_;
};

class ShapeWidget : public QWidget {
 public:
  explicit ShapeWidget(QWidget* parent);
  void SetFill(bool opaque, const QColor& color);
  void SetBorder(bool border, const QColor& color);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool opaque_ = false;
  QColor fill_;
  bool border_ = true;
  QColor borderColor_;
};

// A list whose entries are cut into columns at tab stops, as a classic list box with tab stops
// draws them; each part is shortened with an ellipsis where the next column starts.
class TabStopDelegate : public QStyledItemDelegate {
 public:
  TabStopDelegate(std::vector<int> stopsPixels, QObject* parent);
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  std::vector<int> stops_;
};

struct ToolbarButtonLook {
  bool separator = false;
  QString caption;
  QString toolTip;
  QPixmap icon;
  bool enabled = true;
};

// A row of buttons with the icon above the caption, all as wide as the widest caption, with thin
// separators between groups.
class ToolbarWidget : public QWidget {
 public:
  explicit ToolbarWidget(QWidget* parent);
  // Places are in pixels from the left edge; the buttons fill the toolbar's height.
  void SetButtons(const std::vector<ToolbarButtonLook>& buttons, const std::vector<QRect>& places);
  // Called with the button's number, counted from 1 like the kit's.
  std::function<void(int index)> onButtonClick;
  QToolButton* Button(int index) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Arrange();
  std::vector<QWidget*> items_;
  std::vector<bool> separators_;
  std::vector<QRect> places_;
};

}  // namespace quillon::qt
