// An open file: closes itself, and reports every write and flush to the observer that tests install.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/platform.h"

namespace nullora::platform {

// Sees every write, flush, truncation and close of a File. Tests use it to assert the exact pass
// patterns and to inject failures; nothing is installed in the product.
class FileIoObserver {
 public:
  virtual ~FileIoObserver() = default;
  virtual void OnOpen(const std::string& path) { (void)path; }
  // Returning an error makes the write fail with it before anything is written.
  virtual IoError OnWrite(const std::string& path, uint64_t offset, std::span<const uint8_t> bytes) {
    (void)path, (void)offset, (void)bytes;
    return IoError::None;
  }
  // False makes writes to `path` succeed without reaching the file: a test can then run a routine over
  // a sparse file of several GiB without writing them.
  virtual bool WritesReachFile(const std::string& path) {
    (void)path;
    return true;
  }
  // False makes flushes of `path` succeed at once: thousands of them cost a test nothing. The tests on
  // a real medium leave them on.
  virtual bool FlushesReachMedium(const std::string& path) {
    (void)path;
    return true;
  }
  virtual void OnFlush(const std::string& path) { (void)path; }
  virtual void OnSetLength(const std::string& path, uint64_t length) { (void)path, (void)length; }
  virtual void OnClose(const std::string& path) { (void)path; }
  // Sees, and may change, what a read-back read from the medium.
  virtual void OnRead(const std::string& path, uint64_t offset, std::span<uint8_t> bytes) {
    (void)path, (void)offset, (void)bytes;
  }
  virtual void OnDelete(const std::string& path) { (void)path; }
};

// Installs `observer` (nullptr removes it). Returns the one it replaces.
FileIoObserver* SetFileIoObserver(FileIoObserver* observer);
FileIoObserver* GetFileIoObserver();

class File {
 public:
  // Written data goes to the medium at least every so many bytes, whatever the routine's flushes.
  static constexpr uint64_t kMaxUnflushed = 32u << 20;

  File() = default;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  ~File();

  // Opens `path`; check IsOpen() or OpenError() afterwards.
  static File Open(const std::string& path, Access access, unsigned share, Disposition disposition);

  bool IsOpen() const { return handle_ != kInvalidHandle; }
  IoError OpenError() const { return openError_; }
  const std::string& Path() const { return path_; }

  IoError WriteAt(uint64_t offset, std::span<const uint8_t> bytes);
  IoError Length(uint64_t* length) const;
  IoError SetLength(uint64_t length);
  IoError Flush();
  void Close();

 private:
  std::string path_;
  FileHandle handle_ = kInvalidHandle;
  // Written since the last flush. A flush of a whole large pass would keep the program from answering
  // for as long as the medium takes to write it: it goes to the medium in steps of a bounded size.
  uint64_t unflushed_ = 0;
  IoError openError_ = IoError::None;
};

// A file opened to read back what its medium holds, a window at a time.
class ReadBackFile {
 public:
  static constexpr size_t kWindow = 4u << 20;

  ReadBackFile(ReadBackFile&& other) noexcept;
  ReadBackFile& operator=(const ReadBackFile&) = delete;
  ~ReadBackFile();

  static ReadBackFile Open(const std::string& path);
  IoError OpenError() const { return openError_; }
  // The bytes of the window that begins at `offset` (a multiple of kWindow); fewer at the file's end.
  IoError ReadWindow(uint64_t offset, std::span<const uint8_t>* bytes);

 private:
  ReadBackFile() = default;
  std::string path_;
  FileHandle handle_ = kInvalidHandle;
  uint8_t* buffer_ = nullptr;
  IoError openError_ = IoError::None;
};

// Deletes through the seam, so observers see it.
IoError RemoveFile(const std::string& path);

}  // namespace nullora::platform
