// The tray icon against the workbench's recorded notification area; under Wine the icon is real and
// these records do not exist.
#ifndef _WIN32

#include <vector>

#include "platform/posix/head_less.h"
#include "ui/controls/tray_icon.h"
#include "unit/controls_fixture.h"

namespace nullora::test {
namespace {

using platform::TrayMouse;
using platform::posix::LastTrayIcon;

using TrayIconTest = ControlsTest;

TEST_F(TrayIconTest, AddPutsTheIconWithItsTipInTheNotificationArea) {
  ui::TrayIcon tray;
  EXPECT_TRUE(tray.Add("Nullora"));
  EXPECT_TRUE(tray.Added());
  EXPECT_TRUE(LastTrayIcon().added);
  EXPECT_EQ(LastTrayIcon().tip, "Nullora");
}

TEST_F(TrayIconTest, SetTipChangesTheShownTip) {
  ui::TrayIcon tray;
  tray.Add("Nullora");
  EXPECT_TRUE(tray.SetTip("Nullora - next clean at 12:00"));
  EXPECT_EQ(LastTrayIcon().tip, "Nullora - next clean at 12:00");
}

TEST_F(TrayIconTest, SetTipBeforeAddShowsNothing) {
  ui::TrayIcon tray;
  EXPECT_FALSE(tray.SetTip("Nullora"));
  EXPECT_FALSE(LastTrayIcon().added);
  EXPECT_EQ(tray.Tip(), "Nullora");
}

TEST_F(TrayIconTest, ShowBalloonShowsTitleAndText) {
  ui::TrayIcon tray;
  tray.Add("Nullora");
  EXPECT_TRUE(tray.ShowBalloon("Clean finished", "12 traces removed"));
  EXPECT_EQ(LastTrayIcon().balloonTitle, "Clean finished");
  EXPECT_EQ(LastTrayIcon().balloonText, "12 traces removed");
  EXPECT_EQ(LastTrayIcon().balloons, 1);
}

TEST_F(TrayIconTest, NoBalloonWithoutTheIcon) {
  ui::TrayIcon tray;
  int balloonsBefore = LastTrayIcon().balloons;
  EXPECT_FALSE(tray.ShowBalloon("Clean finished", "12 traces removed"));
  EXPECT_EQ(LastTrayIcon().balloons, balloonsBefore);
}

TEST_F(TrayIconTest, RemoveTakesTheIconAway) {
  ui::TrayIcon tray;
  tray.Add("Nullora");
  EXPECT_TRUE(tray.Remove());
  EXPECT_FALSE(tray.Added());
  EXPECT_FALSE(LastTrayIcon().added);
}

TEST_F(TrayIconTest, IconIsRemovedWithItsOwner) {
  {
    ui::TrayIcon tray;
    tray.Add("Nullora");
  }
  EXPECT_FALSE(LastTrayIcon().added);
}

TEST_F(TrayIconTest, IconCanBeAddedAgainAfterRemove) {
  ui::TrayIcon tray;
  tray.Add("Nullora");
  tray.Remove();
  EXPECT_TRUE(tray.Add("Nullora again"));
  EXPECT_TRUE(LastTrayIcon().added);
  EXPECT_EQ(LastTrayIcon().tip, "Nullora again");
}

TEST_F(TrayIconTest, MouseOnTheIconRaisesMouseEvent) {
  ui::TrayIcon tray;
  std::vector<TrayMouse> events;
  tray.MouseEvent = [&](TrayMouse event) { events.push_back(event); };
  tray.Add("Nullora");
  tray.UserMouse(TrayMouse::RightUp);
  tray.UserMouse(TrayMouse::LeftDoubleClick);
  EXPECT_EQ(events, (std::vector<TrayMouse>{TrayMouse::RightUp, TrayMouse::LeftDoubleClick}));
}

TEST_F(TrayIconTest, ClickOnTheBalloonRaisesBalloonClick) {
  ui::TrayIcon tray;
  int clicks = 0;
  tray.BalloonClick = [&] { ++clicks; };
  tray.Add("Nullora");
  tray.ShowBalloon("Clean finished", "12 traces removed");
  tray.UserBalloonClick();
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace nullora::test

#endif  // _WIN32
