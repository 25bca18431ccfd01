// What the head-less stand-in of the window toolkit remembers, for tests to read.
#pragma once

#include <string>

namespace nullora::platform::posix {

struct TrayState {
  bool added = false;
  std::string tip;
  std::string balloonTitle;
  std::string balloonText;
  int balloons = 0;
};

// The state of the most recently created tray icon.
const TrayState& LastTrayIcon();

// The last text ShowMessage was given, and how many messages were shown.
const std::string& LastShownMessage();
int MessagesShown();
void ClearShownMessages();

}  // namespace nullora::platform::posix
