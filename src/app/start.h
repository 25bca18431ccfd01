// The program's entry, shared by both builds: reads the settings, classifies the argument, opens the
// one window the argument asks for and runs until the last window is gone.
#pragma once

#include <string>

namespace nullora {

// Runs the whole program with `argument` (the command-line text after the program name).
// Returns the process exit code.
int RunNullora(const std::string& argument);

}  // namespace nullora
