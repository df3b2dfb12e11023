#pragma once
// The widgets that show kit controls Qt has no ready widget for: a form's inside with its picture,
// picture boxes, shapes and the toolbar.

#include <QLabel>
#include <QPixmap>
#include <QToolButton>
#include <QWidget>
#include <functional>
#include <vector>

namespace quillon::qt {

// Paints a colour and then a picture at its natural size from the top-left corner, never
// stretched, with an optional one-pixel border.
class PictureSurface : public QWidget {
 public:
  explicit PictureSurface(QWidget* parent = nullptr);
  void SetBackColor(const QColor& color);
  void SetPicture(const QPixmap& picture);
  void SetBorder(bool border);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor back_;
  QPixmap picture_;
  bool border_ = false;
};

// The inside of a form's window; closing the window asks the kit to unload the form.
class FormWindow : public PictureSurface {
 public:
  std::function<void()> onCloseRequested;

 protected:
  void closeEvent(QCloseEvent* event) override;
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
  void SetButtons(const std::vector<ToolbarButtonLook>& buttons);
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
};

}  // namespace quillon::qt
