#pragma once

#include <functional>

#include "ui/controls/control.h"

namespace nullora::ui {

class TextBox : public Control {
 public:
  TextBox(Form& form, Control* container, std::string name)
      : Control(form, container, std::move(name), platform::WidgetKind::TextBox) {}

  const std::string& Text() const { return text_; }
  // Raises Change when the text differs.
  void SetText(const std::string& text);
  void SetLocked(bool locked) { Style().locked = locked; }
  void SetMultiLine(bool multiLine) { Style().multiLine = multiLine; }

  // What a user's typing does.
  void UserType(const std::string& text) { OnUserText(text); }

  std::function<void()> Change;

 protected:
  void SyncPeer() override { Peer()->SetText(text_); }
  void PushPending() override {
    if (Peer()) Peer()->SetText(text_);
  }
  void OnUserText(const std::string& text) override;

 private:
  std::string text_;
};

}  // namespace nullora::ui
