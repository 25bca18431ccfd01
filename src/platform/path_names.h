// What a Windows-form path names, told from its text alone, the same way in both builds.
#pragma once

#include <string>
#include <string_view>

namespace nullora::platform {

// A name Windows keeps for a device in every folder: CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9,
// CONIN$, CONOUT$, in any case, also with an extension or trailing blanks ("nul.txt", "COM1 ").
bool IsDosDeviceName(std::string_view leaf);

// A path that names a device or a volume rather than a file or folder on one: \\.\ paths (\\.\C:,
// \\.\PhysicalDrive0), \??\ paths, \\?\ paths other than \\?\C:\... and \\?\UNC\..., and a path whose
// last component is a device name (NUL, C:\x\NUL).
bool NamesDeviceOrVolume(const std::string& path);

// A path that does not depend on a current directory: C:\..., \\server\share..., \\?\C:\...
bool IsFullPath(const std::string& path);

// A drive letter and its colon, nothing more: "C:" (the current directory of drive C to the system).
bool IsBareDriveLetter(const std::string& path);

// The root of the volume a full path lies on, with its final separator: "C:\" for C:\a\b, "\\server\share\"
// for \\server\share\a, "\\?\C:\" for \\?\C:\a. Empty when there is none.
std::string RootOf(const std::string& fullPath);

// Whether a full path names the root of its volume itself ("C:\", "\\server\share", "\\?\C:\").
bool IsRootPath(const std::string& fullPath);

}  // namespace nullora::platform
