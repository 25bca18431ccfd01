#include "support/settings_sandbox.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "platform/posix/posix_stand_in.h"
#endif

namespace nullora::test {

#ifdef _WIN32
namespace {
constexpr wchar_t kKey[] = L"Software\\VB and VBA Program Settings\\Nullora";
void Clear() { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
}  // namespace

bool SettingsSandbox::Empty() const {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Nullora\\Options", 0, KEY_READ,
                    &key) != ERROR_SUCCESS) {
    return true;
  }
  DWORD values = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                   nullptr);
  RegCloseKey(key);
  return values == 0;
}
#else
namespace {
void Clear() { platform::posix::ClearSettings(); }
}  // namespace

bool SettingsSandbox::Empty() const { return platform::posix::SettingsStoreContents().empty(); }
#endif

SettingsSandbox::SettingsSandbox() { Clear(); }
SettingsSandbox::~SettingsSandbox() { Clear(); }

}  // namespace nullora::test
