// A combo box. Code that selects an entry raises Click, code that sets the text does not: windows set
// a combo's text while loading their settings without running the handlers meant for the user's choice.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/controls/control.h"

namespace nullora::ui {

enum class ComboBoxStyle {
  DropDownCombo,  // an editable field with a list
  DropDownList,   // a choice from the list only
};

class ComboBox : public Control {
 public:
  ComboBox(Form& form, Control* container, std::string name,
           ComboBoxStyle style = ComboBoxStyle::DropDownCombo);

  ComboBoxStyle BoxStyle() const { return style_; }

  // Inserts at `index`, or appends when it is -1. The selected entry stays selected.
  void AddItem(const std::string& item, int index = -1);
  // Removing the selected entry leaves nothing selected; out-of-range indexes are ignored.
  void RemoveItem(int index);
  // Empties the list and the text.
  void Clear();
  int ListCount() const { return static_cast<int>(items_.size()); }
  // The entry at `index`, or "" outside the list.
  const std::string& List(int index) const;

  int ListIndex() const { return listIndex_; }
  // Selects an entry (-1: none) and shows it as the text; raises Click when the selection changes.
  // Out-of-range indexes are ignored.
  void SetListIndex(int index);

  const std::string& Text() const { return text_; }
  // Editable: shows `text` and selects the entry that reads the same (case aside), raising Change.
  // Drop-down list: selects the entry that reads the same, if any. Never raises Click.
  void SetText(const std::string& text);

  // What the user does: picks an entry from the list, or types in the field.
  void UserSelect(int index) { OnUserSelect(index); }
  void UserType(const std::string& text) { OnUserText(text); }

  std::function<void()> Click;
  std::function<void()> Change;

 protected:
  void SyncPeer() override;
  void OnUserSelect(int index) override;
  void OnUserText(const std::string& text) override;

 private:
  int FindExact(const std::string& text) const;
  void PushItems();

  ComboBoxStyle style_;
  std::vector<std::string> items_;
  int listIndex_ = -1;
  std::string text_;
};

}  // namespace nullora::ui
