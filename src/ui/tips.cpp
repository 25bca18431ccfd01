#include "ui/tips.h"

#include "engine/random.h"
#include "platform/platform.h"
#include "ui/controls/label.h"

namespace nullora {

namespace {

bool IsUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    size_t length = byte < 0x80           ? 1
                    : (byte >> 5) == 0x6  ? 2
                    : (byte >> 4) == 0xE  ? 3
                    : (byte >> 3) == 0x1E ? 4
                                          : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) >> 6) != 0x2) return false;
    }
    i += length;
  }
  return true;
}

// The Western code page's letters as UTF-8 (its few other characters in 0x80-0x9F stay as they are).
std::string Latin1ToUtf8(const std::string& text) {
  std::string result;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      result += c;
    } else {
      result += static_cast<char>(0xC0 | (byte >> 6));
      result += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return result;
}

}  // namespace

std::vector<std::string> SplitTips(const std::string& raw) {
  const std::string text = IsUtf8(raw) ? raw : Latin1ToUtf8(raw);
  std::vector<std::string> tips;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      tips.push_back(line);
      line.clear();
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += text[i];
    }
  }
  if (!line.empty()) tips.push_back(line);
  return tips;
}

bool LoadTipFile(const std::string& path, ui::Label& lblTipText) {
  if (path.empty()) return false;
  const uint32_t attributes = platform::GetFileAttributes(path);
  if (attributes == platform::kInvalidAttributes ||
      (attributes & (platform::kAttrDirectory | platform::kAttrHidden | platform::kAttrSystem))) {
    return false;
  }
  std::optional<std::string> text = platform::ReadSmallFile(path);
  // A tip file that is there but cannot be read shows no tip, as an empty one does.
  TipList = text ? SplitTips(*text) : std::vector<std::string>{};
  ShowRandomTip(lblTipText);
  return true;
}

void ShowRandomTip(ui::Label& lblTipText) {
  Randomize();
  const int count = static_cast<int>(TipList.size());
  TipIndex = static_cast<int>(Rnd() * count) + 1;
  if (count == 0) return;
  lblTipText.SetCaption(TipList[static_cast<size_t>(TipIndex - 1)]);
}

std::string NotFoundTipText() {
  return std::string("That the ") + kTipFileName + " file was not found? " + "\r\n\r\n" +
         "Create a text file named " + kTipFileName + " using NotePad with 1 tip per line. " +
         "Then place it in the same directory as the application. ";
}

std::string TipFilePath() {
  std::string directory = platform::ApplicationDirectory();
  if (directory.empty() || directory.back() != '\\') directory += '\\';
  return directory + kTipFileName;
}

}  // namespace nullora
