// What a handle really reached, and removal through a handle that was checked first.
//
// A name may lead elsewhere: a symbolic link or junction, and under Wine a host link to a file, which
// shows no reparse point to any call (the entry, the handle, the attribute tag) and is opened as the
// file it points to. Only the handle's final path tells: it names the target, while for a plain file
// it is the path of the file's own folder followed by its name. Worse, Wine deletes, renames and
// empties from the Recycle Bin through such a link onto its target, so nothing may be removed by name.
#pragma once

#include <windows.h>

#include <string>

#include "platform/platform.h"

namespace nullora::platform::win32 {

// The path the system gives for the object behind `handle` (\\?\C:\dir\name), empty when it cannot.
std::wstring FinalPathOf(HANDLE handle);

// What a handle says of its object. GetFileInformationByHandle would tell the same, but also asks the
// volume about itself, which under Wine costs more than all the rest of a file's removal together.
struct HandleInfo {
  DWORD attributes = 0;
  uint64_t size = 0;
  DWORD links = 1;
};
bool ReadHandleInfo(HANDLE handle, HandleInfo* info);

// Whether the object behind `handle` is the entry that `path` names in its folder, and not something
// a link there leads to. True when the system keeps no final paths (there the reparse attribute, which
// Windows always shows on a link opened as itself, is what tells).
bool HandleIsAt(HANDLE handle, const std::wstring& path);

// Whether `path` names a device or a volume rather than a file or folder on one: \\.\ paths,
// \\?\GLOBALROOT and other object-manager paths, and the names Windows keeps for devices in every
// folder (NUL, CON, COM1, C:\x\NUL...), which it resolves to \\.\ paths itself.
bool IsDevicePathW(const std::wstring& path);

// A handle that writes only to a regular file at `path`: no device, pipe, volume or directory, no
// link, no file with other names (those would change under them too). Returns the reason otherwise.
IoError CheckWriteHandle(HANDLE handle, const std::wstring& path);

enum class RemoveKind {
  FileOrLink,  // a file, or a link as a link (never what it points to)
  Directory,   // an empty real directory; a link in its place is refused
};
// Removes what `path` names through a handle opened on the entry itself and checked, so that only the
// object checked goes. A link that cannot be opened as itself (Wine) is refused with IsLink, and both
// it and what it points to stay.
IoError RemoveThroughHandle(const std::wstring& path, RemoveKind kind);

}  // namespace nullora::platform::win32
