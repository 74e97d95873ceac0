#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "platform/win/Power.h"
#include "platform/win/Shell.h"
#include "platform/win/SysMetrics.h"

using vantrel::display::HeadlessSession;
using vantrel::win::CommandPowerControl;
using vantrel::win::PowerAction;
using vantrel::win::RecordingPowerControl;

TEST(Power, VersionIsSixOneOnTheNtPlatform) {
  OSVERSIONINFOW V;
  ASSERT_TRUE(GetVersionExW(&V));
  EXPECT_EQ(V.dwPlatformId, 2u);
  EXPECT_EQ(V.dwMajorVersion, 6u);
  EXPECT_EQ(V.dwMinorVersion, 1u);
  EXPECT_EQ(V.dwBuildNumber, 7601u);
  EXPECT_STREQ(V.szCSDVersion, "");
  EXPECT_EQ(GetVersion() & 0xFFFF, V.dwMajorVersion | (V.dwMinorVersion << 8));
  EXPECT_FALSE(GetVersionExW(nullptr));
}

TEST(Power, ThePrivilegeStepsSucceedWithNoError) {
  HANDLE Token = nullptr;
  SetLastError(1234);
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &Token));
  EXPECT_NE(Token, nullptr);
  TOKEN_PRIVILEGES Tp;
  Tp.PrivilegeCount = 1;
  ASSERT_TRUE(LookupPrivilegeValue(nullptr, "SeShutdownPrivilege", &Tp.Privileges[0].Luid));
  Tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  SetLastError(1234);
  ASSERT_TRUE(AdjustTokenPrivileges(Token, FALSE, &Tp, 0, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), 0u);
  LUID L;
  EXPECT_FALSE(LookupPrivilegeValue(nullptr, "SeNoSuchPrivilege", &L));
  EXPECT_EQ(GetLastError(), ERROR_NO_SUCH_PRIVILEGE);
}

TEST(Power, ShutDownIsRequestedOnceAndNeverForced) {
  HeadlessSession S;
  auto R = std::make_unique<RecordingPowerControl>();
  RecordingPowerControl* Rec = R.get();
  S.Manager().Shell().SetPower(std::move(R));
  EXPECT_TRUE(ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE, 0));
  ASSERT_EQ(Rec->Calls.size(), 1u);
  EXPECT_EQ(Rec->Calls[0], PowerAction::PowerOff);
  EXPECT_TRUE(ExitWindowsEx(EWX_REBOOT, 0));
  EXPECT_EQ(Rec->Calls.back(), PowerAction::Reboot);
  EXPECT_FALSE(ExitWindowsEx(EWX_LOGOFF, 0));
  EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
  EXPECT_EQ(Rec->Calls.size(), 2u);
  Rec->Fail = true;
  EXPECT_FALSE(ExitWindowsEx(EWX_SHUTDOWN, 0));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(S.Manager().Shell().Power().LastMessage, "Refused.");
}

TEST(Power, TheDefaultControlAsksSystemctl) {
  CommandPowerControl C;
  EXPECT_EQ(C.Plan(PowerAction::PowerOff), (std::vector<std::string>{"systemctl", "poweroff"}));
  EXPECT_EQ(C.Plan(PowerAction::Reboot), (std::vector<std::string>{"systemctl", "reboot"}));
}

TEST(Power, ARefusingCommandGivesFalseWithItsMessage) {
  HeadlessSession S;
  S.Manager().Shell().SetPower(std::make_unique<CommandPowerControl>(std::vector<std::string>{"false"},
                                                                     std::vector<std::string>{"sh", "-c", "echo Not allowed >&2; exit 3"}));
  EXPECT_FALSE(ExitWindowsEx(EWX_SHUTDOWN, 0));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(S.Manager().Shell().Power().LastMessage, "false failed with exit code 1");
  EXPECT_FALSE(ExitWindowsEx(EWX_REBOOT, 0));
  EXPECT_EQ(S.Manager().Shell().Power().LastMessage, "Not allowed");
  S.Manager().Shell().SetPower(std::make_unique<CommandPowerControl>(std::vector<std::string>{"true"},
                                                                     std::vector<std::string>{"no-such-program-here"}));
  EXPECT_TRUE(ExitWindowsEx(EWX_POWEROFF, 0));
  EXPECT_FALSE(ExitWindowsEx(EWX_REBOOT, 0));
  EXPECT_NE(S.Manager().Shell().Power().LastMessage.find("no-such-program-here"), std::string::npos);
}
