// The read-back after a wipe's last pass, and the note on storage that an overwrite may not fully reach.
#include <gtest/gtest.h>

#include "engine/read_back.h"
#include "engine/scheme_wipe.h"
#include "jobs/fDrive.h"
#include "jobs/fFiles.h"
#include "jobs/job_status.h"
#include "platform/file.h"
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

// A medium that hands back other bytes than were written at `corruptAt`, and counts what was read.
struct ReadBackMedium : test::IoRecorder {
  uint64_t corruptAt = UINT64_MAX;
  uint64_t bytesRead = 0;
  void OnRead(const std::string& path, uint64_t offset, std::span<uint8_t> bytes) override {
    (void)path;
    bytesRead += bytes.size();
    if (corruptAt >= offset && corruptAt < offset + bytes.size()) bytes[corruptAt - offset] ^= 0x20;
  }
};

struct Scheme {
  WipeScheme scheme;
  int passes;
};
constexpr Scheme kOverwritingSchemes[] = {{WipeScheme::OneRandomPass, 1},
                                          {WipeScheme::DodScheme, 1},
                                          {WipeScheme::GutmannScheme, 35},
                                          {WipeScheme::CustomScheme, 2}};

class ReadBackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WipeOptions = {};
    WipeOptions.OpVerify = 1;
  }
  void TearDown() override { WipeOptions = {}; }
  test::TestDir dir;
  test::FakeTime time;
};

// Past one read window, with a tail that is no whole block of any routine; for the Gutmann scheme, which
// writes its 35 passes three times over, less.
size_t LengthFor(WipeScheme scheme) {
  return scheme == WipeScheme::GutmannScheme ? 100007 : platform::ReadBackFile::kWindow + 40000 + 7;
}

TEST_F(ReadBackTest, EveryOverwritingSchemeReadsTheWholeFileBackAndThenDeletesIt) {
  for (const Scheme& s : kOverwritingSchemes) {
    SCOPED_TRACE(static_cast<int>(s.scheme));
    const size_t length = LengthFor(s.scheme);
    std::string path = dir.MakeFile("f.bin", length, 'x');
    ReadBackMedium medium;
    WipeResult result = WipeWithScheme(path, s.scheme, s.passes, nullptr);
    EXPECT_TRUE(result.Wiped());
    EXPECT_FALSE(dir.Exists("f.bin"));
    EXPECT_EQ(medium.bytesRead, length);
  }
}

TEST_F(ReadBackTest, ABytePlacedOtherwiseOnTheMediumLeavesTheFileAndSaysSo) {
  for (const Scheme& s : kOverwritingSchemes) {
    const size_t kLength = LengthFor(s.scheme);
    // Where in the file the difference is found matters to one routine as much as to another.
    const std::vector<uint64_t> places = s.scheme == WipeScheme::OneRandomPass
                                             ? std::vector<uint64_t>{0, kLength / 2, kLength - 1}
                                             : std::vector<uint64_t>{kLength - 1};
    for (uint64_t corruptAt : places) {
      SCOPED_TRACE(std::to_string(static_cast<int>(s.scheme)) + " at " + std::to_string(corruptAt));
      std::string path = dir.MakeFile("f.bin", kLength, 'x');
      ReadBackMedium medium;
      medium.corruptAt = corruptAt;
      WipeResult result = WipeWithScheme(path, s.scheme, s.passes, nullptr);
      EXPECT_FALSE(result.gone);
      EXPECT_EQ(FileOutcomeText(result), "Not wiped: what was read back differs from what was written");
      ASSERT_TRUE(dir.Exists("f.bin"));
      // What stays is the overwritten file, at its length.
      std::string left = dir.Read("f.bin");
      EXPECT_EQ(left.size(), kLength);
      EXPECT_NE(left, std::string(kLength, 'x'));
    }
  }
}

TEST_F(ReadBackTest, WithoutTheOptionOrForDeleteOnlyNothingIsRead) {
  for (auto [verify, scheme] :
       {std::pair{0, WipeScheme::OneRandomPass}, std::pair{1, WipeScheme::DeleteOnly}}) {
    WipeOptions.OpVerify = static_cast<int16_t>(verify);
    std::string path = dir.MakeFile("f.bin", 5000, 'x');
    ReadBackMedium medium;
    EXPECT_TRUE(WipeWithScheme(path, scheme, 1, nullptr).Wiped());
    EXPECT_EQ(medium.bytesRead, 0u);
  }
}

TEST(ByteDigestTest, TheSameBytesCutAnywhereGiveOneDigestAndOneChangedByteAnother) {
  std::vector<uint8_t> bytes(1000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 13);
  ByteDigest whole;
  whole.Update(bytes);
  for (size_t cut : {1u, 31u, 32u, 33u, 999u}) {
    ByteDigest pieces;
    pieces.Update(std::span(bytes).first(cut));
    pieces.Update(std::span(bytes).subspan(cut));
    EXPECT_EQ(pieces.Value(), whole.Value()) << cut;
  }
  for (size_t at : {0u, 500u, 999u}) {
    std::vector<uint8_t> changed = bytes;
    changed[at] ^= 1;
    ByteDigest other;
    other.Update(changed);
    EXPECT_NE(other.Value(), whole.Value()) << at;
  }
  ByteDigest shorter;
  shorter.Update(std::span(bytes).first(999));
  EXPECT_NE(shorter.Value(), whole.Value());
}

class JobReadBackTest : public ::testing::Test {
 protected:
  void SetUp() override { ui::Application::Get().Reset(); }
  void TearDown() override {
    ui::Application::Get().Reset();
    WipeOptions = {};
  }
  test::SettingsSandbox settings;
  test::TestDir dir;
  test::FakeTime time;
};

TEST_F(JobReadBackTest, TheStoredOptionMakesTheFileJobReadBackAndKeepAFileThatDiffers) {
  SaveSetting("OpVerify", "1");
  FilePath = dir.MakeFile("a.txt", "secret");
  fFiles dialog;
  dialog.Show();
  ReadBackMedium medium;
  medium.corruptAt = 3;
  dialog.cmdYes.UserClick();
  EXPECT_EQ(dialog.lblscheme.Caption(), "Not wiped: what was read back differs from what was written");
  EXPECT_TRUE(dir.Exists("a.txt"));
}

#ifndef _WIN32
// The stand-in's drive answers the seek-penalty question as a test says; by default its query fails.
TEST_F(JobReadBackTest, TheFileJobAddsTheStorageNoteOnlyWhereOlderCopiesMaySurvive) {
  struct Case {
    const char* what;
    std::optional<bool> seekPenalty;
    uint32_t attributes;
    bool note;
  };
  const Case cases[] = {
      {"a solid-state drive", false, 0, true},
      {"a spinning disk", true, 0, false},
      {"a drive that cannot be asked", std::nullopt, 0, false},
      {"a compressed file on a spinning disk", true, platform::kAttrCompressed, true},
      {"an encrypted file where the drive cannot be asked", std::nullopt, platform::kAttrEncrypted, true},
      {"a sparse file", true, platform::kAttrSparse, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ui::Application::Get().Reset();
    platform::posix::SetDriveSeekPenalty(dir.Root()[0], c.seekPenalty);
    FilePath = dir.MakeFile("a.txt", "secret");
    platform::posix::SetExtraAttributes(FilePath, c.attributes);
    fFiles dialog;
    dialog.Show();
    const int height = dialog.Height();
    dialog.cmdYes.UserClick();
    EXPECT_FALSE(dir.Exists("a.txt"));
    platform::posix::SetExtraAttributes(FilePath, 0);
    const std::string done = c.note ? std::string("Done\r\n") + kStorageNoteText : "Done";
    EXPECT_EQ(dialog.lblscheme.Caption(), done);
    // The note's lines fit: the view grows, and what is below the status moves down with it.
    EXPECT_EQ(dialog.Height() > height, c.note);
    EXPECT_GE(dialog.lblOptions.Top(), dialog.lblscheme.Top() + dialog.lblscheme.Height());
    EXPECT_LE(dialog.Command6.Top() + dialog.Command6.Height(), dialog.Frame2.Height());
  }
}

TEST_F(JobReadBackTest, DeleteOnlyOverwritesNothingAndSoNeedsNoNote) {
  SaveSetting("OpMethod", "4");
  platform::posix::SetDriveSeekPenalty(dir.Root()[0], false);
  FilePath = dir.MakeFile("a.txt", "secret");
  fFiles dialog;
  dialog.Show();
  dialog.cmdYes.UserClick();
  EXPECT_EQ(dialog.lblscheme.Caption(), "Done");
}
#endif

}  // namespace
}  // namespace nullora
