#pragma once
// An indexed collection of controls of one kind in one container, whose elements share their
// event handlers and can be loaded and unloaded at run time.

#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>

#include "platform/ui/control.h"

namespace quillon::ui {

template <class T>
class ControlArray {
 public:
  ControlArray(Control& parent, std::string name) : parent_(&parent), name_(std::move(name)) {}
  // With the elements the window is designed with, so that a later member can stand on one.
  ControlArray(Control& parent, std::string name, std::initializer_list<int> designIndexes)
      : ControlArray(parent, std::move(name)) {
    for (int index : designIndexes) Add(index);
  }
  ControlArray(const ControlArray&) = delete;
  ControlArray& operator=(const ControlArray&) = delete;

  // An element that the window is designed with; it can not be unloaded.
  T& Add(int index) { return Add(index, *parent_); }
  // A design element in another container than the array's own: the elements of one array may
  // stand in different frames, as the settings dialog's colour rows do.
  T& Add(int index, Control& container) {
    T& element = Create(index, container);
    design_.insert(index);
    return element;
  }

  // A new element copies its look from the lowest element and starts hidden, as the classic
  // runtime does. Loading an index that is already there changes nothing.
  T& Load(int index) {
    if (Exists(index)) return (*this)[index];
    const T* model = elements_.empty() ? nullptr : elements_.begin()->second.get();
    T& element = Create(index, *parent_);
    if (model != nullptr) element.CopyLookFrom(*model);
    element.Visible = false;
    element.Announce();
    return element;
  }

  // Design elements stay; unloading an index that is not loaded changes nothing.
  void Unload(int index) {
    if (design_.count(index) != 0) return;
    elements_.erase(index);
  }

  bool Exists(int index) const { return elements_.count(index) != 0; }
  T& operator[](int index) {
    auto found = elements_.find(index);
    if (found == elements_.end())
      throw std::out_of_range(name_ + ": no element " + std::to_string(index));
    return *found->second;
  }
  const T& operator[](int index) const { return const_cast<ControlArray&>(*this)[index]; }

  int Count() const { return static_cast<int>(elements_.size()); }
  int LBound() const { return elements_.empty() ? 0 : elements_.begin()->first; }
  int UBound() const { return elements_.empty() ? -1 : elements_.rbegin()->first; }

  // Runs `wire` on every element now and on every element loaded later: this is where a window
  // connects the elements' events to its handlers, which receive the element's index.
  void SetWiring(std::function<void(T& element)> wire) {
    wire_ = std::move(wire);
    for (auto& entry : elements_) wire_(*entry.second);
  }

  const std::string& Name() const { return name_; }

 private:
  T& Create(int index, Control& container) {
    auto element = std::make_unique<T>(&container, name_, index);
    T& result = *element;
    elements_[index] = std::move(element);
    if (wire_) wire_(result);
    return result;
  }

  Control* parent_;
  std::string name_;
  std::map<int, std::unique_ptr<T>> elements_;
  std::set<int> design_;
  std::function<void(T& element)> wire_;
};

}  // namespace quillon::ui
