#pragma once
// A property of a kit control: reads like a plain value, and tells its control when it changes,
// so windows can write `MainPage[0].Left = 0` and the backend and the event rules follow.

#include <utility>

#include "platform/ui/types.h"

namespace quillon::ui {

class PropertyOwner {
 public:
  virtual void PropertyChanged(Prop id) = 0;

 protected:
  ~PropertyOwner() = default;
};

template <class T>
class Property {
 public:
  Property(PropertyOwner* owner, Prop id, T initial = T())
      : owner_(owner), id_(id), value_(std::move(initial)) {}
  Property(const Property&) = delete;

  Property& operator=(const Property& other) { return *this = other.value_; }
  Property& operator=(const T& value) {
    if (!(value_ == value)) {
      value_ = value;
      owner_->PropertyChanged(id_);
    }
    return *this;
  }
  template <class U>
  Property& operator+=(const U& delta) {
    return *this = static_cast<T>(value_ + delta);
  }
  template <class U>
  Property& operator-=(const U& delta) {
    return *this = static_cast<T>(value_ - delta);
  }

  operator const T&() const { return value_; }
  const T& get() const { return value_; }

  // Sets the value without telling anyone; for copying a look before a backend is attached.
  void SetQuietly(const T& value) { value_ = value; }

  friend bool operator==(const Property& a, const Property& b) { return a.value_ == b.value_; }
  friend bool operator==(const Property& a, const T& b) { return a.value_ == b; }
  friend bool operator==(const T& a, const Property& b) { return a == b.value_; }
  friend bool operator!=(const Property& a, const Property& b) { return !(a.value_ == b.value_); }
  friend bool operator!=(const Property& a, const T& b) { return !(a.value_ == b); }
  friend bool operator!=(const T& a, const Property& b) { return !(a == b.value_); }

 private:
  PropertyOwner* owner_;
  Prop id_;
  T value_;
};

// The font of a control, one property per attribute as the classic runtime has them
// (`lbl.Font.Bold = true`); any change reports Prop::Font.
class FontProperty {
 public:
  explicit FontProperty(PropertyOwner* owner, FontSpec initial = FontSpec())
      : Name(owner, Prop::Font, initial.Name),
        Size(owner, Prop::Font, initial.Size),
        Bold(owner, Prop::Font, initial.Bold),
        Italic(owner, Prop::Font, initial.Italic),
        Underline(owner, Prop::Font, initial.Underline) {}

  Property<std::u16string> Name;
  Property<float> Size;
  Property<bool> Bold;
  Property<bool> Italic;
  Property<bool> Underline;

  FontSpec Value() const { return FontSpec{Name, Size, Bold, Italic, Underline}; }
  void Assign(const FontSpec& font) {
    Name = font.Name;
    Size = font.Size;
    Bold = font.Bold;
    Italic = font.Italic;
    Underline = font.Underline;
  }
};

}  // namespace quillon::ui
