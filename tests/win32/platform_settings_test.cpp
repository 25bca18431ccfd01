// The settings store in the registry of the test's own Wine prefix, under an application name no
// one else uses; the whole key is removed afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace nullora::platform {
namespace {

class PlatformSettingsTest : public testing::Test {
 protected:
  void SetUp() override {
    app_ = "NulloraTest-" + std::to_string(GetCurrentProcessId());
    appKey_ = L"Software\\VB and VBA Program Settings\\NulloraTest-" + std::to_wstring(GetCurrentProcessId());
    RegDeleteTreeW(HKEY_CURRENT_USER, appKey_.c_str());
  }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, appKey_.c_str()); }

  // The raw value as the registry holds it, read without the code under test.
  struct RawValue {
    LSTATUS status = ERROR_FILE_NOT_FOUND;
    DWORD type = REG_NONE;
    std::wstring text;
  };
  RawValue ReadRaw(const std::wstring& section, const std::wstring& name) const {
    RawValue raw;
    HKEY key = nullptr;
    raw.status =
        RegOpenKeyExW(HKEY_CURRENT_USER, (appKey_ + L"\\" + section).c_str(), 0, KEY_QUERY_VALUE, &key);
    if (raw.status != ERROR_SUCCESS) return raw;
    std::vector<wchar_t> buffer(1024, L'\0');
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    raw.status = RegQueryValueExW(key, name.c_str(), nullptr, &raw.type,
                                  reinterpret_cast<BYTE*>(buffer.data()), &size);
    RegCloseKey(key);
    raw.text.assign(buffer.data(), size / sizeof(wchar_t));
    return raw;
  }

  void WriteRaw(const std::wstring& section, const std::wstring& name, DWORD type, const void* data,
                DWORD size) const {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (appKey_ + L"\\" + section).c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }

  bool SectionExists(const std::wstring& section) const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, (appKey_ + L"\\" + section).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
      return false;
    }
    RegCloseKey(key);
    return true;
  }

  std::string app_;
  std::wstring appKey_;
};

TEST_F(PlatformSettingsTest, WrittenValueReadsBack) {
  ASSERT_TRUE(WriteSetting(app_, "Options", "Passes", "35"));

  EXPECT_EQ(ReadSetting(app_, "Options", "Passes"), std::optional<std::string>("35"));
}

TEST_F(PlatformSettingsTest, ValueIsAStringUnderTheProgramSettingsKey) {
  ASSERT_TRUE(WriteSetting(app_, "Options", "Passes", "35"));

  RawValue raw = ReadRaw(L"Options", L"Passes");
  ASSERT_EQ(raw.status, ERROR_SUCCESS);
  EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(raw.text, std::wstring(L"35\0", 3));
}

TEST_F(PlatformSettingsTest, AbsentKeyReadsNothingAndCreatesNothing) {
  EXPECT_EQ(ReadSetting(app_, "Options", "Passes"), std::nullopt);

  EXPECT_FALSE(SectionExists(L"Options"));
}

TEST_F(PlatformSettingsTest, AbsentValueInAnExistingSectionReadsNothing) {
  ASSERT_TRUE(WriteSetting(app_, "Options", "Passes", "35"));

  EXPECT_EQ(ReadSetting(app_, "Options", "Method"), std::nullopt);
}

TEST_F(PlatformSettingsTest, OverwriteReplacesTheValue) {
  ASSERT_TRUE(WriteSetting(app_, "Options", "Passes", "35"));
  ASSERT_TRUE(WriteSetting(app_, "Options", "Passes", "7"));

  EXPECT_EQ(ReadSetting(app_, "Options", "Passes"), std::optional<std::string>("7"));
  EXPECT_EQ(ReadRaw(L"Options", L"Passes").text, std::wstring(L"7\0", 2));
}

TEST_F(PlatformSettingsTest, EmptyValueIsStoredAndReadAsEmpty) {
  ASSERT_TRUE(WriteSetting(app_, "Options", "Folder", ""));

  EXPECT_EQ(ReadSetting(app_, "Options", "Folder"), std::optional<std::string>(""));
}

TEST_F(PlatformSettingsTest, UnicodeTextIsStoredAsUtf16) {
  const std::string value = reinterpret_cast<const char*>(u8"C:\\Dokumente\\Ünï ✓ 日本");
  ASSERT_TRUE(WriteSetting(app_, "Folders", "Last", value));

  EXPECT_EQ(ReadRaw(L"Folders", L"Last").text,
            std::wstring(L"C:\\Dokumente\\\u00DCn\u00EF \u2713 \u65E5\u672C") + L'\0');
  EXPECT_EQ(ReadSetting(app_, "Folders", "Last"), std::optional<std::string>(value));
}

TEST_F(PlatformSettingsTest, ExpandableStringIsReadAsItsTextUnexpanded) {
  const wchar_t text[] = L"%TEMP%\\x";
  WriteRaw(L"Options", L"Folder", REG_EXPAND_SZ, text, sizeof text);

  EXPECT_EQ(ReadSetting(app_, "Options", "Folder"), std::optional<std::string>("%TEMP%\\x"));
}

TEST_F(PlatformSettingsTest, StringStoredWithoutTerminatorReadsWhole) {
  const wchar_t text[] = {L'a', L'b', L'c'};
  WriteRaw(L"Options", L"Raw", REG_SZ, text, sizeof text);

  EXPECT_EQ(ReadSetting(app_, "Options", "Raw"), std::optional<std::string>("abc"));
}

TEST_F(PlatformSettingsTest, NumberValueIsNotASetting) {
  DWORD number = 35;
  WriteRaw(L"Options", L"Passes", REG_DWORD, &number, sizeof number);

  EXPECT_EQ(ReadSetting(app_, "Options", "Passes"), std::nullopt);
}

TEST_F(PlatformSettingsTest, SectionsAreSeparate) {
  ASSERT_TRUE(WriteSetting(app_, "Options", "Passes", "35"));
  ASSERT_TRUE(WriteSetting(app_, "Schedule", "Passes", "3"));

  EXPECT_EQ(ReadSetting(app_, "Options", "Passes"), std::optional<std::string>("35"));
  EXPECT_EQ(ReadSetting(app_, "Schedule", "Passes"), std::optional<std::string>("3"));
}

}  // namespace
}  // namespace nullora::platform
