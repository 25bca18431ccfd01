// The base of every control: its own state (geometry, visibility, colour, caption) and, when its form
// is bound to a real window, the widget that mirrors it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/widgets.h"

namespace nullora::ui {

class Form;

// RGB(243, 243, 247), the background of every window, in the platform's 0x00BBGGRR order.
inline constexpr uint32_t kWindowBackColor = 0xF7F3F3;

class Control : protected platform::WidgetSink {
 public:
  // `container` is the frame or picture box the control sits in, or nullptr for the form itself.
  Control(Form& form, Control* container, std::string name, platform::WidgetKind kind);
  ~Control() override;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  Form& Owner() const { return form_; }
  Control* Container() const { return container_; }
  platform::WidgetKind Kind() const { return kind_; }

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void Move(int left, int top, int width, int height);
  void Move(int left, int top) { Move(left, top, width_, height_); }
  void SetLeft(int left) { Move(left, top_); }
  void SetTop(int top) { Move(left_, top); }

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  uint32_t BackColor() const { return backColor_; }
  void SetBackColor(uint32_t bgr);

  // Redraws the control at once (the toolkit's Refresh).
  void Refresh();

  // Progress views: what the control shows reaches the screen at most about every
  // Application::kBreathIntervalMs; the control's own state always holds the latest. Off by default.
  void SetPaintThrottled(bool throttled) { throttled_ = throttled; }
  // Pushes held-back state to the widget now.
  void PaintNow();

  // Creates the widget when the form is bound; called by the form at load, in creation order.
  void Bind();
  void Unbind();
  platform::Widget* Peer() const { return peer_.get(); }

 protected:
  // Fixed properties of the widget; set before the form loads.
  platform::WidgetStyle& Style() { return style_; }
  // Pushes the whole state of a derived control into a freshly created widget.
  virtual void SyncPeer() {}
  // Pushes what changed since the last push (the throttled controls' held-back state).
  virtual void PushPending() {}
  // For a throttled control: true when the screen may be touched now; otherwise the push is held back
  // until the next breath. Unthrottled controls may always.
  bool MayPaintNow();

 private:
  Form& form_;
  Control* container_;
  std::string name_;
  platform::WidgetKind kind_;
  platform::WidgetStyle style_;
  std::unique_ptr<platform::Widget> peer_;
  int left_ = 0, top_ = 0, width_ = 1200, height_ = 375;
  bool visible_ = true;
  bool enabled_ = true;
  bool throttled_ = false;
  uint64_t lastPaintMs_ = 0;
  uint32_t backColor_ = 0x00F0F0F0;  // the system's button face until a form sets its own
};

// A control with a caption or text: labels, buttons, frames, check boxes, option buttons.
class CaptionedControl : public Control {
 public:
  using Control::Control;
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

 protected:
  void SyncPeer() override;
  void PushPending() override;

 private:
  std::string caption_;
};

}  // namespace nullora::ui
