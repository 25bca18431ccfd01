// An empty settings store for the life of a test: the in-memory store of the workbench build, or the
// program's registry key of the test's own Wine prefix.
#pragma once

namespace nullora::test {

class SettingsSandbox {
 public:
  SettingsSandbox();
  ~SettingsSandbox();
  SettingsSandbox(const SettingsSandbox&) = delete;
  SettingsSandbox& operator=(const SettingsSandbox&) = delete;

  // True when no value is stored at all.
  bool Empty() const;
};

}  // namespace nullora::test
