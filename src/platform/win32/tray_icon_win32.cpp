// The notification-area icon. It owns a hidden top-level window: the shell reports the mouse to it,
// and only top-level windows hear that the taskbar was re-created (Explorer restarted).
#include <windows.h>

#include <shellapi.h>

#include <memory>

#include "platform/widgets.h"
#include "platform/win32/resource_ids.h"
#include "platform/win32/unicode.h"

namespace nullora::platform {

namespace {

constexpr wchar_t kTrayWindowClass[] = L"NulloraTrayWindow";
constexpr wchar_t kTrayWindowProperty[] = L"Nullora.TrayIcon";
constexpr UINT kTrayCallback = WM_APP + 1;
constexpr UINT kTrayIconId = 1;

// Copies `text` into a fixed buffer of the notify structure, cut to fit.
template <size_t N>
void CopyText(wchar_t (&buffer)[N], const std::string& text) {
  std::wstring wide = win32::Utf8ToWide(text);
  size_t length = wide.size() < N ? wide.size() : N - 1;
  wide.copy(buffer, length);
  buffer[length] = L'\0';
}

class TrayIconWin32 : public TrayIconPeer {
 public:
  explicit TrayIconWin32(TrayIconSink* sink);
  ~TrayIconWin32() override;
  TrayIconWin32(const TrayIconWin32&) = delete;
  TrayIconWin32& operator=(const TrayIconWin32&) = delete;

  bool Add(const std::string& tip) override;
  bool SetTip(const std::string& tip) override;
  bool ShowBalloon(const std::string& title, const std::string& text) override;
  bool Remove() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  NOTIFYICONDATAW BaseData() const;
  bool AddAgain();
  void OnCallback(LPARAM event);

  TrayIconSink* sink_;
  HWND window_ = nullptr;
  HICON icon_ = nullptr;
  UINT taskbarCreated_ = 0;
  bool added_ = false;
  std::string tip_;
};

TrayIconWin32::TrayIconWin32(TrayIconSink* sink) : sink_(sink) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  static const bool registered = [instance] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kTrayWindowClass;
    return RegisterClassExW(&windowClass) != 0;
  }();
  (void)registered;
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  icon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_NULLORA), IMAGE_ICON,
                                        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kTrayWindowClass, L"Nullora", WS_POPUP, 0, 0, 0, 0, nullptr,
                            nullptr, instance, nullptr);
  if (window_) SetPropW(window_, kTrayWindowProperty, this);
}

TrayIconWin32::~TrayIconWin32() {
  Remove();
  if (window_) {
    RemovePropW(window_, kTrayWindowProperty);
    DestroyWindow(window_);
  }
  if (icon_) DestroyIcon(icon_);
}

NOTIFYICONDATAW TrayIconWin32::BaseData() const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = window_;
  data.uID = kTrayIconId;
  return data;
}

bool TrayIconWin32::Add(const std::string& tip) {
  if (!window_) return false;
  tip_ = tip;
  if (added_) return SetTip(tip);
  added_ = AddAgain();
  return added_;
}

bool TrayIconWin32::AddAgain() {
  NOTIFYICONDATAW data = BaseData();
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallback;
  data.hIcon = icon_;
  CopyText(data.szTip, tip_);
  return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

bool TrayIconWin32::SetTip(const std::string& tip) {
  tip_ = tip;
  if (!added_) return false;
  NOTIFYICONDATAW data = BaseData();
  data.uFlags = NIF_TIP;
  CopyText(data.szTip, tip_);
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool TrayIconWin32::ShowBalloon(const std::string& title, const std::string& text) {
  if (!added_) return false;
  NOTIFYICONDATAW data = BaseData();
  data.uFlags = NIF_INFO;
  data.dwInfoFlags = NIIF_INFO;
  data.uTimeout = 3000;
  CopyText(data.szInfoTitle, title);
  CopyText(data.szInfo, text);
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool TrayIconWin32::Remove() {
  if (!added_) return true;
  added_ = false;
  NOTIFYICONDATAW data = BaseData();
  return Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

void TrayIconWin32::OnCallback(LPARAM event) {
  switch (static_cast<UINT>(event)) {
    case WM_LBUTTONDOWN:
      sink_->OnTrayMouse(TrayMouse::LeftDown);
      break;
    case WM_LBUTTONUP:
      sink_->OnTrayMouse(TrayMouse::LeftUp);
      break;
    case WM_LBUTTONDBLCLK:
      sink_->OnTrayMouse(TrayMouse::LeftDoubleClick);
      break;
    case WM_RBUTTONDOWN:
      sink_->OnTrayMouse(TrayMouse::RightDown);
      break;
    case WM_RBUTTONUP:
      sink_->OnTrayMouse(TrayMouse::RightUp);
      break;
    case WM_RBUTTONDBLCLK:
      sink_->OnTrayMouse(TrayMouse::RightDoubleClick);
      break;
    case WM_MOUSEMOVE:
      sink_->OnTrayMouse(TrayMouse::Move);
      break;
    case NIN_BALLOONUSERCLICK:
      sink_->OnBalloonClick();
      break;
    default:
      break;
  }
}

LRESULT CALLBACK TrayIconWin32::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* tray = static_cast<TrayIconWin32*>(GetPropW(hwnd, kTrayWindowProperty));
  if (tray && tray->sink_) {
    if (message == kTrayCallback) {
      // The sink may destroy this icon: nothing is touched after it.
      tray->OnCallback(lParam);
      return 0;
    }
    if (message == tray->taskbarCreated_ && tray->taskbarCreated_ != 0) {
      if (tray->added_) tray->added_ = tray->AddAgain();
      return 0;
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

std::unique_ptr<TrayIconPeer> CreateTrayIcon(TrayIconSink* sink) {
  return std::make_unique<TrayIconWin32>(sink);
}

}  // namespace nullora::platform
