// Paths compared the way the system compares them: made full, with long names instead of 8.3 ones, the
// final separator dropped, and case folded by the system's rules (not byte by byte).
#pragma once

#include <string>

namespace nullora::platform {

// The form every comparison uses; empty when the path cannot be made full.
std::string ComparablePath(const std::string& path);
// Both name the same place (never true for an empty path).
bool SamePath(const std::string& a, const std::string& b);
// `path` lies somewhere below `ancestor` (not at it).
bool IsBelow(const std::string& path, const std::string& ancestor);

}  // namespace nullora::platform
