// Path helpers shared by the wipe routines.
#pragma once

#include <string>

namespace nullora {

// The part of `path` up to and including its last backslash; a path without one is returned whole.
std::string ParentPath(const std::string& path);

// A random name in the folder of `path`: ParentPath + A + "." + N, with A = r * 1000 in [0, 1000) written
// with up to seven significant digits and N = r' * 1000 rounded half to even. Draws again while a file
// of that name exists, so a rename never lands on somebody else's file.
std::string RandomFileName(const std::string& path);

// Gives the file a random name in its folder. Returns the new path, or `path` when no rename succeeded.
std::string RenameToRandomName(const std::string& path);

}  // namespace nullora
