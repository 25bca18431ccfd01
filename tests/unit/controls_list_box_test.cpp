#include <string>
#include <vector>

#include "ui/controls/list_box.h"
#include "unit/controls_fixture.h"

namespace nullora::test {
namespace {

class ListBoxTest : public ControlsTest {
 protected:
  ListBoxTest() {
    lstTraces.AddItem("Recent documents");
    lstTraces.AddItem("Temporary files");
    lstTraces.AddItem("Run history");
    lstTraces.Click = [this] { clicks.push_back(lstTraces.Text()); };
  }

  PlainForm form;
  ui::ListBox lstTraces{form, nullptr, "lstTraces"};
  std::vector<std::string> clicks;
};

TEST_F(ListBoxTest, SettingListIndexRaisesClickWithTheEntrySelected) {
  lstTraces.SetListIndex(1);
  EXPECT_EQ(clicks, std::vector<std::string>{"Temporary files"});
}

TEST_F(ListBoxTest, SettingTheCurrentListIndexRaisesNoClick) {
  lstTraces.SetListIndex(1);
  lstTraces.SetListIndex(1);
  EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(ListBoxTest, UserSelectionRaisesClickOnAChangeOnly) {
  lstTraces.UserSelect(2);
  lstTraces.UserSelect(2);
  lstTraces.UserSelect(0);
  EXPECT_EQ(clicks, (std::vector<std::string>{"Run history", "Recent documents"}));
}

TEST_F(ListBoxTest, UserSelectionIsIgnoredWhileDisabled) {
  lstTraces.SetEnabled(false);
  lstTraces.UserSelect(2);
  EXPECT_EQ(lstTraces.ListIndex(), -1);
  EXPECT_TRUE(clicks.empty());
}

TEST_F(ListBoxTest, InsertingBeforeTheSelectionKeepsTheSameEntrySelected) {
  lstTraces.SetListIndex(0);
  lstTraces.AddItem("Clipboard", 0);
  EXPECT_EQ(lstTraces.ListIndex(), 1);
  EXPECT_EQ(lstTraces.Text(), "Recent documents");
}

TEST_F(ListBoxTest, RemovingTheSelectedEntrySelectsNothing) {
  lstTraces.SetListIndex(1);
  lstTraces.RemoveItem(1);
  EXPECT_EQ(lstTraces.ListCount(), 2);
  EXPECT_EQ(lstTraces.ListIndex(), -1);
  EXPECT_EQ(lstTraces.Text(), "");
}

TEST_F(ListBoxTest, ClearEmptiesTheList) {
  lstTraces.SetListIndex(1);
  lstTraces.Clear();
  EXPECT_EQ(lstTraces.ListCount(), 0);
  EXPECT_EQ(lstTraces.ListIndex(), -1);
  EXPECT_EQ(lstTraces.List(0), "");
}

}  // namespace
}  // namespace nullora::test
