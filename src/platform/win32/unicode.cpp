#include "platform/win32/unicode.h"

#include <windows.h>

#include <climits>

namespace nullora::platform::win32 {

namespace {

// Below MAX_PATH with room to spare: CreateDirectoryW already stops at MAX_PATH - 12.
constexpr size_t kLongPathThreshold = 240;

}  // namespace

bool IsSlash(wchar_t c) {
  return c == L'\\' || c == L'/';
}

bool SameText(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                              TRUE) == CSTR_EQUAL;
}

bool StartsWithText(const std::wstring& text, const std::wstring& prefix) {
  return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

bool IsPrefixed(const std::wstring& path) {
  return path.size() >= 4 && IsSlash(path[0]) && IsSlash(path[1]) && (path[2] == L'?' || path[2] == L'.') &&
         IsSlash(path[3]);
}

std::wstring FullPathW(const std::wstring& path) {
  DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  while (needed != 0) {
    std::wstring full(needed, L'\0');
    DWORD written = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (written == 0) break;
    if (written < needed) {
      full.resize(written);
      return full;
    }
    needed = written;  // the current directory changed in between
  }
  return {};
}

std::wstring Utf8ToWide(const std::string& text) {
  if (text.empty() || text.size() > static_cast<size_t>(INT_MAX)) return {};
  int length = static_cast<int>(text.size());
  int wideLength = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
  if (wideLength <= 0) return {};
  std::wstring wide(static_cast<size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), wideLength);
  return wide;
}

std::string WideToUtf8(const wchar_t* text, size_t length) {
  if (length == 0 || length > static_cast<size_t>(INT_MAX)) return {};
  int wideLength = static_cast<int>(length);
  int utf8Length = WideCharToMultiByte(CP_UTF8, 0, text, wideLength, nullptr, 0, nullptr, nullptr);
  if (utf8Length <= 0) return {};
  std::string utf8(static_cast<size_t>(utf8Length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, wideLength, utf8.data(), utf8Length, nullptr, nullptr);
  return utf8;
}

std::string WideToUtf8(const std::wstring& text) {
  return WideToUtf8(text.data(), text.size());
}

std::wstring ToLongPathW(const std::string& path) {
  std::wstring wide = Utf8ToWide(path);
  if (wide.size() <= kLongPathThreshold || IsPrefixed(wide)) return wide;
  // A long relative path could not be opened as it stands either; resolved against the current
  // directory now it means the same file.
  std::wstring full = FullPathW(wide);
  if (full.size() >= 3 && full[1] == L':' && IsSlash(full[2])) return L"\\\\?\\" + full;
  if (full.size() >= 3 && IsSlash(full[0]) && IsSlash(full[1]) && !IsSlash(full[2])) {
    return L"\\\\?\\UNC\\" + full.substr(2);
  }
  return wide;
}

}  // namespace nullora::platform::win32
