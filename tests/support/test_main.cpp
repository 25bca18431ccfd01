// The test runner's entry: End() must leave the running handler as it would leave the process.
#include <gtest/gtest.h>

#include "ui/controls/application.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  nullora::ui::Application::Get().SetEndHandler([] { throw nullora::ui::ProcessEnded{}; });
  return RUN_ALL_TESTS();
}
