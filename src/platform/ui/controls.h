#pragma once
// The kinds of control the reader's windows are made of, with the classic event rules: setting a
// check box, an option button, a scroll bar or a list's entry from code raises the same event as
// the user doing it, and setting a command button's Value runs its Click.

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace quillon::ui {

enum class BackStyle { Transparent = 0, Opaque = 1 };
enum class BorderStyle { None = 0, FixedSingle = 1 };

class Label : public Control {
 public:
  using Control::Control;
  Property<std::u16string> Caption{this, Prop::Caption};
  FontProperty Font{this};
  Property<Color> ForeColor{this, Prop::ForeColor, kColorWindowText};
  Property<Color> BackColor{this, Prop::BackColor, kColorButtonFace};
  Property<ui::BackStyle> BackStyle{this, Prop::BackStyle, ui::BackStyle::Opaque};
  Property<ui::BorderStyle> BorderStyle{this, Prop::BorderStyle, ui::BorderStyle::None};
  Property<ui::Alignment> Alignment{this, Prop::Alignment, ui::Alignment::Left};
  Property<bool> WordWrap{this, Prop::Caption, true};
  // The widest texts the label must show whole (one per line) and the width in twips they must
  // fit in. Where the font would draw them wider, everything the label shows is drawn narrowed by
  // the same small amount, so the text is neither cut at the edge nor wrapped.
  Property<std::u16string> FitText{this, Prop::Fit};
  Property<int> FitWidth{this, Prop::Fit, 0};
  // The caption, whatever it is, must fit too: a row of a page is narrowed only when it is one of
  // the few a little wider than the page.
  Property<bool> FitCaption{this, Prop::Fit, false};
  // A stretch of the caption drawn on a background of its own, as found text is marked: its start
  // and length in UTF-16 units of the caption; nothing is marked while the length is 0.
  Property<int> HighlightStart{this, Prop::Highlight, 0};
  Property<int> HighlightLength{this, Prop::Highlight, 0};
  Property<Color> HighlightColor{this, Prop::Highlight, RGB(255, 214, 80)};

  // The mark goes with the text it marks, so an element loaded later copies only its colour.
  void CopyLookFrom(const Control& other) override;
};

// A container that can show a picture, take the keyboard focus and hold other controls.
class PictureBox : public Control {
 public:
  using Control::Control;
  Property<PicturePtr> Picture{this, Prop::Picture};
  Property<Color> BackColor{this, Prop::BackColor, kColorButtonFace};
  Property<ui::BorderStyle> BorderStyle{this, Prop::BorderStyle, ui::BorderStyle::FixedSingle};

  void CopyLookFrom(const Control& other) override;
};

class Shape : public Control {
 public:
  using Control::Control;
  Property<ui::BackStyle> BackStyle{this, Prop::BackStyle, ui::BackStyle::Transparent};
  Property<Color> BackColor{this, Prop::BackColor, RGB(255, 255, 255)};
  Property<Color> BorderColor{this, Prop::BorderColor, RGB(0, 0, 0)};
  Property<ui::BorderStyle> BorderStyle{this, Prop::BorderStyle, ui::BorderStyle::FixedSingle};
};

class CommandButton : public Control {
 public:
  using Control::Control;
  Property<std::u16string> Caption{this, Prop::Caption};
  FontProperty Font{this};
  // Setting it to true runs Click at once; it reads false again afterwards.
  Property<bool> Value{this, Prop::Value, false};

 protected:
  void OnPropertyChanged(Prop id) override;
};

class CheckBox : public Control {
 public:
  static constexpr int Unchecked = 0;
  static constexpr int Checked = 1;
  static constexpr int Grayed = 2;

  using Control::Control;
  Property<std::u16string> Caption{this, Prop::Caption};
  FontProperty Font{this};
  Property<Color> ForeColor{this, Prop::ForeColor, kColorWindowText};
  Property<int> Value{this, Prop::Value, Unchecked};  // a change raises Click

 protected:
  void OnPropertyChanged(Prop id) override;
};

// Option buttons in one container exclude each other; turning one on raises its Click.
class OptionButton : public Control {
 public:
  using Control::Control;
  Property<std::u16string> Caption{this, Prop::Caption};
  FontProperty Font{this};
  Property<Color> ForeColor{this, Prop::ForeColor, kColorWindowText};
  Property<bool> Value{this, Prop::Value, false};

 protected:
  void OnPropertyChanged(Prop id) override;
};

// A drop-down list with a text field. Picking an entry (or setting ListIndex) sets the text and
// raises Click; typing into the text field only changes Text and raises Change.
class ComboBox : public Control {
 public:
  using Control::Control;
  Property<std::u16string> Text{this, Prop::Text};
  Property<int> ListIndex{this, Prop::Value, -1};
  FontProperty Font{this};

  void AddItem(std::u16string item);
  void Clear();
  // The user's choice of an entry: raises Click even when the same entry is picked again.
  void Pick(int index);
  int ListCount() const { return static_cast<int>(items_.size()); }
  const std::u16string& List(int index) const { return items_.at(static_cast<std::size_t>(index)); }
  const std::vector<std::u16string>& Items() const { return items_; }

  std::function<void()> onChange;

 protected:
  void OnPropertyChanged(Prop id) override;

 private:
  void TakeEntryText();
  std::vector<std::u16string> items_;
};

// A change of Value (clamped to Min..Max) raises Change: an arrow or track click, the release of
// a dragged thumb, or code.
class HScrollBar : public Control {
 public:
  using Control::Control;
  Property<int> Min{this, Prop::Range, 0};
  Property<int> Max{this, Prop::Range, 32767};
  Property<int> SmallChange{this, Prop::Range, 1};
  Property<int> LargeChange{this, Prop::Range, 1};
  Property<int> Value{this, Prop::Value, 0};

  std::function<void()> onChange;

 protected:
  void OnPropertyChanged(Prop id) override;
};

class Frame : public Control {
 public:
  using Control::Control;
  Property<std::u16string> Caption{this, Prop::Caption};
  FontProperty Font{this};
  Property<Color> ForeColor{this, Prop::ForeColor, kColorWindowText};
};

// What the user types in a single-line box becomes its Text.
class TextBox : public Control {
 public:
  using Control::Control;
  Property<std::u16string> Text{this, Prop::Text};
  FontProperty Font{this};
  Property<Color> BackColor{this, Prop::BackColor, kColorWindow};
  Property<bool> Locked{this, Prop::Locked, false};
  // The layout of a multi-line box with a vertical scroll bar is fixed when it is created.
  bool MultiLine = false;
  bool VerticalScrollBar = false;
};

// A list of entries to choose from. Moving the selection (or setting ListIndex) raises Click; a
// double-click on an entry, or Enter, is the user's choice of it and raises DblClick.
class ListBox : public Control {
 public:
  using Control::Control;
  Property<int> ListIndex{this, Prop::Value, -1};
  // The entry shown at the top of the list; setting it scrolls there.
  Property<int> TopIndex{this, Prop::TopIndex, 0};
  FontProperty Font{this};
  Property<Color> ForeColor{this, Prop::ForeColor, kColorWindowText};
  Property<Color> BackColor{this, Prop::BackColor, kColorWindow};
  // Where the parts of an entry separated by tabs start, in twips from the list's left edge; an
  // entry without tabs, or a list without stops, is one column. Fixed when the list is created.
  std::vector<int> TabStops;

  void AddItem(std::u16string item);
  void AddItems(const std::vector<std::u16string>& items);
  void Clear();
  int ListCount() const { return static_cast<int>(items_.size()); }
  const std::u16string& List(int index) const { return items_.at(static_cast<std::size_t>(index)); }
  const std::vector<std::u16string>& Items() const { return items_; }

  // What a double-click on entry `index` does, or Enter with it selected: it becomes ListIndex
  // (raising Click if it was not) and DblClick is raised. Nothing for an index without an entry.
  void Choose(int index);

  std::function<void()> onDblClick;

 protected:
  void OnPropertyChanged(Prop id) override;

 private:
  std::vector<std::u16string> items_;
};

// Raises Timer every Interval milliseconds while Enabled; tests call Tick() instead of waiting.
class Timer : public Control {
 public:
  Timer(Control* parent, std::string name, int interval);
  Property<int> Interval{this, Prop::Interval, 0};

  std::function<void()> onTimer;
  void Tick();
};

// The pictures of a toolbar's buttons, numbered from 1.
class ImageList {
 public:
  void Add(PicturePtr picture) { images_.push_back(std::move(picture)); }
  int Count() const { return static_cast<int>(images_.size()); }
  // Null for a number that has no picture, or whose file could not be loaded.
  PicturePtr Image(int number) const;

 private:
  std::vector<PicturePtr> images_;
};

class Toolbar;

class ToolbarButton final : public PropertyOwner {
 public:
  enum class Kind { Button, Separator };

  ToolbarButton(Toolbar& toolbar, int index, Kind kind);
  int Index() const { return index_; }
  Kind Style() const { return kind_; }

  Property<std::u16string> Caption{this, Prop::Buttons};
  Property<std::u16string> ToolTipText{this, Prop::Buttons};
  Property<int> Image{this, Prop::Buttons, 0};
  Property<bool> Enabled{this, Prop::Buttons, true};

  void PropertyChanged(Prop id) override;

 private:
  Toolbar& toolbar_;
  int index_;
  Kind kind_;
};

// A row of buttons along the top of its form, as wide as the form's inside. It is a container:
// the reader puts its page panel on it.
class Toolbar : public Control {
 public:
  using Control::Control;

  ToolbarButton& AddButton(std::u16string caption, std::u16string toolTip, int image);
  ToolbarButton& AddSeparator();
  // Buttons are numbered from 1, separators included.
  ToolbarButton& Buttons(int index);
  const ToolbarButton& Buttons(int index) const;
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }

  const ImageList* Images = nullptr;
  // Every button is as wide as the others, a separator a thin gap; both in twips from the left.
  Property<int> ButtonWidth{this, Prop::Buttons, 810};
  Property<int> SeparatorWidth{this, Prop::Buttons, 90};
  // Where button `index` starts, in twips from the toolbar's left edge.
  int ButtonLeft(int index) const;

  std::function<void(ToolbarButton& button)> onButtonClick;
  // A click on a separator is not a command, so it raises nothing.
  void ButtonClick(int index);

 private:
  std::vector<std::unique_ptr<ToolbarButton>> buttons_;
};

}  // namespace quillon::ui
