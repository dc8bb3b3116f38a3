// Text at the Win32 edge: UTF-8 <-> UTF-16, and the ANSI code page (Windows-1252 in the
// test prefix) that settings files are written in.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/win32/wide.h"
#include "platform/win32/services/win32_ansi.h"

namespace kv::win32 {
namespace {

TEST(WideTest, RoundTripsEveryPlaneAndEmbeddedNuls) {
  const std::string utf8 =
      std::string("Key \xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD \xF0\x9F\x98\x80 ") + '\0' + "end";
  const std::wstring utf16 = std::wstring(L"Key \u00E9 \u20AC \u4E2D \U0001F600 ") + L'\0' + L"end";
  EXPECT_EQ(Widen(utf8), utf16);
  EXPECT_EQ(Narrow(utf16), utf8);
  EXPECT_EQ(Widen(""), L"");
  EXPECT_EQ(Narrow(L""), "");
}

TEST(WideTest, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(Widen("a\xFF"
                  "b"),
            L"a\uFFFDb");
  EXPECT_EQ(Widen("a\xE4\xB8"), L"a\uFFFD");  // cut in the middle of a character
  const wchar_t loneSurrogate[] = {L'a', static_cast<wchar_t>(0xD800), L'b', 0};
  EXPECT_EQ(Narrow(loneSurrogate),
            "a\xEF\xBF\xBD"
            "b");
}

TEST(WideTest, UpToNulStopsAtTheFirstNul) {
  EXPECT_EQ(UpToNul(std::wstring_view(L"ab\0cd", 5)), L"ab");
  EXPECT_EQ(UpToNul(L"abc"), L"abc");
  EXPECT_EQ(UpToNul(std::wstring_view()), L"");
}

class AnsiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::GetACP() != 1252) GTEST_SKIP() << "expects Windows-1252, the system has " << ::GetACP();
  }
  Win32Ansi ansi_;
};

TEST_F(AnsiTest, WesternTextRoundTrips) {
  const std::string ansiBytes = "Caps Lock \xE9\x80\xFC\xDF";  // "é€üß" in Windows-1252
  const std::string utf8 = "Caps Lock \xC3\xA9\xE2\x82\xAC\xC3\xBC\xC3\x9F";
  EXPECT_EQ(ansi_.ToUtf8(ansiBytes), utf8);
  EXPECT_EQ(ansi_.FromUtf8(utf8), ansiBytes);
  EXPECT_EQ(ansi_.FromUtf8(""), std::string());
  EXPECT_EQ(ansi_.ToUtf8(""), "");

  const std::string withNul = std::string("a") + '\0' + "b";
  EXPECT_EQ(ansi_.ToUtf8(withNul), withNul);
  EXPECT_EQ(ansi_.FromUtf8(withNul), withNul);
}

TEST_F(AnsiTest, CharactersOutsideTheCodePageAreRefused) {
  EXPECT_EQ(ansi_.FromUtf8("\xCE\xA9"), std::nullopt);          // Ω
  EXPECT_EQ(ansi_.FromUtf8("Key \xE4\xB8\xAD"), std::nullopt);  // 中
  EXPECT_EQ(ansi_.FromUtf8("\xF0\x9F\x98\x80"), std::nullopt);  // 😀
  // Characters with a look-alike ("best fit") must not quietly become it: ā is not a.
  EXPECT_EQ(ansi_.FromUtf8("\xC4\x81"), std::nullopt);
  EXPECT_EQ(ansi_.FromUtf8("\xE2\x88\x92"), std::nullopt);  // − (minus), not '-'
  EXPECT_EQ(ansi_.FromUtf8("bad \xFF utf-8"), std::nullopt);
  // A literal '?' is not mistaken for a lost character.
  EXPECT_EQ(ansi_.FromUtf8("Why?"), "Why?");
}

TEST_F(AnsiTest, EveryAnsiByteReadsBackAsWritten) {
  // Bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D are unassigned in Windows-1252; Windows maps them
  // to the C1 controls and back, so every byte must survive the trip through UTF-8.
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
  const std::string utf8 = ansi_.ToUtf8(all);
  EXPECT_EQ(ansi_.FromUtf8(utf8), all);
}

}  // namespace
}  // namespace kv::win32
