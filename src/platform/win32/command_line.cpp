#include "platform/win32/command_line.h"

#include "platform/win32/unicode.h"

namespace nullora::platform::win32 {

namespace {
bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}
}  // namespace

std::string ArgumentAfterProgramName(const std::wstring& commandLine) {
  size_t position = 0;
  const size_t end = commandLine.size();
  if (end > 0 && commandLine[0] == L'"') {
    size_t closing = commandLine.find(L'"', 1);
    position = closing == std::wstring::npos ? end : closing + 1;
  } else {
    while (position < end && !IsBlank(commandLine[position])) ++position;
  }
  while (position < end && IsBlank(commandLine[position])) ++position;
  return WideToUtf8(commandLine.data() + position, end - position);
}

}  // namespace nullora::platform::win32
