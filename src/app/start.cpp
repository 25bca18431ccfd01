#include "app/start.h"

#include "app/fStart.h"
#include "ui/controls/application.h"

namespace nullora {

int RunNullora(const std::string& argument) {
  AppWindows windows;
  fStart start(windows, argument);
  start.Load();
  return ui::Application::Get().Run();
}

}  // namespace nullora
