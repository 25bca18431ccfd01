// A window of the system: its controls, its load/unload lifetime and its place in the process.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/widgets.h"

namespace nullora::ui {

class Control;
class Menu;

enum class UnloadMode { FormControlMenu, FormCode, AppWindows };

class Form : protected platform::WidgetSink {
 public:
  explicit Form(std::string name);
  ~Form() override;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

  // Geometry in twips.
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void Move(int left, int top, int width, int height);
  void SetSize(int width, int height) { Move(left_, top_, width, height); }

  uint32_t BackColor() const { return backColor_; }
  void SetBackColor(uint32_t bgr);

  bool Loaded() const { return loaded_; }
  bool Visible() const { return visible_; }

  // Loads the form (creating its window when bound) and runs Form_Load. Loading twice does nothing.
  void Load();
  // Loads when needed, then shows the window, modeless.
  void Show();
  void Hide();
  // Runs Form_QueryUnload and Form_Unload; either may cancel. Destroys the window.
  // Returns false when the unload was cancelled.
  bool Unload(UnloadMode mode = UnloadMode::FormCode);
  // Redraws at once.
  void Refresh();

  // Shows `menu`'s items as a context menu and runs the chosen item's Click.
  void PopupMenu(Menu& menu);

  platform::Widget* Peer() const { return peer_.get(); }
  const std::vector<Control*>& Controls() const { return controls_; }

  // Simulates what the user can do to the window itself, for head-less tests.
  void UserClose() { OnUserClose(); }
  // What Windows ending the session (shutdown, log-off) does to it: first the question, then the end or
  // its cancellation; `closeApp` when only this program is to close (the Restart Manager).
  void UserSessionQuery(bool closeApp = false) { OnSessionQuery(closeApp); }
  void UserSessionEnd(bool ending = true, bool closeApp = false) { OnSessionEnd(ending, closeApp); }
  // What a second copy of the program asks of the first.
  void UserShowRequest() { OnShowRequest(); }

  // Called by Control.
  void AddControl(Control* control);
  void RemoveControl(Control* control);

 protected:
  virtual void Form_Load() {}
  virtual void Form_QueryUnload(bool& cancel, UnloadMode mode) { (void)cancel, (void)mode; }
  virtual void Form_Unload(bool& cancel) { (void)cancel; }
  virtual void Form_Activate() {}
  virtual void Form_Paint() {}
  virtual void Form_QueryEndSession(bool closeApp) { (void)closeApp; }
  virtual void Form_EndSession(bool ending, bool closeApp) { (void)ending, (void)closeApp; }
  virtual void Form_ShowRequest() {}
  // F1, whichever control has the focus.
  virtual void Form_Help() {}

  platform::WidgetStyle& Style() { return style_; }

  // WidgetSink
  bool OnUserClose() override;
  void OnActivate() override { Form_Activate(); }
  void OnPaint() override { Form_Paint(); }
  void OnSessionQuery(bool closeApp) override { Form_QueryEndSession(closeApp); }
  void OnSessionEnd(bool ending, bool closeApp) override { Form_EndSession(ending, closeApp); }
  void OnShowRequest() override { Form_ShowRequest(); }
  void OnHelp() override { Form_Help(); }

 private:
  std::string name_;
  std::string caption_;
  int left_ = 0, top_ = 0, width_ = 4800, height_ = 3600;
  uint32_t backColor_ = 0x00F0F0F0;
  bool loaded_ = false;
  bool visible_ = false;
  platform::WidgetStyle style_;
  std::unique_ptr<platform::Widget> peer_;
  std::vector<Control*> controls_;
};

}  // namespace nullora::ui
