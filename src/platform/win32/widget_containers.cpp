// Frames and picture boxes hold other controls, placed relative to their own top-left corner. Each is
// a plain container window (so hiding, moving or disabling it carries what it holds along) with the
// visible part, a group box or a picture, as its bottom-most child.
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "platform/win32/unicode.h"
#include "platform/win32/widget_base.h"

namespace nullora::platform::win32 {

namespace {

constexpr wchar_t kContainerClass[] = L"NulloraContainer";

LRESULT CALLBACK ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (RouteChildMessage(hwnd, message, wParam, lParam, &result)) return result;
  if (message == WM_ERASEBKGND) {
    if (WindowWidget* widget = WidgetFromHwnd(hwnd)) {
      RECT client{};
      GetClientRect(hwnd, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, widget->BackBrush());
      return 1;
    }
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void RegisterContainerClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = ContainerProc;
    windowClass.hInstance = ModuleInstance();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kContainerClass;
    return RegisterClassExW(&windowClass) != 0;
  }();
  (void)registered;
}

// A group box paints only its edge and caption; what lies inside is left to whoever is below it. Here
// that is its own container, which clips its children away, so the box fills its inside itself.
LRESULT CALLBACK GroupBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId,
                              DWORD_PTR data) {
  (void)subclassId;
  if (message == WM_ERASEBKGND) {
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, reinterpret_cast<WindowWidget*>(data)->BackBrush());
    return 1;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, GroupBoxProc, 1);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

class ContainerWidget : public WindowWidget {
 public:
  ContainerWidget(HWND parent, WidgetSink* sink) : WindowWidget(sink) {
    paintsBackColor_ = true;
    RegisterContainerClass();
    if (HWND hwnd =
            CreateChild(kContainerClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, parent, NextControlId())) {
      Attach(hwnd);
    }
  }

  void ChildAdded() override {
    // Keeps the group box or picture under the controls, whatever order they were created in.
    if (face_) SetWindowPos(face_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  void SetBounds(int left, int top, int width, int height) override {
    WindowWidget::SetBounds(left, top, width, height);
    if (face_ && stretchFace_) MoveWindow(face_, 0, 0, TwipsToPixelsX(width), TwipsToPixelsY(height), TRUE);
  }

 protected:
  void AttachFace(HWND face, bool stretch) {
    face_ = face;
    stretchFace_ = stretch;
    AdoptInner(face_);
    ShowWindow(face_, SW_SHOWNA);
  }
  HWND Face() const { return face_; }

 private:
  HWND face_ = nullptr;
  bool stretchFace_ = false;
};

class FrameWidget : public ContainerWidget {
 public:
  FrameWidget(HWND parent, WidgetSink* sink) : ContainerWidget(parent, sink) {
    if (!Hwnd()) return;
    HWND box = CreateChild(L"BUTTON", BS_GROUPBOX, 0, Hwnd(), NextControlId());
    if (!box) return;
    SetWindowSubclass(box, GroupBoxProc, 1, reinterpret_cast<DWORD_PTR>(static_cast<WindowWidget*>(this)));
    AttachFace(box, true);
  }

  void SetText(const std::string& text) override {
    if (Face()) SetWindowTextW(Face(), Utf8ToWide(text).c_str());
  }
};

class PictureWidget : public ContainerWidget {
 public:
  PictureWidget(HWND parent, WidgetSink* sink, int resourceId) : ContainerWidget(parent, sink) {
    if (!Hwnd() || resourceId == 0) return;
    HINSTANCE instance = ModuleInstance();
    if (HANDLE icon = LoadIconAtScale(resourceId)) {
      ShowImage(SS_ICON, IMAGE_ICON, icon);
    } else if (HANDLE bitmap = LoadImageW(instance, MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, 0)) {
      ShowImage(SS_BITMAP, IMAGE_BITMAP, bitmap);
    }
  }

  ~PictureWidget() override {
    if (Face()) SendMessageW(Face(), STM_SETIMAGE, imageType_, 0);
    if (imageType_ == IMAGE_BITMAP) DeleteObject(image_);
    if (imageType_ == IMAGE_ICON) DestroyIcon(static_cast<HICON>(image_));
  }

  // A picture has no caption.
  void SetText(const std::string& text) override { (void)text; }

  void SetPicture(int resourceId) override {
    if (imageType_ == IMAGE_ICON) {
      HANDLE icon = LoadIconAtScale(resourceId);
      if (!icon) return;
      SendMessageW(Face(), STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
      DestroyIcon(static_cast<HICON>(image_));
      image_ = icon;
      InvalidateRect(Face(), nullptr, TRUE);
      return;
    }
    auto* bitmap = static_cast<HBITMAP>(
        LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, 0));
    if (!bitmap) return;
    if (!Face()) {
      ShowImage(SS_BITMAP, IMAGE_BITMAP, bitmap);
      return;
    }
    if (imageType_ != IMAGE_BITMAP) {  // an icon face keeps its icon
      DeleteObject(bitmap);
      return;
    }
    SendMessageW(Face(), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    DeleteObject(image_);
    image_ = bitmap;
    InvalidateRect(Face(), nullptr, TRUE);
  }

 private:
  // The dialogs' pictures are 32 pixels at 96 dpi, drawn again for each scale; a transparent ground
  // shows the window's own.
  static HANDLE LoadIconAtScale(int resourceId) {
    const int pixels = IconPixels(32);
    return LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(resourceId), IMAGE_ICON, pixels, pixels, 0);
  }

  void ShowImage(DWORD staticStyle, UINT imageType, HANDLE image) {
    HWND picture = CreateChild(L"STATIC", staticStyle, 0, Hwnd(), NextControlId());
    if (!picture) {
      if (imageType == IMAGE_BITMAP) {
        DeleteObject(image);
      } else {
        DestroyIcon(static_cast<HICON>(image));
      }
      return;
    }
    image_ = image;
    imageType_ = imageType;
    SendMessageW(picture, STM_SETIMAGE, imageType, reinterpret_cast<LPARAM>(image));
    AttachFace(picture, false);
  }

  HANDLE image_ = nullptr;
  UINT imageType_ = 0xFFFF;
};

}  // namespace

std::unique_ptr<WindowWidget> MakeFrameWidget(HWND parent, WidgetSink* sink) {
  return MakeWidget<FrameWidget>(parent, sink);
}

std::unique_ptr<WindowWidget> MakePictureWidget(HWND parent, WidgetSink* sink, const WidgetStyle& style) {
  return MakeWidget<PictureWidget>(parent, sink, style.resourceId);
}

}  // namespace nullora::platform::win32
