// The tip of the day: a plain text file of tips beside the program, one per line, of which each window
// that has a tip pane shows one picked at random when it loads.
#pragma once

#include <string>
#include <vector>

namespace nullora {

namespace ui {
class Label;
}  // namespace ui

inline constexpr char kTipFileName[] = "TIPOFDAY.TXT";

// The tips of the file last read, in file order, and the position (from 1) of the tip last picked.
inline std::vector<std::string> TipList;
inline int TipIndex = 0;

// The tips of a file's text: a line ends at CR LF, at CR or at LF alone; a last line without an end
// counts; a blank line is an empty tip. Text that is not UTF-8 is read as the Western code page.
std::vector<std::string> SplitTips(const std::string& text);

// Reads the tip file at `path` into TipList and shows a random tip in `lblTipText`. False when there is
// no such file (a hidden or system file counts as none, an empty path too): the caller then shows
// NotFoundTipText().
bool LoadTipFile(const std::string& path, ui::Label& lblTipText);
// Picks a tip at random and shows it; with no tips the label keeps its text.
void ShowRandomTip(ui::Label& lblTipText);
// What the tip pane says when the tip file is missing, and how to make one.
std::string NotFoundTipText();
// The tip file beside the program.
std::string TipFilePath();

}  // namespace nullora
