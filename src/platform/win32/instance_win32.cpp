// One tray program a session: the first copy holds a named mutex of the session's namespace and tells
// where its main window is; a second copy asks that window to come forward instead of starting a
// second scheduler.
#include "platform/platform.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

#include "platform/win32/widget_base.h"

namespace nullora::platform {

namespace {

constexpr wchar_t kInstanceMutex[] = L"Local\\Nullora.MainWindow";
constexpr wchar_t kWindowMapping[] = L"Local\\Nullora.MainWindow.Handle";

// Held for the life of the process: the system lets them go when it ends.
HANDLE gInstanceMutex = nullptr;
HANDLE gWindowMapping = nullptr;

}  // namespace

namespace win32 {
UINT ShowRequestMessage() {
  static const UINT message = RegisterWindowMessageW(L"Nullora.ShowMainWindow");
  return message;
}
}  // namespace win32

bool ClaimMainInstance() {
  if (gInstanceMutex) return true;
  HANDLE mutex = CreateMutexW(nullptr, FALSE, kInstanceMutex);
  if (!mutex) return true;  // without the mutex nothing can tell: better a second scheduler than none
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return false;
  }
  gInstanceMutex = mutex;
  return true;
}

void PublishMainInstanceWindow(Widget* window) {
  auto* widget = dynamic_cast<win32::WindowWidget*>(window);
  if (!widget || !widget->Hwnd() || !gInstanceMutex) return;
  if (!gWindowMapping) {
    gWindowMapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(uint64_t),
                                        kWindowMapping);
  }
  if (!gWindowMapping) return;
  if (void* view = MapViewOfFile(gWindowMapping, FILE_MAP_WRITE, 0, 0, sizeof(uint64_t))) {
    const auto handle = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(widget->Hwnd()));
    std::memcpy(view, &handle, sizeof handle);
    UnmapViewOfFile(view);
  }
}

bool AskMainInstanceToShow() {
  HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, kWindowMapping);
  if (!mapping) return false;
  uint64_t handle = 0;
  if (void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(uint64_t))) {
    std::memcpy(&handle, view, sizeof handle);
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
  HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(handle));
  if (!window || !IsWindow(window)) return false;
  // The user started this copy, so it may hand the foreground to the first one.
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  AllowSetForegroundWindow(process);
  return PostMessageW(window, win32::ShowRequestMessage(), 0, 0) != FALSE;
}

}  // namespace nullora::platform
