#include "ui/controls/combo_box.h"

#include <algorithm>
#include <cctype>

namespace nullora::ui {

namespace {

bool SameText(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

const std::string kNoItem;

}  // namespace

ComboBox::ComboBox(Form& form, Control* container, std::string name, ComboBoxStyle style)
    : Control(form, container, std::move(name), platform::WidgetKind::ComboBox), style_(style) {
  Style().dropDownList = style == ComboBoxStyle::DropDownList;
}

void ComboBox::AddItem(const std::string& item, int index) {
  if (index == -1) index = ListCount();
  if (index < 0 || index > ListCount()) return;
  items_.insert(items_.begin() + index, item);
  if (listIndex_ >= index) ++listIndex_;
  PushItems();
}

void ComboBox::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) return;
  items_.erase(items_.begin() + index);
  if (index == listIndex_) {
    listIndex_ = -1;
    // An editable field keeps what it shows; a drop-down list shows only its selection.
    if (style_ == ComboBoxStyle::DropDownList) text_.clear();
  } else if (index < listIndex_) {
    --listIndex_;
  }
  PushItems();
}

void ComboBox::Clear() {
  items_.clear();
  listIndex_ = -1;
  text_.clear();
  PushItems();
}

const std::string& ComboBox::List(int index) const {
  return index >= 0 && index < ListCount() ? items_[static_cast<size_t>(index)] : kNoItem;
}

void ComboBox::SetListIndex(int index) {
  if (index < -1 || index >= ListCount() || index == listIndex_) return;
  listIndex_ = index;
  text_ = List(index);
  if (Peer()) {
    Peer()->SetSelectedIndex(listIndex_);
    if (style_ == ComboBoxStyle::DropDownCombo) Peer()->SetText(text_);
  }
  if (Click) Click();
}

void ComboBox::SetText(const std::string& text) {
  int match = FindExact(text);
  if (style_ == ComboBoxStyle::DropDownList) {
    if (match < 0 || match == listIndex_) return;
    listIndex_ = match;
    text_ = items_[static_cast<size_t>(match)];
    if (Peer()) Peer()->SetSelectedIndex(listIndex_);
    return;
  }
  if (text == text_) return;
  text_ = text;
  listIndex_ = match;
  if (Peer()) {
    // Selecting in the widget rewrites its field, so the text goes last.
    Peer()->SetSelectedIndex(listIndex_);
    Peer()->SetText(text_);
  }
  if (Change) Change();
}

void ComboBox::SyncPeer() {
  PushItems();
}

void ComboBox::OnUserSelect(int index) {
  if (!Enabled() || !Visible() || index < 0 || index >= ListCount()) return;
  listIndex_ = index;
  text_ = items_[static_cast<size_t>(index)];
  if (Click) Click();
}

void ComboBox::OnUserText(const std::string& text) {
  if (!Enabled() || !Visible() || style_ == ComboBoxStyle::DropDownList || text == text_) return;
  text_ = text;  // the widget already shows it
  listIndex_ = FindExact(text);
  if (Change) Change();
}

int ComboBox::FindExact(const std::string& text) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (SameText(items_[i], text)) return static_cast<int>(i);
  }
  return -1;
}

void ComboBox::PushItems() {
  if (!Peer()) return;
  // Refilling the widget drops its selection and, for an editable one, its field.
  Peer()->SetItems(items_);
  Peer()->SetSelectedIndex(listIndex_);
  if (style_ == ComboBoxStyle::DropDownCombo) Peer()->SetText(text_);
}

}  // namespace nullora::ui
