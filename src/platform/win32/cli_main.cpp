// The entry point of nullora-cli.exe, the console program for scripts and the Task Scheduler.
#include <windows.h>

#include <objbase.h>

#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "nullora_version.h"
#include "platform/console.h"
#include "platform/process.h"
#include "platform/win32/unicode.h"
#include "ui/controls/application.h"

namespace {

class SystemConsole : public nullora::cli::Console {
 public:
  SystemConsole() : progress_(nullora::platform::IsConsole(nullora::platform::ConsoleStream::Err)) {}
  void Write(nullora::cli::Stream stream, const std::string& text) override {
    nullora::platform::WriteConsoleText(stream == nullora::cli::Stream::Out
                                            ? nullora::platform::ConsoleStream::Out
                                            : nullora::platform::ConsoleStream::Err,
                                        text);
  }
  bool ShowsProgress() const override { return progress_; }
  bool Interrupted() const override { return nullora::platform::ConsoleInterrupted(); }

 private:
  bool progress_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(nullora::platform::win32::WideToUtf8(argv[i]));
  // The shell's folders and the Recycle Bin are reached through COM.
  HRESULT com = CoInitialize(nullptr);
  nullora::platform::CatchConsoleInterrupt();
  // Stopped by Ctrl+C, a run has not done all it was asked; the application's end removes what a wipe
  // must not leave behind first.
  nullora::ui::Application::Get().SetEndHandler(
      [] { nullora::platform::OsExitProcess(nullora::cli::kExitLeft); });
  SystemConsole console;
  int exitCode = nullora::cli::Run(arguments, console, NULLORA_VERSION_TEXT);
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}
