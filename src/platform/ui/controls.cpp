#include "platform/ui/controls.h"

#include <algorithm>

namespace quillon::ui {

namespace {

constexpr int kToolbarMargin = 45;

}  // namespace

void Label::CopyLookFrom(const Control& other) {
  Control::CopyLookFrom(other);
  const auto& source = dynamic_cast<const Label&>(other);
  Caption = source.Caption;
  Font.Assign(source.Font.Value());
  ForeColor = source.ForeColor;
  BackColor = source.BackColor;
  BackStyle = source.BackStyle;
  BorderStyle = source.BorderStyle;
  Alignment = source.Alignment;
  WordWrap = source.WordWrap;
  FitText = source.FitText;
  FitWidth = source.FitWidth;
  FitCaption = source.FitCaption;
  HighlightColor = source.HighlightColor;
}

void PictureBox::CopyLookFrom(const Control& other) {
  Control::CopyLookFrom(other);
  const auto& source = dynamic_cast<const PictureBox&>(other);
  Picture = source.Picture;
  BackColor = source.BackColor;
  BorderStyle = source.BorderStyle;
}

void CommandButton::OnPropertyChanged(Prop id) {
  if (id != Prop::Value || !Value) return;
  Value.SetQuietly(false);
  RaiseClick();
}

void CheckBox::OnPropertyChanged(Prop id) {
  if (id == Prop::Value) RaiseClick();
}

void OptionButton::OnPropertyChanged(Prop id) {
  if (id != Prop::Value || !Value) return;
  if (Parent() != nullptr) {
    // Copy first: a Click handler elsewhere may load or unload controls.
    std::vector<Control*> siblings = Parent()->Children();
    for (Control* sibling : siblings) {
      auto* option = dynamic_cast<OptionButton*>(sibling);
      if (option != nullptr && option != this) option->Value = false;
    }
  }
  RaiseClick();
}

void ComboBox::AddItem(std::u16string item) {
  items_.push_back(std::move(item));
  PropertyChanged(Prop::List);
}

void ComboBox::Clear() {
  items_.clear();
  ListIndex.SetQuietly(-1);
  PropertyChanged(Prop::List);
}

void ComboBox::Pick(int index) {
  if (index < 0 || index >= ListCount() || !TakesInput()) return;
  if (ListIndex == index) {
    TakeEntryText();
    RaiseClick();
  } else {
    ListIndex = index;
  }
}

// A pick from the list is not typing: the text follows without raising Change.
void ComboBox::TakeEntryText() {
  Text.SetQuietly(List(ListIndex));
  if (Observer() != nullptr) Observer()->Changed(*this, Prop::Text);
}

void ComboBox::OnPropertyChanged(Prop id) {
  if (id == Prop::Value) {
    if (ListIndex < 0 || ListIndex >= ListCount()) return;
    TakeEntryText();
    RaiseClick();
  } else if (id == Prop::Text) {
    // Only a change of the text field itself, by code or by typing, lands here.
    const auto found = std::find(items_.begin(), items_.end(), Text.get());
    ListIndex.SetQuietly(found == items_.end() ? -1 : static_cast<int>(found - items_.begin()));
    if (onChange) onChange();
  }
}

void HScrollBar::OnPropertyChanged(Prop id) {
  if (id != Prop::Value && id != Prop::Range) return;
  const int clamped = std::clamp<int>(Value, std::min<int>(Min, Max), std::max<int>(Min, Max));
  if (clamped != Value) {
    Value = clamped;  // raises Change through the nested call
    return;
  }
  if (id == Prop::Value && onChange) onChange();
}

void ListBox::AddItem(std::u16string item) {
  items_.push_back(std::move(item));
  PropertyChanged(Prop::List);
}

void ListBox::AddItems(const std::vector<std::u16string>& items) {
  if (items.empty()) return;
  items_.insert(items_.end(), items.begin(), items.end());
  PropertyChanged(Prop::List);
}

void ListBox::Clear() {
  items_.clear();
  ListIndex.SetQuietly(-1);
  TopIndex.SetQuietly(0);
  PropertyChanged(Prop::List);
}

void ListBox::Choose(int index) {
  if (index < 0 || index >= ListCount() || !TakesInput()) return;
  ListIndex = index;
  if (onDblClick) onDblClick();
}

void ListBox::OnPropertyChanged(Prop id) {
  if (id != Prop::Value) return;
  // An index past the entries selects nothing, as the classic list reads -1 then.
  if (ListIndex < -1 || ListIndex >= ListCount()) {
    ListIndex = -1;
    return;
  }
  RaiseClick();
}

Timer::Timer(Control* parent, std::string name, int interval) : Control(parent, std::move(name)) {
  Visible.SetQuietly(false);
  Enabled.SetQuietly(false);
  Interval.SetQuietly(interval);
}

void Timer::Tick() {
  if (Enabled && onTimer) onTimer();
}

PicturePtr ImageList::Image(int number) const {
  if (number < 1 || number > Count()) return nullptr;
  return images_[static_cast<std::size_t>(number - 1)];
}

ToolbarButton::ToolbarButton(Toolbar& toolbar, int index, Kind kind)
    : toolbar_(toolbar), index_(index), kind_(kind) {}

void ToolbarButton::PropertyChanged(Prop id) {
  toolbar_.PropertyChanged(id);
}

ToolbarButton& Toolbar::AddButton(std::u16string caption, std::u16string toolTip, int image) {
  auto button =
      std::make_unique<ToolbarButton>(*this, ButtonCount() + 1, ToolbarButton::Kind::Button);
  button->Caption.SetQuietly(std::move(caption));
  button->ToolTipText.SetQuietly(std::move(toolTip));
  button->Image.SetQuietly(image);
  buttons_.push_back(std::move(button));
  PropertyChanged(Prop::Buttons);
  return *buttons_.back();
}

ToolbarButton& Toolbar::AddSeparator() {
  buttons_.push_back(
      std::make_unique<ToolbarButton>(*this, ButtonCount() + 1, ToolbarButton::Kind::Separator));
  PropertyChanged(Prop::Buttons);
  return *buttons_.back();
}

ToolbarButton& Toolbar::Buttons(int index) {
  return *buttons_.at(static_cast<std::size_t>(index - 1));
}

const ToolbarButton& Toolbar::Buttons(int index) const {
  return *buttons_.at(static_cast<std::size_t>(index - 1));
}

int Toolbar::ButtonLeft(int index) const {
  int left = kToolbarMargin;
  for (int i = 1; i < index && i <= ButtonCount(); ++i) {
    left += Buttons(i).Style() == ToolbarButton::Kind::Separator ? SeparatorWidth : ButtonWidth;
  }
  return left;
}

void Toolbar::ButtonClick(int index) {
  if (index < 1 || index > ButtonCount()) return;
  ToolbarButton& button = Buttons(index);
  if (button.Style() == ToolbarButton::Kind::Separator || !button.Enabled || !TakesInput()) return;
  if (onButtonClick) onButtonClick(button);
}

}  // namespace quillon::ui
