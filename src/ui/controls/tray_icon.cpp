#include "ui/controls/tray_icon.h"

namespace nullora::ui {

TrayIcon::~TrayIcon() {
  Remove();
}

bool TrayIcon::Add(const std::string& tip) {
  tip_ = tip;
  // Made on first use: the icon's hidden window must not exist before the program has started up.
  if (!peer_) peer_ = platform::CreateTrayIcon(this);
  if (!peer_) return false;
  added_ = peer_->Add(tip_);
  return added_;
}

bool TrayIcon::SetTip(const std::string& tip) {
  tip_ = tip;
  return added_ && peer_->SetTip(tip_);
}

bool TrayIcon::ShowBalloon(const std::string& title, const std::string& text) {
  return added_ && peer_->ShowBalloon(title, text);
}

bool TrayIcon::Remove() {
  if (!added_) return false;
  added_ = false;
  return peer_->Remove();
}

void TrayIcon::OnTrayMouse(platform::TrayMouse event) {
  if (MouseEvent) MouseEvent(event);
}

void TrayIcon::OnBalloonClick() {
  if (BalloonClick) BalloonClick();
}

}  // namespace nullora::ui
