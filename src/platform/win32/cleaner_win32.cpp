// What the privacy cleaner reaches on Windows: the process list, the shell's special folders, the
// browser's URL cache (wininet), its history store and the AutoComplete export.
#include "platform/platform.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>
#include <tlhelp32.h>
#include <urlhist.h>
#include <wininet.h>

// <wininet.h> maps this name to its A/W variant; here it is the seam's own function.
#undef DeleteUrlCacheEntry

#include <algorithm>
#include <vector>

#include "platform/win32/owned_handles.h"
#include "platform/win32/unicode.h"
#include "platform/win32/widget_base.h"

namespace nullora::platform {

namespace {

using win32::ComRef;
using win32::UniqueHandle;
using win32::Utf8ToWide;
using win32::WideToUtf8;

std::string WithoutFinalBackslash(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

// Walks the entries a cache enumeration gives, each fetched into a block of exactly the size the cache
// asks for (one at a time, as large as that entry needs).
template <typename First, typename Next>
std::vector<UrlCacheEntry> WalkEntries(First first, Next next) {
  std::vector<UrlCacheEntry> entries;
  std::vector<BYTE> block;
  DWORD size = 0;
  HANDLE find = first(nullptr, &size);
  // Each block as large as the cache asks, and never smaller than the record it must hold.
  auto blockOf = [](DWORD asked) { return std::max<size_t>(asked, sizeof(INTERNET_CACHE_ENTRY_INFOW)); };
  if (!find && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    block.assign(blockOf(size), 0);
    size = static_cast<DWORD>(block.size());
    find = first(reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(block.data()), &size);
  }
  if (!find) return entries;
  for (;;) {
    auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(block.data());
    if (info->lpszSourceUrlName)
      entries.push_back({WideToUtf8(info->lpszSourceUrlName), info->CacheEntryType});
    size = 0;
    if (next(find, nullptr, &size) || GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
    block.assign(blockOf(size), 0);
    size = static_cast<DWORD>(block.size());
    if (!next(find, reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(block.data()), &size)) break;
  }
  FindCloseUrlCache(find);
  return entries;
}

}  // namespace

namespace {

// The name of each running process that `take` wants, by its id.
template <typename Take>
std::vector<std::string> ProcessNames(Take take) {
  std::vector<std::string> names;
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return names;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
       more = Process32NextW(snapshot.Get(), &entry)) {
    if (take(entry.th32ProcessID)) names.push_back(WideToUtf8(entry.szExeFile));
  }
  return names;
}

BOOL CALLBACK NoteVisibleWindow(HWND window, LPARAM processes) {
  if (IsWindowVisible(window)) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    reinterpret_cast<std::vector<DWORD>*>(processes)->push_back(process);
  }
  return TRUE;
}

}  // namespace

std::vector<std::string> RunningProcessNames() {
  return ProcessNames([](DWORD) { return true; });
}

std::vector<std::string> ProcessNamesWithWindows() {
  std::vector<DWORD> shown;
  EnumWindows(NoteVisibleWindow, reinterpret_cast<LPARAM>(&shown));
  return ProcessNames(
      [&](DWORD process) { return std::find(shown.begin(), shown.end(), process) != shown.end(); });
}

std::string SpecialFolderPath(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE)) return {};
  return WithoutFinalBackslash(WideToUtf8(path));
}

std::string TempFolderPath() {
  wchar_t path[MAX_PATH + 1] = {};
  DWORD length = GetTempPathW(MAX_PATH + 1, path);
  if (length == 0 || length > MAX_PATH) return {};
  std::string folder = WideToUtf8(path);
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

std::string KnownFolderPath(KnownFolder folder) {
  if (folder == KnownFolder::Windows) {
    wchar_t path[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryW(path, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::string() : WithoutFinalBackslash(WideToUtf8(path));
  }
  if (folder == KnownFolder::ProgramFiles64) {
    // A 32-bit program is shown "Program Files (x86)" under both names; the 64-bit one is only told
    // through the environment.
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableW(L"ProgramW6432", path, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::string() : WithoutFinalBackslash(WideToUtf8(path));
  }
  const KNOWNFOLDERID* id = nullptr;
  switch (folder) {
    case KnownFolder::System:
      id = &FOLDERID_System;
      break;
    case KnownFolder::ProgramFiles:
      id = &FOLDERID_ProgramFiles;
      break;
    case KnownFolder::ProgramFilesX86:
      id = &FOLDERID_ProgramFilesX86;
      break;
    case KnownFolder::ProgramData:
      id = &FOLDERID_ProgramData;
      break;
    case KnownFolder::Profile:
      id = &FOLDERID_Profile;
      break;
    case KnownFolder::Documents:
      id = &FOLDERID_Documents;
      break;
    case KnownFolder::Desktop:
      id = &FOLDERID_Desktop;
      break;
    case KnownFolder::Downloads:
      id = &FOLDERID_Downloads;
      break;
    case KnownFolder::Pictures:
      id = &FOLDERID_Pictures;
      break;
    case KnownFolder::Music:
      id = &FOLDERID_Music;
      break;
    case KnownFolder::Videos:
      id = &FOLDERID_Videos;
      break;
    case KnownFolder::Favorites:
      id = &FOLDERID_Favorites;
      break;
    case KnownFolder::AppData:
      id = &FOLDERID_RoamingAppData;
      break;
    case KnownFolder::LocalAppData:
      id = &FOLDERID_LocalAppData;
      break;
    default:
      return {};
  }
  // Where the folder is meant to be, also when it has not been made yet: a TEMP pointed at the place
  // of a missing Documents folder is refused all the same.
  PWSTR path = nullptr;
  std::string result;
  if (SUCCEEDED(SHGetKnownFolderPath(*id, KF_FLAG_DONT_VERIFY, nullptr, &path)) && path) {
    result = WithoutFinalBackslash(WideToUtf8(path));
  }
  CoTaskMemFree(path);
  return result;
}

bool UrlCacheGroups(std::vector<int64_t>* groups) {
  groups->clear();
  GROUPID group = 0;
  HANDLE find = FindFirstUrlCacheGroup(0, CACHEGROUP_SEARCH_ALL, nullptr, 0, &group, nullptr);
  if (!find) {
    // "No groups" comes as any of these, depending on the system.
    DWORD code = GetLastError();
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_NO_MORE_ITEMS || code == ERROR_NO_MORE_FILES;
  }
  // Every "next" that fails ends the walk, whatever it says: a walk that would not end is worse.
  do {
    groups->push_back(group);
  } while (groups->size() < 100000 && FindNextUrlCacheGroup(find, &group, nullptr));
  FindCloseUrlCache(find);
  return true;
}

std::vector<UrlCacheEntry> UrlCacheEntries(std::optional<int64_t> group, UrlCacheContainer container) {
  const GROUPID id = group ? static_cast<GROUPID>(*group) : 0;
  const DWORD filter = URLCACHE_FIND_DEFAULT_FILTER;
  const wchar_t* pattern = container == UrlCacheContainer::Cookies   ? L"cookie:"
                           : container == UrlCacheContainer::History ? L"visited:"
                                                                     : nullptr;
  return WalkEntries(
      [&](INTERNET_CACHE_ENTRY_INFOW* info, DWORD* size) {
        return FindFirstUrlCacheEntryExW(pattern, 0, filter, id, info, size, nullptr, nullptr, nullptr);
      },
      [](HANDLE find, INTERNET_CACHE_ENTRY_INFOW* info, DWORD* size) {
        return FindNextUrlCacheEntryExW(find, info, size, nullptr, nullptr, nullptr) != FALSE;
      });
}

bool DeleteUrlCacheEntry(const std::string& url) {
  return DeleteUrlCacheEntryW(Utf8ToWide(url).c_str()) != FALSE;
}

bool DeleteUrlCacheGroup(int64_t group) {
  return ::DeleteUrlCacheGroup(static_cast<GROUPID>(group), 0, nullptr) != FALSE;
}

bool ClearBrowserHistoryStore() {
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  bool cleared = false;
  {
    ComRef<IUrlHistoryStg2> history;
    if (SUCCEEDED(CoCreateInstance(CLSID_CUrlHistory, nullptr, CLSCTX_INPROC_SERVER, IID_IUrlHistoryStg2,
                                   history.OutVoid()))) {
      cleared = SUCCEEDED(history->ClearHistory());
    }
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return cleared;
}

bool ClearAutoCompleteExport() {
  // Wine's shdocvw has another function under that ordinal, and calling it ends the program (seen:
  // Wine 8). There the browser's own AutoComplete store, which the cleaner also removes, is all there is.
  if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) return false;
  HMODULE shdocvw = LoadLibraryW(L"shdocvw.dll");
  if (!shdocvw) return false;
  using ClearAutoComplete = DWORD(WINAPI*)(DWORD);
  auto clear = reinterpret_cast<ClearAutoComplete>(
      reinterpret_cast<void*>(GetProcAddress(shdocvw, MAKEINTRESOURCEA(211))));
  if (clear) clear(0);
  FreeLibrary(shdocvw);
  return clear != nullptr;
}

void SetShutdownBlockReason(Widget* window, const std::string& reason) {
  auto* widget = dynamic_cast<win32::WindowWidget*>(window);
  if (!widget || !widget->Hwnd()) return;
  if (reason.empty()) {
    ShutdownBlockReasonDestroy(widget->Hwnd());
  } else {
    ShutdownBlockReasonCreate(widget->Hwnd(), Utf8ToWide(reason).c_str());
  }
}

}  // namespace nullora::platform
