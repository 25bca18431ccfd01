// Combo boxes, list boxes and progress bars.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "platform/win32/unicode.h"
#include "platform/win32/widget_base.h"

namespace nullora::platform::win32 {

namespace {

// How far a combo box's list drops, in pixels at 96 dpi.
constexpr int kDropDownHeight = 160;

class ComboBoxWidget : public WindowWidget {
 public:
  ComboBoxWidget(HWND parent, WidgetSink* sink, const WidgetStyle& style)
      : WindowWidget(sink), editable_(!style.dropDownList) {
    DWORD comboStyle =
        WS_TABSTOP | WS_VSCROLL | (editable_ ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST);
    if (HWND hwnd = CreateChild(L"COMBOBOX", comboStyle, 0, parent, NextControlId())) Attach(hwnd);
  }

  void SetBounds(int left, int top, int width, int height) override {
    // The window of a combo box includes its dropped list; the field's height follows the font.
    (void)height;
    MoveWindow(Hwnd(), TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width),
               MulDiv(kDropDownHeight, TwipsToPixelsY(1440), 96), TRUE);
  }

  void SetText(const std::string& text) override {
    UpdateScope scope(*this);
    std::wstring wide = Utf8ToWide(text);
    if (editable_) {
      SetWindowTextW(Hwnd(), wide.c_str());
      return;
    }
    // A list without a field can only show one of its items.
    LRESULT index = SendMessageW(Hwnd(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(wide.c_str()));
    SendMessageW(Hwnd(), CB_SETCURSEL, index == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(index),
                 0);
  }

  void SetItems(const std::vector<std::string>& items) override {
    UpdateScope scope(*this);
    // Emptying the list empties the field too; what the field says is the control's own state.
    std::wstring field;
    if (editable_) field = Utf8ToWide(WindowText(Hwnd()));
    SendMessageW(Hwnd(), CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) {
      SendMessageW(Hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
    }
    if (editable_) SetWindowTextW(Hwnd(), field.c_str());
  }

  void SetSelectedIndex(int index) override {
    UpdateScope scope(*this);
    SendMessageW(Hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }

  void OnCommand(int code) override {
    if (Updating()) return;
    if (code == CBN_SELCHANGE) {
      Sink()->OnUserSelect(static_cast<int>(SendMessageW(Hwnd(), CB_GETCURSEL, 0, 0)));
    } else if (code == CBN_EDITCHANGE) {
      Sink()->OnUserText(WindowText(Hwnd()));
    }
  }

 private:
  bool editable_;
};

class ListBoxWidget : public WindowWidget {
 public:
  ListBoxWidget(HWND parent, WidgetSink* sink) : WindowWidget(sink) {
    DWORD listStyle = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    if (HWND hwnd = CreateChild(L"LISTBOX", listStyle, WS_EX_CLIENTEDGE, parent, NextControlId()))
      Attach(hwnd);
  }

  // A list box's text is its selected item, which SetSelectedIndex sets.
  void SetText(const std::string& text) override { (void)text; }

  void SetItems(const std::vector<std::string>& items) override {
    UpdateScope scope(*this);
    SendMessageW(Hwnd(), WM_SETREDRAW, FALSE, 0);
    SendMessageW(Hwnd(), LB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) {
      SendMessageW(Hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
    }
    SendMessageW(Hwnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Hwnd(), nullptr, TRUE);
  }

  void InsertItem(int index, const std::string& item) override {
    UpdateScope scope(*this);
    SendMessageW(Hwnd(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
  }

  void RemoveItemAt(int index) override {
    UpdateScope scope(*this);
    SendMessageW(Hwnd(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  }

  void SetSelectedIndex(int index) override {
    UpdateScope scope(*this);
    SendMessageW(Hwnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }

  void OnCommand(int code) override {
    if (code == LBN_SELCHANGE && !Updating()) {
      Sink()->OnUserSelect(static_cast<int>(SendMessageW(Hwnd(), LB_GETCURSEL, 0, 0)));
    }
  }
};

class ProgressBarWidget : public WindowWidget {
 public:
  ProgressBarWidget(HWND parent, WidgetSink* sink) : WindowWidget(sink) {
    if (HWND hwnd = CreateChild(PROGRESS_CLASSW, 0, 0, parent, NextControlId())) Attach(hwnd);
  }
  void SetText(const std::string& text) override { (void)text; }
  void SetRange(int minimum, int maximum) override {
    SendMessageW(Hwnd(), PBM_SETRANGE32, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum));
  }
  void SetValue(int value) override { SendMessageW(Hwnd(), PBM_SETPOS, static_cast<WPARAM>(value), 0); }
};

}  // namespace

std::unique_ptr<WindowWidget> MakeComboBoxWidget(HWND parent, WidgetSink* sink, const WidgetStyle& style) {
  return MakeWidget<ComboBoxWidget>(parent, sink, style);
}

std::unique_ptr<WindowWidget> MakeListBoxWidget(HWND parent, WidgetSink* sink) {
  return MakeWidget<ListBoxWidget>(parent, sink);
}

std::unique_ptr<WindowWidget> MakeProgressBarWidget(HWND parent, WidgetSink* sink) {
  return MakeWidget<ProgressBarWidget>(parent, sink);
}

}  // namespace nullora::platform::win32
