// Sleep and session control against the real API, without ever suspending or ending the
// session: the late-bound entry points and the shutdown privilege.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/services/win32_power.h"

#include "tests/windows/test_support.h"

namespace kv::win32 {
namespace {

bool ShutdownPrivilegeEnabled() {
  UniqueHandle token;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
  PRIVILEGE_SET check{};
  check.PrivilegeCount = 1;
  if (!::LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &check.Privilege[0].Luid)) return false;
  BOOL enabled = FALSE;
  return ::PrivilegeCheck(token.get(), &check, &enabled) && enabled;
}

TEST(PowerLinkTest, FindsExportsOfLoadedAndNotYetLoadedModules) {
  Win32Power power;
  const uintptr_t tickCount = power.LinkApi("kernel32.dll", "GetTickCount");
  ASSERT_NE(tickCount, 0u);
  EXPECT_EQ(tickCount, reinterpret_cast<uintptr_t>(reinterpret_cast<void*>(
                           ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetTickCount"))));
  // The entry works: it is the function, not some other address.
  const auto call = reinterpret_cast<DWORD(WINAPI*)()>(reinterpret_cast<void*>(tickCount));
  const DWORD now = ::GetTickCount();
  EXPECT_LE(call() - now, 1000u);

  // The power-management library is loaded on demand (the name as the program spells it).
  // Whether this system offers SetSuspendState is its own business; it is never called here.
  const uintptr_t suspend = power.LinkApi("POWRPROF.dll", "SetSuspendState");
  HMODULE powrprof = ::GetModuleHandleW(L"powrprof.dll");
  if (suspend != 0) {
    ASSERT_NE(powrprof, nullptr) << "an entry into a module that is not loaded";
    EXPECT_EQ(suspend, reinterpret_cast<uintptr_t>(reinterpret_cast<void*>(
                           ::GetProcAddress(powrprof, "SetSuspendState"))));
    // Asked again, the same entry (the module stays loaded).
    EXPECT_EQ(power.LinkApi("POWRPROF.dll", "SetSuspendState"), suspend);
  }
  std::printf("[ info     ] SetSuspendState %s\n", suspend != 0 ? "found" : "not offered");
}

TEST(PowerLinkTest, MissingModuleOrFunctionGivesZero) {
  Win32Power power;
  EXPECT_EQ(power.LinkApi("keyvane-no-such-module.dll", "SetSuspendState"), 0u);
  EXPECT_EQ(power.LinkApi("kernel32.dll", "KeyvaneNoSuchFunction"), 0u);
  EXPECT_EQ(power.LinkApi("kernel32.dll", ""), 0u);
  EXPECT_EQ(power.LinkApi("", "GetTickCount"), 0u);
}

TEST(ShutdownPrivilegeTest, SuccessMeansThePrivilegeIsEnabled) {
  Win32Power power;
  const bool enabled = power.EnableShutdownPrivilege();
  std::printf("[ info     ] shutdown privilege %s\n", enabled ? "enabled" : "refused");
  if (enabled) {
    EXPECT_TRUE(ShutdownPrivilegeEnabled());
    EXPECT_TRUE(power.EnableShutdownPrivilege()) << "enabling twice is no failure";
  }
}

// A process whose token lacks the privilege (a restricted account) must hear that it
// failed: AdjustTokenPrivileges itself still says yes there.
TEST(ShutdownPrivilegeTest, TokenWithoutThePrivilegeIsReportedAsFailure) {
  const int code = RunHelper(L"shutdownwithoutprivilege");
  if (code == 3) GTEST_SKIP() << "this system cannot take the privilege out of a token";
  EXPECT_EQ(code, 0) << "enabling a privilege the token does not hold was reported as success";
}

}  // namespace
}  // namespace kv::win32
