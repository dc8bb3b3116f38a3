// The help service against a stand-in viewer library (what HtmlHelpW is given) and against
// the real hhctrl.ocx (a help file that is not there opens nothing and is only a false); the
// download mark read and removed through a file's "Zone.Identifier" stream.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "platform/win32/services/win32_help.h"
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

// A scratch folder beside the test program holding a help file.
class DownloadMark : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = OwnFolder() + L"\\mark-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder_.c_str(), nullptr);
    chm_ = folder_ + L"\\Keyvane.chm";
    WriteBytes(chm_, kHelpBytes);
  }
  void TearDown() override { RemoveTree(folder_); }

  // Writes "<file>:Zone.Identifier" as a browser does; false when the file system refuses.
  bool WriteMark(const std::string& bytes) {
    UniqueHandle stream(::CreateFileW((chm_ + L":Zone.Identifier").c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!stream) return false;
    DWORD written = 0;
    return ::WriteFile(stream.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
  }
  std::string HelpBytes() const {
    UniqueHandle file(::CreateFileW(chm_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return "<missing>";
    char buffer[64] = {};
    DWORD read = 0;
    ::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr);
    return std::string(buffer, read);
  }

  static constexpr const char* kHelpBytes = "ITSF help file";
  static constexpr const char* kMark = "[ZoneTransfer]\r\nZoneId=3\r\nHostUrl=https://www.keyvane.org/k.zip\r\n";
  std::wstring folder_;
  std::wstring chm_;
};

TEST_F(DownloadMark, TheStreamIsReadAndDeletedAndTheFileItselfIsLeftAlone) {
  if (!WriteMark(kMark)) GTEST_SKIP() << "this file system takes no stream names";
  EXPECT_EQ(ReadNamedStream(chm_, L"Zone.Identifier"), std::optional<std::string>(kMark));
  EXPECT_EQ(ReadNamedStream(chm_, L"Other"), std::nullopt);

  // A mark written as UTF-16 with a byte-order mark reads as the same text.
  const std::wstring wide = L"\xFEFF[ZoneTransfer]\r\nZoneId=4\r\n";
  ASSERT_TRUE(WriteMark(std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t))));
  EXPECT_EQ(ReadNamedStream(chm_, L"Zone.Identifier"), std::optional<std::string>("[ZoneTransfer]\r\nZoneId=4\r\n"));
  // Something far longer than a mark is not read.
  ASSERT_TRUE(WriteMark(std::string(70 * 1024, 'x')));
  EXPECT_EQ(ReadNamedStream(chm_, L"Zone.Identifier"), std::nullopt);

  EXPECT_TRUE(DeleteNamedStream(chm_, L"Zone.Identifier"));
  EXPECT_EQ(ReadNamedStream(chm_, L"Zone.Identifier"), std::nullopt);
  EXPECT_TRUE(DeleteNamedStream(chm_, L"Zone.Identifier")) << "a mark already gone is no failure";
  EXPECT_TRUE(DeleteNamedStream(folder_ + L"\\missing.chm", L"Zone.Identifier"));
  EXPECT_EQ(HelpBytes(), kHelpBytes);
}

TEST_F(DownloadMark, TheHelpServiceTouchesStreamsOnlyWhereTheVolumeKeepsThem) {
  Win32Help help([] { return HWND{}; });
  const std::string chm = Narrow(chm_);
  EXPECT_EQ(help.ReadDownloadMark(chm), std::nullopt) << "a file without a mark";
  EXPECT_TRUE(help.RemoveDownloadMark(chm));
  if (!WriteMark(kMark)) GTEST_SKIP() << "this file system takes no stream names";
  if (VolumeKeepsNamedStreams(chm_)) {
    // Windows on NTFS: the mark is the file's stream.
    EXPECT_EQ(help.ReadDownloadMark(chm), std::optional<std::string>(kMark));
    EXPECT_TRUE(help.RemoveDownloadMark(chm));
    EXPECT_EQ(help.ReadDownloadMark(chm), std::nullopt);
    EXPECT_EQ(ReadNamedStream(chm_, L"Zone.Identifier"), std::nullopt);
  } else {
    // Wine keeps "Keyvane.chm:Zone.Identifier" as a file of that name beside the help file and
    // says its volume keeps no streams: that file is no mark, and is neither read nor removed.
    EXPECT_EQ(help.ReadDownloadMark(chm), std::nullopt);
    EXPECT_TRUE(help.RemoveDownloadMark(chm));
    EXPECT_EQ(ReadNamedStream(chm_, L"Zone.Identifier"), std::optional<std::string>(kMark));
  }
  EXPECT_EQ(HelpBytes(), kHelpBytes);
}

}  // namespace
}  // namespace kv::win32
