// The tree view: nodes identified by the control model's indexes, pictures from bitmap resources and
// a check box on every node whose toggles by the user are reported once the control has made them.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <map>
#include <memory>

#include "platform/win32/unicode.h"
#include "platform/win32/widget_base.h"

namespace nullora::platform::win32 {

namespace {

// State image 1 is the empty box, 2 the ticked one.
constexpr UINT kUnchecked = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT kChecked = INDEXTOSTATEIMAGEMASK(2);

class TreeViewWidget : public WindowWidget {
 public:
  TreeViewWidget(HWND parent, WidgetSink* sink, const WidgetStyle& style)
      : WindowWidget(sink), checkBoxes_(style.checkBoxes) {
    DWORD treeStyle = WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
    HWND hwnd = CreateChild(WC_TREEVIEWW, treeStyle, WS_EX_CLIENTEDGE, parent, NextControlId());
    if (!hwnd) return;
    Attach(hwnd);
    // The control makes its check-box pictures only when the style is added after creation.
    if (checkBoxes_) SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) | TVS_CHECKBOXES);
  }

  ~TreeViewWidget() override {
    if (images_) {
      // The tree does not own its normal image list; it must let go of it before it goes.
      SendMessageW(Hwnd(), TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
      ImageList_Destroy(images_);
    }
  }

  void SetText(const std::string& text) override { (void)text; }

  void SetImages(const std::vector<int>& resourceIds, int size, uint32_t maskBgr) override {
    (void)maskBgr;  // the pictures are icons, transparent where they are not drawn
    // The pictures at the display's scale: each icon holds a drawing of every size.
    const int pixels = IconPixels(size);
    HIMAGELIST list =
        ImageList_Create(pixels, pixels, ILC_COLOR32 | ILC_MASK, static_cast<int>(resourceIds.size()), 0);
    if (!list) return;
    for (int id : resourceIds) {
      auto icon = static_cast<HICON>(
          LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, pixels, pixels, 0));
      if (icon) {
        ImageList_AddIcon(list, icon);
        DestroyIcon(icon);
      } else {
        // A blank picture keeps the positions of those after a missing one.
        HDC screen = GetDC(nullptr);
        HBITMAP blank = CreateCompatibleBitmap(screen, pixels, pixels);
        ReleaseDC(nullptr, screen);
        ImageList_AddMasked(list, blank, RGB(0, 0, 0));
        DeleteObject(blank);
      }
    }
    SendMessageW(Hwnd(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
    if (images_) ImageList_Destroy(images_);
    images_ = list;
  }

  void AddNode(int id, int parentId, const std::string& text, int image) override {
    std::wstring wide = Utf8ToWide(text);
    TVINSERTSTRUCTW insert{};
    auto parent = nodes_.find(parentId);
    insert.hParent = parent == nodes_.end() ? TVI_ROOT : parent->second;
    insert.hInsertAfter = TVI_LAST;
    TVITEMW& item = insert.item;
    item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.pszText = wide.data();
    item.lParam = id;
    // Pictures are numbered from 1 as in the image list of the control model; 0 is none.
    item.iImage = item.iSelectedImage = image > 0 ? image - 1 : I_IMAGENONE;
    if (checkBoxes_) {
      item.mask |= TVIF_STATE;
      item.stateMask = TVIS_STATEIMAGEMASK;
      item.state = kUnchecked;
    }
    UpdateScope scope(*this);
    auto handle = reinterpret_cast<HTREEITEM>(
        SendMessageW(Hwnd(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (handle) nodes_[id] = handle;
  }

  void SetNodeChecked(int id, bool checked) override {
    auto node = nodes_.find(id);
    if (node == nodes_.end()) return;
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_STATE;
    item.hItem = node->second;
    item.stateMask = TVIS_STATEIMAGEMASK;
    item.state = checked ? kChecked : kUnchecked;
    UpdateScope scope(*this);
    SendMessageW(Hwnd(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }

  void ExpandNode(int id) override {
    auto node = nodes_.find(id);
    if (node != nodes_.end())
      SendMessageW(Hwnd(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node->second));
  }

  void ClearNodes() override {
    UpdateScope scope(*this);
    SendMessageW(Hwnd(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    nodes_.clear();
  }

  bool OnNotify(NMHDR* header, LRESULT* result) override {
    *result = 0;
    switch (header->code) {
      case NM_CLICK: {
        DWORD position = GetMessagePos();
        TVHITTESTINFO hit{};
        hit.pt = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
        ScreenToClient(Hwnd(), &hit.pt);
        SendMessageW(Hwnd(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (checkBoxes_ && hit.hItem && (hit.flags & TVHT_ONITEMSTATEICON)) ReportCheckLater(hit.hItem);
        return true;
      }
      case TVN_KEYDOWN: {
        auto* key = reinterpret_cast<NMTVKEYDOWN*>(header);
        if (checkBoxes_ && key->wVKey == VK_SPACE) {
          auto selected = reinterpret_cast<HTREEITEM>(SendMessageW(Hwnd(), TVM_GETNEXTITEM, TVGN_CARET, 0));
          if (selected) ReportCheckLater(selected);
        }
        return true;
      }
      case TVN_SELCHANGEDW: {
        auto* change = reinterpret_cast<NMTREEVIEWW*>(header);
        if (change->action != TVC_UNKNOWN && !Updating()) {
          Sink()->OnUserNodeSelect(static_cast<int>(change->itemNew.lParam));
        }
        return true;
      }
      default:
        return false;
    }
  }

  void OnDeferred(LPARAM datum) override {
    auto handle = reinterpret_cast<HTREEITEM>(datum);
    // The node may have been removed while the message waited.
    int id = 0;
    for (const auto& [nodeId, nodeHandle] : nodes_) {
      if (nodeHandle == handle) id = nodeId;
    }
    if (id == 0) return;
    UINT state = static_cast<UINT>(
        SendMessageW(Hwnd(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(handle), TVIS_STATEIMAGEMASK));
    Sink()->OnUserNodeCheck(id, (state & TVIS_STATEIMAGEMASK) == kChecked);
  }

 private:
  // The control toggles the box after the notification returns: read it once that has happened.
  void ReportCheckLater(HTREEITEM item) {
    PostMessageW(GetParent(Hwnd()), kMsgDeferred, reinterpret_cast<WPARAM>(Hwnd()),
                 reinterpret_cast<LPARAM>(item));
  }

  bool checkBoxes_;
  HIMAGELIST images_ = nullptr;
  std::map<int, HTREEITEM> nodes_;
};

}  // namespace

std::unique_ptr<WindowWidget> MakeTreeViewWidget(HWND parent, WidgetSink* sink, const WidgetStyle& style) {
  return MakeWidget<TreeViewWidget>(parent, sink, style);
}

}  // namespace nullora::platform::win32
