// The icon a form keeps in the notification area, with its tip and balloon. The icon goes away with
// its owner, so a window that is destroyed never leaves a dead icon behind in the taskbar.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/widgets.h"

namespace nullora::ui {

class TrayIcon : private platform::TrayIconSink {
 public:
  TrayIcon() = default;
  ~TrayIcon() override;
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Each returns whether the notification area took the request.
  bool Add(const std::string& tip);
  bool SetTip(const std::string& tip);
  bool ShowBalloon(const std::string& title, const std::string& text);
  bool Remove();

  bool Added() const { return added_; }
  const std::string& Tip() const { return tip_; }

  // What the user does to the icon or its balloon, for head-less tests.
  void UserMouse(platform::TrayMouse event) { OnTrayMouse(event); }
  void UserBalloonClick() { OnBalloonClick(); }

  std::function<void(platform::TrayMouse)> MouseEvent;
  std::function<void()> BalloonClick;

 private:
  void OnTrayMouse(platform::TrayMouse event) override;
  void OnBalloonClick() override;

  std::unique_ptr<platform::TrayIconPeer> peer_;
  std::string tip_;
  bool added_ = false;
};

}  // namespace nullora::ui
