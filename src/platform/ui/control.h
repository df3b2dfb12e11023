#pragma once
// The base of every kit control: a name, an index within its control array, a place in twips
// inside its container, and the events the windows handle.

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/property.h"

namespace quillon::ui {

class Control;
class Form;

// What the backend hears from the kit: a property changed, a control was created inside one it
// already shows, a control is going away, a control should take the keyboard focus.
class ControlObserver {
 public:
  virtual void Changed(Control& control, Prop id) = 0;
  virtual void ChildAdded(Control& parent, Control& child) = 0;
  virtual void Destroyed(Control& control) = 0;
  virtual void FocusRequested(Control& control) = 0;
  virtual void BringToFrontRequested(Control& control) = 0;

 protected:
  ~ControlObserver() = default;
};

enum class MouseButton { None = 0, Left = 1, Right = 2, Middle = 4 };

class Control : public PropertyOwner {
 public:
  // `parent` is the container (a form, a picture box, a frame or the toolbar); null for a form.
  Control(Control* parent, std::string name, int index = -1);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  Property<int> Left{this, Prop::Geometry, 0};
  Property<int> Top{this, Prop::Geometry, 0};
  Property<int> Width{this, Prop::Geometry, 0};
  Property<int> Height{this, Prop::Geometry, 0};
  Property<bool> Visible{this, Prop::Visible, true};
  Property<bool> Enabled{this, Prop::Enabled, true};

  const std::string& Name() const { return name_; }
  int Index() const { return index_; }
  // "lblRow1(3)" for an array element, the plain name otherwise.
  std::string QualifiedName() const;
  Control* Parent() const { return parent_; }
  const std::vector<Control*>& Children() const { return children_; }
  Form* ParentForm();

  void Move(int left, int top, int width, int height);
  void SetFocus();
  // Puts the control above its siblings (controls loaded at run time start on top).
  void ZOrder();

  // Events. A window sets the ones it handles; the backend, or a test, raises them.
  std::function<void()> onClick;
  std::function<void(MouseButton button, int shift, int x, int y)> onMouseMove;
  std::function<void(int keyCode, int shift)> onKeyDown;
  std::function<void(int keyAscii)> onKeyPress;
  std::function<void(MouseButton button, int shift, int x, int y)> onMouseUp;

  // What the user does. Only a control the user can see and use hears of it: one that is hidden,
  // disabled, or moved out of its container's inside (a page parked beside the window), or that
  // stands in such a container, takes no click, mouse move or key.
  void Click();
  void MouseMove(MouseButton button, int shift, int x, int y);
  void MouseUp(MouseButton button, int shift, int x, int y);
  void KeyDown(int keyCode, int shift);
  void KeyPress(int keyAscii);
  bool TakesInput() const;

  // Copies the look of another control of the same kind (everything but the name, the index and
  // the visibility), as a control array does for an element loaded at run time.
  virtual void CopyLookFrom(const Control& other);

  ControlObserver* Observer() const { return observer_; }
  // Attaches the observer to this control and everything inside it.
  void AttachObserver(ControlObserver* observer);
  // Tells the backend about a control created inside a container it already shows. Called once
  // the control is fully built (a base-class constructor is too early to be seen as a label).
  void Announce();

  void PropertyChanged(Prop id) final;

 protected:
  // Where a kind of control adds its own rules to a property change (a check box's Click).
  virtual void OnPropertyChanged(Prop id) { (void)id; }
  // Click raised by code (a value set), which the classic rules raise whatever the control's state.
  void RaiseClick();

 private:
  void AddChild(Control* child);
  void RemoveChild(Control* child);

  Control* parent_;
  std::string name_;
  int index_;
  std::vector<Control*> children_;
  ControlObserver* observer_ = nullptr;
};

}  // namespace quillon::ui
