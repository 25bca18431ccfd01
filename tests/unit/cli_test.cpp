// The console program's command line, its exit codes and what goes to which stream, through a recording
// console. What it does to real files, links and devices is tested under Wine (test_win32_cli.sh).
#include <gtest/gtest.h>

#include <set>

#include "cleaner/item_ids.h"
#include "cli/cli_args.h"
#include "cli/cli_run.h"
#include "shared/records.h"
#include "shared/settings_store.h"
#include "support/settings_sandbox.h"
#include "support/test_files.h"
#include "ui/controls/application.h"
#ifndef _WIN32
#include "platform/posix/posix_stand_in.h"
#endif

namespace nullora {
namespace {

struct RecordingConsole : cli::Console {
  std::string out, err;
  bool console = false;
  void Write(cli::Stream stream, const std::string& text) override {
    (stream == cli::Stream::Out ? out : err) += text;
  }
  bool ShowsProgress() const override { return console; }
  bool Interrupted() const override { return false; }
};

cli::Parsed Parse(std::vector<std::string> arguments) {
  return cli::ParseArguments(arguments);
}

TEST(CliArguments, BadUsageIsRefusedWithItsReason) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"shred", "a"},
      {"wipe"},
      {"wipe", "--passes", "0", "a"},
      {"wipe", "--passes", "32768", "a"},
      {"wipe", "--passes", "-1", "a"},
      {"wipe", "--passes", "7x", "a"},
      {"wipe", "--passes"},
      {"wipe", "--scheme", "gutmann", "--passes", "3", "a"},
      {"wipe", "--passes=3", "--scheme=one-pass", "a"},
      {"wipe", "--scheme", "delete-only", "--passes", "1", "a"},
      {"wipe", "--scheme", "fast", "a"},
      {"wipe", "--force", "a"},
      {"wipe", "--rename=yes", "a"},
      {"free-space"},
      {"free-space", "C:", "D:"},
      {"free-space", "--scheme", "dod", "C:"},
      {"recycle-bin", "C:\\x"},
      {"list", "--preview"},
      {"clean", "--recursive"},
      {"--version", "wipe"},
  };
  for (const auto& arguments : bad) {
    const cli::Parsed parsed = cli::ParseArguments(arguments);
    EXPECT_FALSE(parsed.request) << ::testing::PrintToString(arguments);
    EXPECT_FALSE(parsed.problem.empty()) << ::testing::PrintToString(arguments);
  }
  EXPECT_NE(Parse({"wipe", "--passes", "0", "a"}).problem.find("1 to 32767"), std::string::npos);
}

TEST(CliArguments, OptionsAndPathsAreTakenAsWritten) {
  cli::Parsed parsed = Parse({"wipe", "--scheme=custom", "--passes", "32767", "--rename", "--verify",
                              "--recursive", "a b", "--", "--odd-name"});
  ASSERT_TRUE(parsed.request) << parsed.problem;
  EXPECT_EQ(parsed.request->scheme, WipeScheme::CustomScheme);
  EXPECT_EQ(parsed.request->passes, 32767);
  EXPECT_TRUE(parsed.request->rename && parsed.request->verify && parsed.request->recursive);
  EXPECT_EQ(parsed.request->operands, (std::vector<std::string>{"a b", "--odd-name"}));
  // Passes without a scheme go to the stored one; DoD takes a count.
  EXPECT_TRUE(Parse({"wipe", "--passes", "3", "a"}).request);
  EXPECT_TRUE(Parse({"wipe", "--scheme", "dod", "--passes", "1", "a"}).request);
  EXPECT_EQ(Parse({"clean", "--help", "--nonsense"}).request->command, cli::Command::Help);
}

TEST(CliExitCode, DoneLeftAndNothingDone) {
  using cli::Outcome;
  EXPECT_EQ(cli::ExitCode({Outcome::Done, Outcome::Done}), 0);
  EXPECT_EQ(cli::ExitCode({Outcome::Refused, Outcome::Refused}), 3);
  EXPECT_EQ(cli::ExitCode({Outcome::Done, Outcome::Refused}), 1);
  EXPECT_EQ(cli::ExitCode({Outcome::Left}), 1);
  EXPECT_EQ(cli::ExitCode({Outcome::Refused, Outcome::Left}), 1);
}

TEST(CleanItemIds, EveryItemOnceInTheOrderOfAClean) {
  const std::vector<CleanItemId>& ids = CleanItemIds();
  ASSERT_EQ(ids.size(), 9 + Browsers().size() * std::size(kBrowserItems) + std::size(kWindowsItems));
  std::set<std::string> unique;
  for (const CleanItemId& item : ids) EXPECT_TRUE(unique.insert(item.id).second) << item.id;
  EXPECT_EQ(ids[0].id, "windows.recycle_bin");
  EXPECT_EQ(ids[2].caption, "Temporary Files");
  EXPECT_EQ(ids[8].id, "internet_explorer.index_dat");
  EXPECT_EQ(ids.back().id, "windows.clipboard");
  ASSERT_TRUE(FindCleanItemId("Chrome.History"));
  EXPECT_EQ(FindCleanItemId("chrome.history")->caption, "Google Chrome: History");
  EXPECT_EQ(FindCleanItemId("firefox.forms")->caption, "Mozilla Firefox: Form Data");
  EXPECT_FALSE(FindCleanItemId("chrome"));
}

TEST(CleanItemIds, SelectingForOneRunChangesNoStoredSetting) {
  test::SettingsSandbox settings;
  SaveSetting("OpCleanKey3", "-1");
  SaveSetting("OpCleanWinRun", "-1");
  AppSettings.CleanKeys.fill(-1);
  WindowsCleanKeys["OpCleanWinRun"] = -1;
  SelectOnlyCleanItems({FindCleanItemId("windows.recent_documents"), FindCleanItemId("edge.cookies"),
                        FindCleanItemId("windows.clipboard")});
  EXPECT_EQ(AppSettings.CleanKeys, (std::array<int16_t, 9>{0, 0, 0, -1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(BrowserCleanKeys["OpCleanEdgeCookies"], -1);
  EXPECT_EQ(WindowsCleanKeys["OpCleanWinRun"], 0);
  EXPECT_EQ(WindowsCleanKeys["OpCleanWinClipboard"], -1);
  EXPECT_EQ(GetSetting("OpCleanKey3", ""), "-1");
  EXPECT_EQ(GetSetting("OpCleanKey4", "absent"), "absent");
  EXPECT_EQ(GetSetting("OpCleanWinRun", ""), "-1");
}

TEST(CliRun, LinesOnStandardOutputProgressOnlyOnAConsole) {
  ui::Application::Get().Reset();
  test::SettingsSandbox settings;
  test::TestDir dir;
  SaveSetting("OpMethod", "0");
  const std::string big = dir.MakeFile("big.bin", 3 << 20, 'x');
  const std::string small = dir.MakeFile("small.txt", "secret");
  for (bool console : {false, true}) {
    RecordingConsole out;
    out.console = console;
    const std::string file = console ? big : small;
    EXPECT_EQ(cli::Run({"wipe", file}, out, "1.0"), 0);
    EXPECT_EQ(out.out, file + "\tDone\n");
    // Drawn over itself and cleared before the next line: nothing of it is left on the screen.
    if (console) {
      EXPECT_NE(out.err.find("\r" + file + ": Overwriting"), std::string::npos) << out.err;
      EXPECT_EQ(out.err.back(), '\r');
    } else {
      EXPECT_EQ(out.err, "");
    }
  }
  EXPECT_FALSE(dir.Exists("big.bin") || dir.Exists("small.txt"));

  RecordingConsole quiet;
  dir.MakeFile("kept.txt", "x");
  EXPECT_EQ(
      cli::Run({"wipe", "--quiet", "--scheme", "delete-only", dir.Path("kept.txt"), dir.Path("gone.txt")},
               quiet, "1.0"),
      1);
  EXPECT_EQ(quiet.out, dir.Path("gone.txt") + "\tNot wiped: nothing was found there\n");
  RecordingConsole usage;
  EXPECT_EQ(cli::Run({"wipe", "--passes", "0", dir.Path("x")}, usage, "1.0"), 2);
  EXPECT_EQ(usage.out, "");
  EXPECT_NE(usage.err.find("see nullora-cli --help"), std::string::npos);
  EXPECT_EQ(std::count(usage.err.begin(), usage.err.end(), '\n'), 1);
}

#ifndef _WIN32
TEST(CliRun, ARecursiveWipeTakesNoSystemOrUserFolderWhole) {
  ui::Application::Get().Reset();
  test::SettingsSandbox settings;
  test::TestDir dir;
  SaveSetting("OpMethod", "0");
  const std::string profile = dir.MakeDir("me");
  const std::string documents = dir.MakeDir("me\\Documents");
  dir.MakeFile("me\\Documents\\letter.txt", "mine");
  const std::string below = dir.MakeDir("me\\Documents\\old");
  dir.MakeFile("me\\Documents\\old\\draft.txt", "old");
  auto& known = platform::posix::Cleaner().knownFolders;
  known[platform::KnownFolder::Profile] = profile;
  known[platform::KnownFolder::Documents] = documents;
  RecordingConsole out;
  EXPECT_EQ(cli::Run({"wipe", "--recursive", documents, profile}, out, "1.0"), 3);
  EXPECT_EQ(
      out.out,
      documents + "\tNot wiped: the folder is Documents, which is not wiped whole; name what is in it\n" +
          profile +
          "\tNot wiped: the folder is the profile folder, which is not wiped whole; name what is in it\n");
  EXPECT_EQ(dir.Read("me\\Documents\\letter.txt"), "mine");
  // What is in it is the user's to name.
  RecordingConsole named;
  EXPECT_EQ(cli::Run({"wipe", "--recursive", below}, named, "1.0"), 0);
  EXPECT_FALSE(dir.Exists("me\\Documents\\old"));
  known.clear();
}
#endif

}  // namespace
}  // namespace nullora
