#include <stdexcept>
#include <string>
#include <vector>

#include "ui/controls/image_list.h"
#include "ui/controls/tree_view.h"
#include "unit/controls_fixture.h"

namespace nullora::test {
namespace {

using ui::NodeRelationship;

class TreeViewTest : public ControlsTest {
 protected:
  TreeViewTest() {
    tvwTraces.SetCheckBoxes(true);
    tvwTraces.NodeCheck = [this](ui::Node& node) { checks.push_back(node.Key()); };
  }

  // Windows, with its children; Browser, with one, added after Windows' first child.
  void AddTraces() {
    tvwTraces.Nodes().Add("", NodeRelationship::Last, "Windows", "Windows", 1);
    tvwTraces.Nodes().Add("Windows", NodeRelationship::Child, "Temp", "Temporary files", 2);
    tvwTraces.Nodes().Add("", NodeRelationship::Last, "Browser", "Browser", 1);
    tvwTraces.Nodes().Add("Browser", NodeRelationship::Child, "Cache", "Cache", 2);
    tvwTraces.Nodes().Add("Temp", NodeRelationship::Last, "Recent", "Recent documents", 2);
  }

  ui::Node& N(const std::string& key) {
    ui::Node* node = tvwTraces.Nodes().Item(key);
    if (!node) throw std::out_of_range("no node " + key);
    return *node;
  }

  PlainForm form;
  ui::TreeView tvwTraces{form, nullptr, "tvwTraces"};
  std::vector<std::string> checks;
};

TEST_F(TreeViewTest, NodesAreNumberedFromOneInTheOrderTheyWereAdded) {
  AddTraces();
  ASSERT_EQ(tvwTraces.Nodes().Count(), 5);
  std::vector<std::string> byIndex;
  for (int index = 1; index <= 5; ++index) byIndex.push_back(tvwTraces.Nodes().Item(index)->Key());
  EXPECT_EQ(byIndex, (std::vector<std::string>{"Windows", "Temp", "Browser", "Cache", "Recent"}));
  EXPECT_EQ(N("Recent").Index(), 5);
}

TEST_F(TreeViewTest, ChildGoesUnderItsRelativeAndLastBesideIt) {
  AddTraces();
  EXPECT_EQ(N("Windows").Parent(), nullptr);
  EXPECT_EQ(N("Browser").Parent(), nullptr);
  EXPECT_EQ(N("Temp").Parent(), &N("Windows"));
  EXPECT_EQ(N("Recent").Parent(), &N("Windows"));
  EXPECT_EQ(N("Cache").Parent(), &N("Browser"));
}

TEST_F(TreeViewTest, ChildrenAreInTheOrderTheyWereAdded) {
  AddTraces();
  EXPECT_EQ(N("Windows").Children(), (std::vector<ui::Node*>{&N("Temp"), &N("Recent")}));
  EXPECT_TRUE(N("Cache").Children().empty());
}

TEST_F(TreeViewTest, NodeKeepsItsTextAndPicture) {
  AddTraces();
  EXPECT_EQ(N("Temp").Text(), "Temporary files");
  EXPECT_EQ(N("Temp").Image(), 2);
}

TEST_F(TreeViewTest, UnknownKeyOrIndexFindsNoNode) {
  AddTraces();
  EXPECT_EQ(tvwTraces.Nodes().Item("Cookies"), nullptr);
  EXPECT_EQ(tvwTraces.Nodes().Item(0), nullptr);
  EXPECT_EQ(tvwTraces.Nodes().Item(6), nullptr);
}

TEST_F(TreeViewTest, NodesWithoutAKeyAreFoundByIndex) {
  AddTraces();
  ui::Node& added = tvwTraces.Nodes().Add("Browser", NodeRelationship::Child, "", "History");
  EXPECT_EQ(tvwTraces.Nodes().Item(6), &added);
  EXPECT_EQ(tvwTraces.Nodes().Item(""), nullptr);
}

TEST_F(TreeViewTest, AKeyInUseIsRefused) {
  AddTraces();
  EXPECT_THROW(tvwTraces.Nodes().Add("", NodeRelationship::Last, "Temp", "Again"), std::invalid_argument);
  EXPECT_EQ(tvwTraces.Nodes().Count(), 5);
}

TEST_F(TreeViewTest, AnUnknownRelativeIsRefused) {
  EXPECT_THROW(tvwTraces.Nodes().Add("Nowhere", NodeRelationship::Child, "Orphan", "Orphan"),
               std::invalid_argument);
  EXPECT_EQ(tvwTraces.Nodes().Count(), 0);
}

TEST_F(TreeViewTest, CheckingFromCodeRaisesNoNodeCheck) {
  AddTraces();
  N("Temp").SetChecked(true);
  EXPECT_TRUE(N("Temp").Checked());
  EXPECT_TRUE(checks.empty());
}

TEST_F(TreeViewTest, UserCheckRaisesNodeCheckWithTheNodeAlreadyChecked) {
  AddTraces();
  bool checkedInHandler = false;
  tvwTraces.NodeCheck = [&](ui::Node& node) {
    checkedInHandler = node.Checked(), checks.push_back(node.Key());
  };
  tvwTraces.UserCheck(N("Cache"), true);
  EXPECT_TRUE(checkedInHandler);
  EXPECT_EQ(checks, std::vector<std::string>{"Cache"});
}

TEST_F(TreeViewTest, HandlerCheckingChildrenDoesNotRaiseNodeCheckAgain) {
  AddTraces();
  tvwTraces.NodeCheck = [&](ui::Node& node) {
    checks.push_back(node.Key());
    for (ui::Node* child : node.Children()) child->SetChecked(node.Checked());
  };
  tvwTraces.UserCheck(N("Windows"), true);
  EXPECT_EQ(checks, std::vector<std::string>{"Windows"});
  EXPECT_TRUE(N("Temp").Checked());
  EXPECT_TRUE(N("Recent").Checked());
  EXPECT_FALSE(N("Cache").Checked());
}

TEST_F(TreeViewTest, UserCheckIsIgnoredWhileDisabled) {
  AddTraces();
  tvwTraces.SetEnabled(false);
  tvwTraces.UserCheck(N("Cache"), true);
  EXPECT_FALSE(N("Cache").Checked());
  EXPECT_TRUE(checks.empty());
}

TEST_F(TreeViewTest, UserCheckIsIgnoredWithoutCheckBoxes) {
  PlainForm other("fOther");
  ui::TreeView plain(other, nullptr, "tvwPlain");
  bool raised = false;
  plain.NodeCheck = [&](ui::Node&) { raised = true; };
  ui::Node& node = plain.Nodes().Add("", NodeRelationship::Last, "a", "a");
  plain.UserCheck(node, true);
  EXPECT_FALSE(node.Checked());
  EXPECT_FALSE(raised);
}

TEST_F(TreeViewTest, UserSelectionRaisesNodeClickAndBecomesTheSelectedItem) {
  AddTraces();
  std::vector<std::string> clicked;
  tvwTraces.NodeClick = [&](ui::Node& node) { clicked.push_back(node.Key()); };
  tvwTraces.UserSelect(N("Cache"));
  EXPECT_EQ(tvwTraces.SelectedItem(), &N("Cache"));
  EXPECT_EQ(clicked, std::vector<std::string>{"Cache"});
}

TEST_F(TreeViewTest, ClearForgetsNodesKeysAndSelectionAndNumbersAgainFromOne) {
  AddTraces();
  tvwTraces.UserSelect(N("Cache"));
  tvwTraces.Nodes().Clear();
  EXPECT_EQ(tvwTraces.Nodes().Count(), 0);
  EXPECT_EQ(tvwTraces.Nodes().Item("Windows"), nullptr);
  EXPECT_EQ(tvwTraces.SelectedItem(), nullptr);
  EXPECT_EQ(tvwTraces.Nodes().Add("", NodeRelationship::Last, "Windows", "Windows").Index(), 1);
}

TEST(ImageListTest, PicturesAreNumberedFromOne) {
  ui::ImageList ImageList1("ImageList1");
  EXPECT_EQ(ImageList1.Add(201), 1);
  EXPECT_EQ(ImageList1.Add(202), 2);
  EXPECT_EQ(ImageList1.ResourceId(1), 201);
  EXPECT_EQ(ImageList1.ResourceId(2), 202);
  EXPECT_EQ(ImageList1.ResourceId(0), 0);
  EXPECT_EQ(ImageList1.ResourceId(3), 0);
}

}  // namespace
}  // namespace nullora::test
