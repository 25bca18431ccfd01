// The icon in the taskbar's notification area while the main window is loaded: the way back to a hidden
// main window, the way to end a program that runs on a schedule, and the place of the balloons that a
// background clean run shows.
#pragma once

#include <string>

namespace nullora {

class fSettings;

// The icon reacts to the mouse only while this is true: from the first paint of the main window (or of
// the options dialog) until the main window unloads.
inline bool TrayClicksEnabled = false;

inline constexpr char kTrayTip[] = "Nullora";
inline constexpr char kBalloonTitle[] = "Nullora";

void AddTrayIcon(fSettings& main);
void ShowTrayBalloon(fSettings& main, const std::string& text);
void RemoveTrayIcon(fSettings& main);

}  // namespace nullora
