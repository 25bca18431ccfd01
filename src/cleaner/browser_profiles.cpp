#include "cleaner/browser_profiles.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "platform/path_compare.h"
#include "platform/path_names.h"
#include "platform/platform.h"
#include "shared/settings_store.h"

namespace nullora {

namespace {

// A real folder: not a link, whose other end may lie anywhere.
bool IsFolder(const std::string& path) {
  const uint32_t attributes = platform::GetFileAttributes(path);
  return attributes != platform::kInvalidAttributes && (attributes & platform::kAttrDirectory) &&
         !(attributes & platform::kAttrReparsePoint);
}

// A name a file may hold for a folder beside it, never a way out of it ("..", "a\b", "C:x").
bool IsPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:") == std::string::npos;
}

std::vector<std::string> SubfolderNames(const std::string& folder) {
  std::vector<platform::DirEntry> entries;
  std::vector<std::string> names;
  if (platform::ListDirectory(folder + "\\*", &entries) != platform::IoError::None) return names;
  for (const platform::DirEntry& entry : entries) {
    if ((entry.attributes & platform::kAttrDirectory) && !(entry.attributes & platform::kAttrReparsePoint)) {
      names.push_back(entry.name);
    }
  }
  return names;
}

void AddOnce(std::vector<BrowserProfile>& profiles, BrowserProfile profile) {
  if (!IsFolder(profile.folder)) return;
  for (const BrowserProfile& known : profiles) {
    if (platform::SamePath(known.folder, profile.folder)) return;
  }
  profiles.push_back(std::move(profile));
}

}  // namespace

std::vector<BrowserProfile> ChromiumProfiles(const std::string& userDataFolder,
                                             const std::string& cacheRoot) {
  std::vector<BrowserProfile> profiles;
  if (!IsFolder(userDataFolder)) return profiles;
  std::vector<std::string> names{"Default"};
  std::vector<std::string> numbered;
  bool guest = false;
  for (const std::string& name : SubfolderNames(userDataFolder)) {
    if (name.rfind("Profile ", 0) == 0) numbered.push_back(name);
    guest = guest || name == "Guest Profile";
  }
  std::sort(numbered.begin(), numbered.end());
  names.insert(names.end(), numbered.begin(), numbered.end());
  if (guest) names.push_back("Guest Profile");
  // A Local State that does not parse, or says something else than expected, names no profile.
  if (std::optional<std::string> text = platform::ReadSmallFile(userDataFolder + "\\Local State", 16 << 20)) {
    const nlohmann::json state = nlohmann::json::parse(*text, nullptr, false);
    if (state.is_object() && state.contains("profile") && state["profile"].is_object() &&
        state["profile"].contains("info_cache") && state["profile"]["info_cache"].is_object()) {
      for (const auto& [name, value] : state["profile"]["info_cache"].items()) {
        (void)value;
        if (IsPlainName(name)) names.push_back(name);
      }
    }
  }
  for (const std::string& name : names) {
    const std::string folder = userDataFolder + "\\" + name;
    AddOnce(profiles, {folder, cacheRoot.empty() ? folder : cacheRoot + "\\" + name, userDataFolder});
  }
  return profiles;
}

std::vector<BrowserProfile> SingleChromiumProfile(const std::string& profileFolder,
                                                  const std::string& cacheFolder) {
  std::vector<BrowserProfile> profiles;
  AddOnce(profiles, {profileFolder, cacheFolder.empty() ? profileFolder : cacheFolder, profileFolder});
  return profiles;
}

std::vector<BrowserProfile> FirefoxProfiles(const std::string& firefoxFolder,
                                            const std::string& localFirefoxFolder) {
  std::vector<BrowserProfile> profiles;
  if (!IsFolder(firefoxFolder)) return profiles;
  // profiles.ini: sections of Key=Value lines; a profile section has Path= and IsRelative=.
  if (std::optional<std::string> ini = platform::ReadSmallFile(firefoxFolder + "\\profiles.ini")) {
    std::string path;
    bool relative = true;
    auto flush = [&] {
      if (path.empty()) return;
      std::string windowsPath = path;
      for (char& c : windowsPath) {
        if (c == '/') c = '\\';
      }
      if (relative) {
        // Relative to the Firefox folder, and nowhere above it.
        bool plain = true;
        for (size_t start = 0; start <= windowsPath.size();) {
          size_t end = windowsPath.find('\\', start);
          if (end == std::string::npos) end = windowsPath.size();
          if (!IsPlainName(windowsPath.substr(start, end - start))) plain = false;
          start = end + 1;
        }
        if (plain) {
          AddOnce(profiles,
                  {firefoxFolder + "\\" + windowsPath, localFirefoxFolder + "\\" + windowsPath, {}});
        }
      } else if (platform::IsFullPath(windowsPath)) {
        // A profile of its own place keeps its cache inside it.
        AddOnce(profiles, {windowsPath, windowsPath, {}});
      }
      path.clear();
      relative = true;
    };
    size_t start = 0;
    while (start < ini->size()) {
      size_t end = ini->find('\n', start);
      if (end == std::string::npos) end = ini->size();
      const std::string line = Trim(ini->substr(start, end - start));
      start = end + 1;
      if (!line.empty() && line.front() == '[') {
        flush();
      } else if (line.rfind("Path=", 0) == 0) {
        path = Trim(line.substr(5));
      } else if (line.rfind("IsRelative=", 0) == 0) {
        relative = Trim(line.substr(11)) != "0";
      }
    }
    flush();
  }
  for (const std::string& name : SubfolderNames(firefoxFolder + "\\Profiles")) {
    AddOnce(profiles,
            {firefoxFolder + "\\Profiles\\" + name, localFirefoxFolder + "\\Profiles\\" + name, {}});
  }
  return profiles;
}

}  // namespace nullora
