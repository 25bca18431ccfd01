// The argument the program was started with, as the command line carries it.
#pragma once

#include <string>

namespace nullora::platform::win32 {

// Everything after the program name and the blanks that follow it, verbatim and in UTF-8: quotes
// stay, trailing blanks stay, nothing is split. The program name is either quoted ("C:\A B\x.exe")
// or runs to the first space or tab.
std::string ArgumentAfterProgramName(const std::wstring& commandLine);

}  // namespace nullora::platform::win32
