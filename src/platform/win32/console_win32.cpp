#include <windows.h>

#include <atomic>

#include "platform/console.h"
#include "platform/win32/unicode.h"

namespace nullora::platform {

namespace {

std::atomic<bool> gInterrupted{false};

HANDLE StreamHandle(ConsoleStream stream) {
  return GetStdHandle(stream == ConsoleStream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

// Runs on a thread of its own, which the system starts for the event.
BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  gInterrupted = true;
  return TRUE;
}

}  // namespace

bool IsConsole(ConsoleStream stream) {
  DWORD mode = 0;
  HANDLE handle = StreamHandle(stream);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

void WriteConsoleText(ConsoleStream stream, const std::string& text) {
  HANDLE handle = StreamHandle(stream);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE || text.empty()) return;
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) {
    const std::wstring wide = win32::Utf8ToWide(text);
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  // A pipe may take only part of a write: the rest follows until it is all out or the reader is gone.
  const char* data = text.data();
  size_t left = text.size();
  while (left > 0) {
    DWORD written = 0;
    if (!WriteFile(handle, data, static_cast<DWORD>(left), &written, nullptr) || written == 0) return;
    data += written;
    left -= written;
  }
}

void CatchConsoleInterrupt() {
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

bool ConsoleInterrupted() {
  return gInterrupted;
}

}  // namespace nullora::platform
