// The entries the program leaves in the registry for Explorer and for Windows: the context-menu
// commands that start a wipe job, and the run-at-logon value. Written where Windows looks for every
// user first; where that is refused (an ordinary user may not write HKEY_CLASSES_ROOT or HKLM), the
// same entries go to the current user's part of the registry, which Windows reads as well.
#pragma once

#include <string>

namespace nullora {

// Where an entry ended up.
enum class EntryPlace { Nowhere, Machine, CurrentUser };

// The command Explorer runs: the program quoted (a path with blanks must not start "C:\Program.exe"),
// then the argument. `directory` is the program's directory, with or without its final backslash;
// `program` the file name.
std::string ProgramCommand(const std::string& directory, const std::string& program,
                           const std::string& argument);

// Writes the four context-menu entries (the Recycle Bin's "Wipe Recycle Bin", "Nullora" on every file
// and every folder or drive) for the program in `directory`.
EntryPlace RegisterShellMenus(const std::string& directory);

inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kRunValue[] = "Nullora";
// The run-at-logon value, which starts the program hidden in the tray ("StartUpMin"). There is at most
// one: written where Windows looks for every user, else the user's own; where the machine's cannot be
// written but is there already, it is left as the one.
EntryPlace WriteRunAtLogon(const std::string& directory);
// Where the value is now.
EntryPlace RunAtLogonPlace();
// Removes it from wherever it is; false when one is left (an ordinary user may not change the
// machine's).
bool RemoveRunAtLogon();

}  // namespace nullora
