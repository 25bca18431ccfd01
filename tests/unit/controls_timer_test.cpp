#include <memory>

#include "platform/clock.h"
#include "ui/controls/timer.h"
#include "unit/controls_fixture.h"

namespace nullora::test {
namespace {

class TimerTest : public ControlsTest {
 protected:
  TimerTest() {
    Timer1.SetInterval(1000);
    Timer1.OnTimer = [this] { ++ticks; };
  }

  platform::VirtualClock clock;
  platform::ScopedClock useClock{clock};
  PlainForm form;
  ui::Timer Timer1{form, "Timer1"};
  int ticks = 0;
};

TEST_F(TimerTest, FiresFromDoEventsOnceItsIntervalHasPassed) {
  form.Load();
  clock.Advance(999);
  ui::DoEvents();
  EXPECT_EQ(ticks, 0);
  clock.Advance(1);
  ui::DoEvents();
  EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, CountsItsIntervalFromTheLoadOfItsForm) {
  clock.Advance(5000);
  form.Load();
  ui::DoEvents();
  EXPECT_EQ(ticks, 0);
  clock.Advance(1000);
  ui::DoEvents();
  EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, DoesNotFireWithoutDoEvents) {
  form.Load();
  clock.Advance(5000);
  EXPECT_EQ(ticks, 0);
}

TEST_F(TimerTest, LateTimerFiresOnceAndCountsItsNextIntervalFromThen) {
  form.Load();
  clock.Advance(3500);
  ui::DoEvents();
  ui::DoEvents();
  EXPECT_EQ(ticks, 1);
  clock.Advance(999);
  ui::DoEvents();
  EXPECT_EQ(ticks, 1);
  clock.Advance(1);
  ui::DoEvents();
  EXPECT_EQ(ticks, 2);
}

TEST_F(TimerTest, DoesNotFireWhileDisabled) {
  form.Load();
  Timer1.SetEnabled(false);
  clock.Advance(5000);
  ui::DoEvents();
  EXPECT_EQ(ticks, 0);
}

TEST_F(TimerTest, EnablingStartsAFullInterval) {
  form.Load();
  Timer1.SetEnabled(false);
  clock.Advance(5000);
  Timer1.SetEnabled(true);
  clock.Advance(999);
  ui::DoEvents();
  EXPECT_EQ(ticks, 0);
  clock.Advance(1);
  ui::DoEvents();
  EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, IntervalZeroNeverFires) {
  form.Load();
  Timer1.SetInterval(0);
  clock.Advance(5000);
  ui::DoEvents();
  EXPECT_EQ(ticks, 0);
}

TEST_F(TimerTest, DoesNotFireWhileItsFormIsNotLoaded) {
  clock.Advance(5000);
  ui::DoEvents();
  EXPECT_EQ(ticks, 0);
}

TEST_F(TimerTest, StopsWhenItsFormUnloads) {
  form.Load();
  form.Unload();
  clock.Advance(5000);
  ui::DoEvents();
  EXPECT_EQ(ticks, 0);
}

TEST_F(TimerTest, DoEventsInsideItsOwnTickDoesNotFireItAgain) {
  form.Load();
  int ticksSeenInside = -1;
  Timer1.OnTimer = [&] {
    ++ticks;
    clock.Advance(2000);
    ui::DoEvents();
    ticksSeenInside = ticks;
  };
  clock.Advance(1000);
  ui::DoEvents();
  EXPECT_EQ(ticksSeenInside, 1);
  EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, DoEventsInsideATickFiresOtherDueTimers) {
  form.Load();
  ui::Timer Timer2(form, "Timer2");
  Timer2.SetInterval(1500);
  int timer2Ticks = 0;
  Timer2.OnTimer = [&] { ++timer2Ticks; };
  Timer1.OnTimer = [&] {
    clock.Advance(500);
    ui::DoEvents();
  };
  clock.Advance(1000);
  ui::DoEvents();
  EXPECT_EQ(timer2Ticks, 1);
}

TEST_F(TimerTest, TickThatDestroysAnotherDueTimerDoesNotFireIt) {
  form.Load();
  auto Timer2 = std::make_unique<ui::Timer>(form, "Timer2");
  Timer2->SetInterval(1000);
  int timer2Ticks = 0;
  Timer2->OnTimer = [&] { ++timer2Ticks; };
  Timer1.OnTimer = [&] { Timer2.reset(); };
  clock.Advance(1000);
  ui::DoEvents();
  EXPECT_EQ(Timer2, nullptr);
  EXPECT_EQ(timer2Ticks, 0);
}

}  // namespace
}  // namespace nullora::test
