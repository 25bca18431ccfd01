// CreateWidget: the real window for each kind of control, inside the window of its form or frame.
#include <windows.h>

#include "platform/resource_ids.h"
#include "platform/widgets.h"
#include "platform/win32/resource_ids.h"
#include "platform/win32/unicode.h"
#include "platform/win32/widget_base.h"

namespace nullora::platform {

static_assert(kAppIcon == IDI_NULLORA);
static_assert(kTreeImageFirst == IDB_TREE_COMPUTER && IDB_TREE_AUTOCOMPLETE == kTreeImageFirst + 10);
static_assert(kJobPicture1 == IDB_JOB_PICTURE1 && kJobPicture2 == IDB_JOB_PICTURE2);

std::unique_ptr<Widget> CreateWidget(WidgetKind kind, Widget* parent, WidgetSink* sink,
                                     const WidgetStyle& style) {
  if (kind == WidgetKind::Form) return win32::MakeFormWidget(sink, style);
  auto* container = dynamic_cast<win32::WindowWidget*>(parent);
  if (!container) return nullptr;
  HWND parentWindow = container->ChildParent();
  std::unique_ptr<win32::WindowWidget> widget;
  switch (kind) {
    case WidgetKind::Form:
      break;
    case WidgetKind::Frame:
      widget = win32::MakeFrameWidget(parentWindow, sink);
      break;
    case WidgetKind::Label:
      widget = win32::MakeLabelWidget(parentWindow, sink, style);
      break;
    case WidgetKind::TextBox:
      widget = win32::MakeTextBoxWidget(parentWindow, sink, style);
      break;
    case WidgetKind::CommandButton:
      widget = win32::MakeCommandButtonWidget(parentWindow, sink, style);
      break;
    case WidgetKind::CheckBox:
      widget = win32::MakeCheckBoxWidget(parentWindow, sink);
      break;
    case WidgetKind::OptionButton:
      widget = win32::MakeOptionButtonWidget(parentWindow, sink);
      break;
    case WidgetKind::ComboBox:
      widget = win32::MakeComboBoxWidget(parentWindow, sink, style);
      break;
    case WidgetKind::ListBox:
      widget = win32::MakeListBoxWidget(parentWindow, sink);
      break;
    case WidgetKind::PictureBox:
      widget = win32::MakePictureWidget(parentWindow, sink, style);
      break;
    case WidgetKind::ProgressBar:
      widget = win32::MakeProgressBarWidget(parentWindow, sink);
      break;
    case WidgetKind::TreeView:
      widget = win32::MakeTreeViewWidget(parentWindow, sink, style);
      break;
    case WidgetKind::Line:
      widget = win32::MakeLineWidget(parentWindow, sink);
      break;
  }
  if (widget) container->ChildAdded();
  return widget;
}

bool WidgetsAvailable() {
  return true;
}

void ShowMessage(const std::string& text, const std::string& title) {
  MessageBoxW(GetActiveWindow(), win32::Utf8ToWide(text).c_str(), win32::Utf8ToWide(title).c_str(),
              MB_OK | MB_ICONINFORMATION);
}

}  // namespace nullora::platform
