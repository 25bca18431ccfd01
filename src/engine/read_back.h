// The read-back check: what a wipe's last sweep wrote is remembered as digests of the ranges it covered;
// after the sweep reached the medium, the file is read back past the system's cache and compared. A
// medium that silently kept old data (a failing disk, a write the controller dropped) is found out before
// the file's name goes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace nullora {

class WipeProgress;

// A 64-bit digest of a stream of bytes, the same however the stream is cut into pieces. It is there to
// catch a medium that gave back other bytes, not a forger: two running sums per lane (Fletcher's), which
// see any changed word and any words moved within a range, at a few additions per 32 bytes, so that the
// check costs little beside the reading itself.
class ByteDigest {
 public:
  void Update(std::span<const uint8_t> bytes);
  uint64_t Value() const;

 private:
  void Stripe(const uint8_t* stripe);
  uint64_t sums_[4] = {};
  uint64_t sumsOfSums_[4] = {};
  uint8_t pending_[32] = {};
  size_t pendingLength_ = 0;
  uint64_t total_ = 0;
};

class ReadBack {
 public:
  // Whether the wipe options ask for the check (OpVerify).
  static bool Wanted();

  // Forgets what was remembered: a new last sweep begins (the file grew, and is swept again).
  void Begin() { ranges_.clear(); }
  // Remembers `bytes`, written by the last sweep at `offset`, over whatever was remembered there.
  void Wrote(uint64_t offset, std::span<const uint8_t> bytes);
  // Reads the remembered ranges back from the medium: None when every byte is what was written,
  // ReadBackDiffers when one is not, the read's error when the file cannot be read back.
  platform::IoError Check(const std::string& path, WipeProgress& report) const;

 private:
  struct Range {
    uint64_t offset = 0;
    uint64_t length = 0;
    ByteDigest digest;
  };
  std::vector<Range> ranges_;
};

// The check of a wipe whose last sweep went to `remember`; None at once when the wipe is not read back.
platform::IoError CheckReadBack(const std::string& path, const ReadBack* remember, WipeProgress& report);

}  // namespace nullora
