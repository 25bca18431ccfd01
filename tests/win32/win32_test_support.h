// What the Wine-only tests share: the host's own programs, and waiting for an effect without fixed sleeps.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/unicode.h"

namespace nullora::platform {

// The host's own programs, started from the Windows side; only Wine has them.
class HostShell {
 public:
  static bool Available() { return UnixFileNameFunction() != nullptr; }

  static std::wstring UnixPath(const std::wstring& path) {
    auto unixFileName = UnixFileNameFunction();
    if (!unixFileName) return {};
    char* unixPath = unixFileName(path.c_str());
    if (!unixPath) return {};
    std::wstring wide = win32::Utf8ToWide(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return wide;
  }

  // Starts `commandLine`; a host process cannot be waited on from here, so callers watch its effect.
  static bool Start(std::wstring commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
      return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
  }

 private:
  using UnixFileName = char*(CDECL*)(const wchar_t*);
  static UnixFileName UnixFileNameFunction() {
    return reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  }
};

template <typename Condition>
bool WaitFor(Condition condition) {
  for (int attempt = 0; attempt < 250; ++attempt) {
    if (condition()) return true;
    Sleep(20);
  }
  return condition();
}

// A fresh directory under the temp folder whose name starts with `stem`; empty when none could be made.
inline std::wstring MakeTestDirectory(const std::wstring& stem) {
  static int sequence = 0;
  wchar_t temp[MAX_PATH + 1];
  DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0) return {};
  // Wine hands out the same process ids run after run: the tick count tells the runs apart.
  const std::wstring base = std::wstring(temp, length) + stem + std::to_wstring(GetCurrentProcessId()) + L"-" +
                            std::to_wstring(GetTickCount64());
  std::wstring dir;
  do {
    dir = base + L"-" + std::to_wstring(++sequence);
  } while (!CreateDirectoryW(dir.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
  return GetFileAttributesW(dir.c_str()) != INVALID_FILE_ATTRIBUTES ? dir : std::wstring();
}

// Not through the code under test, and never through a link: a link is removed, its target kept.
inline void RemoveTree(const std::wstring& dir) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = dir + L"\\" + name;
      SetFileAttributesW(path.c_str(), found.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) RemoveTree(path);
        if (!RemoveDirectoryW(path.c_str())) DeleteFileW(path.c_str());
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(dir.c_str());
}

inline void WriteWhole(const std::wstring& path, const std::string& bytes) {
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  EXPECT_EQ(written, bytes.size());
  CloseHandle(file);
}

inline std::string ReadWhole(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<cannot open>";
  std::string content;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
  CloseHandle(file);
  return content;
}

inline std::string ReadWhole(const std::string& path) { return ReadWhole(win32::Utf8ToWide(path)); }

}  // namespace nullora::platform
