#include "ui/shell_tray.h"

#include "ui/fSettings.h"

namespace nullora {

void AddTrayIcon(fSettings& main) {
  main.Tray.Add(kTrayTip);
}

void ShowTrayBalloon(fSettings& main, const std::string& text) {
  main.Tray.ShowBalloon(kBalloonTitle, text.size() > 255 ? text.substr(0, 255) : text);
}

void RemoveTrayIcon(fSettings& main) {
  main.Tray.Remove();
}

}  // namespace nullora
