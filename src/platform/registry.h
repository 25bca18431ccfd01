// The settings store and the registry entries Explorer and Windows read.
// Declared in portable types, defined in win32/ with the real calls and in posix/ as the stand-in.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace nullora::platform {

// The settings store: per-user text values under application / section / key.
std::optional<std::string> ReadSetting(const std::string& app, const std::string& section,
                                       const std::string& key);
bool WriteSetting(const std::string& app, const std::string& section, const std::string& key,
                  const std::string& value);

// The registry, for the entries Explorer and Windows read (menus, run at logon). `key` is a path below
// `root`; an empty `name` is the key's default value. Writes create missing keys; each says whether it
// was done (an ordinary user may not write HKEY_CLASSES_ROOT or HKEY_LOCAL_MACHINE).
enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine };
// A 32-bit program on 64-bit Windows is shown copies of some keys (HKCR\CLSID, most of HKLM\Software)
// unless it asks for the 64-bit view, and Explorer and Windows read the 64-bit ones. `System` is the
// 64-bit view where there is one (on 32-bit Windows the only one); `Program` the 32-bit view, where a
// 32-bit build of old left its values (the x86_64 build's own view is the system's). (Wine keeps both
// views too.)
enum class RegistryView { System, Program };
bool RegistryWriteString(RegistryRoot root, const std::string& key, const std::string& name,
                         const std::string& data, RegistryView view = RegistryView::System);
std::optional<std::string> RegistryReadString(RegistryRoot root, const std::string& key,
                                              const std::string& name,
                                              RegistryView view = RegistryView::System);
// True when the value is gone afterwards (also when it never was there).
bool RegistryDeleteValue(RegistryRoot root, const std::string& key, const std::string& name,
                         RegistryView view = RegistryView::System);

// Deletes `key` with every key and value below it; true when it is gone (also when it never was).
bool RegistryDeleteTree(RegistryRoot root, const std::string& key, RegistryView view = RegistryView::System);

// The names of a key's values ("" is its default value) and of its subkeys, in the registry's order; empty
// lists when the key is not there, nullopt when it is there but cannot be read.
struct RegistryKeyContents {
  std::vector<std::string> values;
  std::vector<std::string> subkeys;
};
std::optional<RegistryKeyContents> RegistryListKey(RegistryRoot root, const std::string& key,
                                                   RegistryView view = RegistryView::System);

}  // namespace nullora::platform
