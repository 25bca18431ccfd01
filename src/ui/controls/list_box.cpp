#include "ui/controls/list_box.h"

namespace nullora::ui {

namespace {
const std::string kNoItem;
}  // namespace

void ListBox::AddItem(const std::string& item, int index) {
  if (index == -1) index = ListCount();
  if (index < 0 || index > ListCount()) return;
  items_.insert(items_.begin() + index, item);
  if (listIndex_ >= index) ++listIndex_;
  // One item at a time: a log of thousands of paths must not be sent again on every line.
  if (Peer()) Peer()->InsertItem(index, item);
}

void ListBox::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) return;
  items_.erase(items_.begin() + index);
  if (index == listIndex_) {
    listIndex_ = -1;
  } else if (index < listIndex_) {
    --listIndex_;
  }
  if (Peer()) Peer()->RemoveItemAt(index);
}

void ListBox::Clear() {
  items_.clear();
  listIndex_ = -1;
  PushItems();
}

const std::string& ListBox::List(int index) const {
  return index >= 0 && index < ListCount() ? items_[static_cast<size_t>(index)] : kNoItem;
}

void ListBox::SetListIndex(int index) {
  if (index < -1 || index >= ListCount() || index == listIndex_) return;
  listIndex_ = index;
  if (Peer()) Peer()->SetSelectedIndex(listIndex_);
  if (Click) Click();
}

void ListBox::OnUserSelect(int index) {
  if (!Enabled() || !Visible() || index < 0 || index >= ListCount() || index == listIndex_) return;
  listIndex_ = index;  // the widget already shows it
  if (Click) Click();
}

void ListBox::PushItems() {
  if (!Peer()) return;
  Peer()->SetItems(items_);
  Peer()->SetSelectedIndex(listIndex_);
}

}  // namespace nullora::ui
