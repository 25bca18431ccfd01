#include "ui/controls/menu.h"

namespace nullora::ui {

MenuItem& Menu::AddItem(std::string name, std::string caption) {
  items_.push_back(std::make_unique<MenuItem>(std::move(name), std::move(caption)));
  return *items_.back();
}

MenuItem* Menu::Item(const std::string& name) {
  for (auto& item : items_) {
    if (item->Name() == name) return item.get();
  }
  return nullptr;
}

std::vector<platform::MenuEntry> Menu::Entries() const {
  ++shown_;
  std::vector<platform::MenuEntry> entries;
  for (size_t i = 0; i < items_.size(); ++i) {
    const MenuItem& item = *items_[i];
    if (!item.Visible()) continue;
    platform::MenuEntry entry;
    entry.id = item.IsSeparator() ? 0 : static_cast<int>(i) + 1;
    entry.caption = item.Caption();
    entry.enabled = item.Enabled();
    entry.checked = item.Checked();
    entry.isDefault = item.IsDefault();
    entries.push_back(std::move(entry));
  }
  return entries;
}

void Menu::Choose(int id) {
  if (id < 1 || id > static_cast<int>(items_.size())) return;
  MenuItem& item = *items_[id - 1];
  if (item.Enabled() && item.Visible() && item.Click) item.Click();
}

int Menu::TakeScriptedChoice() {
  std::string name = std::move(scripted_);
  scripted_.clear();
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i]->Name() == name) return static_cast<int>(i) + 1;
  }
  return 0;
}

}  // namespace nullora::ui
