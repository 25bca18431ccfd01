// The browser's stores the cleaner reaches through the system: the URL cache, the history store and
// AutoComplete. Declared in portable types, defined in win32/ with the real calls and in posix/ as the
// stand-in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// <wininet.h> maps this name to its A/W variant; the seam's function keeps its own.
#undef DeleteUrlCacheEntry

namespace nullora::platform {

// The browser's URL cache. Entry types are the platform's bits (cookie 0x00100000, history 0x00200000).
struct UrlCacheEntry {
  std::string url;
  uint32_t type = 0;
};
// The cache groups; false when they cannot be listed for any reason but there being none.
bool UrlCacheGroups(std::vector<int64_t>* groups);
// The cache keeps three containers, and a walk lists one: Windows gives content entries only when no
// search pattern is named, cookies for "cookie:" and the history for "visited:". (Wine lists all of
// them for no pattern; the type bits still tell them apart.)
enum class UrlCacheContainer { Content, Cookies, History };
// The entries of a group, or with no group the entries the cache lists outside any group.
std::vector<UrlCacheEntry> UrlCacheEntries(std::optional<int64_t> group, UrlCacheContainer container);
bool DeleteUrlCacheEntry(const std::string& url);
// Removes an (empty) group without flushing what it may still hold.
bool DeleteUrlCacheGroup(int64_t group);
// The browser's history store (IUrlHistoryStg2::ClearHistory); false when it cannot be reached.
bool ClearBrowserHistoryStore();
// The shell's AutoComplete clearing export, when the platform has it; false when not.
bool ClearAutoCompleteExport();

}  // namespace nullora::platform
