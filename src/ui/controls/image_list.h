// The pictures a tree view draws beside its nodes. Not a window: it only names the resources, their
// size and the colour that stands for transparency. Pictures are numbered from 1, as nodes refer to them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nullora::ui {

class ImageList {
 public:
  explicit ImageList(std::string name) : name_(std::move(name)) {}

  const std::string& Name() const { return name_; }

  // Adds a bitmap resource; returns its number in the list.
  int Add(int resourceId);
  int Count() const { return static_cast<int>(resourceIds_.size()); }
  // The resource of picture `index` (from 1), or 0 outside the list.
  int ResourceId(int index) const;
  const std::vector<int>& ResourceIds() const { return resourceIds_; }

  // In pixels.
  int ImageWidth() const { return imageWidth_; }
  int ImageHeight() const { return imageHeight_; }
  void SetImageSize(int width, int height) { imageWidth_ = width, imageHeight_ = height; }

  // 0x00BBGGRR; pixels of this colour are not drawn.
  uint32_t MaskColor() const { return maskColor_; }
  void SetMaskColor(uint32_t bgr) { maskColor_ = bgr; }

 private:
  std::string name_;
  std::vector<int> resourceIds_;
  int imageWidth_ = 16;
  int imageHeight_ = 16;
  uint32_t maskColor_ = 0x00C0C0C0;
};

}  // namespace nullora::ui
