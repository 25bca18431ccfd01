#include "ui/controls/text_box.h"

namespace nullora::ui {

void TextBox::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  if (Peer() && MayPaintNow()) PushPending();
  if (Change) Change();
}

void TextBox::OnUserText(const std::string& text) {
  if (text == text_) return;
  text_ = text;  // the widget already shows it
  if (Change) Change();
}

}  // namespace nullora::ui
