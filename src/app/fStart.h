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

// The windows start-up can open; created when first needed, alive until the process ends.
struct AppWindows {
  AppWindows();
  ~AppWindows();
  fFiles& Files();
  fFolders& Folders();
  fRecycle& Recycle();
  fDrive& Drive();

 private:
  std::unique_ptr<fFiles> files_;
  std::unique_ptr<fFolders> folders_;
  std::unique_ptr<fRecycle> recycle_;
  std::unique_ptr<fDrive> drive_;
};

class fStart : public ui::Form {
 public:
  fStart(AppWindows& windows, std::string argument);

  // "", "StartUpMin", "Recycled", "Folder", "Drive" or "File". A path that names nothing is a "File":
  // the file job then says that nothing was found.
  static std::string GetCommandType(const std::string& cmd);
  // The argument without surrounding double quotes when only that makes it a path.
  static std::string TargetArgument(const std::string& argument);

 protected:
  void Form_Load() override;

 private:
  AppWindows& windows_;
  std::string argument_;
};

}  // namespace nullora
