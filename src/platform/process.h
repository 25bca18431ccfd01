// The process and its session: the command line, the other programs running, the end of the session, the
// single tray program, the clock and the event pump. Declared in portable types, defined in win32/ with the
// real calls and in posix/ as the stand-in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nullora::platform {

// The whole command-line text after the program name, verbatim (not trimmed, quotes kept).
std::string CommandLineArgument();

// The executable names of the running processes ("iexplore.exe"); empty when the list cannot be taken.
std::vector<std::string> RunningProcessNames();
// The executable names of the running processes that show a window (a browser with a process and no
// window runs on in the background).
std::vector<std::string> ProcessNamesWithWindows();

// Tells the system, on the program's main window, why the session should wait (a reason the user can
// read while Windows shuts down); an empty reason takes it back.
class Widget;
void SetShutdownBlockReason(Widget* window, const std::string& reason);

// The tray program runs once in a session. True for the first copy that asks (it keeps the claim for
// its life); false when another copy holds it.
bool ClaimMainInstance();
// The first copy names the window that takes a second copy's request to come forward.
void PublishMainInstanceWindow(Widget* window);
// A second copy asks the first one's main window to come forward; false when it cannot be reached.
bool AskMainInstanceToShow();

// Milliseconds of a monotonic clock, the real pause, and the local time of day.
uint64_t OsTickMs();
void OsSleep(uint32_t ms);
// Seconds since local midnight, with fractions; it seeds the random generator.
double OsSecondsSinceMidnight();
// The local calendar date as a count of days.
int64_t OsLocalDay();

// Dispatches pending window messages without waiting. Returns false when the quit message was seen.
bool OsPumpEvents();
// Lets the windows repaint and answers what the system and other programs send (a request for a
// window's text, say), but leaves input and posted messages queued for the next OsPumpEvents.
void OsPumpPaint();
// Waits until a window message arrives or `ms` passed, then dispatches what is pending.
// Returns false when the quit message was seen.
bool OsWaitEvents(uint32_t ms);
// Asks the message loop to end.
void OsPostQuit();
// Wakes the message loop if it waits, so that it looks at its own work again.
void OsPostWake();
// Has `tick` called once, from whatever message loop runs `ms` milliseconds from now (a menu's or a
// message box's included), replacing a tick asked for before. The workbench has no loop: it never calls.
void OsScheduleTick(uint32_t ms, void (*tick)());
// Ends the process at once, without unloading anything.
[[noreturn]] void OsExitProcess(int code);

}  // namespace nullora::platform
