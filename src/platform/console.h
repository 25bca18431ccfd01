// The console of a console program: whether a standard stream is a console window or a pipe or file,
// text written to it so that every name shows as it is, and the user's Ctrl+C. Declared in portable
// types, defined in win32/ with the real calls and in posix/ as the stand-in.
#pragma once

#include <string>

namespace nullora::platform {

enum class ConsoleStream { Out, Err };

// Whether the stream is a console the user watches (not redirected to a pipe or a file).
bool IsConsole(ConsoleStream stream);
// Writes UTF-8 text: to a console as characters, so any name shows whatever the console's code page; to
// a pipe or a file as UTF-8 bytes.
void WriteConsoleText(ConsoleStream stream, const std::string& text);

// From now on, Ctrl+C and Ctrl+Break do not end the process at once; they are only noted, so that the
// program can stop where nothing is left half done (a fill file in a drive's root).
void CatchConsoleInterrupt();
// Whether Ctrl+C or Ctrl+Break came since CatchConsoleInterrupt.
bool ConsoleInterrupted();

}  // namespace nullora::platform
