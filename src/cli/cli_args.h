// The command line of the console program: its commands and options, and what is bad usage.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/wipe_scheme.h"

namespace nullora::cli {

enum class Command { Help, Version, Wipe, FreeSpace, RecycleBin, Clean, List };

struct Request {
  Command command = Command::Help;
  std::optional<WipeScheme> scheme;
  std::optional<int> passes;  // 1 to 32767
  bool rename = false;
  bool verify = false;
  bool recursive = false;
  bool quiet = false;
  bool preview = false;
  std::vector<std::string> operands;  // the paths, the drive or the item ids
};

// A request, or the one line that says what is wrong with the command line.
struct Parsed {
  std::optional<Request> request;
  std::string problem;
};

// `arguments` without the program's name.
Parsed ParseArguments(const std::vector<std::string>& arguments);

// The whole of --help.
std::string UsageText();

}  // namespace nullora::cli
