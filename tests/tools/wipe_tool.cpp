// Wipes one file with one scheme, or the free space of a drive, for the shell tests that look for the
// bytes on the raw medium afterwards. The exit status says whether the routine reports the work done.
//
//   nullora_wipe_tool <scheme 0-4> <path> [passes]
//   nullora_wipe_tool freespace <drive> <passes>
//
// The path is in Windows form ("T:\secret.txt"), the drive a root ("S:\"). The workbench build also
// takes host paths ("/mnt/a"): a file's folder becomes drive H: of the stand-in, the way Wine's
// dosdevices would show it, and a directory whose free space is wanted becomes drive F:.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/dod_wipe.h"
#include "engine/gutmann.h"
#include "engine/pass_wipe.h"
#include "jobs/job_status.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "shared/records.h"
#ifndef _WIN32
#include "platform/posix/posix_stand_in.h"
#endif

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: nullora_wipe_tool <scheme 0-4> <path> [passes]\n"
               "       nullora_wipe_tool freespace <drive> <passes>\n");
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

std::string ToDriveRoot(const std::string& drive) {
#ifndef _WIN32
  if (!drive.empty() && drive.front() == '/') {
    nullora::platform::posix::MapDrive('F', drive);
    return "F:\\";
  }
#endif
  return drive.substr(0, 2) + "\\";
}

// What the drive job does after "Yes": the free space measured, then filled and given back per pass.
int WipeFreeSpace(const std::string& drive, int passes) {
  const std::string root = ToDriveRoot(drive);
  nullora::platform::DiskSpace space;
  if (nullora::platform::IoError error = nullora::platform::GetDiskFreeSpace(root, &space);
      error != nullora::platform::IoError::None) {
    std::fprintf(stderr, "no free space to read on %s: %s\n", root.c_str(),
                 nullora::FailureReason(error).c_str());
    return 1;
  }
  const nullora::FreeSpaceResult result = nullora::Gutmann().SecureFreeSpaceWipe(
      root.substr(0, 1), static_cast<int64_t>(space.totalFree), passes);
  // The fill file, and the small ones that take what the file system's bookkeeping leaves free.
  std::vector<nullora::platform::DirEntry> fillFilesLeft;
  nullora::platform::ListDirectory(root + "WNXTEMP.*", &fillFilesLeft);
  std::printf("%s: %llu bytes free, %llu written by the last pass%s\n", root.c_str(),
              static_cast<unsigned long long>(space.totalFree),
              static_cast<unsigned long long>(result.bytesWritten),
              result.filledEarly ? " (the drive filled up before the last step)" : "");
  if (!result.completed) {
    std::fprintf(stderr, "not completed: %s\n", nullora::FailureReason(result.error).c_str());
    return 1;
  }
  for (const nullora::platform::DirEntry& left : fillFilesLeft) {
    std::fprintf(stderr, "the fill file %s%s was left behind\n", root.c_str(), left.name.c_str());
  }
  if (!fillFilesLeft.empty()) return 1;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::string(argv[1]) == "freespace") {
    if (argc != 4) return Usage();
    const int passes = std::atoi(argv[3]);
    if (passes < 1) return Usage();
    nullora::platform::VirtualClock clock;
    nullora::platform::ScopedClock useClock(clock);
    return WipeFreeSpace(argv[2], passes);
  }
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
      result = nullora::PassWipeFile(path, 1, nullptr);
      break;
    case '1':
      result = nullora::DodWipeFile(path, passes, nullptr);
      break;
    case '2':
      result = nullora::Gutmann().SecureFileDelete(path);
      break;
    case '3':
      result = nullora::PassWipeFile(path, passes, nullptr);
      break;
    default:
      result = nullora::PassWipeFile(path, 0, nullptr);
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
