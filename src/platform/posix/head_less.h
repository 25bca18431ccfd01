// What the head-less stand-in of the window toolkit remembers, for tests to read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

// The event pump: how often it let input in (OsPumpEvents), and the clock's time at each breath
// (OsPumpPaint), when windows may only repaint and answer the system.
struct EventPumpLog {
  uint64_t events = 0;
  std::vector<uint64_t> paintTimesMs;
};
EventPumpLog& PumpLog();

}  // namespace nullora::platform::posix
