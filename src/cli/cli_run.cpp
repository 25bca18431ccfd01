#include "cli/cli_run.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <optional>

#include "app/fStart.h"
#include "app/startup_settings.h"
#include "cleaner/item_ids.h"
#include "cleaner/modClean.h"
#include "cli/cli_args.h"
#include "cli/cli_report.h"
#include "engine/gutmann.h"
#include "engine/progress_text.h"
#include "engine/scheme_wipe.h"
#include "engine/storage_note.h"
#include "engine/wipe_roots.h"
#include "jobs/fDrive.h"
#include "jobs/fFolders.h"
#include "jobs/fRecycle.h"
#include "jobs/job_status.h"
#include "platform/path_names.h"
#include "platform/platform.h"
#include "shared/records.h"
#include "shared/settings_store.h"
#include "ui/controls/form.h"
#include "ui/controls/label.h"
#include "ui/controls/progress_bar.h"
#include "ui/controls/timer.h"

namespace nullora::cli {

namespace {

using platform::IoError;

constexpr char kDeviceText[] =
    "Not wiped: it names a device or a volume, not a file or folder; nothing was touched";

// The options of the run: the user's, as the window reads them, with what the command line says over
// them, for this process only.
void TakeOptions(const Request& request, int16_t passesDefault) {
  ReadStartupSettings();
  LoadWipeOptions(passesDefault);
  if (request.scheme) WipeOptions.OpMethod = std::to_string(static_cast<int>(*request.scheme));
  if (request.passes) WipeOptions.OpPasses = static_cast<int16_t>(*request.passes);
  if (request.rename) WipeOptions.OpRename = 1;
  if (request.verify) WipeOptions.OpVerify = 1;
}

Outcome FileOutcome(const WipeResult& result) {
  // The link given was the target: it is gone, and what it pointed to was never the user's to wipe.
  if (result.Wiped() || (result.gone && result.error == IoError::IsLink)) return Outcome::Done;
  if (!result.gone && result.error == IoError::NotFound) return Outcome::Refused;
  return Outcome::Left;
}

// A folder tree, through the folder job's own walk; a line per file and per folder that stays.
Outcome WipeFolderTree(const std::string& folder, Reporter& reporter, bool& storageNote) {
  fFolders job;
  size_t done = 0;
  job.ItemDone = [&](const std::string& path, const std::string& outcome, bool left) {
    reporter.Line(path, outcome, left);
    ++done;
    reporter.Progress(folder + ": " + std::to_string(done) + " so far");
    StopIfInterrupted(reporter);
  };
  TreeTally tally;
  job.WipeTree(folder + "\\", true, tally);
  storageNote = storageNote || job.StorageNoteNeeded();
  reporter.Line(folder, TreeOutcomeText(tally), !tally.Clean());
  return tally.Clean() ? Outcome::Done : Outcome::Left;
}

Outcome WipeOne(const std::string& argument, const Request& request, Reporter& reporter, StorageNote& note,
                bool& treeNote) {
  if (argument.empty()) {
    reporter.Line("\"\"", "Not wiped: an empty path names nothing", true);
    return Outcome::Refused;
  }
  if (fStart::NamesADevice(argument)) {
    reporter.Line(argument, kDeviceText, true);
    return Outcome::Refused;
  }
  // No Windows name holds them (the ? of a \\?\ prefix aside), and the program expands none: each file
  // is named by itself.
  const size_t afterPrefix = argument.starts_with("\\\\?\\") ? 4 : 0;
  if (argument.find_first_of("*?", afterPrefix) != std::string::npos) {
    reporter.Line(argument, "Not wiped: wildcards are not expanded; name each file or folder", true);
    return Outcome::Refused;
  }
  std::string path = fStart::ResolveTarget(argument);
  std::string classified = path;
  const std::string type = fStart::ClassifyTarget(classified);
  const std::string full = platform::FullPathName(path);
  // The window takes any folder written with a final backslash for a drive (as Explorer passes drives);
  // here only a real root is one.
  if (type == "Drive" && (full.empty() || platform::IsRootPath(full))) {
    reporter.Line(classified, "Not wiped: it is a drive; free-space wipes a drive's free space", true);
    return Outcome::Refused;
  }
  while (path.size() > 1 && path.back() == '\\' && !platform::IsRootPath(path)) path.pop_back();

  const std::optional<WipeScheme> scheme = SchemeFromText(WipeOptions.OpMethod);
  if (!scheme) {
    reporter.Line(path, NoSchemeText(), true);
    return Outcome::Refused;
  }
  const std::optional<platform::FileInfo> info = platform::QueryFileInfo(path);
  if (info && info->isDirectory && !info->isLink) {
    if (!request.recursive) {
      reporter.Line(path, "Not wiped: it is a folder; --recursive wipes it with everything below it", true);
      return Outcome::Refused;
    }
    // The window asks before it wipes a folder; a script asks nobody, and a mistyped or empty variable
    // must not take the user's Documents or the Windows folder with it: those, and the folders above
    // them, are wiped only by naming what is in them.
    if (std::optional<std::string> why = WipeRootRefusal(path)) {
      reporter.Line(path, "Not wiped: " + *why + ", which is not wiped whole; name what is in it", true);
      return Outcome::Refused;
    }
    return WipeFolderTree(path, reporter, treeNote);
  }
  // A file, or a link of any kind, which the routine removes as itself.
  ReporterProgress progress(reporter, path);
  const WipeResult result = WipeWithScheme(path, *scheme, WipeOptions.OpPasses, &progress);
  note.Wiped(path, *scheme, result);
  const Outcome outcome = FileOutcome(result);
  reporter.Line(path, FileOutcomeText(result), outcome != Outcome::Done);
  return outcome;
}

int RunWipe(const Request& request, Reporter& reporter) {
  TakeOptions(request, 7);
  std::vector<Outcome> outcomes;
  StorageNote note;
  bool treeNote = false;
  for (const std::string& argument : request.operands) {
    StopIfInterrupted(reporter);
    outcomes.push_back(WipeOne(argument, request, reporter, note, treeNote));
  }
  if (note.Needed() || treeNote) reporter.Note(kStorageNoteText);
  return ExitCode(outcomes);
}

int RunFreeSpace(const Request& request, Reporter& reporter) {
  TakeOptions(request, 1);
  const std::string& argument = request.operands[0];
  if (fStart::NamesADevice(argument)) {
    reporter.Line(argument, kDeviceText, true);
    return kExitNothingDone;
  }
  const std::string full = platform::FullPathName(fStart::ResolveTarget(argument));
  const bool lettered =
      full.size() == 3 && std::isalpha(static_cast<unsigned char>(full[0])) && full[1] == ':';
  if (!lettered || !platform::IsRootPath(full)) {
    reporter.Line(full.empty() ? argument : full,
                  "Not wiped: free space is wiped on a drive with a letter, such as C:", true);
    return kExitNothingDone;
  }
  const std::string root(1, static_cast<char>(std::toupper(static_cast<unsigned char>(full[0]))));
  const std::string drive = root + ":\\";
  if (platform::GetDriveType(drive) <= 1) {
    reporter.Line(drive, "Not wiped: there is no such drive", true);
    return kExitNothingDone;
  }
  platform::DiskSpace space;
  if (platform::GetDiskFreeSpace(drive, &space) != IoError::None) {
    reporter.Line(drive, "Not wiped: the free space of the drive could not be read", true);
    return kExitNothingDone;
  }
  const int64_t freeBytes = static_cast<int64_t>(space.totalFree);
  const int passes = fDrive::FillPasses();
  ReporterProgress progress(reporter, drive);
  Gutmann gutmann;
  gutmann.progress = &progress;
  gutmann.Progress = [&](uint8_t, uint8_t pass) { progress.Status(OverwritingText(pass, passes)); };
  gutmann.progressDisk = [&](uint8_t percent) {
    progress.SetMax(100);
    progress.SetValue(percent);
  };
  const FreeSpaceResult result = gutmann.SecureFreeSpaceWipe(root, freeBytes, passes);
  StorageNote note;
  if (result.bytesWritten > 0) note.FilledFreeSpace(drive);
  if (note.Needed()) reporter.Note(kStorageNoteText);
  const std::string text = FreeSpaceOutcomeText(result, freeBytes);
  const bool done = result.completed && !result.filledInPart;
  reporter.Line(drive, text, !done);
  if (done) return kExitDone;
  return result.invalidPasses ? kExitNothingDone : kExitLeft;
}

int RunRecycleBin(const Request& request, Reporter& reporter) {
  TakeOptions(request, 1);
  if (IsRecycleBinEmpty()) {
    reporter.Line("Recycle Bin", "Done: the Recycle Bin is empty", false);
    return kExitDone;
  }
  fRecycle job;
  size_t done = 0;
  job.ItemDone = [&](const std::string& path, const std::string& outcome, bool left) {
    reporter.Line(path, outcome, left);
    reporter.Progress("Recycle Bin: " + std::to_string(++done) + " so far");
    StopIfInterrupted(reporter);
  };
  job.WipeRecycleBin();
  if (job.StorageNoteNeeded()) reporter.Note(kStorageNoteText);
  const std::string& outcome = job.FinalStatus();
  const bool clean = outcome == kStatusDone;
  reporter.Line("Recycle Bin", outcome, !clean);
  return clean ? kExitDone : kExitLeft;
}

int RunClean(const Request& request, Reporter& reporter) {
  std::vector<const CleanItemId*> items;
  for (const std::string& id : request.operands) {
    const CleanItemId* item = FindCleanItemId(id);
    if (!item) {
      reporter.Note("nullora-cli: unknown item: " + id +
                    " (nullora-cli list shows them); see nullora-cli --help");
      return kExitUsage;
    }
    items.push_back(item);
  }
  TakeOptions(request, 7);
  if (!items.empty()) SelectOnlyCleanItems(items);

  // The cleaner reports into the main window's controls; here they are there only to be written to.
  ui::Form form("nullora-cli");
  ui::ProgressBar bar1(form, nullptr, "ProgressBar1"), bar2(form, nullptr, "ProgressBar2");
  ui::Label label1(form, nullptr, "LblProgress"), label2(form, nullptr, "lblProgress2");
  ui::Label label3(form, nullptr, "lblProgress3");
  CleanView view{bar1, label1, bar2, label2, label3, nullptr};
  // The run lets timers run between its steps: there it shows how far it is, and a Ctrl+C stops it at
  // the next file, as the window's Stop does.
  ui::Timer watch(form, "watch");
  watch.SetInterval(100);
  watch.OnTimer = [&] {
    if (reporter.Interrupted()) StopCleanRun();
    reporter.Progress(label1.Caption() + (label3.Caption().empty() ? "" : ": " + label3.Caption()));
  };
  form.Load();
  watch.SetEnabled(true);
  const CleanRunResult run = request.preview ? PreviewClean(view) : nullora::RunClean(false, view);
  watch.SetEnabled(false);
  form.Unload();

  if (run.items.empty() && !run.stopped) {
    reporter.Note(
        "No item is ticked in Nullora's settings: nothing was cleaned. Name the items to clean "
        "(nullora-cli list shows them).");
    return kExitDone;
  }
  const std::vector<std::string> lines = CleanReportLines(run, request.preview);
  bool anyLeft = run.stopped;
  for (size_t i = 0; i < run.items.size() && i < lines.size(); ++i) {
    const bool left = run.items[i].second.state != CleanItemResult::State::Done;
    anyLeft = anyLeft || left;
    reporter.Text(lines[i], left);
  }
  if (lines.size() > run.items.size()) reporter.Text(lines.back(), false);
  // A preview did all it was asked: it counted.
  if (request.preview) return kExitDone;
  return anyLeft ? kExitLeft : kExitDone;
}

}  // namespace

int ExitCode(const std::vector<Outcome>& outcomes) {
  const auto is = [&](Outcome wanted) {
    return std::all_of(outcomes.begin(), outcomes.end(), [&](Outcome outcome) { return outcome == wanted; });
  };
  if (is(Outcome::Done)) return kExitDone;
  if (is(Outcome::Refused)) return kExitNothingDone;
  return kExitLeft;
}

int Run(const std::vector<std::string>& arguments, Console& console, const std::string& version) {
  const Parsed parsed = ParseArguments(arguments);
  if (!parsed.request) {
    console.Write(Stream::Err, "nullora-cli: " + parsed.problem + "; see nullora-cli --help\n");
    return kExitUsage;
  }
  const Request& request = *parsed.request;
  Reporter reporter(console, request.quiet);
  switch (request.command) {
    case Command::Help:
      console.Write(Stream::Out, UsageText());
      return kExitDone;
    case Command::Version:
      console.Write(Stream::Out, "nullora-cli " + version + "\n");
      return kExitDone;
    case Command::List:
      for (const CleanItemId& item : CleanItemIds()) reporter.Line(item.id, item.caption, false);
      return kExitDone;
    case Command::Wipe:
      return RunWipe(request, reporter);
    case Command::FreeSpace:
      return RunFreeSpace(request, reporter);
    case Command::RecycleBin:
      return RunRecycleBin(request, reporter);
    case Command::Clean:
      return RunClean(request, reporter);
  }
  return kExitUsage;
}

}  // namespace nullora::cli
