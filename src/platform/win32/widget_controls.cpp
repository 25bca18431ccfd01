// The simple controls: labels, lines, text boxes and the three kinds of button.
#include <windows.h>

#include <algorithm>
#include <memory>

#include "platform/win32/unicode.h"
#include "platform/win32/widget_base.h"

namespace nullora::platform::win32 {

namespace {

// An edit field breaks lines only at CR LF.
std::wstring WithCrLf(const std::string& text) {
  std::wstring wide = Utf8ToWide(text);
  std::wstring result;
  result.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    if (wide[i] == L'\n' && (i == 0 || wide[i - 1] != L'\r')) result += L'\r';
    result += wide[i];
  }
  return result;
}

class LabelWidget : public WindowWidget {
 public:
  LabelWidget(HWND parent, WidgetSink* sink, bool oneLine) : WindowWidget(sink) {
    paintsBackColor_ = true;
    const DWORD style = oneLine ? SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS : SS_LEFT;
    if (HWND hwnd = CreateChild(L"STATIC", style, 0, parent, NextControlId())) Attach(hwnd);
  }
};

class LineWidget : public WindowWidget {
 public:
  LineWidget(HWND parent, WidgetSink* sink) : WindowWidget(sink) {
    if (HWND hwnd = CreateChild(L"STATIC", SS_ETCHEDHORZ, 0, parent, NextControlId())) Attach(hwnd);
  }
  void SetText(const std::string& text) override { (void)text; }
  void SetBounds(int left, int top, int width, int height) override {
    // A horizontal line comes with no height; the etched edge needs two pixels.
    MoveWindow(Hwnd(), TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width),
               std::max(TwipsToPixelsY(height), 2), TRUE);
  }
};

class TextBoxWidget : public WindowWidget {
 public:
  TextBoxWidget(HWND parent, WidgetSink* sink, const WidgetStyle& style)
      : WindowWidget(sink), multiLine_(style.multiLine) {
    DWORD editStyle = WS_TABSTOP | (style.locked ? ES_READONLY : 0);
    editStyle |= multiLine_ ? ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL : ES_AUTOHSCROLL;
    if (HWND hwnd = CreateChild(L"EDIT", editStyle, WS_EX_CLIENTEDGE, parent, NextControlId())) Attach(hwnd);
  }

  void SetText(const std::string& text) override {
    UpdateScope scope(*this);
    SetWindowTextW(Hwnd(), multiLine_ ? WithCrLf(text).c_str() : Utf8ToWide(text).c_str());
  }

  void OnCommand(int code) override {
    // EN_CHANGE also follows SetWindowText; only the user's edits are news to the sink.
    if (code == EN_CHANGE && !Updating()) Sink()->OnUserText(WindowText(Hwnd()));
  }

 private:
  bool multiLine_;
};

class CommandButtonWidget : public WindowWidget {
 public:
  CommandButtonWidget(HWND parent, WidgetSink* sink, const WidgetStyle& style) : WindowWidget(sink) {
    pushButton_ = true;
    // The dialog manager sends Enter to IDOK and Escape to IDCANCEL.
    int id = style.isDefault ? IDOK : style.isCancel ? IDCANCEL : NextControlId();
    DWORD buttonStyle = WS_TABSTOP | (style.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    if (HWND hwnd = CreateChild(L"BUTTON", buttonStyle, 0, parent, id)) Attach(hwnd);
  }

  void OnCommand(int code) override {
    if (code == BN_CLICKED) Sink()->OnUserClick();
  }

  HBRUSH OnCtlColor(HDC dc) override {
    // The corners around a themed button show what it sits on.
    WindowWidget* parent = WidgetFromHwnd(GetParent(Hwnd()));
    if (!parent) return nullptr;
    SetBkMode(dc, TRANSPARENT);
    return parent->BackBrush();
  }
};

// Check boxes and option buttons do not change their own state: a click is reported and the control
// model sets the value it decides on.
class StateButtonWidget : public WindowWidget {
 public:
  StateButtonWidget(HWND parent, WidgetSink* sink, DWORD buttonStyle) : WindowWidget(sink) {
    paintsBackColor_ = true;
    if (HWND hwnd = CreateChild(L"BUTTON", buttonStyle | WS_TABSTOP, 0, parent, NextControlId()))
      Attach(hwnd);
  }

  void SetValue(int value) override {
    WPARAM state = value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
    SendMessageW(Hwnd(), BM_SETCHECK, state, 0);
  }

  void OnCommand(int code) override {
    if (code == BN_CLICKED || code == BN_DOUBLECLICKED) Sink()->OnUserClick();
  }
};

}  // namespace

std::unique_ptr<WindowWidget> MakeLabelWidget(HWND parent, WidgetSink* sink, const WidgetStyle& style) {
  return MakeWidget<LabelWidget>(parent, sink, style.oneLine);
}

std::unique_ptr<WindowWidget> MakeLineWidget(HWND parent, WidgetSink* sink) {
  return MakeWidget<LineWidget>(parent, sink);
}

std::unique_ptr<WindowWidget> MakeTextBoxWidget(HWND parent, WidgetSink* sink, const WidgetStyle& style) {
  return MakeWidget<TextBoxWidget>(parent, sink, style);
}

std::unique_ptr<WindowWidget> MakeCommandButtonWidget(HWND parent, WidgetSink* sink,
                                                      const WidgetStyle& style) {
  return MakeWidget<CommandButtonWidget>(parent, sink, style);
}

std::unique_ptr<WindowWidget> MakeCheckBoxWidget(HWND parent, WidgetSink* sink) {
  // Three states, so the grey "partly" mark can be shown; BS_3STATE leaves the state to the program.
  return MakeWidget<StateButtonWidget>(parent, sink, BS_3STATE);
}

std::unique_ptr<WindowWidget> MakeOptionButtonWidget(HWND parent, WidgetSink* sink) {
  return MakeWidget<StateButtonWidget>(parent, sink, BS_RADIOBUTTON);
}

}  // namespace nullora::platform::win32
