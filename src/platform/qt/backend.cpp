#include "platform/qt/backend.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "platform/files.h"
#include "platform/qt/convert.h"
#include "platform/qt/fonts.h"
#include "platform/qt/services.h"
#include "platform/qt/widgets.h"

namespace quillon::qt {

namespace {

// The key codes of the kit are those of the classic runtime; Qt's letters and digits already
// agree with them.
int KitKeyCode(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return ui::keys::Return;
    case Qt::Key_Escape:
      return ui::keys::Escape;
    case Qt::Key_Space:
      return ui::keys::Space;
    case Qt::Key_PageUp:
      return ui::keys::PageUp;
    case Qt::Key_PageDown:
      return ui::keys::PageDown;
    case Qt::Key_End:
      return ui::keys::End;
    case Qt::Key_Home:
      return ui::keys::Home;
    case Qt::Key_Left:
      return ui::keys::Left;
    case Qt::Key_Up:
      return ui::keys::Up;
    case Qt::Key_Right:
      return ui::keys::Right;
    case Qt::Key_Down:
      return ui::keys::Down;
    case Qt::Key_Delete:
      return ui::keys::Delete;
    case Qt::Key_F3:
      return ui::keys::F3;
    case Qt::Key_F5:
      return ui::keys::F5;
    default:
      if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) ||
          (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
        return qtKey;
      }
      return 0;
  }
}

int KitShift(Qt::KeyboardModifiers modifiers) {
  int shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= 1;
  if (modifiers & Qt::ControlModifier) shift |= 2;
  if (modifiers & Qt::AltModifier) shift |= 4;
  return shift;
}

ui::MouseButton KitButtons(Qt::MouseButtons buttons) {
  if (buttons & Qt::LeftButton) return ui::MouseButton::Left;
  if (buttons & Qt::RightButton) return ui::MouseButton::Right;
  if (buttons & Qt::MiddleButton) return ui::MouseButton::Middle;
  return ui::MouseButton::None;
}

Qt::Alignment QtAlignment(ui::Alignment alignment) {
  switch (alignment) {
    case ui::Alignment::Right:
      return Qt::AlignRight | Qt::AlignTop;
    case ui::Alignment::Center:
      return Qt::AlignHCenter | Qt::AlignTop;
    default:
      return Qt::AlignLeft | Qt::AlignTop;
  }
}

std::shared_ptr<const QtPicture> QtPictureOf(const ui::PicturePtr& picture) {
  return std::dynamic_pointer_cast<const QtPicture>(picture);
}

QPixmap PixmapOf(const ui::PicturePtr& picture) {
  const auto* qtPicture = dynamic_cast<const QtPicture*>(picture.get());
  return qtPicture != nullptr ? qtPicture->Pixmap() : QPixmap();
}

void SetTextColor(QWidget* widget, ui::Color color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, ToQColor(color));
  palette.setColor(QPalette::Text, ToQColor(color));
  palette.setColor(QPalette::ButtonText, ToQColor(color));
  widget->setPalette(palette);
}

// The label's font, narrowed as far as the texts it must fit ask; measured when the label draws.
void ApplyFit(ui::Label& label, LabelWidget* widget, int fitWidthPixels) {
  const ui::FontSpec& look = label.Font.Value();
  QStringList fit = DisplayText(label.FitText, look).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  if (label.FitCaption) fit << DisplayText(label.Caption, look);
  widget->SetNarrowedFont(Narrowing{MakeFont(look), fit, fitWidthPixels});
}

void ApplyLabel(ui::Label& label, LabelWidget* widget, ui::Prop id, int fitWidthPixels) {
  switch (id) {
    case ui::Prop::Caption:
      if (label.FitCaption) ApplyFit(label, widget, fitWidthPixels);
      widget->SetWordWrap(label.WordWrap);
      widget->SetText(DisplayText(label.Caption, label.Font.Value()));
      break;
    case ui::Prop::Font:
    case ui::Prop::Fit:
      ApplyFit(label, widget, fitWidthPixels);
      widget->SetText(DisplayText(label.Caption, label.Font.Value()));
      break;
    case ui::Prop::ForeColor:
      widget->SetTextColor(ToQColor(label.ForeColor));
      break;
    case ui::Prop::BackColor:
    case ui::Prop::BackStyle:
      widget->SetBack(label.BackStyle == ui::BackStyle::Opaque, ToQColor(label.BackColor));
      break;
    case ui::Prop::BorderStyle:
      widget->SetBorder(label.BorderStyle == ui::BorderStyle::FixedSingle);
      break;
    case ui::Prop::Alignment:
      widget->SetAlignment(QtAlignment(label.Alignment));
      break;
    case ui::Prop::Highlight:
      widget->SetHighlight(label.HighlightStart, label.HighlightLength,
                           ToQColor(label.HighlightColor));
      break;
    default:
      break;
  }
}

// Entries are only ever added or all cleared, so a list that has fewer rows than the kit's takes
// the rest; anything else is built anew.
void ApplyListBox(ui::ListBox& list, QListWidget* widget, ui::Prop id) {
  const QSignalBlocker blocker(widget);
  switch (id) {
    case ui::Prop::List: {
      if (widget->count() > list.ListCount()) widget->clear();
      QStringList added;
      for (int i = widget->count(); i < list.ListCount(); ++i) added << ToQString(list.List(i));
      widget->addItems(added);
      widget->setCurrentRow(list.ListIndex);
      break;
    }
    case ui::Prop::Value:
      widget->setCurrentRow(list.ListIndex);
      break;
    case ui::Prop::TopIndex:
      // A list not yet shown has not laid its entries out; it scrolls once it has.
      QTimer::singleShot(0, widget, [widget, row = list.TopIndex.get()] {
        if (QListWidgetItem* item = widget->item(row)) {
          widget->scrollToItem(item, QAbstractItemView::PositionAtTop);
        }
      });
      break;
    case ui::Prop::Font:
      widget->setFont(MakeFont(list.Font.Value()));
      break;
    case ui::Prop::ForeColor:
    case ui::Prop::BackColor: {
      QPalette palette = widget->palette();
      palette.setColor(QPalette::Text, ToQColor(list.ForeColor));
      palette.setColor(QPalette::Base, ToQColor(list.BackColor));
      widget->setPalette(palette);
      break;
    }
    default:
      break;
  }
}

void ApplyComboBox(ui::ComboBox& combo, QComboBox* widget, ui::Prop id) {
  const QSignalBlocker blocker(widget);
  switch (id) {
    case ui::Prop::List: {
      widget->clear();
      for (const std::u16string& item : combo.Items()) widget->addItem(ToQString(item));
      widget->setCurrentIndex(combo.ListIndex);
      widget->setEditText(ToQString(combo.Text));
      break;
    }
    case ui::Prop::Value:
    case ui::Prop::Text:
      if (combo.ListIndex >= 0 && combo.ListIndex < widget->count()) {
        widget->setCurrentIndex(combo.ListIndex);
      }
      widget->setEditText(ToQString(combo.Text));
      break;
    case ui::Prop::Font:
      widget->setFont(MakeFont(combo.Font.Value()));
      break;
    default:
      break;
  }
}

}  // namespace

QtBackend::QtBackend(const QtScreen& screen) : screen_(screen) {}

QtBackend::~QtBackend() {
  for (auto& entry : widgets_) {
    // Forms still alive at exit keep their controls; they must not call back into a dead backend.
    if (auto* form = dynamic_cast<ui::Form*>(const_cast<ui::Control*>(entry.first))) {
      form->AttachObserver(nullptr);
    }
  }
}

int QtBackend::Pixels(int twips) const {
  return PixelsFromTwips(twips, screen_.TwipsPerPixelX());
}

int QtBackend::Twips(int pixels) const {
  return pixels * screen_.TwipsPerPixelX();
}

QWidget* QtBackend::WidgetOf(const ui::Control& control) const {
  auto found = widgets_.find(&control);
  return found == widgets_.end() ? nullptr : found->second;
}

void QtBackend::Show(ui::Form& form) {
  if (QWidget* window = WidgetOf(form)) {
    window->show();
    window->raise();
    window->activateWindow();
    return;
  }
  auto* window = new FormWindow();
  window->setAttribute(Qt::WA_DeleteOnClose, false);
  window->onCloseRequested = [&form] { form.CloseFromFrame(); };
  if (form.onDropFiles) {
    window->setAcceptDrops(true);
    window->onFilesDropped = [&form, window](const std::vector<std::string>& paths) {
      std::vector<std::u16string> dropped;
      for (const std::string& path : paths) dropped.push_back(files::PathFromNative(path));
      // Handled once the desktop's drag has ended, as the reader may show a message box.
      QTimer::singleShot(0, window, [&form, dropped] {
        if (form.onDropFiles) form.onDropFiles(dropped);
      });
    };
  }
  Qt::WindowFlags flags =
      Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
  if (form.BorderStyle == ui::FormBorder::FixedDialog) {
    flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
  } else {
    flags |= Qt::WindowMinimizeButtonHint;
  }
  window->setWindowFlags(flags);
  if (mainForm_ == nullptr) mainForm_ = &form;
  form.AttachObserver(this);
  Register(form, window);
  ApplyAll(form);
  buildingWindow_ = true;
  for (ui::Control* child : form.Children()) Build(*child, window);
  buildingWindow_ = false;
  window->PaintAhead();
  shownForms_.push_back(&form);
  if (form.FirstFocus != nullptr) {
    if (QWidget* first = WidgetOf(*form.FirstFocus)) first->setFocus(Qt::OtherFocusReason);
  }
  window->show();
  window->activateWindow();
}

void QtBackend::RunModal(ui::Form& form) {
  QEventLoop loop;
  modalLoops_[&form] = &loop;
  Show(form);
  if (QWidget* window = WidgetOf(form)) {
    window->hide();
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    loop.exec();
  }
  modalLoops_.erase(&form);
}

void QtBackend::Unload(ui::Form& form) {
  QWidget* window = WidgetOf(form);
  Forget(form);
  form.AttachObserver(nullptr);
  shownForms_.erase(std::remove(shownForms_.begin(), shownForms_.end(), &form), shownForms_.end());
  if (window != nullptr) {
    window->hide();
    window->deleteLater();
  }
  if (auto loop = modalLoops_.find(&form); loop != modalLoops_.end()) loop->second->quit();
  // The program ends when its last window goes, or its main one: a termination signal closes the
  // main window even while a modal one is up, and quitting ends the modal one's loop too.
  if (shownForms_.empty() || &form == mainForm_) {
    QCoreApplication::quit();
    return;
  }
  // The keyboard goes back to the window underneath. A window manager would do that itself, but
  // without one (a bare X session, a kiosk) the focus falls to the root and every key is lost
  // until the user clicks the window.
  for (auto shown = shownForms_.rbegin(); shown != shownForms_.rend(); ++shown) {
    QWidget* under = WidgetOf(**shown);
    if (under != nullptr && under->isVisible()) {
      under->activateWindow();
      break;
    }
  }
}

namespace {

void AddMenuItems(QMenu& menu, const std::vector<ui::MenuItem>& items,
                  const ui::MenuItem*& chosen) {
  for (const ui::MenuItem& item : items) {
    if (item.Caption.empty()) {
      menu.addSeparator();
      continue;
    }
    if (!item.Items.empty()) {
      QMenu* sub = menu.addMenu(ToQString(item.Caption));
      sub->setEnabled(item.Enabled);
      AddMenuItems(*sub, item.Items, chosen);
      continue;
    }
    QAction* action = menu.addAction(ToQString(item.Caption));
    action->setEnabled(item.Enabled);
    action->setCheckable(item.Checked);
    action->setChecked(item.Checked);
    // Shown only: the window hears the keys itself.
    if (!item.Shortcut.empty()) action->setShortcut(QKeySequence(ToQString(item.Shortcut)));
    action->setShortcutVisibleInContextMenu(true);
    QObject::connect(action, &QAction::triggered, &menu, [&chosen, &item] { chosen = &item; });
  }
}

}  // namespace

void QtBackend::PopupMenu(ui::Form& form, const ui::Menu& menu) {
  QWidget* window = WidgetOf(form);
  QMenu popup(window);
  const ui::MenuItem* chosen = nullptr;
  AddMenuItems(popup, menu.Items, chosen);
  popup.exec(QCursor::pos());
  // Raised once the menu has closed, so the command may show a dialog of its own.
  if (chosen != nullptr && chosen->onClick) chosen->onClick();
}

void QtBackend::Build(ui::Control& control, QWidget* parent) {
  QWidget* widget = CreateWidget(control, parent);
  if (widget == nullptr) {
    ApplyAll(control);  // a timer
    return;
  }
  Register(control, widget);
  ApplyAll(control);
  for (ui::Control* child : control.Children()) Build(*child, widget);
  widget->setVisible(control.Visible);
  // While the rest of the window is built.
  if (auto* surface = dynamic_cast<PictureSurface*>(widget);
      surface != nullptr && buildingWindow_) {
    surface->PaintAhead();
  }
}

QWidget* QtBackend::CreateWidget(ui::Control& control, QWidget* parent) {
  if (auto* timer = dynamic_cast<ui::Timer*>(&control)) {
    auto* qtimer = new QTimer(parent);
    timers_[timer] = qtimer;
    connect(qtimer, &QTimer::timeout, this, [timer] { timer->Tick(); });
    return nullptr;
  }
  if (dynamic_cast<ui::Label*>(&control) != nullptr) return new LabelWidget(parent);
  if (dynamic_cast<ui::PictureBox*>(&control) != nullptr) {
    auto* surface = new PictureSurface(parent);
    surface->setFocusPolicy(Qt::StrongFocus);
    return surface;
  }
  if (dynamic_cast<ui::Shape*>(&control) != nullptr) return new ShapeWidget(parent);
  if (auto* button = dynamic_cast<ui::CommandButton*>(&control)) {
    auto* widget = new QPushButton(parent);
    connect(widget, &QPushButton::clicked, this, [button] { button->Click(); });
    return widget;
  }
  if (auto* check = dynamic_cast<ui::CheckBox*>(&control)) {
    auto* widget = new QCheckBox(parent);
    connect(widget, &QCheckBox::clicked, this, [check](bool checked) {
      check->Value = checked ? ui::CheckBox::Checked : ui::CheckBox::Unchecked;
    });
    return widget;
  }
  if (auto* option = dynamic_cast<ui::OptionButton*>(&control)) {
    auto* widget = new QRadioButton(parent);
    widget->setAutoExclusive(false);  // the kit keeps the group exclusive
    connect(widget, &QRadioButton::clicked, this, [option, widget] {
      if (option->Value) {
        const QSignalBlocker blocker(widget);
        widget->setChecked(true);  // an option is not turned off by clicking it again
      }
      option->Value = true;
    });
    return widget;
  }
  if (auto* combo = dynamic_cast<ui::ComboBox*>(&control)) {
    auto* widget = new QComboBox(parent);
    widget->setEditable(true);
    widget->setInsertPolicy(QComboBox::NoInsert);
    // Typing is not choosing: no completion may pick an entry while the user types.
    widget->setCompleter(nullptr);
    connect(widget, QOverload<int>::of(&QComboBox::activated), this,
            [combo](int index) { combo->Pick(index); });
    connect(widget->lineEdit(), &QLineEdit::textEdited, this,
            [combo](const QString& text) { combo->Text = FromQString(text); });
    // Qt picks the entry that the text names whenever editing ends, leaving the field included;
    // only Enter is a choice. The field hears an Enter twice (once more through the list), and
    // the second finds the entry already chosen.
    QObject::disconnect(widget->lineEdit(), &QLineEdit::editingFinished, widget, nullptr);
    connect(widget->lineEdit(), &QLineEdit::returnPressed, this, [combo, widget] {
      const QString text = widget->lineEdit()->text();
      const int index = widget->findText(text, Qt::MatchExactly);
      if (index >= 0 && widget->itemText(widget->currentIndex()) != text) combo->Pick(index);
    });
    return widget;
  }
  if (auto* bar = dynamic_cast<ui::HScrollBar*>(&control)) {
    auto* widget = new QScrollBar(Qt::Horizontal, parent);
    // The value is taken when an arrow or the track is clicked and when a dragged thumb is let
    // go, never while it is being dragged.
    connect(widget, &QScrollBar::valueChanged, this, [bar, widget](int value) {
      if (!widget->isSliderDown()) bar->Value = value;
    });
    connect(widget, &QScrollBar::sliderReleased, this,
            [bar, widget] { bar->Value = widget->value(); });
    return widget;
  }
  if (dynamic_cast<ui::Frame*>(&control) != nullptr) return new FrameWidget(parent);
  if (auto* text = dynamic_cast<ui::TextBox*>(&control)) {
    if (text->MultiLine) {
      auto* widget = new QPlainTextEdit(parent);
      widget->setVerticalScrollBarPolicy(text->VerticalScrollBar ? Qt::ScrollBarAlwaysOn
                                                                 : Qt::ScrollBarAsNeeded);
      return widget;
    }
    auto* widget = new QLineEdit(parent);
    connect(widget, &QLineEdit::textEdited, this,
            [text](const QString& typed) { text->Text = FromQString(typed); });
    return widget;
  }
  if (auto* list = dynamic_cast<ui::ListBox*>(&control)) {
    auto* widget = new QListWidget(parent);
    widget->setUniformItemSizes(true);
    widget->setSelectionMode(QAbstractItemView::SingleSelection);
    widget->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (!list->TabStops.empty()) {
      std::vector<int> stops;
      for (int stop : list->TabStops) stops.push_back(Pixels(stop));
      widget->setItemDelegate(new TabStopDelegate(std::move(stops), widget));
    }
    connect(widget, &QListWidget::currentRowChanged, this, [list](int row) {
      if (row >= 0) list->ListIndex = row;
    });
    connect(widget, &QListWidget::doubleClicked, this,
            [list](const QModelIndex& index) { list->Choose(index.row()); });
    // A right click chooses the entry under it, then is the list's, as on a label.
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widget, &QListWidget::customContextMenuRequested, this,
            [this, list, widget](const QPoint& at) {
              if (QListWidgetItem* item = widget->itemAt(at)) list->ListIndex = widget->row(item);
              list->MouseUp(ui::MouseButton::Right, 0, Twips(at.x()), Twips(at.y()));
            });
    return widget;
  }
  if (auto* toolbar = dynamic_cast<ui::Toolbar*>(&control)) {
    auto* widget = new ToolbarWidget(parent);
    widget->onButtonClick = [toolbar](int index) { toolbar->ButtonClick(index); };
    return widget;
  }
  return new QWidget(parent);
}

void QtBackend::Register(ui::Control& control, QWidget* widget) {
  widgets_[&control] = widget;
  controls_[widget] = &control;
  widget->setObjectName(QString::fromStdString(control.QualifiedName()));
  widget->setMouseTracking(true);
  widget->installEventFilter(this);
}

void QtBackend::ApplyAll(ui::Control& control) {
  for (ui::Prop id :
       {ui::Prop::Geometry,    ui::Prop::Enabled,      ui::Prop::Font,      ui::Prop::Caption,
        ui::Prop::ForeColor,   ui::Prop::BackColor,    ui::Prop::BackStyle, ui::Prop::BorderStyle,
        ui::Prop::BorderColor, ui::Prop::Alignment,    ui::Prop::Picture,   ui::Prop::Range,
        ui::Prop::List,        ui::Prop::Value,        ui::Prop::Text,      ui::Prop::Interval,
        ui::Prop::Buttons,     ui::Prop::MousePointer, ui::Prop::Icon,      ui::Prop::Locked,
        ui::Prop::Highlight,   ui::Prop::TopIndex}) {
    Apply(control, id);
  }
}

void QtBackend::Changed(ui::Control& control, ui::Prop id) {
  Apply(control, id);
}

void QtBackend::ChildAdded(ui::Control& parent, ui::Control& child) {
  if (QWidget* parentWidget = WidgetOf(parent)) Build(child, parentWidget);
}

void QtBackend::Destroyed(ui::Control& control) {
  QWidget* widget = WidgetOf(control);
  Forget(control);
  if (widget != nullptr) {
    widget->hide();
    widget->deleteLater();
  }
}

void QtBackend::FocusRequested(ui::Control& control) {
  if (QWidget* widget = WidgetOf(control)) widget->setFocus(Qt::OtherFocusReason);
}

void QtBackend::BringToFrontRequested(ui::Control& control) {
  if (QWidget* widget = WidgetOf(control)) widget->raise();
}

void QtBackend::Forget(ui::Control& control) {
  for (ui::Control* child : control.Children()) Forget(*child);
  if (auto timer = timers_.find(&control); timer != timers_.end()) {
    timer->second->stop();
    timer->second->deleteLater();
    timers_.erase(timer);
  }
  if (auto found = widgets_.find(&control); found != widgets_.end()) {
    found->second->removeEventFilter(this);
    controls_.erase(found->second);
    widgets_.erase(found);
  }
}

void QtBackend::ApplyGeometry(ui::Control& control, QWidget* widget) {
  if (auto* form = dynamic_cast<ui::Form*>(&control)) {
    // A form's place is on the area the reader lays itself out in, wherever that is on the desktop.
    widget->move(screen_.Origin() + QPoint(Pixels(form->Left), Pixels(form->Top)));
    widget->setFixedSize(Pixels(form->ScaleWidth()), Pixels(form->ScaleHeight()));
    return;
  }
  // Edges are rounded, not sizes, so that neighbours meet without gaps.
  const int left = Pixels(control.Left);
  const int top = Pixels(control.Top);
  widget->setGeometry(left, top, Pixels(control.Left + control.Width) - left,
                      Pixels(control.Top + control.Height) - top);
}

void QtBackend::ApplyTimer(ui::Timer& timer) {
  auto found = timers_.find(&timer);
  if (found == timers_.end()) return;
  QTimer* qtimer = found->second;
  if (timer.Enabled && timer.Interval > 0) {
    // Starting again restarts the count, as re-enabling a timer does.
    if (!qtimer->isActive() || qtimer->interval() != timer.Interval) qtimer->start(timer.Interval);
  } else {
    qtimer->stop();
  }
}

void QtBackend::ApplyToolbar(ui::Toolbar& toolbar, QWidget* widget) {
  std::vector<ToolbarButtonLook> looks;
  std::vector<QRect> places;
  for (int i = 1; i <= toolbar.ButtonCount(); ++i) {
    const int left = Pixels(toolbar.ButtonLeft(i));
    places.emplace_back(left, 0, Pixels(toolbar.ButtonLeft(i + 1)) - left, 0);
    const ui::ToolbarButton& button = toolbar.Buttons(i);
    ToolbarButtonLook look;
    look.separator = button.Style() == ui::ToolbarButton::Kind::Separator;
    look.caption = ToQString(button.Caption);
    look.toolTip = ToQString(button.ToolTipText);
    look.enabled = button.Enabled;
    if (toolbar.Images != nullptr) look.icon = PixmapOf(toolbar.Images->Image(button.Image));
    looks.push_back(std::move(look));
  }
  static_cast<ToolbarWidget*>(widget)->SetButtons(looks, places);
}

namespace {

// The cursor at the size of the layout's pixels, `ratio` device pixels each, sharp: the picture is
// made for that many device pixels rather than left to be enlarged.
QCursor CursorAt(const QtPicture& picture, qreal ratio) {
  const QImage& image = picture.Image();
  const QSize device = (image.deviceIndependentSize() * ratio).toSize();
  QImage sized = image.size() == device
                     ? image
                     : image.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  if (QGuiApplication::platformName() == QStringLiteral("xcb")) {
    // X shows a cursor's picture pixel for pixel and takes its hot spot in those pixels.
    sized.setDevicePixelRatio(1);
    const QPoint hot = (QPointF(picture.HotSpot()) * ratio).toPoint();
    return QCursor(QPixmap::fromImage(sized), hot.x(), hot.y());
  }
  sized.setDevicePixelRatio(ratio);
  return QCursor(QPixmap::fromImage(sized), picture.HotSpot().x(), picture.HotSpot().y());
}

}  // namespace

void QtBackend::ApplyPointer(ui::Form& form, QWidget* widget) {
  const auto* picture = dynamic_cast<const QtPicture*>(form.MouseIcon.get().get());
  if (form.MousePointer == ui::MousePointer::Custom) {
    if (picture != nullptr) {
      widget->setCursor(CursorAt(*picture, screen_.DevicePixelRatio()));
    } else {
      widget->setCursor(Qt::PointingHandCursor);
    }
  } else {
    widget->unsetCursor();
  }
}

void QtBackend::Apply(ui::Control& control, ui::Prop id) {
  if (auto* timer = dynamic_cast<ui::Timer*>(&control)) {
    if (id == ui::Prop::Enabled || id == ui::Prop::Interval) ApplyTimer(*timer);
    return;
  }
  QWidget* widget = WidgetOf(control);
  if (widget == nullptr) return;

  if (id == ui::Prop::Geometry) return ApplyGeometry(control, widget);
  if (id == ui::Prop::Enabled) return widget->setEnabled(control.Enabled);

  if (auto* form = dynamic_cast<ui::Form*>(&control)) {
    auto* window = static_cast<FormWindow*>(widget);
    if (id == ui::Prop::Caption) {
      // Qt reads "[*]" in a title as the place of its modified mark; doubled it stands as itself.
      window->setWindowTitle(
          ToQString(form->Caption).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
    }
    if (id == ui::Prop::BackColor) window->SetBackColor(ToQColor(form->BackColor));
    if (id == ui::Prop::Picture) window->SetPicture(QtPictureOf(form->Picture));
    if (id == ui::Prop::Icon) window->setWindowIcon(QIcon(PixmapOf(form->Icon)));
    if (id == ui::Prop::MousePointer) ApplyPointer(*form, window);
    return;
  }
  if (id == ui::Prop::Visible) {
    return widget->setVisible(control.Visible);
  }

  if (auto* label = dynamic_cast<ui::Label*>(&control)) {
    return ApplyLabel(*label, static_cast<LabelWidget*>(widget), id, Pixels(label->FitWidth));
  }
  if (auto* picture = dynamic_cast<ui::PictureBox*>(&control)) {
    auto* surface = static_cast<PictureSurface*>(widget);
    if (id == ui::Prop::BackColor) surface->SetBackColor(ToQColor(picture->BackColor));
    if (id == ui::Prop::Picture) surface->SetPicture(QtPictureOf(picture->Picture));
    if (id == ui::Prop::BorderStyle)
      surface->SetBorder(picture->BorderStyle == ui::BorderStyle::FixedSingle);
    return;
  }
  if (auto* shape = dynamic_cast<ui::Shape*>(&control)) {
    auto* painter = static_cast<ShapeWidget*>(widget);
    painter->SetFill(shape->BackStyle == ui::BackStyle::Opaque, ToQColor(shape->BackColor));
    painter->SetBorder(shape->BorderStyle == ui::BorderStyle::FixedSingle,
                       ToQColor(shape->BorderColor));
    return;
  }
  if (auto* button = dynamic_cast<ui::CommandButton*>(&control)) {
    auto* push = static_cast<QPushButton*>(widget);
    if (id == ui::Prop::Caption) push->setText(ToQString(button->Caption));
    if (id == ui::Prop::Font) push->setFont(MakeFont(button->Font.Value()));
    return;
  }
  if (auto* check = dynamic_cast<ui::CheckBox*>(&control)) {
    auto* box = static_cast<QCheckBox*>(widget);
    if (id == ui::Prop::Caption) box->setText(ToQString(check->Caption));
    if (id == ui::Prop::Font) box->setFont(MakeFont(check->Font.Value()));
    if (id == ui::Prop::ForeColor) SetTextColor(box, check->ForeColor);
    if (id == ui::Prop::Value) {
      box->setTristate(check->Value == ui::CheckBox::Grayed);
      box->setCheckState(check->Value == ui::CheckBox::Checked  ? Qt::Checked
                         : check->Value == ui::CheckBox::Grayed ? Qt::PartiallyChecked
                                                                : Qt::Unchecked);
    }
    return;
  }
  if (auto* option = dynamic_cast<ui::OptionButton*>(&control)) {
    auto* radio = static_cast<QRadioButton*>(widget);
    if (id == ui::Prop::Caption) radio->setText(ToQString(option->Caption));
    if (id == ui::Prop::Font) radio->setFont(MakeFont(option->Font.Value()));
    if (id == ui::Prop::ForeColor) SetTextColor(radio, option->ForeColor);
    if (id == ui::Prop::Value) radio->setChecked(option->Value);
    return;
  }
  if (auto* combo = dynamic_cast<ui::ComboBox*>(&control)) {
    return ApplyComboBox(*combo, static_cast<QComboBox*>(widget), id);
  }
  if (auto* bar = dynamic_cast<ui::HScrollBar*>(&control)) {
    auto* scroll = static_cast<QScrollBar*>(widget);
    const QSignalBlocker blocker(scroll);
    if (id == ui::Prop::Range) {
      scroll->setRange(std::min<int>(bar->Min, bar->Max), std::max<int>(bar->Min, bar->Max));
      scroll->setSingleStep(bar->SmallChange);
      scroll->setPageStep(bar->LargeChange);
    }
    if (id == ui::Prop::Range || id == ui::Prop::Value) scroll->setValue(bar->Value);
    return;
  }
  if (auto* frame = dynamic_cast<ui::Frame*>(&control)) {
    auto* box = static_cast<FrameWidget*>(widget);
    if (id == ui::Prop::Caption) box->SetCaption(ToQString(frame->Caption));
    if (id == ui::Prop::Font) box->SetCaptionFont(MakeFont(frame->Font.Value()));
    if (id == ui::Prop::ForeColor) box->SetCaptionColor(ToQColor(frame->ForeColor));
    return;
  }
  if (auto* list = dynamic_cast<ui::ListBox*>(&control)) {
    return ApplyListBox(*list, static_cast<QListWidget*>(widget), id);
  }
  if (auto* text = dynamic_cast<ui::TextBox*>(&control)) {
    const QString value =
        ToQString(text->Text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
      if (id == ui::Prop::Text) edit->setPlainText(value);
      if (id == ui::Prop::Locked) edit->setReadOnly(text->Locked);
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
      // What the user typed comes back as the same text; setting it again would move the cursor.
      if (id == ui::Prop::Text && line->text() != value) line->setText(value);
      if (id == ui::Prop::Locked) line->setReadOnly(text->Locked);
    }
    if (id == ui::Prop::Font) widget->setFont(MakeFont(text->Font.Value()));
    if (id == ui::Prop::BackColor) {
      QPalette palette = widget->palette();
      palette.setColor(QPalette::Base, ToQColor(text->BackColor));
      widget->setPalette(palette);
    }
    return;
  }
  if (auto* toolbar = dynamic_cast<ui::Toolbar*>(&control)) {
    if (id == ui::Prop::Buttons) ApplyToolbar(*toolbar, widget);
  }
}

bool QtBackend::eventFilter(QObject* watched, QEvent* event) {
  auto found = controls_.find(watched);
  if (found == controls_.end()) return false;
  ui::Control* control = found->second;
  auto* widget = static_cast<QWidget*>(watched);
  // Controls whose own Qt signals carry their clicks and keys.
  const bool hasOwnInput =
      qobject_cast<QAbstractButton*>(widget) != nullptr ||
      qobject_cast<QComboBox*>(widget) != nullptr || qobject_cast<QScrollBar*>(widget) != nullptr ||
      qobject_cast<QPlainTextEdit*>(widget) != nullptr ||
      qobject_cast<QLineEdit*>(widget) != nullptr || qobject_cast<QListWidget*>(widget) != nullptr;

  switch (event->type()) {
    case QEvent::Wheel:
      // The wheel over a closed list would choose its neighbour entry in passing.
      if (auto* list = qobject_cast<QComboBox*>(widget);
          list != nullptr && !list->view()->isVisible())
        return true;
      return false;
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      // Qt hands a move the control did not take on to its container; on the classic desktop only
      // the control under the mouse hears of it (a label, not the form behind it).
      // A handed-on move is a copy with the same time and place on the screen.
      if (mouse->timestamp() == lastMoveTime_ && mouse->globalPosition() == lastMovePlace_)
        return false;
      lastMoveTime_ = mouse->timestamp();
      lastMovePlace_ = mouse->globalPosition();
      const QPoint at = mouse->position().toPoint();
      control->MouseMove(KitButtons(mouse->buttons()), KitShift(mouse->modifiers()), Twips(at.x()),
                         Twips(at.y()));
      return false;
    }
    case QEvent::MouseButtonPress:
      if (hasOwnInput) return false;
      // The control under the mouse takes the press, as a label does on the classic desktop, so
      // the release comes back to it and the form behind it sees neither.
      pressed_ = watched;
      return true;
    case QEvent::MouseButtonRelease: {
      if (hasOwnInput) return false;
      auto* mouse = static_cast<QMouseEvent*>(event);
      const bool inside =
          pressed_ == watched && widget->rect().contains(mouse->position().toPoint());
      pressed_ = nullptr;
      const QPoint at = mouse->position().toPoint();
      if (inside) {
        control->MouseUp(KitButtons(mouse->button()), KitShift(mouse->modifiers()), Twips(at.x()),
                         Twips(at.y()));
      }
      // MouseUp may have unloaded the control.
      if (inside && mouse->button() == Qt::LeftButton && controls_.count(watched) != 0) {
        control->Click();
      }
      return true;
    }
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      // A text field and a list edit and move with their keys themselves; the window hears them
      // too (Enter in a field, Escape). Enter on a list is the choice of its entry.
      if (auto* list = dynamic_cast<ui::ListBox*>(control);
          list != nullptr && KitKeyCode(key->key()) == ui::keys::Return) {
        list->Choose(list->ListIndex);
        return true;
      }
      if (dynamic_cast<ui::ListBox*>(control) != nullptr ||
          qobject_cast<QLineEdit*>(widget) != nullptr) {
        if (const int code = KitKeyCode(key->key()); code != 0) {
          control->KeyDown(code, KitShift(key->modifiers()));
        }
        return false;
      }
      if (hasOwnInput) return false;
      // A picture box keeps its keys: arrows turn pages there, they do not move the focus.
      const bool keep = dynamic_cast<ui::PictureBox*>(control) != nullptr;
      const int code = KitKeyCode(key->key());
      if (code != 0) control->KeyDown(code, KitShift(key->modifiers()));
      const QString text = key->text();
      // The handler may have unloaded the control; only a control still known gets KeyPress.
      if (controls_.count(watched) != 0 && text.size() == 1 && text.at(0).unicode() >= 0x20 &&
          text.at(0).unicode() < 0x80) {
        control->KeyPress(text.at(0).unicode());
      }
      return keep;
    }
    default:
      return false;
  }
}

}  // namespace quillon::qt
