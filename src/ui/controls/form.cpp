#include "ui/controls/form.h"

#include <algorithm>

#include "ui/controls/application.h"
#include "ui/controls/control.h"
#include "ui/controls/menu.h"

namespace nullora::ui {

Form::Form(std::string name) : name_(std::move(name)) {}

Form::~Form() {
  if (loaded_) Application::Get().FormUnloaded(this);
}

void Form::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (peer_) peer_->SetText(caption_);
}

void Form::Move(int left, int top, int width, int height) {
  left_ = left, top_ = top, width_ = width, height_ = height;
  if (peer_) peer_->SetBounds(left_, top_, width_, height_);
}

void Form::SetBackColor(uint32_t bgr) {
  backColor_ = bgr;
  if (peer_) peer_->SetBackColor(backColor_);
}

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  Application::Get().FormLoaded(this);
  if (Application::Get().Bound()) {
    peer_ = platform::CreateWidget(platform::WidgetKind::Form, nullptr, this, style_);
    if (!peer_) {
      // A program with no window left would run on unseen, with no way to end it.
      platform::ShowMessage("Nullora could not open its window \"" + caption_ + "\" and ends here.",
                            "Nullora");
      Application::Get().End();
    }
    if (peer_) {
      peer_->SetText(caption_);
      peer_->SetBounds(left_, top_, width_, height_);
      peer_->SetBackColor(backColor_);
      // Containers come before what they hold: controls are created in declaration order.
      for (Control* control : controls_) control->Bind();
    }
  }
  Form_Load();
}

void Form::Show() {
  Load();
  if (!loaded_) return;  // Form_Load may have unloaded it again
  visible_ = true;
  if (peer_) {
    peer_->SetVisible(true);
    peer_->BringToFront();
  }
}

void Form::Hide() {
  visible_ = false;
  if (peer_) peer_->SetVisible(false);
}

bool Form::Unload(UnloadMode mode) {
  if (!loaded_) return true;
  bool cancel = false;
  Form_QueryUnload(cancel, mode);
  if (cancel) return false;
  Form_Unload(cancel);
  if (cancel) return false;
  visible_ = false;
  for (Control* control : controls_) control->Unbind();
  peer_.reset();
  loaded_ = false;
  Application::Get().FormUnloaded(this);
  return true;
}

void Form::Refresh() {
  if (peer_) peer_->Repaint();
}

void Form::PopupMenu(Menu& menu) {
  std::vector<platform::MenuEntry> entries = menu.Entries();
  int chosen = peer_ ? peer_->TrackPopupMenu(entries) : menu.TakeScriptedChoice();
  if (chosen > 0) menu.Choose(chosen);
}

bool Form::OnUserClose() {
  return Unload(UnloadMode::FormControlMenu);
}

void Form::AddControl(Control* control) {
  controls_.push_back(control);
}

void Form::RemoveControl(Control* control) {
  std::erase(controls_, control);
}

}  // namespace nullora::ui
