// The process: its command line, the clock it reads, and its end.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/command_line.h"

namespace nullora::platform {

std::string CommandLineArgument() {
  return win32::ArgumentAfterProgramName(GetCommandLineW());
}

uint64_t OsTickMs() {
  return GetTickCount64();
}

void OsSleep(uint32_t ms) {
  Sleep(ms);
}

double OsSecondsSinceMidnight() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond + now.wMilliseconds / 1000.0;
}

int64_t OsLocalDay() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  now.wHour = now.wMinute = now.wSecond = now.wMilliseconds = 0;
  FILETIME midnight{};
  if (!SystemTimeToFileTime(&now, &midnight)) return 0;
  const uint64_t ticks = (static_cast<uint64_t>(midnight.dwHighDateTime) << 32) | midnight.dwLowDateTime;
  return static_cast<int64_t>(ticks / 864'000'000'000ULL);  // 100 ns ticks in a day
}

void OsExitProcess(int code) {
  ExitProcess(static_cast<UINT>(code));
}

}  // namespace nullora::platform
