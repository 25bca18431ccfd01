#include "platform/win32/widget_base.h"

#include <windows.h>

#include <cstdlib>

#include <algorithm>

#include "platform/win32/unicode.h"

namespace nullora::platform::win32 {

namespace {

constexpr wchar_t kWidgetProperty[] = L"Nullora.Widget";

int DeviceDpi(int index) {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, index) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

// The control that the dialog manager means when it sends a command without a window handle
// (Enter and Escape; the control may sit inside a frame, where GetDlgItem does not look).
HWND FindDescendantById(HWND root, int id) {
  for (HWND child = GetWindow(root, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetDlgCtrlID(child) == id && WidgetFromHwnd(child)) return child;
    if (HWND inner = FindDescendantById(child, id)) return inner;
  }
  return nullptr;
}

}  // namespace

WindowWidget::WindowWidget(WidgetSink* sink)
    : sink_(sink), backColor_(GetSysColor(COLOR_BTNFACE)), backBrush_(CreateSolidBrush(backColor_)) {}

WindowWidget::~WindowWidget() {
  if (inner_) RemovePropW(inner_, kWidgetProperty);
  if (hwnd_) {
    // Detach first: destroying sends messages that must no longer reach this object.
    RemovePropW(hwnd_, kWidgetProperty);
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  }
  DeleteObject(backBrush_);
}

void WindowWidget::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  SetPropW(hwnd_, kWidgetProperty, this);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);
}

void WindowWidget::AdoptInner(HWND inner) {
  inner_ = inner;
  SetPropW(inner_, kWidgetProperty, this);
  SendMessageW(inner_, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);
}

void WindowWidget::SetText(const std::string& text) {
  UpdateScope scope(*this);
  SetWindowTextW(hwnd_, Utf8ToWide(text).c_str());
}

void WindowWidget::SetBounds(int left, int top, int width, int height) {
  MoveWindow(hwnd_, TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width), TwipsToPixelsY(height),
             TRUE);
}

void WindowWidget::SetVisible(bool visible) {
  ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void WindowWidget::SetEnabled(bool enabled) {
  EnableWindow(hwnd_, enabled);
  if (inner_) EnableWindow(inner_, enabled);
}

void WindowWidget::SetBackColor(uint32_t bgr) {
  COLORREF color = bgr & 0x00FFFFFF;
  if (color == backColor_) return;
  DeleteObject(backBrush_);
  backColor_ = color;
  backBrush_ = CreateSolidBrush(backColor_);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HBRUSH WindowWidget::OnCtlColor(HDC dc) {
  if (!paintsBackColor_) return nullptr;
  SetBkColor(dc, backColor_);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  return backBrush_;
}

void WindowWidget::SetRedraw(bool redraw) {
  SendMessageW(hwnd_, WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
  if (redraw) InvalidateRect(hwnd_, nullptr, TRUE);
}

void WindowWidget::Repaint() {
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void WindowWidget::SetFocus() {
  ::SetFocus(hwnd_);
}

WindowWidget* WidgetFromHwnd(HWND hwnd) {
  return hwnd ? static_cast<WindowWidget*>(GetPropW(hwnd, kWidgetProperty)) : nullptr;
}

bool RouteChildMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_COMMAND: {
      HWND child = reinterpret_cast<HWND>(lParam);
      if (!child) child = FindDescendantById(hwnd, LOWORD(wParam));
      WindowWidget* widget = WidgetFromHwnd(child);
      if (!widget) return false;
      *result = 0;
      // The handler may unload the form: nothing may be touched after it.
      widget->OnCommand(HIWORD(wParam));
      return true;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      WindowWidget* widget = header ? WidgetFromHwnd(header->hwndFrom) : nullptr;
      *result = 0;
      return widget && widget->OnNotify(header, result);
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      WindowWidget* widget = WidgetFromHwnd(reinterpret_cast<HWND>(lParam));
      HBRUSH brush = widget ? widget->OnCtlColor(reinterpret_cast<HDC>(wParam)) : nullptr;
      if (!brush) return false;
      *result = reinterpret_cast<LRESULT>(brush);
      return true;
    }
    case kMsgDeferred: {
      WindowWidget* widget = WidgetFromHwnd(reinterpret_cast<HWND>(wParam));
      *result = 0;
      if (widget) widget->OnDeferred(lParam);
      return true;
    }
    default:
      return false;
  }
}

std::string WindowText(HWND hwnd) {
  int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
  int copied = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(std::max(copied, 0)));
  return WideToUtf8(text);
}

HINSTANCE ModuleInstance() {
  return GetModuleHandleW(nullptr);
}

HFONT GuiFont() {
  static HFONT font = [] {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    HFONT made = nullptr;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
      made = CreateFontIndirectW(&metrics.lfMessageFont);
    }
    return made ? made : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }();
  return font;
}

int IconPixelsAt(int logical, int dpi) {
  const int wanted = MulDiv(logical, dpi, 96);
  int best = 16;
  for (int size : {16, 24, 32, 48}) {
    if (std::abs(size - wanted) <= std::abs(best - wanted)) best = size;
  }
  return best;
}

int IconPixels(int logical) {
  static const int dpi = DeviceDpi(LOGPIXELSY);
  return IconPixelsAt(logical, dpi);
}

int TwipsToPixelsX(int twips) {
  static const int dpi = DeviceDpi(LOGPIXELSX);
  return MulDiv(twips, dpi, 1440);
}

int TwipsToPixelsY(int twips) {
  static const int dpi = DeviceDpi(LOGPIXELSY);
  return MulDiv(twips, dpi, 1440);
}

HWND CreateChild(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int id) {
  return CreateWindowExW(exStyle, className, L"", WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
}

int NextControlId() {
  // Above IDOK, IDCANCEL and the other dialog-manager ids.
  static int next = 1000;
  return next++;
}

}  // namespace nullora::platform::win32
