// A tree view of nodes with optional check boxes and pictures. Nodes are numbered from 1 in the order
// they were added; that number is also their id in the widget. Only the user's check raises NodeCheck:
// a handler that checks or clears other nodes from code does not call itself again.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/controls/control.h"

namespace nullora::ui {

class ImageList;
class TreeView;

// Where a new node goes, relative to an existing one.
enum class NodeRelationship {
  Last,   // after the relative's last sibling
  Child,  // after the relative's last child
};

class Node {
 public:
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;

  const std::string& Key() const { return key_; }
  int Index() const { return index_; }
  Node* Parent() const { return parent_; }
  const std::vector<Node*>& Children() const { return children_; }

  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  // The picture's number in the tree's image list, 0 for none.
  int Image() const { return image_; }
  void SetImage(int image);
  bool Checked() const { return checked_; }
  // Raises no event.
  void SetChecked(bool checked);
  bool Expanded() const { return expanded_; }
  void SetExpanded(bool expanded);

 private:
  friend class NodeCollection;
  friend class TreeView;
  Node(TreeView& tree, Node* parent, int index, std::string key, std::string text, int image)
      : tree_(tree),
        parent_(parent),
        index_(index),
        key_(std::move(key)),
        text_(std::move(text)),
        image_(image) {}

  TreeView& tree_;
  Node* parent_;
  int index_;
  std::string key_;
  std::string text_;
  int image_;
  bool checked_ = false;
  bool expanded_ = false;
  std::vector<Node*> children_;
};

class NodeCollection {
 public:
  explicit NodeCollection(TreeView& tree) : tree_(tree) {}
  NodeCollection(const NodeCollection&) = delete;
  NodeCollection& operator=(const NodeCollection&) = delete;

  // With an empty `relativeKey` the node is a root. An empty `key` makes a node that can only be found
  // by index. Throws std::invalid_argument for an unknown relative or a key already in use.
  Node& Add(const std::string& relativeKey, NodeRelationship relationship, const std::string& key,
            const std::string& text, int image = 0);
  // nullptr when there is no such node.
  Node* Item(const std::string& key) const;
  // From 1.
  Node* Item(int index) const;
  int Count() const { return static_cast<int>(nodes_.size()); }
  void Clear();

 private:
  TreeView& tree_;
  std::vector<std::unique_ptr<Node>> nodes_;
  std::unordered_map<std::string, Node*> byKey_;
};

class TreeView : public Control {
 public:
  TreeView(Form& form, Control* container, std::string name)
      : Control(form, container, std::move(name), platform::WidgetKind::TreeView), nodes_(*this) {}

  // A check box on every node; fixed once the form is loaded.
  bool CheckBoxes() const { return checkBoxes_; }
  void SetCheckBoxes(bool checkBoxes);
  // The list must outlive the tree.
  ImageList* Images() const { return images_; }
  void SetImageList(ImageList* images);

  NodeCollection& Nodes() { return nodes_; }
  const NodeCollection& Nodes() const { return nodes_; }
  // The node the user last selected, or nullptr.
  Node* SelectedItem() const { return selected_; }

  // What the user does: ticks or clears a node's check box, selects a node. Ignored while the tree is
  // disabled or hidden, and checks while it has no check boxes.
  void UserCheck(Node& node, bool checked);
  void UserSelect(Node& node);

  std::function<void(Node&)> NodeCheck;
  std::function<void(Node&)> NodeClick;

 protected:
  void SyncPeer() override;
  void OnUserNodeCheck(int nodeId, bool checked) override;
  void OnUserNodeSelect(int nodeId) override;

 private:
  friend class Node;
  friend class NodeCollection;

  bool TakesUserInput() const { return Enabled() && Visible(); }
  void NodeAdded(const Node& node);
  void NodesCleared();
  // The widget can only add nodes: a changed text or picture is shown by building it again.
  void Rebuild();

  NodeCollection nodes_;
  ImageList* images_ = nullptr;
  Node* selected_ = nullptr;
  bool checkBoxes_ = false;
};

}  // namespace nullora::ui
