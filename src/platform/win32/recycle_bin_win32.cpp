// The Recycle Bin through the shell: its size, emptying it, and where its items really are on disk,
// which the Recycle Bin wipe overwrites before the bin is emptied.
//
// What the shell gives as an item's parsing name differs:
// - Windows gives the physical path of the item's data, C:\$Recycle.Bin\<SID>\$R1X2Y3Z.txt (RECYCLER
//   on older systems, RECYCLED on FAT drives).
// - Wine 8 keeps the bin in the freedesktop trash, $XDG_DATA_HOME/Trash (else ~/.local/share/Trash):
//   the data in Trash/files/<name>, and Trash/info/<name>.trashinfo with the original place as a
//   percent-encoded host path ("Path=/home/u/.wine/dosdevices/c:/t/a%20b.txt"). Its bin folder
//   gives the ORIGINAL leaf name as the parsing name, even with SHGDN_FORPARSING alone ("a.txt",
//   neither the trash copy nor an absolute path), SHGetPathFromIDList gives the same, and the
//   "original location" column gives the original folder ("C:\t"). Its GetDetailsEx is not
//   implemented. A second deletion of the same path is stored as "a.txt-65d637a8" in Trash/files.
// A name relative to the current directory, or the original place, may hold a live file of the user's
// by now; the caller overwrites whatever comes out of here, so a path is handed out only when it lies
// in a bin's own storage and exists. Under Wine the item's original place is matched against the
// trash's info files, and the data path is built from the matching info file's name.
#include "platform/platform.h"

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <memory>

#include "platform/win32/handle_checks.h"
#include "platform/win32/owned_handles.h"
#include "platform/win32/unicode.h"

// Exported by shell32 and in its import library, but missing from the MinGW headers.
extern "C" DECLSPEC_IMPORT HRESULT WINAPI SHUpdateRecycleBinIcon(void);

namespace nullora::platform {

namespace {

using win32::SameText;
using win32::StartsWithText;

using win32::WideToUtf8;

// COM for the calling thread while one call needs it. S_FALSE (already initialised on this thread)
// also counts and is balanced; a thread already in the multithreaded apartment keeps it untouched.
class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }

 private:
  HRESULT result_;
};

using win32::ComRef;

struct CoTaskMemDeleter {
  void operator()(void* memory) const { CoTaskMemFree(memory); }
};
using IdList = std::unique_ptr<ITEMIDLIST, CoTaskMemDeleter>;

// The property set of a bin item's original place and deletion date; 2 is the original folder.
constexpr GUID kDisplacedProperties = {
    0x9B174B33, 0x40FF, 0x11D2, {0xA2, 0x7E, 0x00, 0xC0, 0x4F, 0xC3, 0x08, 0x71}};
constexpr DWORD kDisplacedFrom = 2;

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(win32::ToLongPathW(WideToUtf8(path)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> Components(const std::wstring& path) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of(L"\\/", start);
    if (end == std::wstring::npos) end = path.size();
    parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// Whether `path` names something inside a bin's storage folder on a drive, never the folder itself:
// X:\$Recycle.Bin\<SID>\..., X:\RECYCLER\<SID>\..., X:\RECYCLED\... (or with a volume root).
bool IsInWindowsBinStorage(std::wstring path) {
  if (StartsWithText(path, L"\\\\?\\")) {
    path = path.substr(4);
    if (StartsWithText(path, L"UNC\\")) return false;
  }
  std::vector<std::wstring> parts = Components(path);
  bool driveRoot = parts[0].size() == 2 && parts[0][1] == L':';
  bool volumeRoot = StartsWithText(parts[0], L"Volume{");
  if (!driveRoot && !volumeRoot) return false;
  for (size_t i = 1; i < parts.size(); ++i) {
    if (parts[i].empty() || parts[i] == L"." || parts[i] == L"..") return false;
  }
  if (parts.size() < 3) return false;
  if (SameText(parts[1], L"RECYCLED")) return true;
  return (SameText(parts[1], L"$Recycle.Bin") || SameText(parts[1], L"RECYCLER")) && parts.size() >= 4;
}

// Whether `path` is an entry directly inside Wine's trash data folder.
bool IsInWineTrash(const std::wstring& path, const std::wstring& trashFiles) {
  if (trashFiles.empty() || !StartsWithText(path, trashFiles + L"\\")) return false;
  std::wstring leaf = path.substr(trashFiles.size() + 1);
  return !leaf.empty() && leaf != L"." && leaf != L".." && leaf.find_first_of(L"\\/") == std::wstring::npos;
}

// --- Wine's trash -----------------------------------------------------------------------------------

// The Windows form of a host path, through Wine's own export; empty outside Wine.
std::wstring DosPathOfHostPath(const std::string& hostPath) {
  using DosFileName = wchar_t*(CDECL*)(const char*);
  auto dosFileName = reinterpret_cast<DosFileName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
  if (!dosFileName) return {};
  wchar_t* dosPath = dosFileName(hostPath.c_str());
  if (!dosPath) return {};
  std::wstring result = dosPath;
  HeapFree(GetProcessHeap(), 0, dosPath);
  return result;
}

std::string Environment(const wchar_t* name) {
  DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
  if (needed == 0) return {};
  std::wstring value(needed, L'\0');
  DWORD written = GetEnvironmentVariableW(name, value.data(), needed);
  if (written == 0 || written >= needed) return {};
  value.resize(written);
  return WideToUtf8(value);
}

// The trash folder Wine's bin uses, in Windows form; empty outside Wine or when it does not exist.
// Wine takes XDG_DATA_HOME only when it is an absolute path, as the freedesktop rules say.
std::wstring WineTrashFolder() {
  std::string dataHome = Environment(L"XDG_DATA_HOME");
  if (dataHome.empty() || dataHome[0] != '/') {
    std::string home = Environment(L"HOME");
    if (home.empty() || home[0] != '/') return {};
    dataHome = home + "/.local/share";
  }
  std::wstring trash = DosPathOfHostPath(dataHome + "/Trash");
  while (!trash.empty() && (trash.back() == L'\\' || trash.back() == L'/')) trash.pop_back();
  DWORD attributes = trash.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(trash.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
  return trash;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(const std::string& text) {
  std::string decoded;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      decoded.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
    } else {
      decoded.push_back(text[i]);
    }
  }
  return decoded;
}

// An info file holds two short lines; anything far larger is not one.
std::string ReadInfoFile(const std::wstring& path) {
  return platform::ReadSmallFile(WideToUtf8(path), 64 * 1024).value_or(std::string());
}

// The host path in the "Path=" line of the [Trash Info] group, decoded.
std::string TrashInfoPath(const std::string& info) {
  bool inGroup = false;
  size_t start = 0;
  while (start < info.size()) {
    size_t end = info.find('\n', start);
    if (end == std::string::npos) end = info.size();
    std::string line = info.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      inGroup = line == "[Trash Info]";
    } else if (inGroup && line.compare(0, 5, "Path=") == 0) {
      return PercentDecoded(line.substr(5));
    }
    start = end + 1;
  }
  return {};
}

struct TrashEntry {
  std::wstring originalPath;  // Windows form, as Wine's bin shows it
  std::wstring dataPath;      // <trash>\files\<name>
  bool taken = false;
};

// Every item of the trash whose data is there, with the place it was deleted from.
std::vector<TrashEntry> WineTrashEntries(const std::wstring& trash) {
  std::vector<TrashEntry> entries;
  static constexpr wchar_t kSuffix[] = L".trashinfo";
  constexpr size_t kSuffixLength = sizeof kSuffix / sizeof kSuffix[0] - 1;
  WIN32_FIND_DATAW found;
  win32::UniqueFind search(FindFirstFileW((trash + L"\\info\\*").c_str(), &found));
  if (!search.Valid()) return entries;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::wstring infoName = found.cFileName;
    if (infoName.size() <= kSuffixLength ||
        infoName.compare(infoName.size() - kSuffixLength, kSuffixLength, kSuffix) != 0) {
      continue;
    }
    std::wstring dataPath = trash + L"\\files\\" + infoName.substr(0, infoName.size() - kSuffixLength);
    std::string hostPath = TrashInfoPath(ReadInfoFile(trash + L"\\info\\" + infoName));
    if (hostPath.empty() || hostPath[0] != '/' || !Exists(dataPath)) continue;
    std::wstring originalPath = DosPathOfHostPath(hostPath);
    if (originalPath.empty()) continue;
    entries.push_back({originalPath, dataPath});
  } while (FindNextFileW(search.Get(), &found));
  return entries;
}

// --- the shell's view -------------------------------------------------------------------------------

std::wstring StrRetText(STRRET* text, LPCITEMIDLIST item) {
  wchar_t* value = nullptr;
  if (FAILED(StrRetToStrW(text, item, &value)) || !value) return {};
  std::wstring result = value;
  CoTaskMemFree(value);
  return result;
}

std::wstring DisplayName(IShellFolder* folder, LPCITEMIDLIST item, SHGDNF flags) {
  STRRET name;
  if (FAILED(folder->GetDisplayNameOf(item, flags, &name))) return {};
  return StrRetText(&name, item);
}

// The column of the item's original folder, found by what it holds rather than by its place.
int OriginalFolderColumn(IShellFolder2* folder) {
  for (UINT column = 0; column < 32; ++column) {
    SHCOLUMNID id;
    if (FAILED(folder->MapColumnToSCID(column, &id))) break;
    if (IsEqualGUID(id.fmtid, kDisplacedProperties) && id.pid == kDisplacedFrom)
      return static_cast<int>(column);
  }
  return -1;
}

// Where the item was deleted from, as the shell shows it.
std::wstring OriginalPath(IShellFolder* folder, IShellFolder2* details, int column, LPCITEMIDLIST item) {
  if (!details || column < 0) return {};
  SHELLDETAILS cell;
  if (FAILED(details->GetDetailsOf(item, static_cast<UINT>(column), &cell))) return {};
  std::wstring directory = StrRetText(&cell.str, item);
  std::wstring name = DisplayName(folder, item, SHGDN_INFOLDER | SHGDN_FORPARSING);
  if (directory.empty() || name.empty()) return {};
  if (directory.back() != L'\\') directory += L'\\';
  return directory + name;
}

}  // namespace

bool QueryRecycleBin(RecycleBinInfo* info) {
  *info = RecycleBinInfo{};
  SHQUERYRBINFO query = {};
  query.cbSize = sizeof query;
  if (FAILED(SHQueryRecycleBinW(nullptr, &query))) return false;
  info->size = static_cast<uint64_t>(query.i64Size);
  info->items = static_cast<uint64_t>(query.i64NumItems);
  return true;
}

// Wine leaves an item's record, Trash\info\<name>.trashinfo with the place the item was deleted from,
// once the item's data is gone: the record is itself a trace of what the user deleted.
void RemoveOrphanedTrashRecords() {
  std::wstring trash = WineTrashFolder();
  if (trash.empty()) return;
  static constexpr wchar_t kSuffix[] = L".trashinfo";
  constexpr size_t kSuffixLength = sizeof kSuffix / sizeof kSuffix[0] - 1;
  WIN32_FIND_DATAW found;
  win32::UniqueFind search(FindFirstFileW((trash + L"\\info\\*.trashinfo").c_str(), &found));
  if (!search.Valid()) return;
  do {
    std::wstring infoName = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || infoName.size() <= kSuffixLength) continue;
    std::wstring dataPath = trash + L"\\files\\" + infoName.substr(0, infoName.size() - kSuffixLength);
    if (GetFileAttributesW(dataPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
      // Never by name: a record that is a link would take what it points to with it.
      win32::RemoveThroughHandle(trash + L"\\info\\" + infoName, win32::RemoveKind::FileOrLink);
    }
  } while (FindNextFileW(search.Get(), &found));
}

bool EmptyRecycleBin() {
  ComApartment com;
  HRESULT result =
      SHEmptyRecycleBinW(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
  RemoveOrphanedTrashRecords();
  // What is left decides, not the answer: an empty bin answers with a failure code (E_UNEXPECTED on
  // recent Windows), and Wine 8 answers S_OK while every folder item stays in its trash.
  RecycleBinInfo info;
  if (!QueryRecycleBin(&info)) return result == S_OK;
  return info.items == 0;
}

void UpdateRecycleBinIcon() {
  SHUpdateRecycleBinIcon();
}

std::vector<std::string> RecycleBinItemPaths(size_t* unplacedCount) {
  std::vector<std::string> paths;
  size_t ignored = 0;
  size_t& notPlaced = unplacedCount ? *unplacedCount : ignored;
  notPlaced = 0;
  ComApartment com;
  ComRef<IShellFolder> desktop;
  if (FAILED(SHGetDesktopFolder(desktop.Out()))) return paths;
  LPITEMIDLIST rawBin = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_BITBUCKET, &rawBin))) return paths;
  IdList bin(rawBin);
  ComRef<IShellFolder> folder;
  if (FAILED(desktop->BindToObject(bin.get(), nullptr, IID_IShellFolder, folder.OutVoid()))) return paths;
  ComRef<IShellFolder2> details;
  folder->QueryInterface(IID_IShellFolder2, details.OutVoid());
  int originalColumn = details ? OriginalFolderColumn(details.Get()) : -1;
  ComRef<IEnumIDList> items;
  if (folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN,
                          items.Out()) != S_OK ||
      !items) {
    return paths;
  }

  std::wstring wineTrash = WineTrashFolder();
  std::wstring wineTrashFiles = wineTrash.empty() ? std::wstring() : wineTrash + L"\\files";
  std::vector<std::wstring> unplaced;  // original paths of the items the shell gave no usable path for
  LPITEMIDLIST rawItem = nullptr;
  while (items->Next(1, &rawItem, nullptr) == S_OK) {
    IdList item(rawItem);
    std::wstring parsing = DisplayName(folder.Get(), item.get(), SHGDN_FORPARSING);
    if ((IsInWindowsBinStorage(parsing) || IsInWineTrash(parsing, wineTrashFiles)) && Exists(parsing)) {
      paths.push_back(WideToUtf8(parsing));
      continue;
    }
    std::wstring original = OriginalPath(folder.Get(), details.Get(), originalColumn, item.get());
    if (original.empty()) {
      ++notPlaced;
    } else {
      unplaced.push_back(original);
    }
  }

  if (unplaced.empty()) return paths;
  if (wineTrash.empty()) {
    notPlaced += unplaced.size();
    return paths;
  }
  // Items deleted twice from one place share an original path; each takes one of that path's entries,
  // so every one of them is covered whichever way they pair up.
  std::vector<TrashEntry> entries = WineTrashEntries(wineTrash);
  for (const std::wstring& original : unplaced) {
    bool placed = false;
    for (TrashEntry& entry : entries) {
      if (entry.taken || !SameText(entry.originalPath, original)) continue;
      entry.taken = placed = true;
      paths.push_back(WideToUtf8(entry.dataPath));
      break;
    }
    if (!placed) ++notPlaced;
  }
  return paths;
}

}  // namespace nullora::platform
