// The console program's commands, written to an injectable console so that they run the same in a test.
#pragma once

#include <string>
#include <vector>

namespace nullora::cli {

enum class Stream { Out, Err };

class Console {
 public:
  virtual ~Console() = default;
  // UTF-8 text, written as it comes.
  virtual void Write(Stream stream, const std::string& text) = 0;
  // Whether the error stream is a console someone watches: only then does progress go there.
  virtual bool ShowsProgress() const = 0;
  // Whether the user asked to stop (Ctrl+C).
  virtual bool Interrupted() const = 0;
};

// What became of one target (a path, a drive, the bin, the clean).
enum class Outcome {
  Done,     // all of it
  Left,     // something is still there, and its line says why
  Refused,  // missing, or refused before anything was done
};

inline constexpr int kExitDone = 0;
inline constexpr int kExitLeft = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNothingDone = 3;

// 0 when every target was done, 3 when every one was missing or refused, 1 otherwise.
int ExitCode(const std::vector<Outcome>& outcomes);

// Runs the command line (without the program's name); returns the exit code.
int Run(const std::vector<std::string>& arguments, Console& console, const std::string& version);

}  // namespace nullora::cli
