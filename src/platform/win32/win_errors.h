// Win32 error codes in the seam's terms, shared by every file of the Win32 side.
#pragma once

#include <windows.h>

#include "platform/platform.h"

namespace nullora::platform::win32 {

IoError FromWin32Error(DWORD code);
inline IoError LastError() { return FromWin32Error(GetLastError()); }

}  // namespace nullora::platform::win32
