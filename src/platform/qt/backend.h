#pragma once
// Turns kit forms into real widgets, keeps every widget in step with its control, forwards the
// user's input back as kit events and drives kit timers with QTimer.

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <unordered_map>
#include <vector>

#include "platform/platform.h"
#include "platform/ui/kit.h"

class QEventLoop;
class QTimer;
class QWidget;

namespace quillon::qt {

class QtScreen;

class QtBackend : public QObject, public FormHost, public ui::ControlObserver {
 public:
  explicit QtBackend(const QtScreen& screen);
  ~QtBackend() override;

  void Show(ui::Form& form) override;
  void RunModal(ui::Form& form) override;
  void Unload(ui::Form& form) override;
  void PopupMenu(ui::Form& form, const ui::Menu& menu) override;

  void Changed(ui::Control& control, ui::Prop id) override;
  void ChildAdded(ui::Control& parent, ui::Control& child) override;
  void Destroyed(ui::Control& control) override;
  void FocusRequested(ui::Control& control) override;
  void BringToFrontRequested(ui::Control& control) override;

  // The widget that shows a control, for tests and screenshots; null while it is not shown.
  QWidget* WidgetOf(const ui::Control& control) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build(ui::Control& control, QWidget* parent);
  QWidget* CreateWidget(ui::Control& control, QWidget* parent);
  void ApplyAll(ui::Control& control);
  void Apply(ui::Control& control, ui::Prop id);
  void ApplyGeometry(ui::Control& control, QWidget* widget);
  void ApplyTimer(ui::Timer& timer);
  void ApplyToolbar(ui::Toolbar& toolbar, QWidget* widget);
  void ApplyPointer(ui::Form& form, QWidget* widget);
  // Drops what the backend knows of a control and everything inside it.
  void Forget(ui::Control& control);
  void Register(ui::Control& control, QWidget* widget);
  int Pixels(int twips) const;
  int Twips(int pixels) const;

  const QtScreen& screen_;
  std::unordered_map<const ui::Control*, QWidget*> widgets_;
  std::unordered_map<const QObject*, ui::Control*> controls_;
  std::unordered_map<const ui::Control*, QTimer*> timers_;
  std::unordered_map<const ui::Form*, QEventLoop*> modalLoops_;
  std::vector<ui::Form*> shownForms_;
  // The first form shown: unloading it ends the program, whatever windows are still up.
  const ui::Form* mainForm_ = nullptr;
  // Its surfaces are painted ahead as they are built.
  bool buildingWindow_ = false;
  QPointer<QObject> pressed_;
  quint64 lastMoveTime_ = 0;
  QPointF lastMovePlace_;
};

}  // namespace quillon::qt
