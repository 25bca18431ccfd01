#include <string>
#include <vector>

#include "ui/controls/menu.h"
#include "unit/controls_fixture.h"

namespace nullora::test {
namespace {

class MenuTest : public ControlsTest {
 protected:
  MenuTest() {
    for (const char* name : {"mnuOpen", "mnuSep", "mnuClean", "mnuExit"}) {
      ui::MenuItem& item = mnuTray.AddItem(name, std::string(name) == "mnuSep" ? "-" : name);
      item.Click = [this, name] { clicked.push_back(name); };
    }
  }

  PlainForm form;
  ui::Menu mnuTray{"mnuTray", "Tray"};
  std::vector<std::string> clicked;
};

TEST_F(MenuTest, PopupRunsTheChosenItemsClick) {
  mnuTray.ScriptChoice("mnuClean");
  form.PopupMenu(mnuTray);
  EXPECT_EQ(clicked, std::vector<std::string>{"mnuClean"});
  EXPECT_EQ(mnuTray.TimesShown(), 1);
}

TEST_F(MenuTest, PopupWithNoChoiceRunsNothing) {
  form.PopupMenu(mnuTray);
  EXPECT_TRUE(clicked.empty());
  EXPECT_EQ(mnuTray.TimesShown(), 1);
}

TEST_F(MenuTest, ChoiceIsUsedByOnePopupOnly) {
  mnuTray.ScriptChoice("mnuOpen");
  form.PopupMenu(mnuTray);
  form.PopupMenu(mnuTray);
  EXPECT_EQ(clicked, std::vector<std::string>{"mnuOpen"});
}

TEST_F(MenuTest, DisabledItemDoesNotRunItsClick) {
  mnuTray.Item("mnuClean")->SetEnabled(false);
  mnuTray.ScriptChoice("mnuClean");
  form.PopupMenu(mnuTray);
  EXPECT_TRUE(clicked.empty());
}

TEST_F(MenuTest, HiddenItemIsNotShownAndTheOthersKeepTheirClicks) {
  mnuTray.Item("mnuOpen")->SetVisible(false);
  mnuTray.ScriptChoice("mnuExit");
  form.PopupMenu(mnuTray);
  EXPECT_EQ(clicked, std::vector<std::string>{"mnuExit"});
  std::vector<std::string> shown;
  for (const platform::MenuEntry& entry : mnuTray.Entries()) shown.push_back(entry.caption);
  EXPECT_EQ(shown, (std::vector<std::string>{"-", "mnuClean", "mnuExit"}));
}

TEST_F(MenuTest, EntriesCarryTheItemsStateAndSeparatorsHaveNoId) {
  mnuTray.Item("mnuOpen")->SetDefault(true);
  mnuTray.Item("mnuClean")->SetChecked(true);
  mnuTray.Item("mnuExit")->SetEnabled(false);
  std::vector<platform::MenuEntry> entries = mnuTray.Entries();
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_TRUE(entries[0].isDefault);
  EXPECT_EQ(entries[1].id, 0);
  EXPECT_TRUE(entries[2].checked);
  EXPECT_FALSE(entries[3].enabled);
}

}  // namespace
}  // namespace nullora::test
