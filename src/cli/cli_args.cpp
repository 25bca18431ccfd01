#include "cli/cli_args.h"

#include <algorithm>
#include <array>
#include <utility>

namespace nullora::cli {

namespace {

struct SchemeName {
  const char* name;
  WipeScheme scheme;
  bool fixedPasses;  // --passes would change nothing: bad usage rather than silently ignored
};
constexpr SchemeName kSchemes[] = {
    {"one-pass", WipeScheme::OneRandomPass, true}, {"dod", WipeScheme::DodScheme, false},
    {"gutmann", WipeScheme::GutmannScheme, true},  {"custom", WipeScheme::CustomScheme, false},
    {"delete-only", WipeScheme::DeleteOnly, true},
};

struct CommandName {
  const char* name;
  Command command;
  std::vector<std::string> options;  // the options it takes
};
const std::array<CommandName, 5>& Commands() {
  static const std::array<CommandName, 5> commands{{
      {"wipe", Command::Wipe, {"--scheme", "--passes", "--rename", "--verify", "--recursive", "--quiet"}},
      {"free-space", Command::FreeSpace, {"--passes", "--quiet"}},
      {"recycle-bin", Command::RecycleBin, {"--quiet"}},
      {"clean", Command::Clean, {"--preview", "--quiet"}},
      {"list", Command::List, {}},
  }};
  return commands;
}

// 1 to 32767 written in plain digits; anything else is none.
std::optional<int> PassCount(const std::string& text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  const int value = std::stoi(text);
  if (value < 1 || value > 32767) return std::nullopt;
  return value;
}

Parsed Problem(std::string text) {
  return {std::nullopt, std::move(text)};
}

}  // namespace

Parsed ParseArguments(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return Problem("no command given");
  // --help wins wherever it stands: whoever wrote it wants to read, not to wipe.
  for (const std::string& argument : arguments) {
    if (argument == "--") break;
    if (argument == "--help" || argument == "-h" || argument == "/?") return {Request{}, {}};
  }
  const std::string& first = arguments[0];
  if (first == "--version") {
    if (arguments.size() > 1) return Problem("--version takes nothing after it");
    Request request;
    request.command = Command::Version;
    return {request, {}};
  }
  const CommandName* command = nullptr;
  for (const CommandName& candidate : Commands()) {
    if (first == candidate.name) command = &candidate;
  }
  if (!command) {
    if (first.starts_with("-")) return Problem("an option comes after the command: " + first);
    return Problem("unknown command: " + first);
  }

  Request request;
  request.command = command->command;
  bool optionsEnded = false;
  bool schemeGiven = false;
  for (size_t i = 1; i < arguments.size(); ++i) {
    std::string argument = arguments[i];
    if (optionsEnded || !argument.starts_with("-") || argument == "-") {
      request.operands.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    std::optional<std::string> value;
    if (size_t equals = argument.find('='); equals != std::string::npos) {
      value = argument.substr(equals + 1);
      argument.resize(equals);
    }
    const std::vector<std::string>& allowed = command->options;
    if (std::find(allowed.begin(), allowed.end(), argument) == allowed.end()) {
      const bool known = argument == "--scheme" || argument == "--passes" || argument == "--rename" ||
                         argument == "--verify" || argument == "--recursive" || argument == "--quiet" ||
                         argument == "--preview";
      return Problem(known ? std::string(command->name) + " does not take " + argument
                           : "unknown option: " + argument);
    }
    const bool takesValue = argument == "--scheme" || argument == "--passes";
    if (takesValue && !value) {
      if (i + 1 >= arguments.size()) return Problem(argument + " needs a value");
      value = arguments[++i];
    }
    if (!takesValue && value) return Problem(argument + " takes no value");
    if (argument == "--scheme") {
      const auto found = std::find_if(std::begin(kSchemes), std::end(kSchemes),
                                      [&](const SchemeName& scheme) { return *value == scheme.name; });
      if (found == std::end(kSchemes)) {
        return Problem("unknown scheme: " + *value + " (one-pass, dod, gutmann, custom or delete-only)");
      }
      request.scheme = found->scheme;
      schemeGiven = true;
    } else if (argument == "--passes") {
      request.passes = PassCount(*value);
      if (!request.passes) return Problem("--passes takes a number from 1 to 32767, not " + *value);
    } else if (argument == "--rename") {
      request.rename = true;
    } else if (argument == "--verify") {
      request.verify = true;
    } else if (argument == "--recursive") {
      request.recursive = true;
    } else if (argument == "--quiet") {
      request.quiet = true;
    } else if (argument == "--preview") {
      request.preview = true;
    }
  }
  if (schemeGiven && request.passes) {
    for (const SchemeName& scheme : kSchemes) {
      if (scheme.scheme == *request.scheme && scheme.fixedPasses) {
        return Problem(std::string("--passes does not go with --scheme ") + scheme.name +
                       ", whose number of passes is fixed");
      }
    }
  }
  switch (request.command) {
    case Command::Wipe:
      if (request.operands.empty()) return Problem("wipe needs at least one PATH");
      break;
    case Command::FreeSpace:
      if (request.operands.size() != 1) return Problem("free-space needs one DRIVE, such as C:");
      break;
    case Command::RecycleBin:
    case Command::List:
      if (!request.operands.empty()) {
        return Problem(std::string(command->name) + " takes no argument: " + request.operands[0]);
      }
      break;
    default:
      break;
  }
  return {request, {}};
}

std::string UsageText() {
  return R"(Usage: nullora-cli COMMAND [OPTION...] [ARGUMENT...]

Destroys files beyond recovery and removes the traces Windows and the web browsers keep, with the
schemes and settings of Nullora's options.

Commands:
  wipe [OPTION...] PATH...   overwrite each file and delete it; a folder with everything below it
                             only with --recursive; a drive is refused (use free-space)
      --scheme SCHEME        one-pass, dod, gutmann, custom or delete-only (default: the options')
      --passes N             passes of dod and custom, 1 to 32767 (default: the options')
      --rename               give each file a random name before deleting it
      --verify               read each file back after its last pass before deleting it
      --recursive            wipe folders and everything below them
  free-space [--passes N] DRIVE
                             overwrite the free space of DRIVE (such as C:)
  recycle-bin                wipe everything the Recycle Bin holds, then empty it
  clean [--preview] [ITEM...]
                             remove the traces of the items given, or of those ticked in Nullora;
                             --preview changes nothing and says what a clean would remove
  list                       every item id of clean, with its name
  --help                     this text
  --version                  the version

wipe, free-space, recycle-bin and clean take --quiet: only what was left or failed is printed.
Links are removed as links; what they point to is never touched. Devices are refused. Ctrl+C stops
between two steps.

Output: a line per file or item, its full path (or name), a tab and the outcome. Progress goes to the
standard error stream, and only while it is a console.

Exit codes:
  0  everything asked for was done
  1  something was left (in use, a link, other names, a running browser, a read-back mismatch, stopped);
     each is named on its line
  2  bad usage
  3  nothing could be done: every target was missing or refused
)";
}

}  // namespace nullora::cli
