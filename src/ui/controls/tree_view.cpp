#include "ui/controls/tree_view.h"

#include <stdexcept>

#include "ui/controls/image_list.h"

namespace nullora::ui {

void Node::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  tree_.Rebuild();
}

void Node::SetImage(int image) {
  if (image == image_) return;
  image_ = image;
  tree_.Rebuild();
}

void Node::SetChecked(bool checked) {
  checked_ = checked;
  if (tree_.Peer()) tree_.Peer()->SetNodeChecked(index_, checked_);
}

void Node::SetExpanded(bool expanded) {
  expanded_ = expanded;
  // The widget only expands; a collapse from code shows at the next rebuild.
  if (expanded_ && tree_.Peer()) tree_.Peer()->ExpandNode(index_);
}

Node& NodeCollection::Add(const std::string& relativeKey, NodeRelationship relationship,
                          const std::string& key, const std::string& text, int image) {
  Node* parent = nullptr;
  if (!relativeKey.empty()) {
    Node* relative = Item(relativeKey);
    if (!relative) throw std::invalid_argument("no node has the key " + relativeKey);
    parent = relationship == NodeRelationship::Child ? relative : relative->Parent();
  }
  if (!key.empty() && byKey_.count(key)) throw std::invalid_argument("a node already has the key " + key);

  nodes_.push_back(std::unique_ptr<Node>(new Node(tree_, parent, Count() + 1, key, text, image)));
  Node& node = *nodes_.back();
  if (parent) parent->children_.push_back(&node);
  if (!key.empty()) byKey_[key] = &node;
  tree_.NodeAdded(node);
  return node;
}

Node* NodeCollection::Item(const std::string& key) const {
  auto found = byKey_.find(key);
  return found == byKey_.end() ? nullptr : found->second;
}

Node* NodeCollection::Item(int index) const {
  return index >= 1 && index <= Count() ? nodes_[static_cast<size_t>(index - 1)].get() : nullptr;
}

void NodeCollection::Clear() {
  tree_.NodesCleared();
  byKey_.clear();
  nodes_.clear();
}

void TreeView::SetCheckBoxes(bool checkBoxes) {
  checkBoxes_ = checkBoxes;
  Style().checkBoxes = checkBoxes;
}

void TreeView::SetImageList(ImageList* images) {
  images_ = images;
  Rebuild();
}

void TreeView::UserCheck(Node& node, bool checked) {
  if (!TakesUserInput() || !checkBoxes_) return;
  node.SetChecked(checked);
  if (NodeCheck) NodeCheck(node);
}

void TreeView::UserSelect(Node& node) {
  if (!TakesUserInput()) return;
  selected_ = &node;
  if (NodeClick) NodeClick(node);
}

void TreeView::OnUserNodeCheck(int nodeId, bool checked) {
  Node* node = nodes_.Item(nodeId);
  if (!node || !TakesUserInput() || !checkBoxes_) return;
  node->checked_ = checked;  // the widget already shows it
  if (NodeCheck) NodeCheck(*node);
}

void TreeView::OnUserNodeSelect(int nodeId) {
  if (Node* node = nodes_.Item(nodeId)) UserSelect(*node);
}

void TreeView::SyncPeer() {
  Rebuild();
}

void TreeView::NodeAdded(const Node& node) {
  if (!Peer()) return;
  Peer()->AddNode(node.index_, node.parent_ ? node.parent_->index_ : 0, node.text_, node.image_);
  if (node.checked_) Peer()->SetNodeChecked(node.index_, true);
}

void TreeView::NodesCleared() {
  selected_ = nullptr;
  if (Peer()) Peer()->ClearNodes();
}

void TreeView::Rebuild() {
  if (!Peer()) return;
  Peer()->ClearNodes();
  if (images_) Peer()->SetImages(images_->ResourceIds(), images_->ImageWidth(), images_->MaskColor());
  // Parents always come before their children in index order.
  for (int index = 1; index <= nodes_.Count(); ++index) NodeAdded(*nodes_.Item(index));
  for (int index = 1; index <= nodes_.Count(); ++index) {
    if (nodes_.Item(index)->expanded_) Peer()->ExpandNode(index);
  }
}

}  // namespace nullora::ui
