// How the free-space wipe and the folder job compare with the least the system must do for the same
// result:
//   - the free-space wipe of a small file system, one pass, against a raw fill of the same free space
//     with the same flush policy (per step of the thousand, three writes of one block, each followed by
//     fsync; then the file truncated and deleted);
//   - the folder job with "Delete Only", driven head-less as after "Yes", over a tree of small files,
//     against `rm -r` of the same tree. The walk alone (ScanDir) is timed too, to show where the time
//     goes.
//
//   free_space_and_folders <file system root> [folder directory] [files] [repeats]
//
// The file system root should be a small file system of its own (64 MiB, see README.md): the fill
// takes all of its free space. The folder directory (by default a new directory under /var/tmp) should
// be on a real disk.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "engine/directory_walk.h"
#include "engine/gutmann.h"
#include "jobs/fFolders.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/posix/posix_stand_in.h"
#include "shared/records.h"
#include "shared/settings_store.h"
#include "ui/controls/application.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint64_t kMiB = 1024 * 1024;
// As the free-space wipe: the free space in a thousand steps, blocks written from at most 1 MiB.
constexpr int kSteps = 1000;
constexpr size_t kFillChunk = 1 << 20;
constexpr size_t kTreeFileBytes = 4096;
constexpr char kFillName[] = "WNXTEMP.000";

[[noreturn]] void Die(const std::string& what) {
  std::perror(what.c_str());
  std::exit(1);
}

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor time (user + system) of this process, or of its ended children.
double CpuSeconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The times of one contender over the runs. The medium's noise only ever slows a run down, so the best
// run is the fairest; the median shows how much the runs varied.
class Samples {
 public:
  // Times `work`; `who` says whose processor time it spends (RUSAGE_SELF or RUSAGE_CHILDREN).
  void Time(int who, const std::function<void()>& work) {
    const double cpuBefore = CpuSeconds(who);
    const auto start = Clock::now();
    work();
    wall_.push_back(Seconds(start));
    cpu_.push_back(CpuSeconds(who) - cpuBefore);
  }
  double Best() const { return *std::min_element(wall_.begin(), wall_.end()); }
  double Median() const { return MedianOf(wall_); }
  double Cpu() const { return MedianOf(cpu_); }

 private:
  static double MedianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
  }
  std::vector<double> wall_;
  std::vector<double> cpu_;
};

uint64_t FreeBytes(const std::string& dir) {
  struct statvfs fs {};
  if (statvfs(dir.c_str(), &fs) != 0) Die("statvfs " + dir);
  return static_cast<uint64_t>(fs.f_bfree) * fs.f_frsize;
}

uint64_t TotalBytes(const std::string& dir) {
  struct statvfs fs {};
  if (statvfs(dir.c_str(), &fs) != 0) Die("statvfs " + dir);
  return static_cast<uint64_t>(fs.f_blocks) * fs.f_frsize;
}

// Writes `length` bytes at `offset` in chunks of at most 1 MiB; false when the file system is full.
bool WriteBlock(int fd, uint64_t offset, uint64_t length, const std::vector<uint8_t>& buffer,
                uint64_t* written) {
  uint64_t done = 0;
  while (done < length) {
    const size_t chunk = static_cast<size_t>(std::min<uint64_t>(length - done, buffer.size()));
    const ssize_t n = pwrite(fd, buffer.data(), chunk, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == ENOSPC) return false;
      Die("pwrite");
    }
    if (n == 0) return false;
    done += static_cast<uint64_t>(n);
    *written += static_cast<uint64_t>(n);
  }
  return true;
}

// The raw counterpart of one pass of the free-space wipe. Returns the bytes written.
uint64_t RawFill(const std::string& root, uint64_t freeBytes) {
  const std::string path = root + "/" + kFillName;
  const uint64_t blockLength = static_cast<uint64_t>(std::nearbyint(static_cast<double>(freeBytes) / kSteps));
  std::array<std::vector<uint8_t>, 3> buffers;
  const std::array<uint8_t, 3> values{0x55, 0xAA, 0x92};
  for (size_t i = 0; i < buffers.size(); ++i) {
    buffers[i].assign(std::clamp<uint64_t>(blockLength, 1, kFillChunk), values[i]);
  }
  const int fd = open(path.c_str(), O_RDWR | O_CREAT, 0600);
  if (fd < 0) Die("open " + path);
  uint64_t written = 0;
  bool full = false;
  for (int step = 1; step <= kSteps && !full; ++step) {
    const uint64_t offset = static_cast<uint64_t>(step - 1) * blockLength;
    for (const auto& buffer : buffers) {
      full = !WriteBlock(fd, offset, blockLength, buffer, &written);
      if (fsync(fd) != 0 && !full) Die("fsync");
      if (full) break;
    }
  }
  if (ftruncate(fd, 0) != 0) Die("ftruncate");
  close(fd);
  if (unlink(path.c_str()) != 0) Die("unlink " + path);
  return written;
}

struct FillTimes {
  Samples engine;
  Samples raw;
  uint64_t engineBytes = 0;  // the fill file's extent at the end of the pass
  uint64_t rawBytes = 0;     // every byte written, three per byte of extent
  bool filledEarly = false;
};

FillTimes CompareFills(const std::string& root, int repeats) {
  FillTimes times;
  auto timeEngine = [&] {
    sync();
    nullora::platform::DiskSpace space;
    if (nullora::platform::GetDiskFreeSpace("F:\\", &space) != nullora::platform::IoError::None)
      Die("free space");
    nullora::FreeSpaceResult result;
    times.engine.Time(RUSAGE_SELF, [&] {
      result = nullora::Gutmann().SecureFreeSpaceWipe("F", static_cast<int64_t>(space.totalFree), 1);
    });
    if (!result.completed) {
      std::fprintf(stderr, "the free-space wipe did not complete\n");
      std::exit(1);
    }
    times.engineBytes = result.bytesWritten;
    times.filledEarly = result.filledEarly;
  };
  auto timeRaw = [&] {
    sync();
    const uint64_t freeBytes = FreeBytes(root);
    times.raw.Time(RUSAGE_SELF, [&] { times.rawBytes = RawFill(root, freeBytes); });
  };
  for (int run = 0; run < repeats; ++run) {
    if (run % 2 == 0) {
      timeEngine();
      timeRaw();
    } else {
      timeRaw();
      timeEngine();
    }
  }
  return times;
}

// A tree of `files` files of 4 KiB: ten folders of ten folders each, the files spread over the hundred,
// on the medium before the clock starts.
void MakeTree(const std::string& root, int files) {
  if (mkdir(root.c_str(), 0755) != 0) Die("mkdir " + root);
  std::vector<uint8_t> content(kTreeFileBytes, 'x');
  std::vector<std::string> leaves;
  for (int a = 0; a < 10; ++a) {
    const std::string outer = root + "/d" + std::to_string(a);
    if (mkdir(outer.c_str(), 0755) != 0) Die("mkdir " + outer);
    for (int b = 0; b < 10; ++b) {
      leaves.push_back(outer + "/e" + std::to_string(b));
      if (mkdir(leaves.back().c_str(), 0755) != 0) Die("mkdir " + leaves.back());
    }
  }
  for (int i = 0; i < files; ++i) {
    const std::string path =
        leaves[static_cast<size_t>(i) % leaves.size()] + "/f" + std::to_string(i) + ".dat";
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) Die("create " + path);
    if (write(fd, content.data(), content.size()) != static_cast<ssize_t>(content.size()))
      Die("write " + path);
    close(fd);
  }
  sync();
}

void RunRmR(const std::string& root) {
  const pid_t child = fork();
  if (child < 0) Die("fork");
  if (child == 0) {
    execlp("rm", "rm", "-r", root.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "rm -r %s failed\n", root.c_str());
    std::exit(1);
  }
}

bool Exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

// The folder job as the user starts it: the dialog shown, "Yes" clicked, the whole run inside the click.
void RunFolderJob(const std::string& windowsRoot) {
  nullora::ui::Application::Get().Reset();
  nullora::FolderPath = windowsRoot;
  nullora::fFolders dialog;
  dialog.Show();
  dialog.cmdYes.UserClick();
  if (dialog.lblscheme.Caption() != "Done") {
    std::fprintf(stderr, "the folder job ended with \"%s\"\n", dialog.lblscheme.Caption().c_str());
    std::exit(1);
  }
  dialog.Unload();
}

struct TreeTimes {
  Samples job;
  Samples rm;
  Samples scan;
};

TreeTimes CompareTrees(const std::string& dir, int files, int repeats) {
  TreeTimes times;
  const std::string hostRoot = dir + "/tree";
  const std::string windowsRoot = "B:\\tree";
  auto timeJob = [&] {
    MakeTree(hostRoot, files);
    times.job.Time(RUSAGE_SELF, [&] { RunFolderJob(windowsRoot); });
    if (Exists(hostRoot)) Die("the folder job left the tree");
  };
  auto timeRm = [&] {
    MakeTree(hostRoot, files);
    times.rm.Time(RUSAGE_CHILDREN, [&] { RunRmR(hostRoot); });
  };
  for (int run = 0; run < repeats; ++run) {
    if (run % 2 == 0) {
      timeJob();
      timeRm();
    } else {
      timeRm();
      timeJob();
    }
  }
  // The walk alone: what the job lists before it removes anything.
  for (int run = 0; run < repeats; ++run) {
    MakeTree(hostRoot, files);
    std::vector<std::string> directories;
    std::vector<std::string> found;
    times.scan.Time(RUSAGE_SELF, [&] { nullora::ScanDir(windowsRoot + "\\", directories, found); });
    if (found.size() != static_cast<size_t>(files)) Die("the walk missed files");
    RunRmR(hostRoot);
  }
  return times;
}

double MiBps(uint64_t bytes, double seconds) {
  return static_cast<double>(bytes) / kMiB / seconds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: free_space_and_folders <file system root> [folder directory] [files] [repeats]\n");
    return 2;
  }
  const std::string fsRoot = argv[1];
  std::string dir;
  const bool ownDir = argc <= 2;
  if (!ownDir) {
    dir = argv[2];
  } else {
    char pattern[] = "/var/tmp/nullora-bench.XXXXXX";
    if (!mkdtemp(pattern)) Die("mkdtemp");
    dir = pattern;
  }
  const int files = argc > 3 ? std::atoi(argv[3]) : 10000;
  const int repeats = argc > 4 ? std::atoi(argv[4]) : 3;
  if (files <= 0 || repeats <= 0) return 2;
  if (Exists(fsRoot + "/" + kFillName) || Exists(dir + "/tree")) {
    std::fprintf(stderr, "%s/%s or %s/tree is in the way\n", fsRoot.c_str(), kFillName, dir.c_str());
    return 1;
  }

  // The routines see the file system as drive F: and the folder directory as drive B:.
  nullora::platform::posix::MapDrive('F', fsRoot);
  nullora::platform::posix::MapDrive('B', dir);
  // The pauses between passes and files are for the user's eye; they are not what is measured here.
  nullora::platform::VirtualClock clock;
  nullora::platform::ScopedClock useClock(clock);
  nullora::SaveSetting("OpMethod", "4");  // Delete Only
  nullora::SaveSetting("OpRename", "0");

  std::printf(
      "free space: %s, %.1f MiB file system, %.1f MiB free; folder tree: %s, %d files of %zu bytes; "
      "%d runs each\n\n",
      fsRoot.c_str(), static_cast<double>(TotalBytes(fsRoot)) / kMiB,
      static_cast<double>(FreeBytes(fsRoot)) / kMiB, dir.c_str(), files, kTreeFileBytes, repeats);

  const FillTimes fill = CompareFills(fsRoot, repeats);
  const uint64_t engineWritten = 3 * fill.engineBytes;
  std::printf("%-42s %7s %7s %7s %7s %7s\n", "free-space fill, 1 pass", "MiB", "best s", "MiB/s", "median",
              "cpu s");
  auto fillRow = [](const char* name, uint64_t bytes, const Samples& samples) {
    std::printf("%-42s %7.1f %7.2f %7.1f %7.2f %7.2f\n", name, static_cast<double>(bytes) / kMiB,
                samples.Best(), MiBps(bytes, samples.Best()), samples.Median(), samples.Cpu());
  };
  fillRow("  SecureFreeSpaceWipe", engineWritten, fill.engine);
  fillRow("  raw pwrite + fsync, 3 per step", fill.rawBytes, fill.raw);
  if (fill.filledEarly) std::printf("  (the wipe found the file system full before its step %d)\n", kSteps);
  std::printf("  ratio wipe / raw (MiB/s): best %.2f, median %.2f   goal >= 0.90\n\n",
              MiBps(engineWritten, fill.engine.Best()) / MiBps(fill.rawBytes, fill.raw.Best()),
              MiBps(engineWritten, fill.engine.Median()) / MiBps(fill.rawBytes, fill.raw.Median()));

  const TreeTimes tree = CompareTrees(dir, files, repeats);
  std::printf("%-42s %7s %7s %7s %7s\n", "folder removal", "best s", "files/s", "median", "cpu s");
  auto treeRow = [files](const char* name, const Samples& samples) {
    std::printf("%-42s %7.2f %7.0f %7.2f %7.2f\n", name, samples.Best(), files / samples.Best(),
                samples.Median(), samples.Cpu());
  };
  treeRow("  fFolders, Delete Only (walk + each file)", tree.job);
  treeRow("    the walk alone (ScanDir)", tree.scan);
  treeRow("  rm -r", tree.rm);
  std::printf("  ratio job / rm -r (time): best %.2f, median %.2f, cpu %.2f   goal <= 2.00\n",
              tree.job.Best() / tree.rm.Best(), tree.job.Median() / tree.rm.Median(),
              tree.job.Cpu() / tree.rm.Cpu());

  if (ownDir) rmdir(dir.c_str());
  return 0;
}
