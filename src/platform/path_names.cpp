#include "platform/path_names.h"

#include <array>
#include <cctype>

namespace nullora::platform {

namespace {

bool IsSlash(char c) {
  return c == '\\' || c == '/';
}

bool IsLetter(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

bool StartsWithLetters(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameLetters(text.substr(0, prefix.size()), prefix);
}

// "C:\" at the start of `path`.
bool HasDriveRoot(std::string_view path) {
  return path.size() >= 3 && IsLetter(path[0]) && path[1] == ':' && IsSlash(path[2]);
}

// \\?\ or \\.\ at the start.
bool IsPrefixed(std::string_view path) {
  return path.size() >= 4 && IsSlash(path[0]) && IsSlash(path[1]) && (path[2] == '?' || path[2] == '.') &&
         IsSlash(path[3]);
}

std::string_view LeafOf(std::string_view path) {
  while (!path.empty() && IsSlash(path.back())) path.remove_suffix(1);
  size_t slash = path.find_last_of("\\/:");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The length of the root of a full path: "C:\" 3, "\\?\C:\" 7, "\\server\share\" up to and with the
// separator after the share (or its end), "\\?\UNC\server\share\" likewise. 0 when there is none.
size_t RootLength(std::string_view path) {
  if (HasDriveRoot(path)) return 3;
  size_t serverStart = 0;
  if (IsPrefixed(path)) {
    if (path[2] != '?') return 0;
    std::string_view rest = path.substr(4);
    if (HasDriveRoot(rest)) return 7;
    if (!(StartsWithLetters(rest, "UNC") && rest.size() > 3 && IsSlash(rest[3]))) return 0;
    serverStart = 8;
  } else if (path.size() > 2 && IsSlash(path[0]) && IsSlash(path[1]) && !IsSlash(path[2])) {
    serverStart = 2;
  } else {
    return 0;
  }
  size_t serverEnd = path.find_first_of("\\/", serverStart);
  if (serverEnd == std::string_view::npos || serverEnd == serverStart) return 0;
  size_t shareStart = serverEnd + 1;
  if (shareStart >= path.size() || IsSlash(path[shareStart])) return 0;
  size_t shareEnd = path.find_first_of("\\/", shareStart);
  return shareEnd == std::string_view::npos ? path.size() : shareEnd + 1;
}

}  // namespace

bool IsDosDeviceName(std::string_view leaf) {
  size_t dot = leaf.find('.');
  std::string_view name = dot == std::string_view::npos ? leaf : leaf.substr(0, dot);
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.remove_suffix(1);
  static constexpr std::array<std::string_view, 6> kDevices{"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (std::string_view device : kDevices) {
    if (SameLetters(name, device)) return true;
  }
  return name.size() == 4 && (StartsWithLetters(name, "COM") || StartsWithLetters(name, "LPT")) &&
         name[3] >= '1' && name[3] <= '9';
}

bool NamesDeviceOrVolume(const std::string& path) {
  if (IsPrefixed(path)) {
    if (path[2] == '.') return true;
    // A \\?\ path is taken literally: NUL in it is a name like any other, but only files and folders
    // on a drive or a share are; the rest of the object namespace is not.
    std::string_view rest = std::string_view(path).substr(4);
    return !HasDriveRoot(rest) && !(StartsWithLetters(rest, "UNC") && rest.size() > 3 && IsSlash(rest[3]));
  }
  if (path.size() >= 4 && IsSlash(path[0]) && path[1] == '?' && path[2] == '?' && IsSlash(path[3]))
    return true;
  return IsDosDeviceName(LeafOf(path));
}

bool IsFullPath(const std::string& path) {
  return HasDriveRoot(path) || RootLength(path) > 0;
}

bool IsBareDriveLetter(const std::string& path) {
  return path.size() == 2 && IsLetter(path[0]) && path[1] == ':';
}

std::string RootOf(const std::string& fullPath) {
  size_t length = RootLength(fullPath);
  if (length == 0) return {};
  std::string root = fullPath.substr(0, length);
  if (!IsSlash(root.back())) root += '\\';
  return root;
}

bool IsRootPath(const std::string& fullPath) {
  size_t length = RootLength(fullPath);
  if (length == 0) return false;
  for (size_t i = length; i < fullPath.size(); ++i) {
    if (!IsSlash(fullPath[i])) return false;
  }
  return true;
}

}  // namespace nullora::platform
