#include "engine/read_back.h"

#include <algorithm>
#include <cstring>

#include "engine/progress.h"
#include "platform/file.h"
#include "shared/records.h"

namespace nullora {

using platform::IoError;

namespace {

constexpr uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
constexpr uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;
constexpr uint64_t kPrime3 = 0x165667B19E3779F9ull;

constexpr uint64_t Rotl(uint64_t x, int r) {
  return (x << r) | (x >> (64 - r));
}

uint64_t Mix(uint64_t acc, uint64_t word) {
  return Rotl(acc + word * kPrime2, 31) * kPrime1;
}

// A remembered range grows while the sweep writes on from where it ended, up to this size: a 1 TB file
// is remembered in a quarter of a million ranges.
constexpr uint64_t kMaxRange = 4u << 20;

}  // namespace

void ByteDigest::Stripe(const uint8_t* stripe) {
  for (int lane = 0; lane < 4; ++lane) {
    uint64_t word;
    std::memcpy(&word, stripe + 8 * lane, 8);
    sums_[lane] += word;
    sumsOfSums_[lane] += sums_[lane];
  }
}

void ByteDigest::Update(std::span<const uint8_t> bytes) {
  total_ += bytes.size();
  const uint8_t* p = bytes.data();
  size_t left = bytes.size();
  if (pendingLength_ > 0) {
    size_t take = std::min(left, sizeof(pending_) - pendingLength_);
    std::memcpy(pending_ + pendingLength_, p, take);
    pendingLength_ += take;
    p += take;
    left -= take;
    if (pendingLength_ < sizeof(pending_)) return;
    Stripe(pending_);
    pendingLength_ = 0;
  }
  for (; left >= sizeof(pending_); p += sizeof(pending_), left -= sizeof(pending_)) Stripe(p);
  std::memcpy(pending_, p, left);
  pendingLength_ = left;
}

uint64_t ByteDigest::Value() const {
  uint64_t h = total_ * kPrime3;
  for (int lane = 0; lane < 4; ++lane) h = Mix(Mix(h, sums_[lane]), sumsOfSums_[lane]);
  for (size_t i = 0; i < pendingLength_; ++i) h = Mix(h, pending_[i]);
  h ^= h >> 33;
  h *= kPrime2;
  h ^= h >> 29;
  return h;
}

bool ReadBack::Wanted() {
  return WipeOptions.OpVerify != 0;
}

void ReadBack::Wrote(uint64_t offset, std::span<const uint8_t> bytes) {
  if (bytes.empty()) return;
  // A write back over remembered bytes replaces them: every range it reaches into is forgotten.
  while (!ranges_.empty() && ranges_.back().offset + ranges_.back().length > offset) ranges_.pop_back();
  if (ranges_.empty() || ranges_.back().offset + ranges_.back().length != offset ||
      ranges_.back().length >= kMaxRange) {
    ranges_.push_back({offset, 0, {}});
  }
  ranges_.back().length += bytes.size();
  ranges_.back().digest.Update(bytes);
}

IoError ReadBack::Check(const std::string& path, WipeProgress& report) const {
  platform::ReadBackFile file = platform::ReadBackFile::Open(path);
  if (file.OpenError() != IoError::None) return file.OpenError();
  constexpr uint64_t kWindow = platform::ReadBackFile::kWindow;
  uint64_t windowOffset = UINT64_MAX;
  std::span<const uint8_t> window;
  for (const Range& range : ranges_) {
    ByteDigest read;
    for (uint64_t at = range.offset, end = range.offset + range.length; at < end;) {
      if (at < windowOffset || at >= windowOffset + kWindow) {
        windowOffset = at / kWindow * kWindow;
        if (IoError error = file.ReadWindow(windowOffset, &window); error != IoError::None) return error;
        report.Breathe();
      }
      const uint64_t inWindow = at - windowOffset;
      // The file ends before what was written there: it was not all kept.
      if (inWindow >= window.size()) return IoError::ReadBackDiffers;
      const auto take = static_cast<size_t>(std::min<uint64_t>(end - at, window.size() - inWindow));
      read.Update(window.subspan(static_cast<size_t>(inWindow), take));
      at += take;
    }
    if (read.Value() != range.digest.Value()) return IoError::ReadBackDiffers;
  }
  return IoError::None;
}

IoError CheckReadBack(const std::string& path, const ReadBack* remember, WipeProgress& report) {
  if (!remember) return IoError::None;
  report.Status("Reading back what was written");
  return remember->Check(path, report);
}

}  // namespace nullora
