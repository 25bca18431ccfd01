#include <string>
#include <vector>

#include "ui/controls/frame.h"
#include "ui/controls/option_button.h"
#include "unit/controls_fixture.h"

namespace nullora::test {
namespace {

class OptionButtonTest : public ControlsTest {
 protected:
  OptionButtonTest() {
    for (ui::OptionButton* button : {&optA, &optB, &optC, &optInFrame1, &optInFrame2}) {
      button->Click = [this, button] { clicks.push_back(button->Name()); };
    }
  }

  PlainForm form;
  ui::Frame Frame1{form, nullptr, "Frame1"};
  ui::OptionButton optA{form, nullptr, "optA"};
  ui::OptionButton optB{form, nullptr, "optB"};
  ui::OptionButton optC{form, nullptr, "optC"};
  ui::OptionButton optInFrame1{form, &Frame1, "optInFrame1"};
  ui::OptionButton optInFrame2{form, &Frame1, "optInFrame2"};
  std::vector<std::string> clicks;
};

TEST_F(OptionButtonTest, SelectingFromCodeClearsTheRestOfTheGroup) {
  optA.SetValue(true);
  optB.SetValue(true);
  EXPECT_FALSE(optA.Value());
  EXPECT_TRUE(optB.Value());
  EXPECT_FALSE(optC.Value());
}

TEST_F(OptionButtonTest, SelectingFromCodeRaisesClickOnlyOnTheSelectedButton) {
  optA.SetValue(true);
  optB.SetValue(true);
  EXPECT_EQ(clicks, (std::vector<std::string>{"optA", "optB"}));
}

TEST_F(OptionButtonTest, SelectingTheSelectedButtonAgainRaisesNoClick) {
  optA.SetValue(true);
  optA.SetValue(true);
  EXPECT_EQ(clicks, std::vector<std::string>{"optA"});
}

TEST_F(OptionButtonTest, ClearingFromCodeRaisesNoClickAndSelectsNoOther) {
  optA.SetValue(true);
  clicks.clear();
  optA.SetValue(false);
  EXPECT_FALSE(optA.Value());
  EXPECT_FALSE(optB.Value());
  EXPECT_TRUE(clicks.empty());
}

TEST_F(OptionButtonTest, ButtonsInAnotherContainerAreAGroupOfTheirOwn) {
  optA.SetValue(true);
  optInFrame1.SetValue(true);
  EXPECT_TRUE(optA.Value());
  EXPECT_TRUE(optInFrame1.Value());
  optInFrame2.SetValue(true);
  EXPECT_TRUE(optA.Value());
  EXPECT_FALSE(optInFrame1.Value());
}

TEST_F(OptionButtonTest, ButtonsOnAnotherFormAreAGroupOfTheirOwn) {
  PlainForm other("fOther");
  ui::OptionButton optOther(other, nullptr, "optA");
  optA.SetValue(true);
  optOther.SetValue(true);
  EXPECT_TRUE(optA.Value());
}

TEST_F(OptionButtonTest, UserClickSelectsAndRaisesClick) {
  optA.SetValue(true);
  clicks.clear();
  optC.UserClick();
  EXPECT_TRUE(optC.Value());
  EXPECT_FALSE(optA.Value());
  EXPECT_EQ(clicks, std::vector<std::string>{"optC"});
}

TEST_F(OptionButtonTest, UserClickOnTheSelectedButtonRaisesNoClick) {
  optC.UserClick();
  optC.UserClick();
  EXPECT_EQ(clicks, std::vector<std::string>{"optC"});
}

TEST_F(OptionButtonTest, UserClickIsIgnoredWhileDisabled) {
  optA.SetValue(true);
  optB.SetEnabled(false);
  clicks.clear();
  optB.UserClick();
  EXPECT_TRUE(optA.Value());
  EXPECT_FALSE(optB.Value());
  EXPECT_TRUE(clicks.empty());
}

TEST_F(OptionButtonTest, ClickHandlerSeesTheGroupAlreadySettled) {
  optA.SetValue(true);
  bool aWhileBClicked = true;
  optB.Click = [&] { aWhileBClicked = optA.Value(); };
  optB.SetValue(true);
  EXPECT_FALSE(aWhileBClicked);
}

class OptionButtonArrayTest : public ControlsTest {
 protected:
  PlainForm form;
  ui::Frame Frame1{form, nullptr, "Frame1"};
  ui::OptionButtonArray Option1{form, &Frame1, "Option1", 4};
};

TEST_F(OptionButtonArrayTest, ButtonsShareTheNameAndAreIndexedFromZero) {
  ASSERT_EQ(Option1.Count(), 4);
  for (int index = 0; index < 4; ++index) {
    EXPECT_EQ(Option1[index].Name(), "Option1");
    EXPECT_EQ(Option1[index].Index(), index);
    EXPECT_EQ(Option1[index].Container(), &Frame1);
  }
}

TEST_F(OptionButtonArrayTest, ClickIsToldTheIndexOfTheSelectedButton) {
  std::vector<int> clicked;
  Option1.Click = [&](int index) { clicked.push_back(index); };
  Option1[2].UserClick();
  Option1[0].SetValue(true);
  EXPECT_EQ(clicked, (std::vector<int>{2, 0}));
  EXPECT_EQ(Option1.Selected(), 0);
  EXPECT_FALSE(Option1[2].Value());
}

TEST_F(OptionButtonArrayTest, SelectedIsNoIndexBeforeAnyButtonIsSelected) {
  EXPECT_EQ(Option1.Selected(), ui::OptionButton::kNoIndex);
}

TEST_F(OptionButtonArrayTest, ArrayButtonsShareTheGroupOfTheirContainer) {
  ui::OptionButton optLoose(form, &Frame1, "optLoose");
  Option1[1].SetValue(true);
  optLoose.SetValue(true);
  EXPECT_EQ(Option1.Selected(), ui::OptionButton::kNoIndex);
}

}  // namespace
}  // namespace nullora::test
