// What the Wine-only tests share: the host's own programs, and waiting for an effect without fixed sleeps.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/unicode.h"

namespace nullora::platform {

// The host's own programs, started from the Windows side; only Wine has them.
class HostShell {
 public:
  static bool Available() { return UnixFileNameFunction() != nullptr; }

  static std::wstring UnixPath(const std::wstring& path) {
    auto unixFileName = UnixFileNameFunction();
    if (!unixFileName) return {};
    char* unixPath = unixFileName(path.c_str());
    if (!unixPath) return {};
    std::wstring wide = win32::Utf8ToWide(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return wide;
  }

  // Starts `commandLine`; a host process cannot be waited on from here, so callers watch its effect.
  static bool Start(std::wstring commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
      return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
  }

 private:
  using UnixFileName = char*(CDECL*)(const wchar_t*);
  static UnixFileName UnixFileNameFunction() {
    return reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  }
};

template <typename Condition>
bool WaitFor(Condition condition) {
  for (int attempt = 0; attempt < 250; ++attempt) {
    if (condition()) return true;
    Sleep(20);
  }
  return condition();
}

}  // namespace nullora::platform
