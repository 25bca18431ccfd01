#include "ui/controls/list_box.h"

namespace nullora::ui {

namespace {
const std::string kNoItem;
}  // namespace

void ListBox::AddItem(const std::string& item, int index) {
  if (index == -1) index = ListCount();
  if (index < 0 || index > ListCount()) return;
  const bool appended = index == ListCount();
  if (!appended) PushPending();  // what waits to be appended goes first, in its place
  items_.insert(items_.begin() + index, item);
  if (listIndex_ >= index) ++listIndex_;
  if (!Peer()) return;
  if (!appended) {
    // One item at a time: a log of thousands of paths must not be sent again on every line.
    Peer()->InsertItem(index, item);
    ++pushed_;
  } else if (MayPaintNow()) {
    PushPending();
  }
}

void ListBox::PushPending() {
  if (!Peer() || pushed_ >= items_.size()) return;
  // Each line drawn on its own costs a redraw of the whole list; a batch costs one.
  const bool batch = items_.size() - pushed_ > 1;
  if (batch) Peer()->SetRedraw(false);
  for (; pushed_ < items_.size(); ++pushed_) Peer()->InsertItem(static_cast<int>(pushed_), items_[pushed_]);
  if (batch) Peer()->SetRedraw(true);
}

void ListBox::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) return;
  PushPending();
  items_.erase(items_.begin() + index);
  if (index == listIndex_) {
    listIndex_ = -1;
  } else if (index < listIndex_) {
    --listIndex_;
  }
  if (Peer()) {
    Peer()->RemoveItemAt(index);
    --pushed_;
  }
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
  PushPending();
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
  pushed_ = items_.size();
  Peer()->SetSelectedIndex(listIndex_);
}

}  // namespace nullora::ui
