#include "app/fStart.h"

#include "app/startup_settings.h"
#include "cleaner/fInfo2.h"
#include "jobs/fDrive.h"
#include "jobs/fFiles.h"
#include "jobs/fFolders.h"
#include "jobs/fRecycle.h"
#include "platform/path_names.h"
#include "platform/platform.h"
#include "platform/widgets.h"
#include "shared/records.h"
#include "shared/settings_store.h"
#include "shared/system_entries.h"
#include "ui/fCookieKeep.h"
#include "ui/fInfo.h"
#include "ui/fOptions.h"
#include "ui/fSettings.h"

namespace nullora {

AppWindows::AppWindows() = default;
AppWindows::~AppWindows() = default;

template <class Job>
Job& AppWindows::Prepared(std::unique_ptr<Job>& job) {
  if (!job) {
    job = std::make_unique<Job>();
    job->ShowOptionsDialog = [this] { Options().Show(); };
  }
  return *job;
}

fFiles& AppWindows::Files() {
  return Prepared(files_);
}
fFolders& AppWindows::Folders() {
  return Prepared(folders_);
}
fRecycle& AppWindows::Recycle() {
  return Prepared(recycle_);
}
fDrive& AppWindows::Drive() {
  return Prepared(drive_);
}

fOptions& AppWindows::Options() {
  if (!options_) options_ = std::make_unique<fOptions>();
  return *options_;
}

fInfo& AppWindows::Info() {
  if (!info_) info_ = std::make_unique<fInfo>();
  return *info_;
}

fInfo2& AppWindows::Warning() {
  if (!warning_) warning_ = std::make_unique<fInfo2>();
  return *warning_;
}

fCookieKeep& AppWindows::CookieKeep() {
  if (!cookieKeep_) cookieKeep_ = std::make_unique<fCookieKeep>();
  return *cookieKeep_;
}

fSettings& AppWindows::Settings() {
  if (!settings_) settings_ = std::make_unique<fSettings>(Options(), Info(), Warning(), CookieKeep());
  return *settings_;
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
  // A drive root that is not there ("Q:\") is still meant as a drive: the drive job says it is missing.
  if (attributes == platform::kInvalidAttributes && cmd.size() == 3 && cmd[1] == ':' && cmd[2] == '\\') {
    return "Drive";
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

bool fStart::NamesADevice(const std::string& argument) {
  return platform::NamesDeviceOrVolume(argument) ||
         platform::NamesDeviceOrVolume(platform::FullPathName(argument));
}

std::string fStart::ResolveTarget(const std::string& argument) {
  if (platform::IsFullPath(argument)) return argument;
  if (platform::IsBareDriveLetter(argument)) return argument + "\\";
  std::string full = platform::FullPathName(argument);
  return full.empty() ? argument : full;
}

std::string fStart::ClassifyTarget(std::string& target) {
  std::string commandType = GetCommandType(target);
  if (commandType == "Folder") {
    std::string full = platform::FullPathName(target);
    if (platform::IsRootPath(full)) {
      target = platform::RootOf(full);
      commandType = "Drive";
    }
  }
  return commandType;
}

void fStart::Form_Load() {
  argument_ = TargetArgument(argument_);
  const bool isPath = !argument_.empty() && argument_ != "StartUpMin" && argument_ != "Recycle";
  if (isPath && NamesADevice(argument_)) {
    platform::ShowMessage(
        argument_ + " names a device or a volume, not a file or folder. Nothing was touched.", "Nullora");
    Unload();
    return;
  }
  if (isPath) argument_ = ResolveTarget(argument_);
  const std::string commandType = isPath ? ClassifyTarget(argument_) : GetCommandType(argument_);
  // Read once here; "Show Tips at Startup" is kept for the tips and changes nothing at start-up.
  ReadStartupSettings();

  if (commandType == "File") {
    FilePath = argument_;
    windows_.Files().Show();
  } else if (commandType == "Folder") {
    FolderPath = argument_;
    windows_.Folders().Show();
  } else if (commandType == "Drive") {
    DrivePath = argument_;
    windows_.Drive().Show();
  } else if (commandType == "Recycled") {
    windows_.Recycle().Show();
  } else {
    // No job: the main window, hidden in the tray when Windows started the program at logon. One such
    // program a session: a second start brings the first one's window forward, or at logon, where the
    // first is already in the tray, simply ends.
    if (!platform::ClaimMainInstance()) {
      if (commandType != "StartUpMin") platform::AskMainInstanceToShow();
      Unload();
      return;
    }
    fSettings& main = windows_.Settings();
    main.Timer1.SetEnabled(AppSettings.AutoCleanMode == 2 || AppSettings.AutoCleanMode == 3);
    main.Load();
    if (commandType == "StartUpMin") main.Hide();
    if (RegisterShellMenus(platform::ApplicationDirectory()) == EntryPlace::Nowhere) {
      platform::ShowMessage(
          "Nullora could not add its entries to Explorer's menus: writing them was refused.", "Nullora");
    }
  }
  Unload();
}

}  // namespace nullora
