// The stand-in of the registry, the program's place and the shell's "open": in memory, for tests to
// read, with roots that can refuse writes as Windows does for an ordinary user.
#include <fstream>
#include <iterator>
#include <set>

#include "platform/platform.h"
#include "platform/posix/posix_stand_in.h"

namespace nullora::platform {

namespace {

std::set<RegistryRoot>& ReadOnlyRoots() {
  static std::set<RegistryRoot> roots;
  return roots;
}

std::string& ProgramPath() {
  static std::string path = "C:\\Program Files\\Nullora\\nullora.exe";
  return path;
}

bool StartsWithFolded(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && FoldCase(text.substr(0, prefix.size())) == FoldCase(prefix);
}

}  // namespace

std::string posix::RegistryKeyPath(RegistryRoot root, std::string key, RegistryView view) {
  static const char* const kRoots[] = {"HKCR", "HKCU", "HKLM"};
  if (view == RegistryView::Program) {
    if (root == RegistryRoot::ClassesRoot && StartsWithFolded(key, "CLSID\\")) {
      key = "Wow6432Node\\" + key;
    } else if (root == RegistryRoot::LocalMachine && StartsWithFolded(key, "Software\\") &&
               !StartsWithFolded(key, "Software\\Classes\\")) {
      key = key.substr(0, 9) + "Wow6432Node\\" + key.substr(9);
    }
  }
  return std::string(kRoots[static_cast<int>(root)]) + "\\" + key + "\\";
}

namespace {

std::string RegistryPath(RegistryRoot root, const std::string& key, const std::string& name,
                         RegistryView view) {
  return posix::RegistryKeyPath(root, key, view) + name;
}

}  // namespace

namespace posix {
std::map<std::string, std::string>& RegistryContents() {
  static std::map<std::string, std::string> contents;
  return contents;
}
void ClearRegistry() {
  RegistryContents().clear();
  ReadOnlyRoots().clear();
}
void SetRegistryRootWritable(RegistryRoot root, bool writable) {
  if (writable) {
    ReadOnlyRoots().erase(root);
  } else {
    ReadOnlyRoots().insert(root);
  }
}
void SetApplicationPath(const std::string& path) {
  ProgramPath() = path;
}
std::vector<ShellOpenCall>& ShellOpenCalls() {
  static std::vector<ShellOpenCall> calls;
  return calls;
}
}  // namespace posix

bool RegistryWriteString(RegistryRoot root, const std::string& key, const std::string& name,
                         const std::string& data, RegistryView view) {
  if (ReadOnlyRoots().count(root)) return false;
  posix::RegistryContents()[RegistryPath(root, key, name, view)] = data;
  return true;
}

std::optional<std::string> RegistryReadString(RegistryRoot root, const std::string& key,
                                              const std::string& name, RegistryView view) {
  auto& contents = posix::RegistryContents();
  auto found = contents.find(RegistryPath(root, key, name, view));
  if (found == contents.end()) return std::nullopt;
  return found->second;
}

bool RegistryDeleteValue(RegistryRoot root, const std::string& key, const std::string& name,
                         RegistryView view) {
  auto& contents = posix::RegistryContents();
  auto found = contents.find(RegistryPath(root, key, name, view));
  if (found == contents.end()) return true;
  if (ReadOnlyRoots().count(root)) return false;
  contents.erase(found);
  return true;
}

std::string ApplicationPath() {
  return ProgramPath();
}

std::string ApplicationDirectory() {
  const std::string& path = ProgramPath();
  size_t slash = path.find_last_of('\\');
  if (slash == std::string::npos) return {};
  return path.substr(0, slash == 2 ? 3 : slash);
}

bool ShellOpen(const std::string& file, const std::string& verb, const std::string& directory, int show,
               bool desktopOwner) {
  posix::ShellOpenCalls().push_back({file, verb, directory, show, desktopOwner});
  return true;
}

std::optional<std::string> ReadFileStart(const std::string& path, size_t count) {
  std::ifstream in(posix::ToHostPath(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::string content(count, '\0');
  in.read(content.data(), static_cast<std::streamsize>(count));
  content.resize(static_cast<size_t>(in.gcount()));
  return content;
}

std::optional<std::string> ReadSmallFile(const std::string& path, size_t limit) {
  std::ifstream in(posix::ToHostPath(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (content.size() > limit) return std::nullopt;
  return content;
}

}  // namespace nullora::platform
