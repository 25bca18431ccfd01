#include "cleaner/gathered_writes.h"

#if NULLORA_HAVE_SQLITE

#include <sqlite3.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace nullora {

namespace {

// Writes are handed on once this much follows on in one file. The POSIX layer takes no write above
// 128 KiB (it masks the length with 0x1ffff, so a larger one became a write of nothing and "disk full");
// SQLite itself never asks for more than a page of 64 KiB and its few header bytes.
constexpr size_t kGatherBytes = 64 << 10;

struct GatherFile {
  sqlite3_file base;   // what SQLite sees; must come first
  sqlite3_file* real;  // the default layer's file, in the same allocation, after this
};

// The one file whose writes are held, where they start, and the bytes.
struct Held {
  GatherFile* file = nullptr;
  sqlite3_int64 offset = 0;
  std::vector<char> bytes;
  // A failed hand-on that no caller could be told of (the barrier returns nothing): the next call that
  // hands on returns it, so the failure is never lost with the bytes.
  int unreported = SQLITE_OK;
};

Held& Pending() {
  static Held held;
  return held;
}

sqlite3_vfs* gRealVfs = nullptr;

// Hands the held writes on; the first failure is what the call that asked for it returns.
int Release() {
  Held& held = Pending();
  if (held.unreported != SQLITE_OK) return std::exchange(held.unreported, SQLITE_OK);
  if (!held.file) return SQLITE_OK;
  GatherFile* file = std::exchange(held.file, nullptr);
  const int rc = held.bytes.empty()
                     ? SQLITE_OK
                     : file->real->pMethods->xWrite(file->real, held.bytes.data(),
                                                    static_cast<int>(held.bytes.size()), held.offset);
  held.bytes.clear();
  return rc;
}

// Hands on the writes held for `file` alone (before another call on it that does not observe others).
int ReleaseFor(GatherFile* file) {
  const Held& held = Pending();
  return held.file == file || held.unreported != SQLITE_OK ? Release() : SQLITE_OK;
}

GatherFile* Of(sqlite3_file* file) {
  return reinterpret_cast<GatherFile*>(file);
}

int Close(sqlite3_file* file) {
  const int released = Release();
  const int rc = Of(file)->real->pMethods->xClose(Of(file)->real);
  return released != SQLITE_OK ? released : rc;
}

int Read(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
  if (int rc = ReleaseFor(Of(file)); rc != SQLITE_OK) return rc;
  return Of(file)->real->pMethods->xRead(Of(file)->real, buffer, amount, offset);
}

int Write(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
  Held& held = Pending();
  GatherFile* self = Of(file);
  const size_t size = static_cast<size_t>(amount);
  const bool follows =
      held.file == self && offset == held.offset + static_cast<sqlite3_int64>(held.bytes.size());
  if (follows && held.bytes.size() + size <= kGatherBytes) {
    const char* bytes = static_cast<const char*>(buffer);
    held.bytes.insert(held.bytes.end(), bytes, bytes + size);
    return SQLITE_OK;
  }
  // Another file or another place: what was held goes first, in the order it was written.
  if (int rc = Release(); rc != SQLITE_OK) return rc;
  if (size >= kGatherBytes) return self->real->pMethods->xWrite(self->real, buffer, amount, offset);
  held.file = self;
  held.offset = offset;
  const char* bytes = static_cast<const char*>(buffer);
  held.bytes.assign(bytes, bytes + size);
  return SQLITE_OK;
}

int Truncate(sqlite3_file* file, sqlite3_int64 size) {
  if (int rc = Release(); rc != SQLITE_OK) return rc;
  return Of(file)->real->pMethods->xTruncate(Of(file)->real, size);
}

int Sync(sqlite3_file* file, int flags) {
  if (int rc = Release(); rc != SQLITE_OK) return rc;
  return Of(file)->real->pMethods->xSync(Of(file)->real, flags);
}

int FileSize(sqlite3_file* file, sqlite3_int64* size) {
  if (int rc = ReleaseFor(Of(file)); rc != SQLITE_OK) return rc;
  return Of(file)->real->pMethods->xFileSize(Of(file)->real, size);
}

int Lock(sqlite3_file* file, int level) {
  if (int rc = Release(); rc != SQLITE_OK) return rc;
  return Of(file)->real->pMethods->xLock(Of(file)->real, level);
}

int Unlock(sqlite3_file* file, int level) {
  if (int rc = Release(); rc != SQLITE_OK) return rc;
  return Of(file)->real->pMethods->xUnlock(Of(file)->real, level);
}

int CheckReservedLock(sqlite3_file* file, int* out) {
  if (int rc = Release(); rc != SQLITE_OK) return rc;
  return Of(file)->real->pMethods->xCheckReservedLock(Of(file)->real, out);
}

int FileControl(sqlite3_file* file, int op, void* arg) {
  if (int rc = Release(); rc != SQLITE_OK) return rc;
  return Of(file)->real->pMethods->xFileControl(Of(file)->real, op, arg);
}

int SectorSize(sqlite3_file* file) {
  return Of(file)->real->pMethods->xSectorSize(Of(file)->real);
}

int DeviceCharacteristics(sqlite3_file* file) {
  return Of(file)->real->pMethods->xDeviceCharacteristics(Of(file)->real);
}

int ShmMap(sqlite3_file* file, int region, int size, int extend, void volatile** out) {
  if (int rc = Release(); rc != SQLITE_OK) return rc;
  return Of(file)->real->pMethods->xShmMap(Of(file)->real, region, size, extend, out);
}

int ShmLock(sqlite3_file* file, int offset, int n, int flags) {
  if (int rc = Release(); rc != SQLITE_OK) return rc;
  return Of(file)->real->pMethods->xShmLock(Of(file)->real, offset, n, flags);
}

void ShmBarrier(sqlite3_file* file) {
  // The log's frames are in the file before the index in shared memory names them; a failure here
  // is returned by the lock, sync or unlock that follows.
  Pending().unreported = Release();
  Of(file)->real->pMethods->xShmBarrier(Of(file)->real);
}

int ShmUnmap(sqlite3_file* file, int deleteFlag) {
  if (int rc = Release(); rc != SQLITE_OK) return rc;
  return Of(file)->real->pMethods->xShmUnmap(Of(file)->real, deleteFlag);
}

int Fetch(sqlite3_file* file, sqlite3_int64 offset, int amount, void** out) {
  if (int rc = ReleaseFor(Of(file)); rc != SQLITE_OK) return rc;
  return Of(file)->real->pMethods->xFetch(Of(file)->real, offset, amount, out);
}

int Unfetch(sqlite3_file* file, sqlite3_int64 offset, void* page) {
  return Of(file)->real->pMethods->xUnfetch(Of(file)->real, offset, page);
}

// The methods for each version the default layer's files may have (1 to 3).
const sqlite3_io_methods* MethodsFor(int version) {
  static sqlite3_io_methods methods[3];
  static bool made = false;
  if (!made) {
    for (int v = 1; v <= 3; ++v) {
      sqlite3_io_methods& m = methods[v - 1];
      m = {};
      m.iVersion = v;
      m.xClose = Close;
      m.xRead = Read;
      m.xWrite = Write;
      m.xTruncate = Truncate;
      m.xSync = Sync;
      m.xFileSize = FileSize;
      m.xLock = Lock;
      m.xUnlock = Unlock;
      m.xCheckReservedLock = CheckReservedLock;
      m.xFileControl = FileControl;
      m.xSectorSize = SectorSize;
      m.xDeviceCharacteristics = DeviceCharacteristics;
      if (v >= 2) {
        m.xShmMap = ShmMap;
        m.xShmLock = ShmLock;
        m.xShmBarrier = ShmBarrier;
        m.xShmUnmap = ShmUnmap;
      }
      if (v >= 3) {
        m.xFetch = Fetch;
        m.xUnfetch = Unfetch;
      }
    }
    made = true;
  }
  return &methods[std::clamp(version, 1, 3) - 1];
}

int Open(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags) {
  GatherFile* self = Of(file);
  self->base.pMethods = nullptr;
  if (int rc = Release(); rc != SQLITE_OK) return rc;
  self->real = reinterpret_cast<sqlite3_file*>(self + 1);
  const int rc = gRealVfs->xOpen(gRealVfs, name, self->real, flags, outFlags);
  // Without methods SQLite never calls close: the default layer had nothing to keep open.
  if (self->real->pMethods) self->base.pMethods = MethodsFor(self->real->pMethods->iVersion);
  return rc;
}

int Delete(sqlite3_vfs*, const char* name, int syncDir) {
  if (int rc = Release(); rc != SQLITE_OK) return rc;
  return gRealVfs->xDelete(gRealVfs, name, syncDir);
}

int Access(sqlite3_vfs*, const char* name, int flags, int* out) {
  if (int rc = Release(); rc != SQLITE_OK) return rc;
  return gRealVfs->xAccess(gRealVfs, name, flags, out);
}

int FullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
  return gRealVfs->xFullPathname(gRealVfs, name, size, out);
}

}  // namespace

const char* GatheredWritesVfs() {
  static sqlite3_vfs vfs;
  static const char* name = []() -> const char* {
    gRealVfs = sqlite3_vfs_find(nullptr);
    if (!gRealVfs) return nullptr;
    // Everything but opening, deleting and looking up files is the default layer's own, its data
    // included.
    vfs = *gRealVfs;
    vfs.iVersion = std::min(gRealVfs->iVersion, 3);
    vfs.szOsFile = static_cast<int>(sizeof(GatherFile)) + gRealVfs->szOsFile;
    vfs.pNext = nullptr;
    vfs.zName = "nullora-gathered";
    vfs.xOpen = Open;
    vfs.xDelete = Delete;
    vfs.xAccess = Access;
    vfs.xFullPathname = FullPathname;
    return sqlite3_vfs_register(&vfs, 0) == SQLITE_OK ? vfs.zName : nullptr;
  }();
  return name;
}

}  // namespace nullora

#else

namespace nullora {
const char* GatheredWritesVfs() {
  return nullptr;
}
}  // namespace nullora

#endif
