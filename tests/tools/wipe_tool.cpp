// Wipes one file with one scheme, for the shell tests that look for the file's bytes on the raw medium
// afterwards. The exit status says whether the routine reports the file wiped.
//
//   nullora_wipe_tool <scheme 0-4> <path> [passes]
//
// The path is in Windows form ("T:\secret.txt"). The workbench build also takes a host path ("/mnt/a"):
// its folder becomes drive H: of the stand-in, the way Wine's dosdevices would show it.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/dod_wipe.h"
#include "engine/gutmann.h"
#include "engine/pass_wipe.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "shared/records.h"
#ifndef _WIN32
#include "platform/posix/posix_stand_in.h"
#endif

namespace {

int Usage() {
  std::fprintf(stderr, "usage: nullora_wipe_tool <scheme 0-4> <path> [passes]\n");
  return 2;
}

std::string ToWipePath(const std::string& path) {
#ifndef _WIN32
  if (!path.empty() && path.front() == '/') {
    const size_t slash = path.find_last_of('/');
    nullora::platform::posix::MapDrive('H', slash == 0 ? "/" : path.substr(0, slash));
    return "H:\\" + path.substr(slash + 1);
  }
#endif
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) return Usage();
  const std::string scheme = argv[1];
  if (scheme.size() != 1 || scheme[0] < '0' || scheme[0] > '4') return Usage();
  // One DoD cycle is already four sweeps; the tests stay fast with it.
  const int passes = argc == 4 ? std::atoi(argv[3]) : 1;
  if (passes < 0) return Usage();
  const std::string path = ToWipePath(argv[2]);

  // The routines pause between passes for the user's eye; nobody watches here.
  nullora::platform::VirtualClock clock;
  nullora::platform::ScopedClock useClock(clock);
  nullora::WipeOptions.OpMethod = scheme;
  nullora::WipeOptions.OpPasses = static_cast<int16_t>(passes);
  // The random rename is part of every product wipe: keep it in the path under test.
  nullora::WipeOptions.OpRename = 1;

  nullora::WipeResult result;
  switch (scheme[0]) {
    case '0':
      result = nullora::PassWipeFile(path, 1, nullptr, nullptr);
      break;
    case '1':
      result = nullora::DodWipeFile(path, passes, nullptr, nullptr);
      break;
    case '2':
      result = nullora::Gutmann().SecureFileDelete(path);
      break;
    case '3':
      result = nullora::PassWipeFile(path, passes, nullptr, nullptr);
      break;
    default:
      result = nullora::PassWipeFile(path, 0, nullptr, nullptr);
      break;
  }
  if (!result.Wiped()) {
    std::fprintf(stderr, "not wiped (gone: %d, overwritten: %d): %s\n", result.gone, result.overwritten,
                 nullora::platform::Describe(result.error));
    return 1;
  }
  std::printf("wiped %s\n", argv[2]);
  return 0;
}
