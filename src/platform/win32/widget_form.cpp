// A form: a top-level window with a fixed dialog frame, keyboard navigation among its controls and
// the close box, activation, painting and session end reported to its sink.
#include <windows.h>

#include <memory>

#include "platform/win32/resource_ids.h"
#include "platform/win32/unicode.h"
#include "platform/win32/widget_base.h"

namespace nullora::platform::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"NulloraForm";
// Menu items get ids of their own, far from the controls' (IDOK is 1): a command from a menu can never be
// taken for a button's.
constexpr int kMenuIdBase = 0x7000;

class FormWidget : public WindowWidget {
 public:
  FormWidget(WidgetSink* sink, const WidgetStyle& style);

  void SetBounds(int left, int top, int width, int height) override;
  void SetVisible(bool visible) override;
  int TrackPopupMenu(const std::vector<MenuEntry>& entries) override;
  void BringToFront() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static void RegisterClassOnce();
  // Returns false when the message must go to DefWindowProc. `this` may be gone when it returns.
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  void OnActivateMessage(WPARAM wParam, LPARAM lParam);
  LRESULT DefaultButtonId() const;

  HWND lastFocus_ = nullptr;
  bool activatedSinceShown_ = false;
};

FormWidget::FormWidget(WidgetSink* sink, const WidgetStyle& style) : WindowWidget(sink) {
  paintsBackColor_ = true;
  RegisterClassOnce();
  DWORD exStyle = WS_EX_CONTROLPARENT | (style.toolWindow ? WS_EX_TOOLWINDOW : 0);
  DWORD windowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  HWND hwnd = CreateWindowExW(exStyle, kFormClass, L"", windowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 320, 240,
                              nullptr, nullptr, ModuleInstance(), nullptr);
  if (hwnd) Attach(hwnd);
}

void FormWidget::RegisterClassOnce() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ModuleInstance();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = static_cast<HICON>(LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(IDI_NULLORA),
                                                      IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(IDI_NULLORA),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    windowClass.lpszClassName = kFormClass;
    return RegisterClassExW(&windowClass) != 0;
  }();
  (void)registered;
}

void FormWidget::SetBounds(int left, int top, int width, int height) {
  int pixelWidth = TwipsToPixelsX(width);
  int pixelHeight = TwipsToPixelsY(height);
  int x = TwipsToPixelsX(left);
  int y = TwipsToPixelsY(top);
  if (left == 0 && top == 0) {
    // A form that was never placed opens in the middle of the work area, as a dialog does.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    x = work.left + (work.right - work.left - pixelWidth) / 2;
    y = work.top + (work.bottom - work.top - pixelHeight) / 2;
  }
  SetWindowPos(Hwnd(), nullptr, x, y, pixelWidth, pixelHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWidget::SetVisible(bool visible) {
  if (!visible) activatedSinceShown_ = false;
  ShowWindow(Hwnd(), visible ? SW_SHOW : SW_HIDE);
}

int FormWidget::TrackPopupMenu(const std::vector<MenuEntry>& entries) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return 0;
  for (const MenuEntry& entry : entries) {
    if (entry.id == 0) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (entry.enabled ? MF_ENABLED : MF_GRAYED) | (entry.checked ? MF_CHECKED : 0);
    AppendMenuW(menu, flags, static_cast<UINT_PTR>(kMenuIdBase + entry.id),
                Utf8ToWide(entry.caption).c_str());
    if (entry.isDefault) SetMenuDefaultItem(menu, static_cast<UINT>(kMenuIdBase + entry.id), FALSE);
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  // Without becoming the foreground window first, a menu opened from the tray never closes when the
  // user clicks elsewhere; the posted message lets it close on the first click, not the second.
  SetForegroundWindow(Hwnd());
  int chosen = static_cast<int>(::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                 cursor.x, cursor.y, 0, Hwnd(), nullptr));
  PostMessageW(Hwnd(), WM_NULL, 0, 0);
  DestroyMenu(menu);
  return chosen > kMenuIdBase ? chosen - kMenuIdBase : 0;
}

void FormWidget::BringToFront() {
  if (IsIconic(Hwnd())) ShowWindow(Hwnd(), SW_RESTORE);
  SetForegroundWindow(Hwnd());
}

LRESULT CALLBACK FormWidget::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* form = static_cast<FormWidget*>(WidgetFromHwnd(hwnd));
  LRESULT result = 0;
  if (form && form->Handle(message, wParam, lParam, &result)) return result;
  if (RouteChildMessage(hwnd, message, wParam, lParam, &result)) return result;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool FormWidget::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_CLOSE:
      // When the sink agrees, it has unloaded the form and destroyed this object.
      Sink()->OnUserClose();
      *result = 0;
      return true;
    case WM_ACTIVATE:
      OnActivateMessage(wParam, lParam);
      *result = 0;
      return true;
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(Hwnd(), &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, BackBrush());
      *result = 1;
      return true;
    }
    case WM_PAINT:
      *result = DefWindowProcW(Hwnd(), message, wParam, lParam);
      Sink()->OnPaint();
      return true;
    case WM_QUERYENDSESSION:
      // Only a question, answered at once: the session may still go on (another program says no, the
      // user cancels), and the Restart Manager asks it of a program it merely wants closed.
      *result = TRUE;
      Sink()->OnSessionQuery((lParam & ENDSESSION_CLOSEAPP) != 0);
      return true;
    case WM_ENDSESSION:
      *result = 0;
      Sink()->OnSessionEnd(wParam != FALSE, (lParam & ENDSESSION_CLOSEAPP) != 0);
      return true;
    case DM_GETDEFID:
      *result = DefaultButtonId();
      return true;
    case WM_HELP:
      // F1 in any control comes up to its window.
      Sink()->OnHelp();
      *result = TRUE;
      return true;
    default:
      if (message == ShowRequestMessage()) {
        Sink()->OnShowRequest();
        *result = 0;
        return true;
      }
      return false;
  }
}

void FormWidget::OnActivateMessage(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(Hwnd(), focus)) lastFocus_ = focus;
    return;
  }
  // The dialog manager is not running this window: put the focus back where the user left it.
  if (lastFocus_ && IsWindow(lastFocus_) && IsChild(Hwnd(), lastFocus_) && IsWindowVisible(lastFocus_) &&
      IsWindowEnabled(lastFocus_)) {
    ::SetFocus(lastFocus_);
  } else if (HWND first = GetNextDlgTabItem(Hwnd(), nullptr, FALSE)) {
    ::SetFocus(first);
  } else {
    ::SetFocus(Hwnd());
  }
  // The form's Activate means "became the active form of this program": on showing, or when another of
  // its windows handed over; coming back from another program is not one (lParam is then null).
  bool fromOwnWindow = lParam != 0;
  if (activatedSinceShown_ && !fromOwnWindow) return;
  activatedSinceShown_ = true;
  Sink()->OnActivate();
}

LRESULT FormWidget::DefaultButtonId() const {
  // Enter presses the focused push button, or else the default one.
  HWND focus = GetFocus();
  if (WindowWidget* focused = WidgetFromHwnd(focus);
      focused && focused->IsPushButton() && IsChild(Hwnd(), focus)) {
    return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
  }
  return MAKELRESULT(IDOK, DC_HASDEFID);
}

}  // namespace

std::unique_ptr<WindowWidget> MakeFormWidget(WidgetSink* sink, const WidgetStyle& style) {
  return MakeWidget<FormWidget>(sink, style);
}

}  // namespace nullora::platform::win32
