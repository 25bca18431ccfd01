#include <signal.h>
#include <unistd.h>

#include <cstdio>

#include "platform/console.h"

namespace nullora::platform {

namespace {

volatile sig_atomic_t gInterrupted = 0;

void OnInterrupt(int) {
  gInterrupted = 1;
}

}  // namespace

bool IsConsole(ConsoleStream stream) {
  return isatty(stream == ConsoleStream::Out ? STDOUT_FILENO : STDERR_FILENO) != 0;
}

void WriteConsoleText(ConsoleStream stream, const std::string& text) {
  FILE* file = stream == ConsoleStream::Out ? stdout : stderr;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fflush(file);
}

void CatchConsoleInterrupt() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
}

bool ConsoleInterrupted() {
  return gInterrupted != 0;
}

}  // namespace nullora::platform
