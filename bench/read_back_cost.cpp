// What "Verify after wiping" costs: One Random Pass with the read-back against the same wipe without it,
// on files that are on the medium and not in the page cache, so that the read-back reads the disk.
//
//   read_back_cost [directory] [file MiB] [repeats]
//
// The read-back drops the file's pages from the cache before it reads (as an unbuffered read does on
// Windows), so the reads cost what they would for a file larger than memory; the file written before each
// run is dropped from the cache too, so both wipes start from the same state. Use a directory on a real
// disk: on tmpfs memory is the medium.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/pass_wipe.h"
#include "platform/clock.h"
#include "platform/posix/posix_stand_in.h"
#include "shared/records.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint64_t kMiB = 1024 * 1024;
constexpr long kTmpfsMagic = 0x01021994;

[[noreturn]] void Die(const std::string& what) {
  std::perror(what.c_str());
  std::exit(1);
}

// A file of `bytes` on the medium, none of it left in the cache.
void CreateFile(const std::string& path, uint64_t bytes) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) Die("create " + path);
  std::vector<uint8_t> block(kMiB, 'x');
  for (uint64_t offset = 0; offset < bytes; offset += block.size()) {
    if (pwrite(fd, block.data(), block.size(), static_cast<off_t>(offset)) !=
        static_cast<ssize_t>(block.size()))
      Die("write");
  }
  if (fsync(fd) != 0) Die("fsync");
  posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  close(fd);
}

double TimedWipe(const std::string& host, const std::string& path, uint64_t bytes, bool verify) {
  CreateFile(host, bytes);
  nullora::WipeOptions.OpVerify = verify ? 1 : 0;
  auto start = Clock::now();
  nullora::WipeResult result = nullora::PassWipeFile(path, 1, nullptr);
  double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (!result.Wiped()) {
    std::fprintf(stderr, "the wipe did not complete\n");
    std::exit(1);
  }
  return seconds;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string dir = argc > 1 ? argv[1] : "/var/tmp";
  const uint64_t mib = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1024;
  const int repeats = argc > 3 ? std::atoi(argv[3]) : 5;
  if (mib == 0 || repeats <= 0) {
    std::fprintf(stderr, "usage: read_back_cost [directory] [file MiB] [repeats]\n");
    return 2;
  }
  struct statfs fs {};
  if (statfs(dir.c_str(), &fs) == 0 && static_cast<long>(fs.f_type) == kTmpfsMagic) {
    std::fprintf(stderr, "warning: %s is tmpfs; the read-back then reads memory, not a disk\n", dir.c_str());
  }
  nullora::platform::posix::MapDrive('B', dir);
  const std::string path = "B:\\read_back.dat";
  const std::string host = dir + "/read_back.dat";
  // The pauses between passes cost nothing: only the medium's time is measured.
  nullora::platform::VirtualClock clock;
  nullora::platform::ScopedClock useClock(clock);

  std::vector<double> plain, verified, ratios;
  for (int run = 0; run < repeats; ++run) {
    // The two take turns at going first.
    double a = 0, b = 0;
    if (run % 2 == 0) {
      a = TimedWipe(host, path, mib * kMiB, false);
      b = TimedWipe(host, path, mib * kMiB, true);
    } else {
      b = TimedWipe(host, path, mib * kMiB, true);
      a = TimedWipe(host, path, mib * kMiB, false);
    }
    plain.push_back(a);
    verified.push_back(b);
    ratios.push_back(b / a);
    std::printf("run %d: one pass %.2f s, with read-back %.2f s, ratio %.2f\n", run + 1, a, b, b / a);
  }
  std::printf(
      "%llu MiB, %d runs: one pass %.0f MiB/s, with read-back %.0f MiB/s (medians); ratio median %.2f, "
      "max %.2f\n",
      static_cast<unsigned long long>(mib), repeats, static_cast<double>(mib) / Median(plain),
      static_cast<double>(mib) / Median(verified), Median(ratios),
      *std::max_element(ratios.begin(), ratios.end()));
  return 0;
}
