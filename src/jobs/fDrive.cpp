#include "jobs/fDrive.h"

#include <algorithm>
#include <cctype>

#include "engine/progress_text.h"
#include "jobs/job_status.h"
#include "platform/platform.h"
#include "platform/widgets.h"
#include "shared/records.h"
#include "ui/controls/application.h"

namespace nullora {

namespace {

bool StartsWithDriveLetter(const std::string& path) {
  return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

std::string GroupedNumber(uint64_t value) {
  std::string digits = std::to_string(value);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<size_t>(i), ",");
  return digits;
}

std::string FreeSpaceOutcomeText(const FreeSpaceResult& result, int64_t freeBytes) {
  if (result.invalidPasses) return "Not wiped: the number of passes must be 0 to 255";
  if (!result.completed &&
      (result.error == platform::IoError::IsLink || result.error == platform::IoError::HasOtherNames ||
       result.error == platform::IoError::NotAFile)) {
    return std::string("Not wiped: ") + kFillFileName +
           " in the drive's root is a link or has other names; it was left alone and nothing was written";
  }
  if (!result.completed) return "Not wiped: " + FailureReason(result.error);
  if (result.filledInPart) {
    return "Not all wiped: the free space could be filled only in part; " + GroupedNumber(result.leftFree) +
           " bytes stayed free and were not overwritten";
  }
  if (freeBytes < 500) return "Done: less than 500 bytes were free, nothing needed overwriting";
  return kStatusDone;
}

fDrive::fDrive() : JobDialog("fDrive", "Nullora - Removing Free Space") {
  GM.progressDisk = [this](uint8_t percent) { GM_progressDisk(percent); };
  Label1.Move(840, 240, 5700, 960);
  Label2.SetTop(1260);
}

void fDrive::Form_Load() {
  // Free space lives on a drive with a letter; anything else would put the fill file nowhere sensible.
  if (!StartsWithDriveLetter(DrivePath)) {
    platform::ShowMessage("Free space can only be wiped on a drive with a letter, such as C:\\. " +
                              DrivePath + " is not one. Nothing was touched.",
                          "Nullora");
    ui::End();
  }
  const std::string root = Upper(DrivePath.substr(0, 2)) + "\\";
  if (platform::GetDriveType(root) <= 1) {
    platform::ShowMessage("There is no drive " + root + ". Nothing was touched.", "Nullora");
    ui::End();
  }
  platform::DiskSpace space;
  SpaceKnown = platform::GetDiskFreeSpace(DrivePath, &space) == platform::IoError::None;
  if (SpaceKnown) {
    TotalBytes = space.total;
    FreeBytes = static_cast<int64_t>(space.totalFree);
  }
  JobDialog::Form_Load();
}

std::string fDrive::ConfirmText() const {
  const uint64_t free = static_cast<uint64_t>(FreeBytes);
  return "Local Disk: " + DrivePath + "\r\n" + " Total Number Of Bytes: " + GroupedNumber(TotalBytes) +
         " bytes" + "\r\n" + " Total Free Bytes: " + GroupedNumber(free) + " bytes" + "\r\n" +
         " Total Space Used : " + GroupedNumber(TotalBytes >= free ? TotalBytes - free : 0) + " bytes";
}

std::string fDrive::LocationText() const {
  return "Wiping " + Upper(DrivePath) + " Free Space.";
}

int fDrive::FillPasses() {
  // Free space is filled whatever the scheme; with no pass at all nothing would be overwritten.
  return std::max<int>(WipeOptions.OpPasses, 1);
}

void fDrive::RunWipe() {
  LoadOptions();
  PrintOptions();
  // Without the figures the fill would be planned blind, and "less than 500 bytes" would be a guess.
  if (!SpaceKnown) {
    FinishJob("Not wiped: the free space of the drive could not be read");
    return;
  }
  FreeSpaceResult result = GM.SecureFreeSpaceWipe(DrivePath.substr(0, 1), FreeBytes, FillPasses());
  if (result.bytesWritten > 0) storageNote_.FilledFreeSpace(Upper(DrivePath.substr(0, 2)) + "\\");
  FinishJob(FreeSpaceOutcomeText(result, FreeBytes));
}

void fDrive::GM_Progress(uint8_t bytPassProg, uint8_t pass) {
  (void)bytPassProg;
  lblscheme.SetCaption(OverwritingText(pass, FillPasses()));
}

void fDrive::GM_progressDisk(uint8_t percent) {
  ProgressBar1.SetValue(percent);
}

}  // namespace nullora
