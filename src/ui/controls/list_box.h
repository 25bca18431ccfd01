#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/controls/control.h"

namespace nullora::ui {

// A single-selection list. Click follows every change of the selection, by code or by the user. A list
// whose paint is throttled (a log that grows by a line per file) takes new lines in batches.
class ListBox : public Control {
 public:
  ListBox(Form& form, Control* container, std::string name)
      : Control(form, container, std::move(name), platform::WidgetKind::ListBox) {}

  // Inserts at `index`, or appends when it is -1. The selected entry stays selected.
  void AddItem(const std::string& item, int index = -1);
  // Removing the selected entry leaves nothing selected; out-of-range indexes are ignored.
  void RemoveItem(int index);
  void Clear();
  int ListCount() const { return static_cast<int>(items_.size()); }
  // The entry at `index`, or "" outside the list.
  const std::string& List(int index) const;
  // The selected entry, or "".
  const std::string& Text() const { return List(listIndex_); }

  int ListIndex() const { return listIndex_; }
  // -1 selects nothing; out-of-range indexes are ignored. Raises Click when the selection changes.
  void SetListIndex(int index);

  // What a user's pick does.
  void UserSelect(int index) { OnUserSelect(index); }

  std::function<void()> Click;

 protected:
  void SyncPeer() override { PushItems(); }
  void PushPending() override;
  void OnUserSelect(int index) override;

 private:
  void PushItems();

  std::vector<std::string> items_;
  // How many of the items the widget holds; a throttled list appends the rest in one go.
  size_t pushed_ = 0;
  int listIndex_ = -1;
};

}  // namespace nullora::ui
