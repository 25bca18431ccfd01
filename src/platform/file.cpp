#include "platform/file.h"

#include <utility>

namespace nullora::platform {

namespace {
FileIoObserver* gObserver = nullptr;
}  // namespace

FileIoObserver* SetFileIoObserver(FileIoObserver* observer) {
  return std::exchange(gObserver, observer);
}
FileIoObserver* GetFileIoObserver() {
  return gObserver;
}

File::File(File&& other) noexcept
    : path_(std::move(other.path_)),
      handle_(std::exchange(other.handle_, kInvalidHandle)),
      unflushed_(std::exchange(other.unflushed_, 0)),
      openError_(other.openError_) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    path_ = std::move(other.path_);
    handle_ = std::exchange(other.handle_, kInvalidHandle);
    unflushed_ = std::exchange(other.unflushed_, 0);
    openError_ = other.openError_;
  }
  return *this;
}

File::~File() {
  Close();
}

File File::Open(const std::string& path, Access access, unsigned share, Disposition disposition) {
  File file;
  file.path_ = path;
  file.openError_ = OsOpen(path, access, share, disposition, &file.handle_);
  if (file.openError_ != IoError::None) {
    file.handle_ = kInvalidHandle;
  } else if (gObserver) {
    gObserver->OnOpen(path);
  }
  return file;
}

IoError File::WriteAt(uint64_t offset, std::span<const uint8_t> bytes) {
  if (!IsOpen()) return IoError::Other;
  if (gObserver) {
    if (IoError injected = gObserver->OnWrite(path_, offset, bytes); injected != IoError::None)
      return injected;
    if (!gObserver->WritesReachFile(path_)) return IoError::None;
  }
  if (IoError error = OsWriteAt(handle_, offset, bytes.data(), bytes.size()); error != IoError::None)
    return error;
  unflushed_ += bytes.size();
  if (unflushed_ >= kMaxUnflushed && !(gObserver && !gObserver->FlushesReachMedium(path_))) {
    unflushed_ = 0;
    return OsFlush(handle_);
  }
  return IoError::None;
}

IoError File::Length(uint64_t* length) const {
  if (!IsOpen()) return IoError::Other;
  return OsLength(handle_, length);
}

IoError File::SetLength(uint64_t length) {
  if (!IsOpen()) return IoError::Other;
  if (gObserver) gObserver->OnSetLength(path_, length);
  return OsSetLength(handle_, length);
}

IoError File::Flush() {
  if (!IsOpen()) return IoError::Other;
  unflushed_ = 0;
  if (gObserver) {
    gObserver->OnFlush(path_);
    if (!gObserver->FlushesReachMedium(path_)) return IoError::None;
  }
  return OsFlush(handle_);
}

void File::Close() {
  if (!IsOpen()) return;
  OsClose(std::exchange(handle_, kInvalidHandle));
  if (gObserver) gObserver->OnClose(path_);
}

ReadBackFile ReadBackFile::Open(const std::string& path) {
  ReadBackFile file;
  file.path_ = path;
  file.openError_ = OsOpenReadBack(path, &file.handle_);
  if (file.openError_ != IoError::None) {
    file.handle_ = kInvalidHandle;
    return file;
  }
  file.buffer_ = static_cast<uint8_t*>(OsAllocateAligned(kWindow));
  if (!file.buffer_) file.openError_ = IoError::Other;
  return file;
}

ReadBackFile::ReadBackFile(ReadBackFile&& other) noexcept
    : path_(std::move(other.path_)),
      handle_(std::exchange(other.handle_, kInvalidHandle)),
      buffer_(std::exchange(other.buffer_, nullptr)),
      openError_(other.openError_) {}

ReadBackFile::~ReadBackFile() {
  if (handle_ != kInvalidHandle) OsClose(handle_);
  if (buffer_) OsFreeAligned(buffer_);
}

IoError ReadBackFile::ReadWindow(uint64_t offset, std::span<const uint8_t>* bytes) {
  *bytes = {};
  if (openError_ != IoError::None) return openError_;
  size_t got = 0;
  if (IoError error = OsReadAt(handle_, offset, buffer_, kWindow, &got); error != IoError::None) return error;
  if (gObserver) gObserver->OnRead(path_, offset, {buffer_, got});
  *bytes = {buffer_, got};
  return IoError::None;
}

IoError RemoveFile(const std::string& path) {
  IoError error = DeleteFile(path);
  if (error == IoError::None && gObserver) gObserver->OnDelete(path);
  return error;
}

const char* Describe(IoError error) {
  switch (error) {
    case IoError::None:
      return "no error";
    case IoError::NotFound:
      return "not found";
    case IoError::AccessDenied:
      return "access denied";
    case IoError::InUse:
      return "in use";
    case IoError::DiskFull:
      return "disk full";
    case IoError::IsLink:
      return "a link";
    case IoError::AlreadyExists:
      return "already exists";
    case IoError::NotAFile:
      return "not a file";
    case IoError::HasOtherNames:
      return "has other names";
    case IoError::ReadBackDiffers:
      return "read back unlike what was written";
    case IoError::Other:
      break;
  }
  return "I/O error";
}

}  // namespace nullora::platform
