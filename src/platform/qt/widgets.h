#pragma once
// The widgets that show kit controls Qt has no ready widget for: a form's inside with its picture,
// picture boxes, shapes and the toolbar.

#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QStaticText>
#include <QStringList>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QWidget>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/types.h"

namespace quillon::qt {

class QtPicture;

// A font to be narrowed as far as the texts ask to fit them in a width of pixels.
struct Narrowing {
  QFont Base;
  QStringList Texts;
  int Width = 0;
  bool operator==(const Narrowing& other) const {
    return Base == other.Base && Texts == other.Texts && Width == other.Width;
  }
  // The letter spacing that makes the texts fit.
  qreal Measure() const;
  QFont Narrowed(qreal spacing) const;
};

// What a label draws, as it stands at one moment: where it stands on its surface, its text and
// how the text looks.
struct LabelLook {
  QRect Geometry;
  QString Text;
  QFont Font;
  // Then the font is this one, narrowed.
  std::optional<Narrowing> Narrow;
  QColor TextColor;
  QColor Back;
  bool Opaque = false;
  bool Border = false;
  bool Wrap = false;
  Qt::Alignment Alignment = Qt::AlignLeft;
  int HighlightStart = 0;
  int HighlightLength = 0;
  QColor HighlightColor;
  bool operator==(const LabelLook& other) const;
};

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
  // Draws the surface as it stands on a thread of its own, while the rest of its window is built;
  // its first paint takes that picture if nothing on it has changed since. A page of text meets
  // its glyphs for the first time there, which costs more than all the rest of the page.
  void PaintAhead();
  // A surface that was parked beside the window when asked starts now.
  void PaintParkedAhead();
  // Whether the picture now shown is the one painted ahead.
  bool ShowsPaintedAhead() const { return showsAhead_; }
  // Waits, at most `most`, until no surface is being painted ahead; whether none is.
  static bool WaitForPaintingAhead(std::chrono::milliseconds most);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void childEvent(QChildEvent* event) override;

 private:
  // Everything the surface's picture is drawn from.
  struct Scene {
    QSize Size;
    qreal Ratio = 1;
    QColor Back;
    std::shared_ptr<const QtPicture> Picture;
    bool Border = false;
    std::vector<LabelLook> Labels;
    bool operator==(const Scene& other) const;
  };
  Scene Now() const;
  void StartPaintingAhead();
  struct Painted {
    QImage Image;
    // The letter spacing each label's narrowed font was found to need, in the scene's order.
    std::vector<std::optional<qreal>> Spacings;
  };
  // What is drawn of the labels: those within `shown`.
  void Redraw(const QRegion& shown);
  QColor back_;
  std::shared_ptr<const QtPicture> picture_;
  bool border_ = false;
  QImage cache_;
  bool cacheValid_ = false;
  // Where labels stand that the picture does not hold yet.
  QRegion unpainted_;
  bool drawnOnce_ = false;
  std::optional<Scene> aheadScene_;
  // Made by std::async: a surface going away waits for the thread still painting it.
  std::future<Painted> ahead_;
  bool showsAhead_ = false;
  bool aheadOnceShown_ = false;
};

// The inside of a form's window; closing the window asks the kit to unload the form, and local
// files dropped on it are handed on when someone listens.
class FormWindow : public PictureSurface {
 public:
  std::function<void()> onCloseRequested;
  // The paths in the system's bytes.
  std::function<void(const std::vector<std::string>& paths)> onFilesDropped;
  // Starts painting ahead the pages parked beside the window, if they wait for its first paint.
  void PaintParkedPages();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  bool drawn_ = false;
};

// A label that lays its text out once and then only draws it. On a picture surface the surface
// draws it, into its own picture; elsewhere it paints itself.
class LabelWidget : public QWidget {
 public:
  explicit LabelWidget(QWidget* parent);
  void SetText(const QString& text);
  QString text() const { return look_.Text; }
  void SetTextColor(const QColor& color);
  void SetBack(bool opaque, const QColor& color);
  void SetBorder(bool border);
  void SetAlignment(Qt::Alignment alignment);
  void SetWordWrap(bool wrap);
  // Marks `length` characters of the text from `start` (in the text's own units) on `color`.
  void SetHighlight(int start, int length, const QColor& color);
  // The font, narrowed as the narrowing asks when the label is next drawn (or painted ahead):
  // measuring loads the glyph of every character, so it waits until the text is drawn, and the
  // same narrowing asked again is not measured again.
  void SetNarrowedFont(Narrowing narrowing);
  // A narrowing measured elsewhere, if it is still the one the label waits for.
  void TakeNarrowing(const Narrowing& narrowing, qreal spacing);
  LabelLook Look() const;
  // Draws the label with its top-left corner at the painter's origin.
  void DrawContent(QPainter& painter);
  // Draws a label that looks so; `layout` is the text laid out, set up by Lay and prepared here
  // when it is not yet.
  static void Draw(QPainter& painter, const LabelLook& look, QStaticText& layout, bool& prepared);
  static void Lay(QStaticText& layout, const LabelLook& look);

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
  void SetFontNow(const QFont& font);
  PictureSurface* Surface() const;
  static void DrawHighlight(QPainter& painter, const LabelLook& look, const QStaticText& layout,
                            qreal top);
  // All it draws but its place and font, which are the widget's own.
  LabelLook look_;
  // Laid out when first drawn after a change.
  QStaticText layout_;
  bool prepared_ = false;
  // The narrowing last asked, and whether the font is narrowed as it asks yet.
  std::optional<Narrowing> narrowing_;
  bool narrowed_ = false;
  // Set while the label changes what is being drawn, which needs no drawing again.
  bool quiet_ = false;
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
