// The process side of the seam: the argument after the program name, the tick count, the time of day.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/platform.h"
#include "platform/win32/command_line.h"

namespace nullora::platform {
namespace {

using win32::ArgumentAfterProgramName;

// --- the argument after the program name ----------------------------------------------------------

TEST(ArgumentAfterProgramName, QuotedProgramNameWithSpacesIsSkippedWhole) {
  EXPECT_EQ(ArgumentAfterProgramName(L"\"C:\\Program Files\\Nullora\\nullora.exe\" /wipe"), "/wipe");
}

TEST(ArgumentAfterProgramName, UnquotedProgramNameEndsAtTheFirstBlank) {
  EXPECT_EQ(ArgumentAfterProgramName(L"C:\\Nullora\\nullora.exe /clean"), "/clean");
  EXPECT_EQ(ArgumentAfterProgramName(L"nullora.exe\t/clean"), "/clean");
}

TEST(ArgumentAfterProgramName, ArgumentWithSpacesAndTrailingBlanksIsKeptVerbatim) {
  EXPECT_EQ(ArgumentAfterProgramName(L"nullora.exe  \t C:\\My Files\\a b.txt  \t"),
            "C:\\My Files\\a b.txt  \t");
}

TEST(ArgumentAfterProgramName, QuotedArgumentKeepsItsQuotes) {
  EXPECT_EQ(ArgumentAfterProgramName(L"\"nullora.exe\" \"C:\\My Files\\a b.txt\""),
            "\"C:\\My Files\\a b.txt\"");
}

TEST(ArgumentAfterProgramName, SeveralArgumentsStayOneText) {
  EXPECT_EQ(ArgumentAfterProgramName(L"nullora.exe /f \"C:\\a\" \"C:\\b c\""), "/f \"C:\\a\" \"C:\\b c\"");
}

TEST(ArgumentAfterProgramName, NoArgumentIsEmpty) {
  EXPECT_EQ(ArgumentAfterProgramName(L"\"C:\\Program Files\\Nullora\\nullora.exe\""), "");
  EXPECT_EQ(ArgumentAfterProgramName(L"\"C:\\Program Files\\Nullora\\nullora.exe\"   "), "");
  EXPECT_EQ(ArgumentAfterProgramName(L"nullora.exe"), "");
  EXPECT_EQ(ArgumentAfterProgramName(L""), "");
}

TEST(ArgumentAfterProgramName, UnclosedQuoteLeavesNoArgument) {
  EXPECT_EQ(ArgumentAfterProgramName(L"\"C:\\Program Files\\nullora.exe /wipe"), "");
}

TEST(ArgumentAfterProgramName, ArgumentOutsideTheAnsiCodePageComesAsUtf8) {
  EXPECT_EQ(ArgumentAfterProgramName(L"nullora.exe C:\\\u65E5\u672C\\\u00FC.txt"),
            reinterpret_cast<const char*>(u8"C:\\日本\\ü.txt"));
}

// --- the argument of a real process ---------------------------------------------------------------

// In the child that the test below starts, this runs before any test: it writes what the process was
// given to the file the environment names, and ends the child there.
const bool kArgumentChild = [] {
  char out[MAX_PATH + 1];
  DWORD length = GetEnvironmentVariableA("NULLORA_ARGUMENT_OUT", out, sizeof out);
  if (length == 0 || length > MAX_PATH) return false;
  std::string argument = CommandLineArgument();
  HANDLE file = CreateFileA(out, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  if (file != INVALID_HANDLE_VALUE) {
    WriteFile(file, argument.data(), static_cast<DWORD>(argument.size()), &written, nullptr);
    CloseHandle(file);
  }
  ExitProcess(0);
}();

TEST(CommandLineArgument, IsTheChildsCommandLineAfterItsProgramName) {
  wchar_t exe[MAX_PATH + 1];
  ASSERT_GT(GetModuleFileNameW(nullptr, exe, MAX_PATH + 1), 0u);
  char temp[MAX_PATH + 1];
  ASSERT_GT(GetTempPathA(MAX_PATH + 1, temp), 0u);
  const std::string out =
      std::string(temp) + "nullora-argument-" + std::to_string(GetCurrentProcessId()) + ".txt";
  DeleteFileA(out.c_str());
  ASSERT_TRUE(SetEnvironmentVariableA("NULLORA_ARGUMENT_OUT", out.c_str()));

  std::wstring commandLine = L"\"" + std::wstring(exe) + L"\"  \t/wipe \"C:\\My Files\\a b.txt\"  x  ";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  BOOL started = CreateProcessW(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                &startup, &process);
  SetEnvironmentVariableA("NULLORA_ARGUMENT_OUT", nullptr);
  ASSERT_TRUE(started) << GetLastError();
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 60'000), WAIT_OBJECT_0);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  HANDLE file =
      CreateFileA(out.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << "the child wrote nothing";
  char buffer[512];
  DWORD got = 0;
  ReadFile(file, buffer, sizeof buffer, &got, nullptr);
  CloseHandle(file);
  DeleteFileA(out.c_str());
  EXPECT_EQ(std::string(buffer, got), "/wipe \"C:\\My Files\\a b.txt\"  x  ");
}

// --- the clock ------------------------------------------------------------------------------------

TEST(OsTickMs, AdvancesAcrossASleep) {
  uint64_t before = OsTickMs();
  OsSleep(100);
  uint64_t after = OsTickMs();

  // The tick count moves in steps of a timer interrupt, up to 16 ms on Windows.
  EXPECT_GE(after - before, 70u);
  EXPECT_LT(after - before, 5'000u);
}

TEST(OsSecondsSinceMidnight, IsTheLocalTimeOfDay) {
  SYSTEMTIME before;
  GetLocalTime(&before);
  double seconds = OsSecondsSinceMidnight();

  EXPECT_GE(seconds, 0.0);
  EXPECT_LT(seconds, 86'400.0);
  double expected =
      before.wHour * 3600.0 + before.wMinute * 60.0 + before.wSecond + before.wMilliseconds / 1000.0;
  // Across midnight the two readings are a day apart; otherwise within the time between them.
  double difference = std::fmod(seconds - expected + 86'400.0, 86'400.0);
  EXPECT_LT(difference, 2.0);
}

TEST(OsSecondsSinceMidnight, CarriesMilliseconds) {
  bool sawFraction = false;
  for (int attempt = 0; attempt < 20 && !sawFraction; ++attempt) {
    double seconds = OsSecondsSinceMidnight();
    sawFraction = seconds != std::floor(seconds);
    if (!sawFraction) OsSleep(7);
  }

  EXPECT_TRUE(sawFraction);
}

}  // namespace
}  // namespace nullora::platform
