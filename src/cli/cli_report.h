// What the console program prints: a line per file or item on standard output, and progress on the
// error stream, only while that is a console, drawn over itself and at most a few times a second.
#pragma once

#include <cstdint>
#include <string>

#include "cli/cli_run.h"
#include "engine/progress.h"

namespace nullora::cli {

class Reporter {
 public:
  Reporter(Console& console, bool quiet) : console_(console), quiet_(quiet) {}
  ~Reporter() { ClearProgress(); }

  // "<subject>\t<outcome>"; with --quiet only what was left.
  void Line(const std::string& subject, const std::string& outcome, bool left);
  // A line as it is (the cleaner's report); with --quiet only what was left.
  void Text(const std::string& text, bool left);
  // A message on the error stream, always.
  void Note(const std::string& text);
  // Replaces the progress line, unless the last one is younger than the interval.
  void Progress(const std::string& text);
  void ClearProgress();
  bool Interrupted() const { return console_.Interrupted(); }

 private:
  void Out(const std::string& text);

  Console& console_;
  bool quiet_;
  size_t shownWidth_ = 0;  // of the progress line on the screen; 0: none
  uint64_t lastProgressMs_ = 0;
  bool anyProgress_ = false;
};

// The engine's reports on one target as a progress line: "<subject>: Overwriting ... 3 of 7, 42%".
// At Ctrl+C it ends the process through the application's end, which first removes what a wipe must
// not leave behind (a fill file).
class ReporterProgress : public WipeProgress {
 public:
  ReporterProgress(Reporter& reporter, std::string subject)
      : reporter_(reporter), subject_(std::move(subject)) {}
  void Status(const std::string& text) override;
  void SetMax(double maximum) override;
  void SetValue(double value) override;
  void Breathe() override;
  void Yield() override { Breathe(); }

 private:
  Reporter& reporter_;
  std::string subject_;
  std::string status_;
  double maximum_ = 0;
  double value_ = 0;
};

// Between two steps: at Ctrl+C, says so and ends the process (exit code 1).
void StopIfInterrupted(Reporter& reporter);

}  // namespace nullora::cli
