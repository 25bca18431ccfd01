#include <vector>

#include "ui/controls/check_box.h"
#include "unit/controls_fixture.h"

namespace nullora::test {
namespace {

class CheckBoxTest : public ControlsTest {
 protected:
  CheckBoxTest() {
    chkWipe.Click = [this] { seen.push_back(chkWipe.Value()); };
  }

  PlainForm form;
  ui::CheckBox chkWipe{form, nullptr, "chkWipe"};
  // The value the box held each time Click ran.
  std::vector<int> seen;
};

TEST_F(CheckBoxTest, StartsUnchecked) {
  EXPECT_EQ(chkWipe.Value(), ui::kUnchecked);
}

TEST_F(CheckBoxTest, SettingValueFromCodeRaisesClickAfterTheChange) {
  chkWipe.SetValue(ui::kChecked);
  chkWipe.SetValue(ui::kGrayed);
  chkWipe.SetValue(ui::kUnchecked);
  EXPECT_EQ(seen, (std::vector<int>{ui::kChecked, ui::kGrayed, ui::kUnchecked}));
}

TEST_F(CheckBoxTest, SettingTheValueItAlreadyHasRaisesNoClick) {
  chkWipe.SetValue(ui::kChecked);
  chkWipe.SetValue(ui::kChecked);
  chkWipe.SetValue(ui::kChecked);
  EXPECT_EQ(seen.size(), 1u);
}

TEST_F(CheckBoxTest, SettingValueFromCodeRaisesClickEvenWhileDisabled) {
  chkWipe.SetEnabled(false);
  chkWipe.SetValue(ui::kChecked);
  EXPECT_EQ(seen, std::vector<int>{ui::kChecked});
}

TEST_F(CheckBoxTest, ValuesBeyondTheThreeStatesAreHeldToTheNearest) {
  chkWipe.SetValue(7);
  EXPECT_EQ(chkWipe.Value(), ui::kGrayed);
  chkWipe.SetValue(-1);
  EXPECT_EQ(chkWipe.Value(), ui::kUnchecked);
}

TEST_F(CheckBoxTest, UserClickTogglesBetweenUncheckedAndChecked) {
  chkWipe.UserClick();
  chkWipe.UserClick();
  chkWipe.UserClick();
  EXPECT_EQ(seen, (std::vector<int>{ui::kChecked, ui::kUnchecked, ui::kChecked}));
}

TEST_F(CheckBoxTest, UserClickOnAGrayedBoxUnchecksIt) {
  chkWipe.SetValue(ui::kGrayed);
  seen.clear();
  chkWipe.UserClick();
  EXPECT_EQ(seen, std::vector<int>{ui::kUnchecked});
}

TEST_F(CheckBoxTest, UserClickIsIgnoredWhileDisabled) {
  chkWipe.SetEnabled(false);
  chkWipe.UserClick();
  EXPECT_EQ(chkWipe.Value(), ui::kUnchecked);
  EXPECT_TRUE(seen.empty());
}

}  // namespace
}  // namespace nullora::test
