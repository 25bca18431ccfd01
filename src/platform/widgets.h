// The window toolkit back-end, in portable terms. A control of the form runtime (ui/controls) holds
// its own state; when its form is bound, it mirrors that state into a Widget created here and hears
// the user's actions back through a WidgetSink. The posix stand-in creates no widgets (head-less).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace nullora::platform {

enum class WidgetKind {
  Form,
  Frame,
  Label,
  TextBox,
  CommandButton,
  CheckBox,
  OptionButton,
  ComboBox,
  ListBox,
  PictureBox,
  ProgressBar,
  TreeView,
  Line,
};

// How a widget is made; fixed for its life.
struct WidgetStyle {
  bool multiLine = false;     // text box
  bool oneLine = false;       // label: no wrapping, a text too long for it ends in "..."
  bool locked = false;        // text box: read-only
  bool dropDownList = false;  // combo box without an editable field
  bool checkBoxes = false;    // tree view: a check box on every node
  bool isDefault = false;     // command button answering Enter
  bool isCancel = false;      // command button answering Escape
  bool toolWindow = false;    // form: small caption, no taskbar button
  int resourceId = 0;         // picture box: the bitmap or icon resource
};

// What the user did to a widget. Called on the UI thread, from the event pump.
class WidgetSink {
 public:
  virtual ~WidgetSink() = default;
  virtual void OnUserClick() {}
  virtual void OnUserText(const std::string& text) { (void)text; }
  virtual void OnUserSelect(int index) { (void)index; }
  virtual void OnUserNodeCheck(int nodeId, bool checked) { (void)nodeId, (void)checked; }
  virtual void OnUserNodeSelect(int nodeId) { (void)nodeId; }
  // The form's close box or Alt+F4. Return false to keep the window.
  virtual bool OnUserClose() { return true; }
  virtual void OnActivate() {}
  virtual void OnPaint() {}
  // The system asks whether the session may end (shutdown, log-off; with `closeApp` the Restart Manager,
  // an installer say, wants only this program closed). The answer is yes and comes at once.
  virtual void OnSessionQuery(bool closeApp) { (void)closeApp; }
  // The session ends now (`ending`), or its end was called off (not `ending`).
  virtual void OnSessionEnd(bool ending, bool closeApp) { (void)ending, (void)closeApp; }
  // Another copy of the program asks this window to come forward.
  virtual void OnShowRequest() {}
  // F1 anywhere in the window.
  virtual void OnHelp() {}
};

struct MenuEntry {
  int id = 0;  // 0: a separator
  std::string caption;
  bool enabled = true;
  bool checked = false;
  bool isDefault = false;
};

// One window or control. Geometry is in twips (1/1440 inch; 15 twips to a pixel at 96 dpi).
class Widget {
 public:
  virtual ~Widget() = default;
  virtual void SetText(const std::string& text) = 0;
  virtual void SetBounds(int left, int top, int width, int height) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  // Colour as 0x00BBGGRR, the platform's order.
  virtual void SetBackColor(uint32_t bgr) { (void)bgr; }
  // Check state (0, 1, 2), option value (0, 1) or progress position.
  virtual void SetValue(int value) { (void)value; }
  virtual void SetRange(int minimum, int maximum) { (void)minimum, (void)maximum; }
  // List and combo boxes.
  virtual void SetItems(const std::vector<std::string>& items) { (void)items; }
  virtual void SetSelectedIndex(int index) { (void)index; }
  // One item inserted at `index` or removed, without sending the whole list again.
  virtual void InsertItem(int index, const std::string& item) { (void)index, (void)item; }
  virtual void RemoveItemAt(int index) { (void)index; }
  // Picture boxes: shows another picture resource.
  virtual void SetPicture(int resourceId) { (void)resourceId; }
  // Tree views. Node ids are the nodes' indexes (from 1); 0 is the root.
  virtual void SetImages(const std::vector<int>& resourceIds, int size, uint32_t maskBgr) {
    (void)resourceIds, (void)size, (void)maskBgr;
  }
  virtual void AddNode(int id, int parentId, const std::string& text, int image) {
    (void)id, (void)parentId, (void)text, (void)image;
  }
  virtual void SetNodeChecked(int id, bool checked) { (void)id, (void)checked; }
  virtual void ExpandNode(int id) { (void)id; }
  virtual void ClearNodes() {}
  // Redraws now, without waiting for the event pump.
  virtual void Repaint() = 0;
  // Off: changes are not drawn until it is turned on again (many list items at once).
  virtual void SetRedraw(bool redraw) { (void)redraw; }
  virtual void SetFocus() {}
  // Forms: shows a context menu at the cursor, returns the chosen id or 0.
  virtual int TrackPopupMenu(const std::vector<MenuEntry>& entries) {
    (void)entries;
    return 0;
  }
  virtual void BringToFront() {}
};

// Creates the real widget, or nullptr in a head-less build. `parent` is the form or frame.
std::unique_ptr<Widget> CreateWidget(WidgetKind kind, Widget* parent, WidgetSink* sink,
                                     const WidgetStyle& style);
// True when CreateWidget makes real windows in this build.
bool WidgetsAvailable();

// What the notification-area icon reports.
enum class TrayMouse { LeftDown, LeftUp, LeftDoubleClick, RightDown, RightUp, RightDoubleClick, Move };

class TrayIconSink {
 public:
  virtual ~TrayIconSink() = default;
  virtual void OnTrayMouse(TrayMouse event) { (void)event; }
  virtual void OnBalloonClick() {}
};

// The notification-area icon with its own hidden window procedure. It adds itself again when the
// taskbar is re-created (Explorer restarted).
class TrayIconPeer {
 public:
  virtual ~TrayIconPeer() = default;
  virtual bool Add(const std::string& tip) = 0;
  virtual bool SetTip(const std::string& tip) = 0;
  virtual bool ShowBalloon(const std::string& title, const std::string& text) = 0;
  virtual bool Remove() = 0;
};

std::unique_ptr<TrayIconPeer> CreateTrayIcon(TrayIconSink* sink);

// Message box, for the few places the system shows one.
void ShowMessage(const std::string& text, const std::string& title);

}  // namespace nullora::platform
