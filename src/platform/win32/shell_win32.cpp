// The registry entries Explorer and Windows read, the program's own place, and the shell's "open".
#include "platform/platform.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "platform/win32/owned_handles.h"
#include "platform/win32/unicode.h"

namespace nullora::platform {

namespace {

using win32::UniqueHandle;
using win32::UniqueRegKey;
using win32::Utf8ToWide;
using win32::WideToUtf8;

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser:
      return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine:
      return HKEY_LOCAL_MACHINE;
  }
  return HKEY_CURRENT_USER;
}

// Both flags are ignored on 32-bit Windows. `Program` is where a 32-bit build writes: its own view for the
// 32-bit program, the 32-bit one for the x86_64 build (whose own view is the system's: asking for it
// there would name the very value written in the system's view).
REGSAM ViewFlag(RegistryView view) {
  if (view == RegistryView::System) return KEY_WOW64_64KEY;
#ifdef _WIN64
  return KEY_WOW64_32KEY;
#else
  return 0;
#endif
}

}  // namespace

bool RegistryWriteString(RegistryRoot root, const std::string& key, const std::string& name,
                         const std::string& data, RegistryView view) {
  UniqueRegKey opened;
  if (RegCreateKeyExW(RootKey(root), Utf8ToWide(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE | ViewFlag(view), nullptr, opened.Out(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  std::wstring text = Utf8ToWide(data);
  std::wstring valueName = Utf8ToWide(name);
  return RegSetValueExW(opened.Get(), valueName.empty() ? nullptr : valueName.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::optional<std::string> RegistryReadString(RegistryRoot root, const std::string& key,
                                              const std::string& name, RegistryView view) {
  UniqueRegKey opened;
  if (RegOpenKeyExW(RootKey(root), Utf8ToWide(key).c_str(), 0, KEY_QUERY_VALUE | ViewFlag(view),
                    opened.Out()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::wstring valueName = Utf8ToWide(name);
  const wchar_t* namePointer = valueName.empty() ? nullptr : valueName.c_str();
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(opened.Get(), namePointer, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (RegQueryValueExW(opened.Get(), namePointer, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                       &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  size_t length = size / sizeof(wchar_t);
  while (length > 0 && buffer[length - 1] == L'\0') --length;
  return WideToUtf8(buffer.data(), length);
}

bool RegistryDeleteValue(RegistryRoot root, const std::string& key, const std::string& name,
                         RegistryView view) {
  UniqueRegKey opened;
  LSTATUS status =
      RegOpenKeyExW(RootKey(root), Utf8ToWide(key).c_str(), 0, KEY_SET_VALUE | ViewFlag(view), opened.Out());
  if (status == ERROR_FILE_NOT_FOUND) return true;
  if (status != ERROR_SUCCESS) return false;
  std::wstring valueName = Utf8ToWide(name);
  status = RegDeleteValueW(opened.Get(), valueName.empty() ? nullptr : valueName.c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool RegistryDeleteTree(RegistryRoot root, const std::string& key, RegistryView view) {
  // RegDeleteTreeW takes no view: what is below the key goes through a handle opened in the view, then
  // the key itself.
  const std::wstring wideKey = Utf8ToWide(key);
  UniqueRegKey opened;
  LSTATUS status = RegOpenKeyExW(
      RootKey(root), wideKey.c_str(), 0,
      DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE | ViewFlag(view), opened.Out());
  if (status == ERROR_FILE_NOT_FOUND) return true;
  if (status != ERROR_SUCCESS) return false;
  status = RegDeleteTreeW(opened.Get(), nullptr);
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return false;
  opened.Reset();
  status = RegDeleteKeyExW(RootKey(root), wideKey.c_str(), ViewFlag(view), 0);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

std::optional<RegistryKeyContents> RegistryListKey(RegistryRoot root, const std::string& key,
                                                   RegistryView view) {
  UniqueRegKey opened;
  LSTATUS status = RegOpenKeyExW(RootKey(root), Utf8ToWide(key).c_str(), 0,
                                 KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | ViewFlag(view), opened.Out());
  if (status == ERROR_FILE_NOT_FOUND) return RegistryKeyContents{};
  if (status != ERROR_SUCCESS) return std::nullopt;
  DWORD subkeys = 0, longestSubkey = 0, values = 0, longestValue = 0;
  if (RegQueryInfoKeyW(opened.Get(), nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr, &values,
                       &longestValue, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  RegistryKeyContents listed;
  std::vector<wchar_t> name(std::max(longestSubkey, longestValue) + 2);
  // Values and subkeys are listed alike; the calls differ only in what they are asked for.
  auto list = [&](auto enumerate, std::vector<std::string>& names) {
    for (DWORD i = 0;; ++i) {
      DWORD length = static_cast<DWORD>(name.size());
      status = enumerate(opened.Get(), i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
      if (status == ERROR_NO_MORE_ITEMS) return true;
      if (status != ERROR_SUCCESS) return false;
      names.push_back(WideToUtf8(name.data(), length));
    }
  };
  if (!list(RegEnumValueW, listed.values) || !list(RegEnumKeyExW, listed.subkeys)) return std::nullopt;
  return listed;
}

bool ClearClipboard() {
  // Another program may hold the clipboard for a moment; it is asked again for a fifth of a second.
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(nullptr)) {
      const bool emptied = EmptyClipboard() != 0;
      CloseClipboard();
      return emptied;
    }
    Sleep(20);
  }
  return false;
}

std::string ApplicationPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return WideToUtf8(path);
    }
    path.resize(path.size() * 2);
  }
}

std::string ApplicationDirectory() {
  std::string path = ApplicationPath();
  size_t slash = path.find_last_of('\\');
  if (slash == std::string::npos) return {};
  // A program in a drive root keeps the root's backslash: "D:\".
  return path.substr(0, slash == 2 ? 3 : slash);
}

bool ShellOpen(const std::string& file, const std::string& verb, const std::string& directory, int show,
               bool desktopOwner) {
  std::wstring wideFile = Utf8ToWide(file);
  std::wstring wideVerb = Utf8ToWide(verb);
  std::wstring wideDirectory = Utf8ToWide(directory);
  HINSTANCE result = ShellExecuteW(desktopOwner ? GetDesktopWindow() : nullptr,
                                   wideVerb.empty() ? nullptr : wideVerb.c_str(), wideFile.c_str(), nullptr,
                                   wideDirectory.empty() ? nullptr : wideDirectory.c_str(), show);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

std::optional<std::string> ReadFileStart(const std::string& path, size_t count) {
  UniqueHandle file(CreateFileW(win32::ToLongPathW(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) return std::nullopt;
  std::string content(count, '\0');
  DWORD got = 0;
  if (count > 0 && !ReadFile(file.Get(), content.data(), static_cast<DWORD>(count), &got, nullptr))
    return std::nullopt;
  content.resize(got);
  return content;
}

std::optional<std::string> ReadSmallFile(const std::string& path, size_t limit) {
  UniqueHandle file(CreateFileW(win32::ToLongPathW(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
      static_cast<uint64_t>(size.QuadPart) > limit) {
    return std::nullopt;
  }
  std::string content(static_cast<size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (!content.empty() &&
      !ReadFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &got, nullptr)) {
    return std::nullopt;
  }
  content.resize(got);
  return content;
}

}  // namespace nullora::platform
