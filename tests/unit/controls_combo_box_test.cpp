#include <string>
#include <vector>

#include "ui/controls/combo_box.h"
#include "unit/controls_fixture.h"

namespace nullora::test {
namespace {

class ComboBoxTest : public ControlsTest {
 protected:
  ComboBoxTest() {
    for (ui::ComboBox* combo : {&cboScheme, &cboDay}) {
      combo->AddItem("Quick");
      combo->AddItem("DoD 5220.22-M");
      combo->AddItem("Gutmann");
      combo->Click = [this, combo] { events.push_back(combo->Name() + ".Click " + combo->Text()); };
      combo->Change = [this, combo] { events.push_back(combo->Name() + ".Change " + combo->Text()); };
    }
  }

  PlainForm form;
  ui::ComboBox cboScheme{form, nullptr, "cboScheme"};
  ui::ComboBox cboDay{form, nullptr, "cboDay", ui::ComboBoxStyle::DropDownList};
  std::vector<std::string> events;
};

TEST_F(ComboBoxTest, StartsWithNothingSelected) {
  EXPECT_EQ(cboScheme.ListIndex(), -1);
  EXPECT_EQ(cboScheme.Text(), "");
}

TEST_F(ComboBoxTest, SettingListIndexShowsTheEntryAndRaisesClickOnly) {
  cboScheme.SetListIndex(2);
  EXPECT_EQ(cboScheme.Text(), "Gutmann");
  EXPECT_EQ(events, std::vector<std::string>{"cboScheme.Click Gutmann"});
}

TEST_F(ComboBoxTest, SettingTheCurrentListIndexRaisesNoClick) {
  cboScheme.SetListIndex(1);
  cboScheme.SetListIndex(1);
  EXPECT_EQ(events.size(), 1u);
}

TEST_F(ComboBoxTest, SettingListIndexToNoneClearsTheTextAndRaisesClick) {
  cboScheme.SetListIndex(1);
  events.clear();
  cboScheme.SetListIndex(-1);
  EXPECT_EQ(cboScheme.Text(), "");
  EXPECT_EQ(events, std::vector<std::string>{"cboScheme.Click "});
}

TEST_F(ComboBoxTest, ListIndexOutsideTheListIsIgnored) {
  cboScheme.SetListIndex(1);
  cboScheme.SetListIndex(3);
  cboScheme.SetListIndex(-2);
  EXPECT_EQ(cboScheme.ListIndex(), 1);
  EXPECT_EQ(events.size(), 1u);
}

TEST_F(ComboBoxTest, SettingTextRaisesChangeButNoClick) {
  cboScheme.SetText("Gutmann");
  EXPECT_EQ(events, std::vector<std::string>{"cboScheme.Change Gutmann"});
}

TEST_F(ComboBoxTest, SettingTextSelectsTheEntryThatReadsTheSameCaseAside) {
  cboScheme.SetText("gutmann");
  EXPECT_EQ(cboScheme.ListIndex(), 2);
  EXPECT_EQ(cboScheme.Text(), "gutmann");
}

TEST_F(ComboBoxTest, SettingTextNotInTheListSelectsNothing) {
  cboScheme.SetListIndex(0);
  cboScheme.SetText("7 passes");
  EXPECT_EQ(cboScheme.ListIndex(), -1);
  EXPECT_EQ(cboScheme.Text(), "7 passes");
}

TEST_F(ComboBoxTest, DropDownListTextSelectsTheMatchingEntryWithoutEvents) {
  cboDay.SetText("DoD 5220.22-M");
  EXPECT_EQ(cboDay.ListIndex(), 1);
  EXPECT_EQ(cboDay.Text(), "DoD 5220.22-M");
  EXPECT_TRUE(events.empty());
}

TEST_F(ComboBoxTest, DropDownListIgnoresTextNotInTheList) {
  cboDay.SetListIndex(0);
  events.clear();
  cboDay.SetText("Monday");
  EXPECT_EQ(cboDay.ListIndex(), 0);
  EXPECT_EQ(cboDay.Text(), "Quick");
  EXPECT_TRUE(events.empty());
}

TEST_F(ComboBoxTest, UserSelectionShowsTheEntryAndRaisesClickOnly) {
  cboScheme.UserSelect(1);
  EXPECT_EQ(cboScheme.ListIndex(), 1);
  EXPECT_EQ(events, std::vector<std::string>{"cboScheme.Click DoD 5220.22-M"});
}

TEST_F(ComboBoxTest, UserTypingRaisesChangeButNoClick) {
  cboScheme.UserType("Gut");
  EXPECT_EQ(cboScheme.Text(), "Gut");
  EXPECT_EQ(cboScheme.ListIndex(), -1);
  EXPECT_EQ(events, std::vector<std::string>{"cboScheme.Change Gut"});
}

TEST_F(ComboBoxTest, UserCannotTypeInADropDownList) {
  cboDay.UserType("Gut");
  EXPECT_EQ(cboDay.Text(), "");
  EXPECT_TRUE(events.empty());
}

TEST_F(ComboBoxTest, UserSelectionIsIgnoredWhileDisabled) {
  cboScheme.SetEnabled(false);
  cboScheme.UserSelect(1);
  EXPECT_EQ(cboScheme.ListIndex(), -1);
  EXPECT_TRUE(events.empty());
}

TEST_F(ComboBoxTest, InsertingBeforeTheSelectionKeepsTheSameEntrySelected) {
  cboScheme.SetListIndex(1);
  cboScheme.AddItem("Random", 0);
  EXPECT_EQ(cboScheme.ListCount(), 4);
  EXPECT_EQ(cboScheme.List(0), "Random");
  EXPECT_EQ(cboScheme.ListIndex(), 2);
  EXPECT_EQ(cboScheme.List(cboScheme.ListIndex()), "DoD 5220.22-M");
}

TEST_F(ComboBoxTest, RemovingAnEntryBeforeTheSelectionKeepsTheSameEntrySelected) {
  cboScheme.SetListIndex(2);
  cboScheme.RemoveItem(0);
  EXPECT_EQ(cboScheme.ListIndex(), 1);
  EXPECT_EQ(cboScheme.List(1), "Gutmann");
}

TEST_F(ComboBoxTest, RemovingTheSelectedEntryKeepsAnEditableFieldsText) {
  cboScheme.SetListIndex(2);
  cboScheme.RemoveItem(2);
  EXPECT_EQ(cboScheme.ListIndex(), -1);
  EXPECT_EQ(cboScheme.Text(), "Gutmann");
}

TEST_F(ComboBoxTest, RemovingTheSelectedEntryOfADropDownListClearsItsText) {
  cboDay.SetListIndex(2);
  cboDay.RemoveItem(2);
  EXPECT_EQ(cboDay.ListIndex(), -1);
  EXPECT_EQ(cboDay.Text(), "");
}

TEST_F(ComboBoxTest, ClearEmptiesListSelectionAndTextWithoutEvents) {
  cboScheme.SetListIndex(1);
  events.clear();
  cboScheme.Clear();
  EXPECT_EQ(cboScheme.ListCount(), 0);
  EXPECT_EQ(cboScheme.ListIndex(), -1);
  EXPECT_EQ(cboScheme.Text(), "");
  EXPECT_TRUE(events.empty());
}

TEST_F(ComboBoxTest, ListOutsideTheEntriesIsEmpty) {
  EXPECT_EQ(cboScheme.List(-1), "");
  EXPECT_EQ(cboScheme.List(3), "");
}

}  // namespace
}  // namespace nullora::test
