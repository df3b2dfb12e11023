#include "platform/ui/control.h"

#include <algorithm>

#include "platform/ui/form.h"

namespace quillon::ui {

Control::Control(Control* parent, std::string name, int index)
    : parent_(parent), name_(std::move(name)), index_(index) {
  if (parent_ != nullptr) parent_->AddChild(this);
}

Control::~Control() {
  if (observer_ != nullptr) observer_->Destroyed(*this);
  // Children normally go first (they are declared after their container); an array element that
  // outlives nothing still must not leave a dangling pointer behind.
  for (Control* child : children_) child->parent_ = nullptr;
  if (parent_ != nullptr) parent_->RemoveChild(this);
}

std::string Control::QualifiedName() const {
  if (index_ < 0) return name_;
  return name_ + "(" + std::to_string(index_) + ")";
}

Form* Control::ParentForm() {
  Control* control = this;
  while (control->parent_ != nullptr) control = control->parent_;
  return dynamic_cast<Form*>(control);
}

void Control::Move(int left, int top, int width, int height) {
  Left = left;
  Top = top;
  Width = width;
  Height = height;
}

void Control::SetFocus() {
  if (observer_ != nullptr) observer_->FocusRequested(*this);
}

void Control::ZOrder() {
  if (observer_ != nullptr) observer_->BringToFrontRequested(*this);
}

bool Control::TakesInput() const {
  for (const Control* control = this; control->parent_ != nullptr; control = control->parent_) {
    if (!control->Visible || !control->Enabled) return false;
    const Control& container = *control->parent_;
    const auto* form = dynamic_cast<const Form*>(&container);
    const int insideWidth = form != nullptr ? form->ScaleWidth() : container.Width;
    const int insideHeight = form != nullptr ? form->ScaleHeight() : container.Height;
    if (control->Left >= insideWidth || control->Left + control->Width <= 0 ||
        control->Top >= insideHeight || control->Top + control->Height <= 0) {
      return false;
    }
  }
  return true;
}

void Control::RaiseClick() {
  if (onClick) onClick();
}

void Control::Click() {
  if (TakesInput()) RaiseClick();
}

void Control::MouseMove(MouseButton button, int shift, int x, int y) {
  if (onMouseMove && TakesInput()) onMouseMove(button, shift, x, y);
}

void Control::MouseUp(MouseButton button, int shift, int x, int y) {
  if (onMouseUp && TakesInput()) onMouseUp(button, shift, x, y);
}

void Control::KeyDown(int keyCode, int shift) {
  if (onKeyDown && TakesInput()) onKeyDown(keyCode, shift);
}

void Control::KeyPress(int keyAscii) {
  if (onKeyPress && TakesInput()) onKeyPress(keyAscii);
}

void Control::CopyLookFrom(const Control& other) {
  Left = other.Left;
  Top = other.Top;
  Width = other.Width;
  Height = other.Height;
  Enabled = other.Enabled;
}

void Control::AttachObserver(ControlObserver* observer) {
  observer_ = observer;
  for (Control* child : children_) child->AttachObserver(observer);
}

void Control::PropertyChanged(Prop id) {
  if (observer_ != nullptr) observer_->Changed(*this, id);
  OnPropertyChanged(id);
}

void Control::AddChild(Control* child) {
  children_.push_back(child);
}

void Control::Announce() {
  if (parent_ == nullptr || parent_->observer_ == nullptr) return;
  AttachObserver(parent_->observer_);
  parent_->observer_->ChildAdded(*parent_, *this);
}

void Control::RemoveChild(Control* child) {
  children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

}  // namespace quillon::ui
