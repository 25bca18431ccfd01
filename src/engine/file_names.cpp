#include "engine/file_names.h"

#include <cmath>
#include <cstdio>

#include "engine/random.h"
#include "platform/platform.h"

namespace nullora {

namespace {

// Single precision, as many significant digits as it holds (seven), no trailing zeros.
std::string SingleText(float value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.7g", static_cast<double>(value));
  return buffer;
}

}  // namespace

std::string ParentPath(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(0, slash + 1);
}

std::string RandomFileName(const std::string& path) {
  std::string folder = ParentPath(path);
  // A path without a backslash is a bare name in the current folder.
  if (folder == path) folder.clear();
  for (;;) {
    float a = static_cast<float>(Rnd() * 1000.0);
    auto n = static_cast<long>(std::nearbyint(Rnd() * 1000.0));
    std::string candidate = folder + SingleText(a) + "." + std::to_string(n);
    if (platform::GetFileAttributes(candidate) == platform::kInvalidAttributes &&
        !platform::QueryFileInfo(candidate)) {
      return candidate;
    }
  }
}

std::string RenameToRandomName(const std::string& path) {
  // A name can be taken between the check and the move: draw again a few times, then keep the name.
  for (int attempt = 0; attempt < 4; ++attempt) {
    std::string target = RandomFileName(path);
    if (platform::MoveFile(path, target) == platform::IoError::None) return target;
  }
  return path;
}

}  // namespace nullora
