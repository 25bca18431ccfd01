// Where today's browsers keep their profiles: every profile of a Chromium browser's user data folder,
// every profile of Firefox. Only folders that are there are returned; nothing is created or changed.
#pragma once

#include <string>
#include <vector>

namespace nullora {

// One profile of a browser.
struct BrowserProfile {
  std::string folder;       // the profile's own folder ("...\User Data\Default", "...\Profiles\ab12.default")
  std::string localFolder;  // where its cache lies: Firefox's under Local AppData, else `folder`
  std::string dataFolder;   // the Chromium user data folder that holds it (shader caches); empty for Firefox
};

// The profiles of a Chromium user data folder: "Default", "Profile N", "Guest Profile", and each folder
// that `Local State` names in `profile.info_cache`, in that order, each once. A `Local State` that does
// not parse names none. `cacheRoot`, when given, is where the profiles' caches lie instead (Opera keeps
// them under Local AppData).
std::vector<BrowserProfile> ChromiumProfiles(const std::string& userDataFolder,
                                             const std::string& cacheRoot = {});
// An Opera profile is the folder itself.
std::vector<BrowserProfile> SingleChromiumProfile(const std::string& profileFolder,
                                                  const std::string& cacheFolder);

// Firefox's profiles: each that `profiles.ini` in `firefoxFolder` names (Path= relative to it, or
// absolute with IsRelative=0), then each folder below its Profiles folder; caches below
// `localFirefoxFolder`\Profiles\<the profile's folder name>.
std::vector<BrowserProfile> FirefoxProfiles(const std::string& firefoxFolder,
                                            const std::string& localFirefoxFolder);

}  // namespace nullora
