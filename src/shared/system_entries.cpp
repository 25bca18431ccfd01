#include "shared/system_entries.h"

#include <array>
#include <utility>

#include "platform/platform.h"

namespace nullora {

namespace {

using platform::RegistryRoot;
using platform::RegistryView;

std::string WithFinalBackslash(std::string directory) {
  if (directory.empty() || directory.back() != '\\') directory += '\\';
  return directory;
}

// Writes every (key, value) pair as the default value of its key below `root`, keys prefixed with
// `prefix`, in order; stops at the first refusal.
template <size_t N>
bool WriteAll(RegistryRoot root, const std::string& prefix,
              const std::array<std::pair<std::string, std::string>, N>& entries) {
  for (const auto& [key, value] : entries) {
    if (!platform::RegistryWriteString(root, prefix + key, "", value)) return false;
  }
  return true;
}

}  // namespace

std::string ProgramCommand(const std::string& directory, const std::string& program,
                           const std::string& argument) {
  return "\"" + WithFinalBackslash(directory) + program + "\" " + argument;
}

EntryPlace RegisterShellMenus(const std::string& directory) {
  const std::array<std::pair<std::string, std::string>, 4> entries{{
      {"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\shell\\Wipe Recycle Bin\\command",
       ProgramCommand(directory, "nullora.exe", "Recycle")},
      {"*\\shell\\Nullora", "Nullora"},
      {"*\\shell\\Nullora\\command", ProgramCommand(directory, "nullora.exe", "%1")},
      {"Folder\\shell\\Nullora\\command", ProgramCommand(directory, "nullora.exe", "%1")},
  }};
  if (WriteAll(RegistryRoot::ClassesRoot, "", entries)) return EntryPlace::Machine;
  if (WriteAll(RegistryRoot::CurrentUser, "Software\\Classes\\", entries)) return EntryPlace::CurrentUser;
  return EntryPlace::Nowhere;
}

EntryPlace WriteRunAtLogon(const std::string& directory) {
  const std::string command = ProgramCommand(directory, "Nullora.exe", "StartUpMin");
  // Exactly one value: a copy in a second place would start a second program at every logon.
  if (platform::RegistryWriteString(RegistryRoot::LocalMachine, kRunKey, kRunValue, command)) {
    platform::RegistryDeleteValue(RegistryRoot::LocalMachine, kRunKey, kRunValue, RegistryView::Program);
    platform::RegistryDeleteValue(RegistryRoot::CurrentUser, kRunKey, kRunValue);
    return EntryPlace::Machine;
  }
  // An ordinary user may not write the machine's value, but one left there by a start as administrator
  // starts the program already.
  if (RunAtLogonPlace() == EntryPlace::Machine) return EntryPlace::Machine;
  if (platform::RegistryWriteString(RegistryRoot::CurrentUser, kRunKey, kRunValue, command)) {
    return EntryPlace::CurrentUser;
  }
  return EntryPlace::Nowhere;
}

EntryPlace RunAtLogonPlace() {
  for (RegistryView view : {RegistryView::System, RegistryView::Program}) {
    if (platform::RegistryReadString(RegistryRoot::LocalMachine, kRunKey, kRunValue, view)) {
      return EntryPlace::Machine;
    }
  }
  if (platform::RegistryReadString(RegistryRoot::CurrentUser, kRunKey, kRunValue))
    return EntryPlace::CurrentUser;
  return EntryPlace::Nowhere;
}

bool RemoveRunAtLogon() {
  // From wherever it is: the machine's value in both views (an older 32-bit build wrote the program's
  // own), and the user's.
  platform::RegistryDeleteValue(RegistryRoot::LocalMachine, kRunKey, kRunValue, RegistryView::System);
  platform::RegistryDeleteValue(RegistryRoot::LocalMachine, kRunKey, kRunValue, RegistryView::Program);
  platform::RegistryDeleteValue(RegistryRoot::CurrentUser, kRunKey, kRunValue);
  return RunAtLogonPlace() == EntryPlace::Nowhere;
}

}  // namespace nullora
