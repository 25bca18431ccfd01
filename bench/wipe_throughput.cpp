// How fast the wipe routines write, against the fastest the medium allows for the same work: plain
// pwrite/fsync of the same bytes, in the same block sizes, with the same flushes. A routine close to 1.0
// of its raw write spends its time on the medium, not in the random generator or the layers above.
//
//   wipe_throughput [directory] [file MiB] [repeats]
//
// The directory should be on a real disk (the default is a new directory under /var/tmp); on tmpfs an
// fsync costs nothing and the comparison says little.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "engine/dod_wipe.h"
#include "engine/gutmann.h"
#include "engine/gutmann_patterns.h"
#include "engine/pass_wipe.h"
#include "engine/random.h"
#include "platform/clock.h"
#include "platform/posix/posix_stand_in.h"
#include "shared/records.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint64_t kMiB = 1024 * 1024;
constexpr long kTmpfsMagic = 0x01021994;
// The Gutmann scheme writes each pass three times over (one value per section and block); a smaller
// file keeps its 35 passes to seconds.
constexpr uint64_t kGutmannFileMiB = 32;

[[noreturn]] void Die(const std::string& what) {
  std::perror(what.c_str());
  std::exit(1);
}

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A file of `bytes` that is really on the medium (not sparse, not dirty in the cache), so every run
// overwrites allocated blocks.
void CreateFile(const std::string& path, uint64_t bytes) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) Die("create " + path);
  std::vector<uint8_t> block(kMiB, 'x');
  for (uint64_t offset = 0; offset < bytes; offset += block.size()) {
    size_t length = static_cast<size_t>(std::min<uint64_t>(block.size(), bytes - offset));
    if (pwrite(fd, block.data(), length, static_cast<off_t>(offset)) != static_cast<ssize_t>(length))
      Die("write");
  }
  if (fsync(fd) != 0) Die("fsync");
  close(fd);
}

class RawFile {
 public:
  explicit RawFile(const std::string& path) : fd_(open(path.c_str(), O_WRONLY)) {
    if (fd_ < 0) Die("open " + path);
  }
  ~RawFile() { close(fd_); }
  RawFile(const RawFile&) = delete;
  RawFile& operator=(const RawFile&) = delete;

  void Write(uint64_t offset, const uint8_t* data, size_t length) {
    if (pwrite(fd_, data, length, static_cast<off_t>(offset)) != static_cast<ssize_t>(length)) Die("pwrite");
  }
  void Sync() {
    if (fsync(fd_) != 0) Die("fsync");
  }
  void Truncate() {
    if (ftruncate(fd_, 0) != 0) Die("ftruncate");
  }

 private:
  int fd_;
};

// One sweep of `block`-byte writes from a buffer that already holds the bytes, and the rest.
void RawSweep(RawFile& file, uint64_t length, const std::vector<uint8_t>& buffer, size_t block) {
  uint64_t offset = 0;
  for (; offset + block <= length; offset += block) file.Write(offset, buffer.data(), block);
  if (offset < length) file.Write(offset, buffer.data(), static_cast<size_t>(length - offset));
  file.Sync();
}

// The raw counterpart of PassWipeFile: 16384-byte blocks of "0"/"1" characters, a flush per pass. The
// characters are drawn beforehand, and differ from block to block as the routine's do, so that a medium
// that notices repeated blocks cannot favour the raw write.
void RawPasses(const std::string& path, uint64_t length, int passes, const std::vector<uint8_t>& content) {
  RawFile file(path);
  for (int pass = 0; pass < passes; ++pass) {
    uint64_t offset = 0;
    for (; offset + nullora::kPassBlockSize <= length; offset += nullora::kPassBlockSize) {
      file.Write(offset, content.data() + offset, nullora::kPassBlockSize);
    }
    if (offset < length) file.Write(offset, content.data() + offset, static_cast<size_t>(length - offset));
    file.Sync();
  }
}

// The raw counterpart of DodWipeFile: 32768-byte blocks, three fixed sweeps and one random one per
// cycle, a flush per sweep.
void RawDod(const std::string& path, uint64_t length, int cycles) {
  std::vector<uint8_t> buffer(nullora::kDodBlockSize);
  RawFile file(path);
  for (int cycle = 0; cycle < cycles; ++cycle) {
    for (uint8_t value : {0x00, 0xFF, 0xFF}) {
      std::fill(buffer.begin(), buffer.end(), value);
      RawSweep(file, length, buffer, nullora::kDodBlockSize);
    }
  }
  for (int cycle = 0; cycle < cycles; ++cycle) {
    std::fill(buffer.begin(), buffer.end(), static_cast<uint8_t>(0x5A + cycle));
    RawSweep(file, length, buffer, nullora::kDodBlockSize);
  }
}

// The raw counterpart of Gutmann::SecureFileDelete: per pass the file opened alone, five sections each
// written with three values in 1 MiB writes, a flush after each; then truncated and flushed.
void RawGutmann(const std::string& path, uint64_t length) {
  std::vector<uint8_t> buffer(static_cast<size_t>(std::min<uint64_t>(length, kMiB)));
  for (int pass = 1; pass <= nullora::kGutmannPasses; ++pass) {
    RawFile file(path);
    for (int k = 1; k <= 5; ++k) {
      const uint64_t begin = length * (k - 1) / 5;
      const uint64_t end = length * k / 5;
      for (int value = 0; value < 3; ++value) {
        std::fill(buffer.begin(), buffer.end(), static_cast<uint8_t>(pass * 3 + value));
        for (uint64_t offset = begin; offset < end;) {
          size_t chunk = static_cast<size_t>(std::min<uint64_t>(end - offset, buffer.size()));
          file.Write(offset, buffer.data(), chunk);
          offset += chunk;
        }
        file.Sync();
      }
    }
  }
  RawFile file(path);
  file.Truncate();
  file.Sync();
}

struct Measure {
  double routineSeconds = 0;
  double rawSeconds = 0;
};

// Times `routine` and `raw` on fresh files of `fileBytes`, taking turns at going first, and keeps the
// best of each: the medium's own noise only ever slows a run down.
Measure Compare(const std::string& hostPath, uint64_t fileBytes, int repeats,
                const std::function<bool()>& routine, const std::function<void()>& raw) {
  Measure best{1e300, 1e300};
  auto timeRoutine = [&] {
    CreateFile(hostPath, fileBytes);
    auto start = Clock::now();
    if (!routine()) {
      std::fprintf(stderr, "the routine did not wipe the file\n");
      std::exit(1);
    }
    best.routineSeconds = std::min(best.routineSeconds, Seconds(start));
  };
  auto timeRaw = [&] {
    CreateFile(hostPath, fileBytes);
    auto start = Clock::now();
    raw();
    if (unlink(hostPath.c_str()) != 0) Die("unlink");
    best.rawSeconds = std::min(best.rawSeconds, Seconds(start));
  };
  for (int run = 0; run < repeats; ++run) {
    if (run % 2 == 0) {
      timeRoutine();
      timeRaw();
    } else {
      timeRaw();
      timeRoutine();
    }
  }
  return best;
}

double ShredSeconds(const std::string& hostPath, uint64_t fileBytes, int repeats) {
  double best = 1e300;
  for (int run = 0; run < repeats; ++run) {
    CreateFile(hostPath, fileBytes);
    auto start = Clock::now();
    pid_t child = fork();
    if (child < 0) Die("fork");
    if (child == 0) {
      execlp("shred", "shred", "-n", "3", hostPath.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::fprintf(stderr, "shred -n 3 failed (is GNU coreutils installed?)\n");
      return -1;
    }
    if (unlink(hostPath.c_str()) != 0) Die("unlink");
    best = std::min(best, Seconds(start));
  }
  return best;
}

double MiBps(uint64_t bytes, double seconds) {
  return static_cast<double>(bytes) / kMiB / seconds;
}

void Row(const char* name, uint64_t written, const Measure& m) {
  const double routine = MiBps(written, m.routineSeconds);
  const double raw = MiBps(written, m.rawSeconds);
  std::printf("%-34s %9.0f %8.2f %9.1f %9.1f %7.2f\n", name, static_cast<double>(written) / kMiB,
              m.routineSeconds, routine, raw, routine / raw);
}

}  // namespace

int main(int argc, char** argv) {
  std::string dir;
  if (argc > 1) {
    dir = argv[1];
  } else {
    char pattern[] = "/var/tmp/nullora-bench.XXXXXX";
    if (!mkdtemp(pattern)) Die("mkdtemp");
    dir = pattern;
  }
  const uint64_t fileMiB = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 256;
  const int repeats = argc > 3 ? std::atoi(argv[3]) : 3;
  if (fileMiB == 0 || repeats <= 0) {
    std::fprintf(stderr, "usage: wipe_throughput [directory] [file MiB] [repeats]\n");
    return 2;
  }
  const uint64_t fileBytes = fileMiB * kMiB;
  const uint64_t gutmannBytes = std::min(fileMiB, kGutmannFileMiB) * kMiB;

  struct statfs fs {};
  if (statfs(dir.c_str(), &fs) != 0) Die("statfs " + dir);
  if (fs.f_type == kTmpfsMagic)
    std::fprintf(stderr, "warning: %s is tmpfs; fsync costs nothing there\n", dir.c_str());

  // The routines see the directory as drive B:, as they would see any drive.
  nullora::platform::posix::MapDrive('B', dir);
  const std::string wipePath = "B:\\bench.dat";
  const std::string hostPath = dir + "/bench.dat";

  // The pauses between passes are for the user's eye; they are not what is measured here.
  nullora::platform::VirtualClock clock;
  nullora::platform::ScopedClock useClock(clock);
  nullora::WipeOptions.OpRename = 0;
  nullora::SeedGenerator(1);

  std::printf("directory %s, file %llu MiB (Gutmann: %llu MiB), best of %d runs\n\n", dir.c_str(),
              static_cast<unsigned long long>(fileMiB), static_cast<unsigned long long>(gutmannBytes / kMiB),
              repeats);

  // The random characters alone, as the multi-pass wipe draws them, in its block size.
  {
    std::vector<uint8_t> block(nullora::kPassBlockSize);
    auto start = Clock::now();
    for (uint64_t done = 0; done < fileBytes; done += block.size()) nullora::FillRandomBitChars(block);
    const double seconds = Seconds(start);
    std::printf("random generation alone (FillRandomBitChars, %llu MiB): %.1f MiB/s\n\n",
                static_cast<unsigned long long>(fileMiB), MiBps(fileBytes, seconds));
  }

  std::printf("%-34s %9s %8s %9s %9s %7s\n", "routine", "MiB", "seconds", "MiB/s", "raw MiB/s", "ratio");
  std::vector<uint8_t> passContent(static_cast<size_t>(fileBytes));
  nullora::FillRandomBitChars(passContent);
  const Measure pass = Compare(
      hostPath, fileBytes, repeats, [&] { return nullora::PassWipeFile(wipePath, 3, nullptr).Wiped(); },
      [&] { RawPasses(hostPath, fileBytes, 3, passContent); });
  Row("PassWipeFile, 3 passes", 3 * fileBytes, pass);

  const Measure dod = Compare(
      hostPath, fileBytes, repeats, [&] { return nullora::DodWipeFile(wipePath, 1, nullptr).Wiped(); },
      [&] { RawDod(hostPath, fileBytes, 1); });
  Row("DodWipeFile, 1 cycle (4 sweeps)", 4 * fileBytes, dod);

  const Measure gutmann = Compare(
      hostPath, gutmannBytes, repeats, [&] { return nullora::Gutmann().SecureFileDelete(wipePath).Wiped(); },
      [&] { RawGutmann(hostPath, gutmannBytes); });
  char gutmannName[64];
  std::snprintf(gutmannName, sizeof gutmannName, "Gutmann, 35 passes (%llu MiB file)",
                static_cast<unsigned long long>(gutmannBytes / kMiB));
  // Each pass writes every section once per value: three times the file.
  Row(gutmannName, 3 * nullora::kGutmannPasses * gutmannBytes, gutmann);
  std::printf("%-34s %.3f s per pass of the %llu MiB file (raw %.3f s)\n", "", gutmann.routineSeconds / 35,
              static_cast<unsigned long long>(gutmannBytes / kMiB), gutmann.rawSeconds / 35);

  const double shred = ShredSeconds(hostPath, fileBytes, repeats);
  if (shred > 0) {
    const double shredRate = MiBps(3 * fileBytes, shred);
    const double rawRate = MiBps(3 * fileBytes, pass.rawSeconds);
    std::printf("%-34s %9.0f %8.2f %9.1f %9.1f %7.2f\n", "shred -n 3 (GNU coreutils)",
                static_cast<double>(3 * fileBytes) / kMiB, shred, shredRate, rawRate, shredRate / rawRate);
    std::printf("\nPassWipeFile 3 passes / shred -n 3: %.2f\n",
                MiBps(3 * fileBytes, pass.routineSeconds) / shredRate);
  }

  if (argc <= 1) rmdir(dir.c_str());
  return 0;
}
