#include "cli/cli_report.h"

#include "platform/clock.h"
#include "ui/controls/application.h"

namespace nullora::cli {

namespace {
constexpr uint64_t kProgressIntervalMs = 250;
// A console line is 80 columns unless the user widened it: a longer line would wrap and not be drawn over.
constexpr size_t kProgressWidth = 79;
}  // namespace

void Reporter::Out(const std::string& text) {
  ClearProgress();
  console_.Write(Stream::Out, text);
}

void Reporter::Line(const std::string& subject, const std::string& outcome, bool left) {
  if (quiet_ && !left) return;
  Out(subject + "\t" + outcome + "\n");
}

void Reporter::Text(const std::string& text, bool left) {
  if (quiet_ && !left) return;
  Out(text + "\n");
}

void Reporter::Note(const std::string& text) {
  ClearProgress();
  console_.Write(Stream::Err, text + "\n");
}

void Reporter::Progress(const std::string& text) {
  if (!console_.ShowsProgress()) return;
  const uint64_t now = platform::GetClock().NowMs();
  if (anyProgress_ && now - lastProgressMs_ < kProgressIntervalMs) return;
  anyProgress_ = true;
  lastProgressMs_ = now;
  // The end of a long path says more than its beginning.
  std::string shown = text;
  if (shown.size() > kProgressWidth) {
    size_t start = shown.size() - kProgressWidth + 3;
    // Never from the middle of a character.
    while (start < shown.size() && (static_cast<unsigned char>(shown[start]) & 0xC0) == 0x80) ++start;
    shown = "..." + shown.substr(start);
  }
  const size_t width = shown.size();
  if (width < shownWidth_) shown += std::string(shownWidth_ - width, ' ');
  console_.Write(Stream::Err, "\r" + shown);
  shownWidth_ = width;
}

void Reporter::ClearProgress() {
  if (shownWidth_ == 0) return;
  console_.Write(Stream::Err, "\r" + std::string(shownWidth_, ' ') + "\r");
  shownWidth_ = 0;
}

void ReporterProgress::Status(const std::string& text) {
  status_ = text;
  Breathe();
}

void ReporterProgress::SetMax(double maximum) {
  maximum_ = maximum;
}

void ReporterProgress::SetValue(double value) {
  value_ = value;
}

void ReporterProgress::Breathe() {
  StopIfInterrupted(reporter_);
  std::string text = subject_;
  if (!status_.empty()) text += ": " + status_;
  if (maximum_ > 0) text += ", " + std::to_string(static_cast<int>(value_ * 100 / maximum_)) + "%";
  reporter_.Progress(text);
}

void StopIfInterrupted(Reporter& reporter) {
  if (!reporter.Interrupted()) return;
  reporter.Note("Stopped: Ctrl+C. What was being wiped may be partly overwritten and still there.");
  ui::Application::Get().End();
}

}  // namespace nullora::cli
