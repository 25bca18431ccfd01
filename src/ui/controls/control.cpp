#include "ui/controls/control.h"

#include "platform/clock.h"
#include "ui/controls/application.h"
#include "ui/controls/form.h"

namespace nullora::ui {

Control::Control(Form& form, Control* container, std::string name, platform::WidgetKind kind)
    : form_(form), container_(container), name_(std::move(name)), kind_(kind) {
  form_.AddControl(this);
}

Control::~Control() {
  Application::Get().ControlDestroyed(this);
  form_.RemoveControl(this);
}

bool Control::MayPaintNow() {
  if (!throttled_) return true;
  const uint64_t now = platform::GetClock().NowMs();
  if (lastPaintMs_ != 0 && now - lastPaintMs_ < Application::kBreathIntervalMs) {
    Application::Get().DeferPaint(this);
    return false;
  }
  lastPaintMs_ = now;
  return true;
}

void Control::PaintNow() {
  if (!peer_) return;
  lastPaintMs_ = platform::GetClock().NowMs();
  PushPending();
}

void Control::Move(int left, int top, int width, int height) {
  left_ = left, top_ = top, width_ = width, height_ = height;
  if (peer_) peer_->SetBounds(left_, top_, width_, height_);
}

void Control::SetVisible(bool visible) {
  visible_ = visible;
  if (peer_) peer_->SetVisible(visible_);
}

void Control::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (peer_) peer_->SetEnabled(enabled_);
}

void Control::SetBackColor(uint32_t bgr) {
  backColor_ = bgr;
  if (peer_) peer_->SetBackColor(backColor_);
}

void Control::Refresh() {
  if (!peer_) return;
  if (throttled_) PaintNow();
  peer_->Repaint();
}

void Control::Bind() {
  if (peer_ || !form_.Peer()) return;
  platform::Widget* parent = container_ && container_->Peer() ? container_->Peer() : form_.Peer();
  peer_ = platform::CreateWidget(kind_, parent, this, style_);
  if (!peer_) return;
  peer_->SetBounds(left_, top_, width_, height_);
  peer_->SetBackColor(backColor_);
  peer_->SetEnabled(enabled_);
  SyncPeer();
  peer_->SetVisible(visible_);
}

void Control::Unbind() {
  peer_.reset();
}

void CaptionedControl::SetCaption(const std::string& caption) {
  // The same text again is not news to the screen (a routine may write it for every file).
  if (caption == caption_ && Peer()) return;
  caption_ = caption;
  if (Peer() && MayPaintNow()) PushPending();
}

void CaptionedControl::SyncPeer() {
  Peer()->SetText(caption_);
}

void CaptionedControl::PushPending() {
  if (Peer()) Peer()->SetText(caption_);
}

}  // namespace nullora::ui
