// The stand-in's long names and case folding, which follow what Windows documents: every file has an 8.3
// short name the system makes from its long one, and names compare in the Unicode upper case.
#include <algorithm>
#include <clocale>
#include <cwctype>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/path_names.h"
#include "platform/platform.h"
#include "platform/posix/posix_stand_in.h"

namespace nullora::platform {

namespace {

std::u32string Decode(const std::string& text) {
  std::u32string out;
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    char32_t code = extra == 0 ? c : c & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < text.size(); ++k) {
      code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
    out.push_back(code);
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

std::string Encode(const std::u32string& text) {
  std::string out;
  for (char32_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

locale_t UnicodeLocale() {
  static locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return locale;
}

// A name that is already 8.3: its own short name.
bool IsShortName(const std::string& name) {
  const size_t dot = name.find('.');
  const std::string base = name.substr(0, dot);
  const std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
  if (base.empty() || base.size() > 8 || extension.size() > 3 || extension.find('.') != std::string::npos) {
    return false;
  }
  return name.find_first_of(" +,;=[]") == std::string::npos;
}

// The short names of a folder's entries, as the system hands them out: the first six usable characters
// of the name, "~" and a number counting up among the names that begin alike, and three of the extension.
std::vector<std::pair<std::string, std::string>> ShortNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  std::vector<std::pair<std::string, std::string>> result;
  std::map<std::string, int> taken;
  for (const std::string& name : names) {
    if (IsShortName(name)) {
      result.emplace_back(FoldCase(name), name);
      continue;
    }
    const size_t dot = name.find_last_of('.');
    std::string base, extension;
    for (char c : name.substr(0, dot == 0 ? std::string::npos : dot)) {
      if (c != ' ' && c != '.' && static_cast<unsigned char>(c) < 0x80) base += c;
    }
    if (dot != std::string::npos && dot > 0) extension = name.substr(dot + 1, 3);
    base = FoldCase(base.substr(0, 6));
    const int number = ++taken[base];
    std::string shortName = base + "~" + std::to_string(number);
    if (!extension.empty()) shortName += "." + FoldCase(extension);
    result.emplace_back(shortName, name);
  }
  return result;
}

}  // namespace

std::string FoldCase(const std::string& text) {
  std::u32string wide = Decode(text);
  for (char32_t& c : wide) c = static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), UnicodeLocale()));
  return Encode(wide);
}

std::string LongPathName(const std::string& path) {
  const std::string root = RootOf(path);
  if (root.empty()) return path;
  std::string result = root;
  size_t start = root.size();
  while (start < path.size()) {
    size_t end = path.find_first_of("\\/", start);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(start, end - start);
    // Names are found whatever their case, as on Windows; an 8.3 name by the short names of its folder.
    if (!part.empty() && part != "." && part != "..") {
      bool found = false;
      for (const auto& [shortName, longName] : ShortNames(posix::ToHostPath(result))) {
        if (shortName == FoldCase(part) || FoldCase(longName) == FoldCase(part)) {
          part = longName;
          found = true;
          break;
        }
      }
      if (!found) return path;
    }
    if (!part.empty()) result += (result.back() == '\\' ? "" : "\\") + part;
    start = end + 1;
  }
  if (path.back() == '\\' && result.back() != '\\') result += '\\';
  return result;
}

std::string LibraryPath(const std::string& path) {
  return posix::ToHostPath(path);
}

std::string KnownFolderPath(KnownFolder folder) {
  auto& folders = posix::Cleaner().knownFolders;
  auto found = folders.find(folder);
  return found == folders.end() ? std::string() : found->second;
}

}  // namespace nullora::platform
