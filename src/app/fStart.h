// The start-up form: it has no window. Its load classifies the argument, reads the settings, opens the
// one window the argument asks for and unloads itself.
#pragma once

#include <memory>
#include <string>

#include "ui/controls/form.h"

namespace nullora {

class fFiles;
class fFolders;
class fRecycle;
class fDrive;
class fSettings;
class fOptions;
class fInfo;
class fInfo2;
class fCookieKeep;

// The windows start-up can open; created when first needed, alive until the process ends.
struct AppWindows {
  AppWindows();
  ~AppWindows();
  fFiles& Files();
  fFolders& Folders();
  fRecycle& Recycle();
  fDrive& Drive();
  fSettings& Settings();
  fOptions& Options();
  fInfo& Info();
  fInfo2& Warning();
  fCookieKeep& CookieKeep();

 private:
  // A job dialog's "Options" opens the options dialog, which then only closes again.
  template <class Job>
  Job& Prepared(std::unique_ptr<Job>& job);

  std::unique_ptr<fFiles> files_;
  std::unique_ptr<fFolders> folders_;
  std::unique_ptr<fRecycle> recycle_;
  std::unique_ptr<fDrive> drive_;
  std::unique_ptr<fOptions> options_;
  std::unique_ptr<fInfo> info_;
  std::unique_ptr<fInfo2> warning_;
  std::unique_ptr<fCookieKeep> cookieKeep_;
  std::unique_ptr<fSettings> settings_;
};

class fStart : public ui::Form {
 public:
  fStart(AppWindows& windows, std::string argument);

  // "", "StartUpMin", "Recycled", "Folder", "Drive" or "File". A path that names nothing is a "File":
  // the file job then says that nothing was found.
  static std::string GetCommandType(const std::string& cmd);
  // The argument without surrounding double quotes when only that makes it a path.
  static std::string TargetArgument(const std::string& argument);
  // Whether a path argument names a device or a volume (\\.\C:, \\?\GLOBALROOT\..., NUL, C:\x\COM1)
  // rather than a file or folder: such an argument is refused before anyone is asked.
  static bool NamesADevice(const std::string& argument);
  // The path a job works on and the question shows. A full path stays exactly as given; a bare drive
  // letter ("C:") is that drive's root; any other drive-relative or relative path ("C:foo", "\foo",
  // "foo") is made full against the current directory, which the user does not see.
  static std::string ResolveTarget(const std::string& argument);
  // GetCommandType on the resolved path, except that a folder whose full path is the root of its drive
  // is the drive ("C:\x\.." is C:\, whose files are not wiped as a folder's). `target` becomes that root.
  static std::string ClassifyTarget(std::string& target);

 protected:
  void Form_Load() override;

 private:
  AppWindows& windows_;
  std::string argument_;
};

}  // namespace nullora
