// The event pump of the one UI thread.
#include <windows.h>

#include "platform/platform.h"

namespace nullora::platform {

bool OsPumpEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) return false;
    // The dialog manager gives every form Tab, Enter, Escape and the mnemonics.
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root && IsDialogMessageW(root, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

void OsPumpPaint() {
  MSG message;
  // Messages sent to the thread's windows (WM_GETTEXT from another program, the system's own) are
  // handled inside PeekMessage whatever the filter, and its call alone tells Windows the program
  // still answers. A window that does not validate its paint would come back at once: a bound count.
  for (int i = 0; i < 64 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT); ++i) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    DispatchMessageW(&message);
  }
}

bool OsWaitEvents(uint32_t ms) {
  MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  return OsPumpEvents();
}

void OsPostQuit() {
  PostQuitMessage(0);
}

void OsPostWake() {
  PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

namespace {
void (*gTick)() = nullptr;
UINT_PTR gTickTimer = 0;

void CALLBACK TickProc(HWND, UINT, UINT_PTR, DWORD) {
  KillTimer(nullptr, gTickTimer);
  gTickTimer = 0;
  if (gTick) gTick();
}
}  // namespace

void OsScheduleTick(uint32_t ms, void (*tick)()) {
  gTick = tick;
  // A thread timer's WM_TIMER is dispatched by every message loop, a modal one's included.
  gTickTimer = SetTimer(nullptr, gTickTimer, ms == 0 ? USER_TIMER_MINIMUM : ms, TickProc);
}

}  // namespace nullora::platform
