#include "platform/path_compare.h"

#include "platform/path_names.h"
#include "platform/platform.h"

namespace nullora::platform {

namespace {

// \\?\C:\x is C:\x, \\?\UNC\server\share is \\server\share: the prefix only turns off the parsing.
std::string WithoutLongPrefix(const std::string& path) {
  if (path.rfind("\\\\?\\", 0) != 0) return path;
  std::string rest = path.substr(4);
  if (rest.size() >= 4 && FoldCase(rest.substr(0, 4)) == "UNC\\") return "\\\\" + rest.substr(4);
  return rest;
}

}  // namespace

std::string ComparablePath(const std::string& path) {
  if (path.empty()) return {};
  std::string full = FullPathName(WithoutLongPrefix(path));
  if (full.empty() || NamesDeviceOrVolume(full)) return {};
  full = WithoutLongPrefix(LongPathName(full));
  const size_t root = RootOf(full).size();
  while (full.size() > root && (full.back() == '\\' || full.back() == '/')) full.pop_back();
  for (char& c : full) {
    if (c == '/') c = '\\';
  }
  return FoldCase(full);
}

bool SamePath(const std::string& a, const std::string& b) {
  const std::string first = ComparablePath(a);
  return !first.empty() && first == ComparablePath(b);
}

bool IsBelow(const std::string& path, const std::string& ancestor) {
  const std::string inner = ComparablePath(path);
  std::string outer = ComparablePath(ancestor);
  if (inner.empty() || outer.empty()) return false;
  if (outer.back() != '\\') outer += '\\';
  return inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0;
}

}  // namespace nullora::platform
