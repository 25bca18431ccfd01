#include <algorithm>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "ui/controls/timer.h"
#include "unit/controls_fixture.h"

namespace nullora::test {
namespace {

// A form that records its lifetime events and can refuse to unload.
class TrackedForm : public ui::Form {
 public:
  explicit TrackedForm(std::string name = "fTracked") : ui::Form(std::move(name)) {}

  int loads = 0;
  int unloads = 0;
  bool visibleDuringLoad = true;
  bool listedDuringLoad = false;
  bool refuseInQueryUnload = false;
  bool refuseInUnload = false;
  std::vector<ui::UnloadMode> queryModes;

 protected:
  void Form_Load() override {
    ++loads;
    visibleDuringLoad = Visible();
    const auto& loaded = ui::Application::Get().LoadedForms();
    listedDuringLoad = std::find(loaded.begin(), loaded.end(), this) != loaded.end();
  }
  void Form_QueryUnload(bool& cancel, ui::UnloadMode mode) override {
    queryModes.push_back(mode);
    cancel = refuseInQueryUnload;
  }
  void Form_Unload(bool& cancel) override {
    ++unloads;
    cancel = refuseInUnload;
  }
};

bool IsLoaded(const ui::Form& form) {
  const auto& loaded = ui::Application::Get().LoadedForms();
  return std::find(loaded.begin(), loaded.end(), &form) != loaded.end();
}

class ApplicationTest : public ControlsTest {
 protected:
  ui::Application& app = ui::Application::Get();
  TrackedForm fMain{"fMain"};
};

TEST_F(ApplicationTest, RunReturnsAtOnceWhenNoFormIsLoaded) {
  EXPECT_FALSE(app.AnyFormLoaded());
  EXPECT_EQ(app.Run(), 0);
}

TEST_F(ApplicationTest, RunReturnsWhenTheLastFormUnloads) {
  platform::VirtualClock clock;
  platform::ScopedClock useClock(clock);
  ui::Timer Timer1(fMain, "Timer1");
  Timer1.SetInterval(100);
  Timer1.OnTimer = [&] { fMain.Unload(); };
  fMain.Show();
  clock.Advance(100);
  EXPECT_EQ(app.Run(), 0);
  EXPECT_FALSE(fMain.Loaded());
  EXPECT_FALSE(app.AnyFormLoaded());
}

TEST_F(ApplicationTest, ShowLoadsTheFormAndRunsFormLoadOnce) {
  fMain.Show();
  fMain.Show();
  EXPECT_EQ(fMain.loads, 1);
  EXPECT_TRUE(fMain.Loaded());
  EXPECT_TRUE(fMain.Visible());
  EXPECT_EQ(std::count(app.LoadedForms().begin(), app.LoadedForms().end(), &fMain), 1);
}

TEST_F(ApplicationTest, FormLoadRunsLoadedButNotYetVisible) {
  fMain.Show();
  EXPECT_TRUE(fMain.listedDuringLoad);
  EXPECT_FALSE(fMain.visibleDuringLoad);
}

TEST_F(ApplicationTest, HideKeepsTheFormLoaded) {
  fMain.Show();
  fMain.Hide();
  EXPECT_FALSE(fMain.Visible());
  EXPECT_TRUE(fMain.Loaded());
  EXPECT_TRUE(IsLoaded(fMain));
}

TEST_F(ApplicationTest, UnloadRemovesTheFormFromLoadedForms) {
  TrackedForm fOther("fOther");
  fMain.Show();
  fOther.Show();
  EXPECT_TRUE(fMain.Unload());
  EXPECT_FALSE(IsLoaded(fMain));
  EXPECT_TRUE(IsLoaded(fOther));
  EXPECT_EQ(fMain.unloads, 1);
}

TEST_F(ApplicationTest, QueryUnloadCanKeepTheFormLoaded) {
  fMain.Show();
  fMain.refuseInQueryUnload = true;
  EXPECT_FALSE(fMain.Unload());
  EXPECT_TRUE(IsLoaded(fMain));
  EXPECT_EQ(fMain.unloads, 0);
}

TEST_F(ApplicationTest, FormUnloadCanKeepTheFormLoaded) {
  fMain.Show();
  fMain.refuseInUnload = true;
  EXPECT_FALSE(fMain.Unload());
  EXPECT_TRUE(IsLoaded(fMain));
  EXPECT_TRUE(fMain.Visible());
}

TEST_F(ApplicationTest, QueryUnloadIsToldWhetherTheUserOrTheCodeCloses) {
  fMain.Show();
  fMain.UserClose();
  fMain.Show();
  fMain.Unload();
  EXPECT_EQ(fMain.queryModes,
            (std::vector<ui::UnloadMode>{ui::UnloadMode::FormControlMenu, ui::UnloadMode::FormCode}));
}

TEST_F(ApplicationTest, ShowingAnUnloadedFormRunsFormLoadAgain) {
  fMain.Show();
  fMain.Unload();
  fMain.Show();
  EXPECT_EQ(fMain.loads, 2);
}

TEST_F(ApplicationTest, EndRunsTheEndHooksThenEndsTheProcess) {
  std::vector<std::string> ran;
  app.AddEndHook([&] { ran.push_back("remove fill file"); });
  int removed = app.AddEndHook([&] { ran.push_back("removed hook"); });
  app.RemoveEndHook(removed);
  EXPECT_THROW(ui::End(), ui::ProcessEnded);
  EXPECT_EQ(ran, std::vector<std::string>{"remove fill file"});
}

TEST_F(ApplicationTest, EndGivesNoFormItsUnloadEvents) {
  fMain.Show();
  EXPECT_THROW(ui::End(), ui::ProcessEnded);
  EXPECT_TRUE(fMain.queryModes.empty());
  EXPECT_EQ(fMain.unloads, 0);
}

TEST_F(ApplicationTest, EndHooksRunOnlyOnce) {
  int runs = 0;
  app.AddEndHook([&] { ++runs; });
  EXPECT_THROW(ui::End(), ui::ProcessEnded);
  EXPECT_THROW(ui::End(), ui::ProcessEnded);
  EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace nullora::test
