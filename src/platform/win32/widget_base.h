// What every real widget shares: one window handle (the outer one of a composite), the sink that hears
// the user, the back colour's brush, and the routing of the notifications a parent window receives to
// the child widget that sent them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "platform/widgets.h"

namespace nullora::platform::win32 {

// Sent to a form or container window: wParam is the child's window, lParam the child's own datum.
// Lets a child act once the control has finished its default handling (a tree's check box toggles
// only after the click notification returns).
inline constexpr UINT kMsgDeferred = WM_APP + 10;

class WindowWidget : public Widget {
 public:
  explicit WindowWidget(WidgetSink* sink);
  ~WindowWidget() override;
  WindowWidget(const WindowWidget&) = delete;
  WindowWidget& operator=(const WindowWidget&) = delete;

  HWND Hwnd() const { return hwnd_; }
  // The window that the widgets inside this one are created in.
  virtual HWND ChildParent() const { return hwnd_; }
  // A widget was just created inside this one.
  virtual void ChildAdded() {}

  void SetText(const std::string& text) override;
  void SetBounds(int left, int top, int width, int height) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void SetBackColor(uint32_t bgr) override;
  void Repaint() override;
  void SetRedraw(bool redraw) override;
  void SetFocus() override;

  // A WM_COMMAND notification from this control. The handler may destroy the widget and its form.
  virtual void OnCommand(int code) { (void)code; }
  virtual bool OnNotify(NMHDR* header, LRESULT* result) {
    (void)header, (void)result;
    return false;
  }
  // WM_CTLCOLOR*: the brush to paint the control's background with, or nullptr for the default.
  virtual HBRUSH OnCtlColor(HDC dc);
  virtual void OnDeferred(LPARAM datum) { (void)datum; }

  bool IsPushButton() const { return pushButton_; }
  // What the widgets inside this one paint their surroundings with.
  HBRUSH BackBrush() const { return backBrush_; }

 protected:
  // Takes ownership of `hwnd` and gives it the program's font.
  void Attach(HWND hwnd);
  // Marks `inner`, a window that belongs to this widget, so its notifications come here too.
  void AdoptInner(HWND inner);
  WidgetSink* Sink() const { return sink_; }
  COLORREF BackColor() const { return backColor_; }
  // While true, notifications are echoes of what the code set, not the user's doing.
  bool Updating() const { return updating_ > 0; }

  // Counts the nesting of code-driven changes, so echoed notifications can be ignored.
  class UpdateScope {
   public:
    explicit UpdateScope(WindowWidget& widget) : widget_(widget) { ++widget_.updating_; }
    ~UpdateScope() { --widget_.updating_; }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

   private:
    WindowWidget& widget_;
  };

  // Labels, frames, check boxes and option buttons paint their background in the control's colour;
  // edit fields and lists keep the system's.
  bool paintsBackColor_ = false;
  bool pushButton_ = false;

 private:
  WidgetSink* sink_;
  HWND hwnd_ = nullptr;
  HWND inner_ = nullptr;
  COLORREF backColor_;
  HBRUSH backBrush_;
  int updating_ = 0;
};

// The widget a window belongs to, or nullptr for a window this back-end did not create.
WindowWidget* WidgetFromHwnd(HWND hwnd);
// The message a second copy of the program posts to the first one's main window.
UINT ShowRequestMessage();

// Handles the notifications that a form or container window receives from its children.
bool RouteChildMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// The window's text in UTF-8.
std::string WindowText(HWND hwnd);
HINSTANCE ModuleInstance();
// The message font of the system, shared by every control.
HFONT GuiFont();
// The size, of those the pictures are drawn in (16, 24, 32 and 48 pixels), nearest to what a picture of
// `logical` pixels at 96 dpi is at the display's dpi: 16 is 24 at 144 dpi (150 %).
int IconPixels(int logical);
int IconPixelsAt(int logical, int dpi);
int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);
// A child window of `parent` with the common child styles; nullptr when creation failed.
HWND CreateChild(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int id);
// A control id unique in the process, for controls that need no well-known one.
int NextControlId();

// A widget of type T, or nullptr when its window could not be created.
template <class T, class... Args>
std::unique_ptr<WindowWidget> MakeWidget(Args&&... args) {
  auto widget = std::make_unique<T>(std::forward<Args>(args)...);
  if (!widget->Hwnd()) return nullptr;
  return widget;
}

// One factory per kind of widget.
std::unique_ptr<WindowWidget> MakeFormWidget(WidgetSink* sink, const WidgetStyle& style);
std::unique_ptr<WindowWidget> MakeFrameWidget(HWND parent, WidgetSink* sink);
std::unique_ptr<WindowWidget> MakePictureWidget(HWND parent, WidgetSink* sink, const WidgetStyle& style);
std::unique_ptr<WindowWidget> MakeLabelWidget(HWND parent, WidgetSink* sink, const WidgetStyle& style);
std::unique_ptr<WindowWidget> MakeLineWidget(HWND parent, WidgetSink* sink);
std::unique_ptr<WindowWidget> MakeTextBoxWidget(HWND parent, WidgetSink* sink, const WidgetStyle& style);
std::unique_ptr<WindowWidget> MakeCommandButtonWidget(HWND parent, WidgetSink* sink,
                                                      const WidgetStyle& style);
std::unique_ptr<WindowWidget> MakeCheckBoxWidget(HWND parent, WidgetSink* sink);
std::unique_ptr<WindowWidget> MakeOptionButtonWidget(HWND parent, WidgetSink* sink);
std::unique_ptr<WindowWidget> MakeComboBoxWidget(HWND parent, WidgetSink* sink, const WidgetStyle& style);
std::unique_ptr<WindowWidget> MakeListBoxWidget(HWND parent, WidgetSink* sink);
std::unique_ptr<WindowWidget> MakeProgressBarWidget(HWND parent, WidgetSink* sink);
std::unique_ptr<WindowWidget> MakeTreeViewWidget(HWND parent, WidgetSink* sink, const WidgetStyle& style);

}  // namespace nullora::platform::win32
