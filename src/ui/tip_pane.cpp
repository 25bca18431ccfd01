#include "ui/tip_pane.h"

#include "ui/tips.h"

namespace nullora {

TipPane::TipPane(ui::Form& form, int left, int top, int width, int height)
    : Picture1(form, nullptr, "Picture1"),
      Label2(form, &Picture1, "Label2"),
      Label1(form, &Picture1, "Label1"),
      lblTipText(form, &Picture1, "lblTipText") {
  Picture1.Move(left, top, width, height);
  Label2.Move(120, 60, width - 240, 255);
  Label2.SetCaption("Nullora Tips:");
  Label1.Move(120, 330, width - 240, 255);
  Label1.SetCaption("Did you know...");
  lblTipText.Move(120, 600, width - 240, height - 660);
}

void TipPane::Fill() {
  if (!LoadTipFile(TipFilePath(), lblTipText)) lblTipText.SetCaption(NotFoundTipText());
}

}  // namespace nullora
