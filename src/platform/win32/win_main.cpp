// The entry point of nullora.exe.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/start.h"
#include "platform/platform.h"
#include "ui/controls/application.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int showCommand) {
  (void)instance, (void)previous, (void)commandLine, (void)showCommand;
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS | ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
  // The shell's folders and the Recycle Bin are reached through COM.
  HRESULT com = CoInitialize(nullptr);
  nullora::ui::Application::Get().SetBound(true);
  int exitCode = nullora::RunNullora(nullora::platform::CommandLineArgument());
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}
