// Menus that pop up at the cursor (the tray's context menu). Items are identified by their position.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/widgets.h"

namespace nullora::ui {

class MenuItem {
 public:
  MenuItem(std::string name, std::string caption) : name_(std::move(name)), caption_(std::move(caption)) {}
  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool Checked() const { return checked_; }
  void SetChecked(bool checked) { checked_ = checked; }
  bool IsDefault() const { return default_; }
  void SetDefault(bool isDefault) { default_ = isDefault; }
  bool IsSeparator() const { return caption_ == "-"; }

  std::function<void()> Click;

 private:
  std::string name_;
  std::string caption_;
  bool visible_ = true;
  bool enabled_ = true;
  bool checked_ = false;
  bool default_ = false;
};

class Menu {
 public:
  Menu(std::string name, std::string caption) : name_(std::move(name)), caption_(std::move(caption)) {}
  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }

  MenuItem& AddItem(std::string name, std::string caption);
  MenuItem* Item(const std::string& name);
  const std::vector<std::unique_ptr<MenuItem>>& Items() const { return items_; }

  // The visible items as the back-end shows them; an entry's id is the item's position plus one.
  std::vector<platform::MenuEntry> Entries() const;
  // Runs the Click of the item with that id, when it is enabled.
  void Choose(int id);

  // Head-less: the item the next PopupMenu picks, as a user would.
  void ScriptChoice(const std::string& itemName) { scripted_ = itemName; }
  int TakeScriptedChoice();
  // Head-less: how often the menu was popped up.
  int TimesShown() const { return shown_; }

 private:
  std::string name_;
  std::string caption_;
  std::vector<std::unique_ptr<MenuItem>> items_;
  std::string scripted_;
  mutable int shown_ = 0;
};

}  // namespace nullora::ui
