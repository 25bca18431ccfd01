// The settings store read at start-up and by the jobs: defaults, trimming and hand-edited values.
#include <gtest/gtest.h>

#include "app/startup_settings.h"
#include "shared/records.h"
#include "shared/settings_store.h"
#include "support/settings_sandbox.h"

namespace nullora {
namespace {

class StartupSettingsTest : public ::testing::Test {
 protected:
  test::SettingsSandbox sandbox;
};

TEST_F(StartupSettingsTest, AnEmptyStoreGivesEveryDefaultAndWritesNothing) {
  AppSettings.AutoCleanMode = 3;
  WipeOptions.OpMethod = "x";
  ReadStartupSettings();
  EXPECT_EQ(AppSettings.AutoCleanMode, 0);
  EXPECT_EQ(AppSettings.DailyRunTime, "1201PM");
  for (int16_t key : AppSettings.CleanKeys) EXPECT_EQ(key, 0);
  EXPECT_EQ(AppSettings.ShowInfoDialog1, 0);
  EXPECT_EQ(AppSettings.ShowInfoDialog2, 0);
  EXPECT_EQ(AppSettings.RunAtStartup, 0);
  EXPECT_EQ(WipeOptions.OpMethod, "1");
  EXPECT_EQ(WipeOptions.OpRename, 0);
  EXPECT_EQ(WipeOptions.OpRandom, 0);
  EXPECT_EQ(WipeOptions.OpPasses, 7);
  EXPECT_TRUE(sandbox.Empty());
}

TEST_F(StartupSettingsTest, StoredValuesAreReadTrimmedAndConverted) {
  SaveSetting("AutoClean Mode", "2");
  SaveSetting("Daily Run Time", "  0930AM ");
  SaveSetting("OpCleanKey1", "-1");
  SaveSetting("OpCleanKey9", "-1");
  SaveSetting("OpMethod", "3");
  SaveSetting("OpRename", "1");
  SaveSetting("OpPasses", " 35 ");
  SaveSetting("OpRunAtStartup", "1");
  ReadStartupSettings();
  EXPECT_EQ(AppSettings.AutoCleanMode, 2);
  EXPECT_EQ(AppSettings.DailyRunTime, "0930AM");
  EXPECT_EQ(AppSettings.CleanKeys[0], -1);
  EXPECT_EQ(AppSettings.CleanKeys[1], 0);
  EXPECT_EQ(AppSettings.CleanKeys[8], -1);
  EXPECT_EQ(WipeOptions.OpMethod, "3");
  EXPECT_EQ(WipeOptions.OpRename, 1);
  EXPECT_EQ(WipeOptions.OpPasses, 35);
  EXPECT_EQ(AppSettings.RunAtStartup, 1);
}

TEST_F(StartupSettingsTest, HandEditedValuesThatAreNoNumberFallBackToTheirDefault) {
  SaveSetting("AutoClean Mode", "daily");
  SaveSetting("OpPasses", "seven");
  SaveSetting("OpRename", "99999");
  SaveSetting("OpCleanKey3", "");
  ReadStartupSettings();
  EXPECT_EQ(AppSettings.AutoCleanMode, 0);
  EXPECT_EQ(WipeOptions.OpPasses, 7);
  EXPECT_EQ(WipeOptions.OpRename, 0);
  EXPECT_EQ(AppSettings.CleanKeys[2], 0);
}

TEST_F(StartupSettingsTest, TheSchemeIsKeptAsTextExactlyAsStored) {
  SaveSetting("OpMethod", " 1");
  ReadStartupSettings();
  EXPECT_EQ(WipeOptions.OpMethod, " 1");
}

TEST_F(StartupSettingsTest, EachJobUsesItsOwnPassesDefaultWhenTheKeyIsAbsent) {
  LoadWipeOptions(1);
  EXPECT_EQ(WipeOptions.OpPasses, 1);
  SaveSetting("OpPasses", "3");
  LoadWipeOptions(1);
  EXPECT_EQ(WipeOptions.OpPasses, 3);
}

TEST(ToInt16, ReadsNumbersTheWayTheStoreWritesThem) {
  EXPECT_EQ(ToInt16("35", 0), 35);
  EXPECT_EQ(ToInt16(" -1 ", 0), -1);
  EXPECT_EQ(ToInt16("+4", 0), 4);
  EXPECT_EQ(ToInt16("2.5", 0), 2);  // half to even
  EXPECT_EQ(ToInt16("3.5", 0), 4);
  EXPECT_EQ(ToInt16("32767", 0), 32767);
  EXPECT_EQ(ToInt16("32768", 9), 9);
  EXPECT_EQ(ToInt16("-32769", 9), 9);
  EXPECT_EQ(ToInt16("", 9), 9);
  EXPECT_EQ(ToInt16("1e3", 9), 9);
  EXPECT_EQ(ToInt16("12abc", 9), 9);
  EXPECT_EQ(ToInt16("-", 9), 9);
}

}  // namespace
}  // namespace nullora
