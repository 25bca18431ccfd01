// Option buttons: of the buttons that share a form and a container, at most one is selected.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "ui/controls/control.h"

namespace nullora::ui {

class OptionButton : public CaptionedControl {
 public:
  // `index` is the button's place in a control array (Option1(0), Option1(1), ...), or kNoIndex.
  static constexpr int kNoIndex = -1;
  OptionButton(Form& form, Control* container, std::string name, int index = kNoIndex)
      : CaptionedControl(form, container, std::move(name), platform::WidgetKind::OptionButton),
        index_(index) {}

  int Index() const { return index_; }
  bool Value() const { return value_; }
  // Selecting clears the rest of the group and raises Click; clearing raises nothing.
  void SetValue(bool value);

  // What a user's click does: selects the button. Ignored while disabled or hidden.
  void UserClick() { OnUserClick(); }

  std::function<void()> Click;

 protected:
  void SyncPeer() override;
  void OnUserClick() override;

 private:
  void Mark(bool value);

  int index_;
  bool value_ = false;
};

// A control array of option buttons sharing one name and one Click handler that is told the index.
class OptionButtonArray {
 public:
  OptionButtonArray(Form& form, Control* container, const std::string& name, int count);
  OptionButtonArray(const OptionButtonArray&) = delete;
  OptionButtonArray& operator=(const OptionButtonArray&) = delete;

  OptionButton& operator[](int index) { return *buttons_.at(static_cast<size_t>(index)); }
  const OptionButton& operator[](int index) const { return *buttons_.at(static_cast<size_t>(index)); }
  int Count() const { return static_cast<int>(buttons_.size()); }
  // The index of the selected button, or OptionButton::kNoIndex.
  int Selected() const;

  // Owns the buttons' own Click members.
  std::function<void(int index)> Click;

 private:
  std::vector<std::unique_ptr<OptionButton>> buttons_;
};

}  // namespace nullora::ui
