#include "support/test_files.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <set>
#include <sstream>

#ifndef _WIN32
#include <unistd.h>

#include "platform/posix/posix_stand_in.h"
#endif

namespace nullora::test {

namespace fs = std::filesystem;

namespace {

#ifndef _WIN32
std::set<char>& UsedLetters() {
  static std::set<char> letters;
  return letters;
}
#endif

IoEvent Event(IoEvent::Kind kind, const std::string& path, uint64_t offset = 0, uint64_t length = 0) {
  IoEvent event;
  event.kind = kind;
  event.path = path;
  event.offset = offset;
  event.length = length;
  return event;
}

fs::path FromUtf8(const std::string& text) { return fs::path(std::u8string(text.begin(), text.end())); }

std::string ToUtf8(const fs::path& path) {
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

TestDir::TestDir() {
  static std::atomic<int> counter{0};
#ifdef _WIN32
  const int pid = 0;
#else
  const int pid = static_cast<int>(getpid());
#endif
  for (;;) {
    host_ = fs::temp_directory_path() /
            ("nullora-test-" + std::to_string(pid) + "-" + std::to_string(counter++) + "-" +
             std::to_string(std::hash<std::string>{}(std::to_string(reinterpret_cast<uintptr_t>(this))) % 100000));
    if (fs::create_directory(host_)) break;
  }
#ifdef _WIN32
  root_ = host_.string() + "\\";
#else
  // Each live directory has a drive of its own, so a test can hold two (a tree and what lies outside).
  for (letter_ = 'T'; letter_ <= 'Z' && UsedLetters().count(letter_); ++letter_) {
  }
  UsedLetters().insert(letter_);
  platform::posix::MapDrive(letter_, host_.string());
  root_ = std::string(1, letter_) + ":\\";
#endif
}

TestDir::~TestDir() {
#ifndef _WIN32
  UsedLetters().erase(letter_);
#endif
  std::error_code ignored;
  // Read-only files left by a failing test must not keep the directory alive.
  for (auto it = fs::recursive_directory_iterator(host_, ignored); it != fs::recursive_directory_iterator();
       it.increment(ignored)) {
    if (!it->is_symlink(ignored)) fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
  }
  fs::remove_all(host_, ignored);
}

fs::path TestDir::HostPath(const std::string& name) const {
  std::string relative = name;
  std::replace(relative.begin(), relative.end(), '\\', '/');
  return host_ / FromUtf8(relative);
}

std::string TestDir::MakeFile(const std::string& name, const std::string& bytes) const {
  std::ofstream out(HostPath(name), std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return Path(name);
}

std::string TestDir::MakeFile(const std::string& name, size_t length, char fill) const {
  return MakeFile(name, std::string(length, fill));
}

std::optional<std::string> TestDir::MakeSparseFile(const std::string& name, uint64_t length) const {
  std::string path = MakeFile(name, "");
  platform::File file =
      platform::File::Open(path, platform::Access::Write, platform::kShareNone, platform::Disposition::OpenExisting);
  if (file.SetLength(length) != platform::IoError::None) return std::nullopt;
  return path;
}

std::string TestDir::MakeDir(const std::string& name) const {
  fs::create_directories(HostPath(name));
  return Path(name);
}

bool TestDir::Exists(const std::string& name) const {
  std::error_code ignored;
  return fs::exists(fs::symlink_status(HostPath(name), ignored));
}

std::string TestDir::Read(const std::string& name) const {
  std::ifstream in(HostPath(name), std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

std::vector<std::string> TestDir::List() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(host_)) names.push_back(ToUtf8(entry.path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

IoRecorder::IoRecorder() : previous_(platform::SetFileIoObserver(this)) {}
IoRecorder::~IoRecorder() { platform::SetFileIoObserver(previous_); }

std::vector<IoEvent> IoRecorder::Writes() const {
  std::vector<IoEvent> writes;
  std::copy_if(events.begin(), events.end(), std::back_inserter(writes),
               [](const IoEvent& event) { return event.kind == IoEvent::Write; });
  return writes;
}

size_t IoRecorder::Count(IoEvent::Kind kind) const {
  return static_cast<size_t>(
      std::count_if(events.begin(), events.end(), [kind](const IoEvent& event) { return event.kind == kind; }));
}

uint64_t IoRecorder::WriteEnd() const {
  uint64_t end = 0;
  for (const IoEvent& event : events) {
    if (event.kind == IoEvent::Write) end = std::max(end, event.offset + event.length);
  }
  return end;
}

void IoRecorder::OnOpen(const std::string& path) { events.push_back(Event(IoEvent::Open, path)); }

platform::IoError IoRecorder::OnWrite(const std::string& path, uint64_t offset, std::span<const uint8_t> bytes) {
  if (writes_++ == failWriteAt) return injectedError;
  IoEvent event = Event(IoEvent::Write, path, offset, bytes.size());
  if (!inspectBytes) {
    events.push_back(std::move(event));
    return platform::IoError::None;
  }
  if (bytes.size() <= kKeepBytes && kept_ + bytes.size() <= kKeepTotal) {
    event.bytes.assign(bytes.begin(), bytes.end());
    kept_ += bytes.size();
  }
  event.firstByte = bytes.empty() ? 0 : bytes[0];
  event.uniform = std::all_of(bytes.begin(), bytes.end(), [&](uint8_t b) { return b == event.firstByte; });
  events.push_back(std::move(event));
  return platform::IoError::None;
}

bool IoRecorder::WritesReachFile(const std::string& path) {
  (void)path;
  return !dryWrites;
}

bool IoRecorder::FlushesReachMedium(const std::string& path) {
  (void)path;
  return !dryWrites && !dryFlushes;
}

void IoRecorder::OnFlush(const std::string& path) { events.push_back(Event(IoEvent::Flush, path)); }

void IoRecorder::OnSetLength(const std::string& path, uint64_t length) {
  events.push_back(Event(IoEvent::SetLength, path, 0, length));
}

void IoRecorder::OnClose(const std::string& path) { events.push_back(Event(IoEvent::Close, path)); }

void IoRecorder::OnDelete(const std::string& path) { events.push_back(Event(IoEvent::Delete, path)); }

}  // namespace nullora::test
