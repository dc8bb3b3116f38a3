// The help service against a stand-in viewer library (what HtmlHelpW is given) and against
// the real hhctrl.ocx (a help file that is not there opens nothing and is only a false).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/win32/wide.h"
#include "platform/win32/win32_help.h"
#include "tests/windows/test_support.h"

namespace kv::win32 {
namespace {

using CallsFn = const wchar_t* (*)();

TEST(Help, TheTopicAddressReachesHtmlHelpWWhole) {
  const std::wstring standIn = OwnFolder() + L"\\keyvane_helpviewer.dll";
  // Held by the test as well, to read the record after the service has let it go.
  HMODULE module = ::LoadLibraryW(standIn.c_str());
  ASSERT_NE(module, nullptr);
  auto calls = reinterpret_cast<CallsFn>(
      reinterpret_cast<void (*)()>(::GetProcAddress(module, "StandInCalls")));
  ASSERT_NE(calls, nullptr);
  {
    Win32Help help([] { return ::GetDesktopWindow(); }, standIn);
    EXPECT_TRUE(help.DisplayTopic("C:\\Program Files\\Keyvane\\Keyvane.chm::/Topic7.htm"));
    // "C:\Ωmega €\Keyvane.chm": the address is handed over in UTF-16.
    EXPECT_TRUE(help.DisplayTopic("C:\\\xCE\xA9mega \xE2\x82\xAC\\Keyvane.chm::/Topic1.htm"));
  }
  EXPECT_EQ(std::wstring(calls()),
            L"0 C:\\Program Files\\Keyvane\\Keyvane.chm::/Topic7.htm|owned\n"
            L"0 C:\\\u03A9mega \u20AC\\Keyvane.chm::/Topic1.htm|owned\n"
            L"18 (none)|unowned\n");  // the viewer's windows closed before it is unloaded
  ::FreeLibrary(module);
}

TEST(Help, AMissingViewerOrHelpFileGivesFalseAndNothingElse) {
  Win32Help none([] { return HWND{}; }, L"keyvane-no-such-viewer.ocx");
  EXPECT_FALSE(none.DisplayTopic("C:\\Keyvane.chm::/Topic1.htm"));
  EXPECT_FALSE(none.DisplayTopic("C:\\Keyvane.chm::/Topic1.htm"));

  Win32Help real([] { return HWND{}; });
  const std::string missing = Narrow(OwnFolder()) + "\\keyvane-missing.chm::/Topic5.htm";
  const DWORD start = ::GetTickCount();
  EXPECT_FALSE(real.DisplayTopic(missing));
  EXPECT_LT(::GetTickCount() - start, 5000u);
  EXPECT_EQ(::FindWindowW(L"HH Parent", nullptr), nullptr);
}

}  // namespace
}  // namespace kv::win32
