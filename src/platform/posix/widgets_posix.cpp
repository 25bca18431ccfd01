// Head-less stand-in of the window toolkit: no widget is created, forms keep their state only.
#include "platform/posix/head_less.h"
#include "platform/widgets.h"

namespace nullora::platform {

namespace {

posix::TrayState gTray;
std::string gLastMessage;
int gMessages = 0;

class HeadLessTrayIcon : public TrayIconPeer {
 public:
  HeadLessTrayIcon() { gTray = {}; }
  bool Add(const std::string& tip) override {
    gTray.added = true;
    gTray.tip = tip;
    return true;
  }
  bool SetTip(const std::string& tip) override {
    gTray.tip = tip;
    return gTray.added;
  }
  bool ShowBalloon(const std::string& title, const std::string& text) override {
    gTray.balloonTitle = title;
    gTray.balloonText = text;
    ++gTray.balloons;
    return gTray.added;
  }
  bool Remove() override {
    bool was = gTray.added;
    gTray.added = false;
    return was;
  }
};

}  // namespace

std::unique_ptr<Widget> CreateWidget(WidgetKind kind, Widget* parent, WidgetSink* sink,
                                     const WidgetStyle& style) {
  (void)kind, (void)parent, (void)sink, (void)style;
  return nullptr;
}

bool WidgetsAvailable() {
  return false;
}

std::unique_ptr<TrayIconPeer> CreateTrayIcon(TrayIconSink* sink) {
  (void)sink;
  return std::make_unique<HeadLessTrayIcon>();
}

void ShowMessage(const std::string& text, const std::string& title) {
  (void)title;
  gLastMessage = text;
  ++gMessages;
}

namespace posix {
const TrayState& LastTrayIcon() {
  return gTray;
}
const std::string& LastShownMessage() {
  return gLastMessage;
}
int MessagesShown() {
  return gMessages;
}
void ClearShownMessages() {
  gLastMessage.clear();
  gMessages = 0;
}
}  // namespace posix

}  // namespace nullora::platform
