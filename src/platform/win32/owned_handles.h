// Owning wrappers for what the Win32 side opens: each closes or releases its handle on every way out.
#pragma once

#include <windows.h>

#include <utility>

namespace nullora::platform::win32 {

// A kernel object handle (a file, a directory opened as a handle). INVALID_HANDLE_VALUE and null hold
// nothing.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, INVALID_HANDLE_VALUE));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  explicit operator bool() const { return Valid(); }
  HANDLE Release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
  void Reset(HANDLE handle = INVALID_HANDLE_VALUE) {
    if (Valid()) CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// A directory search of FindFirstFile.
class UniqueFind {
 public:
  explicit UniqueFind(HANDLE search) : search_(search) {}
  UniqueFind(const UniqueFind&) = delete;
  UniqueFind& operator=(const UniqueFind&) = delete;
  ~UniqueFind() {
    if (Valid()) FindClose(search_);
  }
  HANDLE Get() const { return search_; }
  bool Valid() const { return search_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE search_;
};

// A registry key.
class UniqueRegKey {
 public:
  UniqueRegKey() = default;
  UniqueRegKey(const UniqueRegKey&) = delete;
  UniqueRegKey& operator=(const UniqueRegKey&) = delete;
  ~UniqueRegKey() {
    if (key_) RegCloseKey(key_);
  }
  HKEY* Out() { return &key_; }
  HKEY Get() const { return key_; }
  void Reset() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
  }

 private:
  HKEY key_ = nullptr;
};

// A COM interface pointer.
template <typename Interface>
class ComRef {
 public:
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() {
    if (pointer_) pointer_->Release();
  }
  Interface** Out() { return &pointer_; }
  void** OutVoid() { return reinterpret_cast<void**>(&pointer_); }
  Interface* operator->() const { return pointer_; }
  Interface* Get() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

 private:
  Interface* pointer_ = nullptr;
};

}  // namespace nullora::platform::win32
