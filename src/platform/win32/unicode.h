// UTF-8 (the core's strings) to UTF-16 (the W functions) and back, and the long-path form of a path.
#pragma once

#include <cstddef>
#include <string>

namespace nullora::platform::win32 {

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const wchar_t* text, size_t length);
std::string WideToUtf8(const std::wstring& text);

// `path` in UTF-16, ready for a W function. A long absolute path gets the \\?\ prefix (\\?\UNC\ for a
// share) after being made canonical, since the prefix turns off the normalisation Windows would
// otherwise do. Anything short is handed over as given, so relative paths keep their meaning.
std::wstring ToLongPathW(const std::string& path);

bool IsSlash(wchar_t c);
// Equal, or beginning with, in the way Windows compares names: case aside.
bool SameText(const std::wstring& a, const std::wstring& b);
bool StartsWithText(const std::wstring& text, const std::wstring& prefix);

// \\?\ and \\.\ paths, which go to the object manager as they are.
bool IsPrefixed(const std::wstring& path);
// `path` made full against the current directory (GetFullPathNameW); empty when it cannot be.
std::wstring FullPathW(const std::wstring& path);

}  // namespace nullora::platform::win32
