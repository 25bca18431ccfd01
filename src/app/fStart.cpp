#include "app/fStart.h"

#include "app/startup_settings.h"
#include "jobs/fFiles.h"
#include "platform/platform.h"
#include "platform/widgets.h"
#include "shared/records.h"
#include "shared/settings_store.h"

namespace nullora {

AppWindows::AppWindows() = default;
AppWindows::~AppWindows() = default;

fFiles& AppWindows::Files() {
  if (!files_) files_ = std::make_unique<fFiles>();
  return *files_;
}

fStart::fStart(AppWindows& windows, std::string argument)
    : ui::Form("fStart"), windows_(windows), argument_(std::move(argument)) {}

std::string fStart::GetCommandType(const std::string& cmd) {
  if (cmd.empty()) return "";
  if (cmd == "StartUpMin") return "StartUpMin";
  if (cmd == "Recycle") return "Recycled";
  uint32_t attributes = platform::GetFileAttributes(cmd);
  if (attributes != platform::kInvalidAttributes && (attributes & platform::kAttrDirectory)) {
    return cmd.back() == '\\' ? "Drive" : "Folder";
  }
  return "File";
}

// Explorer passes a path bare, but a path typed in a command prompt often comes in quotes. Such an
// argument names nothing as it stands; without its quotes it may be the file the user means.
std::string fStart::TargetArgument(const std::string& argument) {
  if (argument.size() > 2 && argument.front() == '"' && argument.back() == '"' &&
      platform::GetFileAttributes(argument) == platform::kInvalidAttributes) {
    return argument.substr(1, argument.size() - 2);
  }
  return argument;
}

void fStart::Form_Load() {
  argument_ = TargetArgument(argument_);
  const std::string commandType = GetCommandType(argument_);
  // Read once here; "Show Tips at Startup" is kept for the tips and changes nothing at start-up.
  ReadStartupSettings();

  if (commandType == "File") {
    FilePath = argument_;
    windows_.Files().Show();
  } else if (commandType.empty() || commandType == "StartUpMin") {
    platform::ShowMessage("Nullora wipes a file beyond recovery. Start it with the file as its argument:\n"
                          "nullora.exe C:\\Docs\\a.txt",
                          "Nullora");
  } else {
    platform::ShowMessage("This version of Nullora wipes single files only. Nothing was touched.", "Nullora");
  }
  Unload();
}

}  // namespace nullora
