// The program's pictures at the display's scale: every icon holds a drawing of each size the windows
// load, and the size chosen for a dpi is the nearest of them.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "platform/win32/resource_ids.h"
#include "platform/win32/widget_base.h"

namespace nullora::platform::win32 {
namespace {

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colors, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
struct GroupIconHeader {
  WORD reserved, type, count;
};
#pragma pack(pop)

// The pixel sizes the icon resource itself holds, not what LoadImage would scale to.
std::set<int> DrawnSizes(int id) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  if (!found) return {};
  const auto* header = static_cast<const GroupIconHeader*>(LockResource(LoadResource(module, found)));
  const auto* entries = reinterpret_cast<const GroupIconEntry*>(header + 1);
  std::set<int> sizes;
  for (WORD i = 0; i < header->count; ++i) {
    if (entries[i].width == entries[i].height && entries[i].bitCount == 32) sizes.insert(entries[i].width);
  }
  return sizes;
}

TEST(PlatformPicturesTest, EveryPictureIsDrawnAtEachSizeAndTheSizeFollowsTheDpi) {
  const std::set<int> all{16, 24, 32, 48};
  for (int id :
       {IDI_NULLORA, IDB_TREE_COMPUTER, IDB_TREE_WINDOWS, IDB_TREE_BROWSER, IDB_TREE_RECYCLE_BIN,
        IDB_TREE_SEARCH, IDB_TREE_TEMP_FILES, IDB_TREE_RECENT_DOCS, IDB_TREE_COOKIES, IDB_TREE_INTERNET_FILES,
        IDB_TREE_URL_HISTORY, IDB_TREE_AUTOCOMPLETE, IDB_JOB_PICTURE1, IDB_JOB_PICTURE2}) {
    EXPECT_EQ(DrawnSizes(id), all) << "picture " << id;
  }
  // The tree's 16 and the dialogs' 32 at 100 % and 150 %; nothing larger than 48 is drawn.
  EXPECT_EQ(IconPixelsAt(16, 96), 16);
  EXPECT_EQ(IconPixelsAt(16, 144), 24);
  EXPECT_EQ(IconPixelsAt(32, 144), 48);
  EXPECT_EQ(IconPixelsAt(32, 288), 48);
}

}  // namespace
}  // namespace nullora::platform::win32
