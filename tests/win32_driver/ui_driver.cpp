// Drives the program's real windows from outside, for the whole-program tests under Wine and Xvfb:
// it finds a top-level window by its title, reads its controls' texts and clicks its buttons. Every
// wait polls for the state it needs, with a deadline.
//
//   ui_driver wait-window "<title>" <timeoutMs>
//   ui_driver wait-gone "<title>" <timeoutMs>
//   ui_driver click "<title>" "<button text>" [timeoutMs]
//   ui_driver wait-text "<title>" "<text>" <timeoutMs>
//   ui_driver dump "<title>"
//   ui_driver close "<title>"          (what the close box does: WM_CLOSE)
//   ui_driver recycle "<path>"         (moves a file to the Recycle Bin, as Explorer's Delete does)
//   ui_driver tray right|double        (what a right click or a double click on the program's tray icon
//   sends) ui_driver menu-key <letter> <timeoutMs>  (types a letter into the open pop-up menu) ui_driver
//   select "<title>" "<entry>"    (picks an entry of the window's combo box, as a user does) ui_driver
//   responsive "<title>" "<button text>" "<text>" <timeoutMs> <maxAnswerMs> ["<title of text>"]
//                                      (clicks the button, then asks every control for its text, again
//                                      and again, until one reads <text>; fails when an answer ever
//                                      took over <maxAnswerMs>)
//
// Button texts match with or without their '&' mnemonic marks. Exit code 0: done; 1: not seen in
// time; 2: wrong usage.
#include <windows.h>

#include <shellapi.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPollMs = 50;
constexpr DWORD kDefaultTimeoutMs = 10000;

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                 nullptr);
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                      nullptr);
  return result;
}

void Print(const std::wstring& line) {
  std::string text = ToUtf8(line) + "\n";
  fwrite(text.data(), 1, text.size(), stdout);
  fflush(stdout);
}

// WM_GETTEXT, which reaches into the other process (GetWindowText does not for controls).
std::wstring TextOf(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &length)) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, 1000, &copied)) {
    return {};
  }
  text.resize(static_cast<size_t>(copied));
  return text;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  GetClassNameW(hwnd, name, 256);
  return name;
}

std::wstring WithoutMnemonics(const std::wstring& text) {
  std::wstring result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    result += text[i];
  }
  return result;
}

bool SameCaption(const std::wstring& text, const std::wstring& wanted) {
  return text == wanted || WithoutMnemonics(text) == WithoutMnemonics(wanted);
}

struct TitleSearch {
  const std::wstring* title;
  HWND found;
};

BOOL CALLBACK MatchTitle(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<TitleSearch*>(data);
  if (!IsWindowVisible(hwnd)) return TRUE;
  if (TextOf(hwnd) != *search->title) return TRUE;
  search->found = hwnd;
  return FALSE;
}

HWND FindTopLevel(const std::wstring& title) {
  TitleSearch search{&title, nullptr};
  EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Every descendant, in the order the dialog manager walks them.
void CollectChildren(HWND parent, std::vector<HWND>& children) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
    CollectChildren(child, children);
  }
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> children;
  CollectChildren(parent, children);
  return children;
}

// Polls `check` until it returns true or the deadline passes.
template <class Check>
bool PollUntil(DWORD timeoutMs, Check check) {
  ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (check()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMs);
  }
}

void Dump(HWND window) {
  Print(L"window \"" + TextOf(window) + L"\" class " + ClassOf(window));
  for (HWND child : Descendants(window)) {
    std::wstring depth;
    for (HWND up = GetParent(child); up && up != window; up = GetParent(up)) depth += L"  ";
    std::wstring flags = std::wstring(IsWindowVisible(child) ? L"" : L" hidden") +
                         (IsWindowEnabled(child) ? L"" : L" disabled");
    Print(L"  " + depth + ClassOf(child) + L" \"" + TextOf(child) + L"\"" + flags);
  }
}

int WaitWindow(const std::wstring& title, DWORD timeoutMs) {
  HWND window = nullptr;
  if (!PollUntil(timeoutMs, [&] { return (window = FindTopLevel(title)) != nullptr; })) {
    Print(L"no window \"" + title + L"\" within " + std::to_wstring(timeoutMs) + L" ms");
    return 1;
  }
  Print(L"window \"" + title + L"\" is up");
  return 0;
}

int WaitGone(const std::wstring& title, DWORD timeoutMs) {
  if (!PollUntil(timeoutMs, [&] { return FindTopLevel(title) == nullptr; })) {
    Print(L"window \"" + title + L"\" still there after " + std::to_wstring(timeoutMs) + L" ms");
    return 1;
  }
  Print(L"window \"" + title + L"\" is gone");
  return 0;
}

int Click(const std::wstring& title, const std::wstring& caption, DWORD timeoutMs) {
  HWND button = nullptr;
  bool seen = PollUntil(timeoutMs, [&] {
    HWND window = FindTopLevel(title);
    if (!window) return false;
    for (HWND child : Descendants(window)) {
      if (_wcsicmp(ClassOf(child).c_str(), L"Button") == 0) {
        if (SameCaption(TextOf(child), caption) && IsWindowVisible(child) && IsWindowEnabled(child)) {
          button = child;
          return true;
        }
      }
    }
    return false;
  });
  if (!seen) {
    Print(L"no enabled button \"" + caption + L"\" in \"" + title + L"\" within " +
          std::to_wstring(timeoutMs) + L" ms");
    if (HWND window = FindTopLevel(title)) Dump(window);
    return 1;
  }
  // Posted, so a click that starts a long job does not hold the driver.
  PostMessageW(button, BM_CLICK, 0, 0);
  Print(L"clicked \"" + caption + L"\" in \"" + title + L"\"");
  return 0;
}

int WaitText(const std::wstring& title, const std::wstring& text, DWORD timeoutMs) {
  bool seen = PollUntil(timeoutMs, [&] {
    HWND window = FindTopLevel(title);
    if (!window) return false;
    for (HWND child : Descendants(window)) {
      if (TextOf(child) == text) return true;
    }
    return false;
  });
  if (!seen) {
    Print(L"no control reads \"" + text + L"\" in \"" + title + L"\" within " + std::to_wstring(timeoutMs) +
          L" ms; it shows:");
    if (HWND window = FindTopLevel(title)) Dump(window);
    return 1;
  }
  Print(L"\"" + title + L"\" shows \"" + text + L"\"");
  return 0;
}

// How long the program takes to answer, while it works: each control is asked for its text, timed,
// every poll, until one reads `text` (or one of the window `textTitle`, when the work ends in another).
int Responsive(const std::wstring& title, const std::wstring& button, const std::wstring& text,
               DWORD timeoutMs, DWORD maxAnswerMs, const std::wstring& textTitle) {
  // Found before the click: looking it up by its title while it works would itself wait on it.
  HWND window = nullptr;
  if (!PollUntil(timeoutMs, [&] { return (window = FindTopLevel(title)) != nullptr; })) {
    Print(L"no window \"" + title + L"\"");
    return 1;
  }
  if (int clicked = Click(title, button, timeoutMs); clicked != 0) return clicked;
  ULONGLONG longest = 0;
  unsigned long asks = 0;
  bool seen = PollUntil(timeoutMs, [&] {
    for (HWND child : Descendants(window)) {
      wchar_t buffer[512] = {};
      DWORD_PTR copied = 0;
      ULONGLONG asked = GetTickCount64();
      // No abort for a hung window: the time it takes to answer at all is what is measured.
      BOOL answered = SendMessageTimeoutW(child, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer),
                                          SMTO_BLOCK, 30000, &copied);
      longest = std::max(longest, GetTickCount64() - asked);
      ++asks;
      if (answered && textTitle.empty() && text == std::wstring(buffer, static_cast<size_t>(copied)))
        return true;
    }
    if (!textTitle.empty()) {
      if (HWND other = FindTopLevel(textTitle)) {
        for (HWND child : Descendants(other)) {
          if (TextOf(child) == text) return true;
        }
      }
    }
    return !IsWindow(window);
  });
  Print(L"\"" + title + L"\": longest answer " + std::to_wstring(longest) + L" ms over " +
        std::to_wstring(asks) + L" questions");
  if (!seen || !IsWindow(window)) {
    Print(L"no control read \"" + text + L"\" within " + std::to_wstring(timeoutMs) + L" ms");
    return 1;
  }
  return longest <= maxAnswerMs ? 0 : 1;
}

// The program's tray icon has a window of its own that hears the notification area's callback.
int Tray(const std::wstring& event) {
  HWND icon = FindWindowW(L"NulloraTrayWindow", nullptr);
  if (!icon) {
    Print(L"no tray icon window");
    return 1;
  }
  LPARAM mouse = event == L"double" ? WM_LBUTTONDBLCLK : WM_RBUTTONUP;
  PostMessageW(icon, WM_APP + 1, 999, mouse);
  Print(L"tray icon: " + event);
  return 0;
}

int MenuKey(wchar_t letter, DWORD timeoutMs) {
  HWND menu = nullptr;
  if (!PollUntil(timeoutMs, [&] {
        menu = FindWindowW(L"#32768", nullptr);
        return menu && IsWindowVisible(menu);
      })) {
    Print(L"no pop-up menu open");
    return 1;
  }
  wchar_t upper = static_cast<wchar_t>(towupper(letter));
  PostMessageW(menu, WM_KEYDOWN, upper, 0);
  PostMessageW(menu, WM_CHAR, letter, 0);
  PostMessageW(menu, WM_KEYUP, upper, 0);
  Print(std::wstring(L"typed ") + letter + L" into the menu");
  return 0;
}

int Select(const std::wstring& title, const std::wstring& entry) {
  HWND window = FindTopLevel(title);
  if (!window) {
    Print(L"no window \"" + title + L"\"");
    return 1;
  }
  for (HWND child : Descendants(window)) {
    if (_wcsicmp(ClassOf(child).c_str(), L"ComboBox") != 0) continue;
    LRESULT index = SendMessageW(child, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(entry.c_str()));
    if (index == CB_ERR) continue;
    SendMessageW(child, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    // What the list tells its parent when a user picks an entry.
    PostMessageW(GetParent(child), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(child));
    Print(L"picked \"" + entry + L"\" in \"" + title + L"\"");
    return 0;
  }
  Print(L"no combo box in \"" + title + L"\" offers \"" + entry + L"\"");
  return 1;
}

// The browser's URL cache, filled and counted the way the browser does it.
int CacheAdd(const std::wstring& kind, const std::wstring& url) {
  if (kind == L"cookie") {
    BOOL set = InternetSetCookieW(url.c_str(), L"nullora_test", L"1; expires=Sat, 01-Jan-2039 00:00:00 GMT");
    Print(std::wstring(L"cookie for ") + url + (set ? L" set" : L" NOT set"));
    return set ? 0 : 1;
  }
  const std::wstring entryUrl = kind == L"history" ? L"Visited: tester@" + url : url;
  wchar_t file[MAX_PATH] = {};
  if (!CreateUrlCacheEntryW(entryUrl.c_str(), 0, L"html", file, 0)) {
    Print(L"CreateUrlCacheEntry failed for " + entryUrl);
    return 1;
  }
  HANDLE handle = CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(handle, "<html>trace</html>", 18, &written, nullptr);
  CloseHandle(handle);
  FILETIME never = {0xFFFFFFFF, 0x7FFFFFFF}, none = {};
  DWORD type = kind == L"history" ? URLHISTORY_CACHE_ENTRY | NORMAL_CACHE_ENTRY : NORMAL_CACHE_ENTRY;
  BOOL committed =
      CommitUrlCacheEntryW(entryUrl.c_str(), file, never, none, type, nullptr, 0, nullptr, nullptr);
  Print(entryUrl + (committed ? L" committed" : L" NOT committed"));
  return committed ? 0 : 1;
}

int CacheCount() {
  unsigned long pages = 0, cookies = 0, history = 0;
  std::vector<BYTE> block(64 * 1024);
  DWORD size = static_cast<DWORD>(block.size());
  auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(block.data());
  HANDLE find = FindFirstUrlCacheEntryW(nullptr, info, &size);
  if (find) {
    do {
      if (info->CacheEntryType & COOKIE_CACHE_ENTRY) {
        ++cookies;
      } else if (info->CacheEntryType & URLHISTORY_CACHE_ENTRY) {
        ++history;
      } else {
        ++pages;
      }
      size = static_cast<DWORD>(block.size());
    } while (FindNextUrlCacheEntryW(find, info, &size));
    FindCloseUrlCache(find);
  }
  Print(L"pages " + std::to_wstring(pages) + L" cookies " + std::to_wstring(cookies) + L" history " +
        std::to_wstring(history));
  return 0;
}

// The shell's own way into the bin, so the test sees the bin exactly as the shell keeps it.
int Recycle(const std::wstring& path) {
  std::wstring from = path + L'\0';  // a list of paths, ended by an empty one
  SHFILEOPSTRUCTW operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  int result = SHFileOperationW(&operation);
  if (result != 0 || operation.fAnyOperationsAborted) {
    Print(L"could not move \"" + path + L"\" to the Recycle Bin (error " + std::to_wstring(result) + L")");
    return 1;
  }
  Print(L"moved \"" + path + L"\" to the Recycle Bin");
  return 0;
}

DWORD ParseTimeout(int argc, wchar_t** argv, int index) {
  if (index >= argc) return kDefaultTimeoutMs;
  return static_cast<DWORD>(wcstoul(argv[index], nullptr, 10));
}

int Usage() {
  Print(L"usage: ui_driver wait-window|wait-gone \"<title>\" <timeoutMs>");
  Print(L"       ui_driver click \"<title>\" \"<button text>\" [timeoutMs]");
  Print(L"       ui_driver wait-text \"<title>\" \"<text>\" <timeoutMs>");
  Print(L"       ui_driver dump|close \"<title>\"");
  Print(L"       ui_driver recycle \"<path>\"");
  Print(
      L"       ui_driver responsive \"<title>\" \"<button text>\" \"<text>\" <timeoutMs> <maxAnswerMs> "
      L"[\"<title of text>\"]");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && std::wstring(argv[1]) == L"cache-count") return CacheCount();
  if (argc < 3) return Usage();
  std::wstring command = argv[1];
  std::wstring title = argv[2];
  if (command == L"recycle") return Recycle(argv[2]);
  if (command == L"cache-add" && argc >= 4) return CacheAdd(argv[2], argv[3]);
  if (command == L"tray") return Tray(argv[2]);
  if (command == L"menu-key") return MenuKey(argv[2][0], ParseTimeout(argc, argv, 3));
  if (command == L"select" && argc >= 4) return Select(title, argv[3]);
  if (command == L"wait-window") return WaitWindow(title, ParseTimeout(argc, argv, 3));
  if (command == L"wait-gone") return WaitGone(title, ParseTimeout(argc, argv, 3));
  if (command == L"click" && argc >= 4) return Click(title, argv[3], ParseTimeout(argc, argv, 4));
  if (command == L"wait-text" && argc >= 4) return WaitText(title, argv[3], ParseTimeout(argc, argv, 4));
  if (command == L"responsive" && argc >= 7) {
    return Responsive(title, argv[3], argv[4], ParseTimeout(argc, argv, 5), ParseTimeout(argc, argv, 6),
                      argc >= 8 ? argv[7] : L"");
  }
  if (command == L"close") {
    HWND window = FindTopLevel(title);
    if (!window) {
      Print(L"no window \"" + title + L"\"");
      return 1;
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    Print(L"asked \"" + title + L"\" to close");
    return 0;
  }
  if (command == L"dump") {
    HWND window = FindTopLevel(title);
    if (!window) {
      Print(L"no window \"" + title + L"\"");
      return 1;
    }
    Dump(window);
    return 0;
  }
  return Usage();
}
