#include "ui/controls/image_list.h"

namespace nullora::ui {

int ImageList::Add(int resourceId) {
  resourceIds_.push_back(resourceId);
  return Count();
}

int ImageList::ResourceId(int index) const {
  return index >= 1 && index <= Count() ? resourceIds_[static_cast<size_t>(index - 1)] : 0;
}

}  // namespace nullora::ui
