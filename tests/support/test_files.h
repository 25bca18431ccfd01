// Test scaffolding shared by the unit tests of both builds: a private directory reachable through a
// Windows-form path, a recorder of every write and flush, and the virtual clock.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/file.h"

namespace nullora::test {

// Enough files to pass the old limit of 10,000 in the workbench; under Wine, where creating a file
// costs a millisecond, fewer do for the same portable code.
#ifdef _WIN32
inline constexpr int kManyFiles = 500;
#else
inline constexpr int kManyFiles = 10050;
#endif

// A fresh directory, removed with everything in it at the end of the test. In the workbench build it is
// reached as drive T:; under Wine through its real Windows path.
class TestDir {
 public:
  TestDir();
  ~TestDir();
  TestDir(const TestDir&) = delete;
  TestDir& operator=(const TestDir&) = delete;

  // "T:\" or "C:\users\...\Temp\nullora-test-1234\", always ending in a backslash.
  const std::string& Root() const { return root_; }
  std::string Path(const std::string& name) const { return root_ + name; }
  std::filesystem::path HostPath(const std::string& name) const;

  // Creates `name` with `bytes`; returns its Windows-form path.
  std::string MakeFile(const std::string& name, const std::string& bytes) const;
  std::string MakeFile(const std::string& name, size_t length, char fill) const;
  // A file of `length` bytes that takes no room on disk, or nullopt when the disk cannot hold one.
  std::optional<std::string> MakeSparseFile(const std::string& name, uint64_t length) const;
  std::string MakeDir(const std::string& name) const;
  bool Exists(const std::string& name) const;
  std::string Read(const std::string& name) const;
  // The names directly in the directory.
  std::vector<std::string> List() const;

 private:
  std::filesystem::path host_;
  std::string root_;
  char letter_ = 0;
};

struct IoEvent {
  enum Kind { Open, Write, Flush, SetLength, Close, Delete } kind = Open;
  std::string path;
  uint64_t offset = 0;
  uint64_t length = 0;
  // The bytes written, kept only for writes of at most kKeepBytes while the recorder has kept less
  // than kKeepTotal in all.
  std::string bytes;
  // Set when every byte of the write had the same value.
  bool uniform = false;
  uint8_t firstByte = 0;
};

// Records what the wipe routines do to files, in order.
class IoRecorder : public platform::FileIoObserver {
 public:
  static constexpr size_t kKeepBytes = 1 << 16;
  static constexpr size_t kKeepTotal = 32 << 20;

  IoRecorder();
  ~IoRecorder() override;

  std::vector<IoEvent> events;
  // When set, writes are recorded but do not reach the file.
  bool dryWrites = false;
  // When set, flushes are recorded but return at once (dry writes imply it).
  bool dryFlushes = false;
  // When cleared, only offsets and lengths are recorded (for writes of several GiB).
  bool inspectBytes = true;
  // When set, the write with this index (0-based, counting writes only) fails with `injectedError`.
  int failWriteAt = -1;
  platform::IoError injectedError = platform::IoError::DiskFull;

  std::vector<IoEvent> Writes() const;
  size_t Count(IoEvent::Kind kind) const;
  // The highest offset + length of any write.
  uint64_t WriteEnd() const;

  void OnOpen(const std::string& path) override;
  platform::IoError OnWrite(const std::string& path, uint64_t offset, std::span<const uint8_t> bytes) override;
  bool WritesReachFile(const std::string& path) override;
  bool FlushesReachMedium(const std::string& path) override;
  void OnFlush(const std::string& path) override;
  void OnSetLength(const std::string& path, uint64_t length) override;
  void OnClose(const std::string& path) override;
  void OnDelete(const std::string& path) override;

 private:
  platform::FileIoObserver* previous_;
  int writes_ = 0;
  size_t kept_ = 0;
};

// A virtual clock installed for the life of the object.
class FakeTime {
 public:
  FakeTime() : scope_(clock) {}
  platform::VirtualClock clock;

 private:
  platform::ScopedClock scope_;
};

}  // namespace nullora::test
