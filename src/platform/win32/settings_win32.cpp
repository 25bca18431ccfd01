// The settings store: per-user text values in the registry, where the program's settings have
// always been kept, so those of an earlier installation are found again.
#include <windows.h>

#include <vector>

#include "platform/platform.h"
#include "platform/win32/owned_handles.h"
#include "platform/win32/unicode.h"

namespace nullora::platform {

namespace {

using win32::Utf8ToWide;
using win32::WideToUtf8;

std::wstring SettingsKeyPath(const std::string& app, const std::string& section) {
  return L"Software\\VB and VBA Program Settings\\" + Utf8ToWide(app) + L"\\" + Utf8ToWide(section);
}

using RegistryKey = win32::UniqueRegKey;

}  // namespace

std::optional<std::string> ReadSetting(const std::string& app, const std::string& section,
                                       const std::string& key) {
  RegistryKey registryKey;
  // Opened, not created: reading a setting that was never written leaves no trace in the registry.
  if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath(app, section).c_str(), 0, KEY_QUERY_VALUE,
                    registryKey.Out()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::wstring name = Utf8ToWide(key);
  DWORD type = 0;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExW(registryKey.Get(), name.c_str(), nullptr, &type, nullptr, &size);
  std::vector<wchar_t> buffer;
  // Another writer may make the value grow between the two calls.
  while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    buffer.assign(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    status = RegQueryValueExW(registryKey.Get(), name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (status == ERROR_SUCCESS) break;
  }
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
  // A stored string need not carry its terminator, and may carry more than one.
  size_t length = size / sizeof(wchar_t);
  while (length > 0 && buffer[length - 1] == L'\0') --length;
  return WideToUtf8(buffer.data(), length);
}

bool WriteSetting(const std::string& app, const std::string& section, const std::string& key,
                  const std::string& value) {
  RegistryKey registryKey;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKeyPath(app, section).c_str(), 0, nullptr,
                      REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, registryKey.Out(),
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  std::wstring text = Utf8ToWide(value);
  DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(registryKey.Get(), Utf8ToWide(key).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
}

}  // namespace nullora::platform
