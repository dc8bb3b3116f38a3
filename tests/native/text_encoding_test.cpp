#include "core/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/fakes/fake_platform.h"

namespace kv {
namespace {

template <size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

const std::string kUtf8Mark = "\xEF\xBB\xBF";
const std::string kUtf16Mark = "\xFF\xFE";

class TextEncodingTest : public ::testing::Test {
 protected:
  fake::FakePlatform fp;  // Windows-1252
  std::string Decode(const std::string& bytes) { return DecodeFileText(bytes, fp); }
  std::string Encode(const std::string& text) { return EncodeFileText(text, fp); }
};

TEST_F(TextEncodingTest, DecodesByByteOrderMark) {
  EXPECT_EQ(Decode("caf\xE9 \x80"), "café €");                 // ANSI
  EXPECT_EQ(Decode(kUtf8Mark + "caf\xC3\xA9"), "café");        // UTF-8, mark dropped
  EXPECT_EQ(Decode(kUtf16Mark + Bytes("A\0\xA9\x03")), "AΩ");  // UTF-16LE, mark dropped
  EXPECT_EQ(Decode(""), "");
}

TEST_F(TextEncodingTest, InvalidUtf8AfterMarkBecomesReplacementCharacters) {
  EXPECT_EQ(Decode(kUtf8Mark + "a\xFFz"), "a\uFFFDz");
  EXPECT_EQ(Decode(kUtf8Mark + "\xC0\xAF"), "\uFFFD\uFFFD");            // overlong "/"
  EXPECT_EQ(Decode(kUtf8Mark + "\xED\xA0\x80"), "\uFFFD\uFFFD\uFFFD");  // surrogate
  EXPECT_EQ(Decode(kUtf8Mark + "\xF4\x90\x80\x80"), "\uFFFD\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(Decode(kUtf8Mark + "x\xE2\x82"), "x\uFFFD");  // cut short at the end
  EXPECT_EQ(Decode(kUtf8Mark + "\xE2\x82z"), "\uFFFDz");  // next character kept
}

TEST_F(TextEncodingTest, Utf16SurrogatesAndBrokenUnits) {
  EXPECT_EQ(Utf16LeToUtf8(Bytes("\x3D\xD8\x00\xDE")), "\U0001F600");
  EXPECT_EQ(Utf16LeToUtf8(Bytes("\x3D\xD8z\0")), "\uFFFDz");  // high without low
  EXPECT_EQ(Utf16LeToUtf8(Bytes("\x00\xDEz\0")), "\uFFFDz");  // low alone
  EXPECT_EQ(Utf16LeToUtf8(Bytes("\x3D\xD8")), "\uFFFD");      // high at the end
  EXPECT_EQ(Utf16LeToUtf8(Bytes("A\0B")), "A\uFFFD");         // odd trailing byte
}

TEST_F(TextEncodingTest, EveryEncodingLengthBoundaryConvertsBothWays) {
  using namespace std::string_view_literals;
  const struct {
    std::string_view utf8, utf16;
  } cases[] = {
      {"\0"sv, "\0\0"sv},                            // U+0000
      {"\x7F"sv, "\x7F\0"sv},                        // U+007F
      {"\xC2\x80"sv, "\x80\0"sv},                    // U+0080
      {"\xDF\xBF"sv, "\xFF\x07"sv},                  // U+07FF
      {"\xE0\xA0\x80"sv, "\x00\x08"sv},              // U+0800
      {"\xED\x9F\xBF"sv, "\xFF\xD7"sv},              // U+D7FF
      {"\xEE\x80\x80"sv, "\x00\xE0"sv},              // U+E000
      {"\xEF\xBF\xBF"sv, "\xFF\xFF"sv},              // U+FFFF
      {"\xF0\x90\x80\x80"sv, "\x00\xD8\x00\xDC"sv},  // U+10000
      {"\xF4\x8F\xBF\xBF"sv, "\xFF\xDB\xFF\xDF"sv},  // U+10FFFF
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToUtf16Le(c.utf8), c.utf16);
    EXPECT_EQ(Utf16LeToUtf8(c.utf16), c.utf8);
  }
}

TEST_F(TextEncodingTest, WritesAnsiWhenEveryCharacterSurvives) {
  EXPECT_EQ(Encode("[Keys]\r\nF1Key=x\r\n"), "[Keys]\r\nF1Key=x\r\n");
  EXPECT_EQ(Encode("café €"), "caf\xE9 \x80");
  EXPECT_EQ(Encode(""), "");
}

TEST_F(TextEncodingTest, WritesUtf16WithMarkOtherwise) {
  EXPECT_EQ(Encode("aΩ"), kUtf16Mark + Bytes("a\0\xA9\x03"));
  EXPECT_EQ(Encode("中"), Bytes("\xFF\xFE\x2D\x4E"));
  EXPECT_EQ(Encode("\U0001F600"), Bytes("\xFF\xFE\x3D\xD8\x00\xDE"));
  // ANSI bytes beginning like a mark would be misread on the next load.
  for (const std::string text : {"ï»¿x", "ÿþx"}) EXPECT_EQ(Decode(Encode(text)), text);
}

// A file without a mark is UTF-8 when its bytes are well-formed UTF-8 holding a multi-byte
// character, as Notepad saves; anything else is the ANSI code page.
TEST_F(TextEncodingTest, MarklessFilesAreUtf8OnlyWhenTheyAreWellFormedUtf8) {
  struct Case {
    const char* what;
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"pure ASCII", "Label=Mail", "Label=Mail"},
      {"valid UTF-8", "Label=Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80", "Label=Grüße € 😀"},
      {"cp1252 that is not UTF-8", "Label=Gr\xFC\xDF" "e \x80", "Label=Grüße €"},
      {"a sequence cut off at the end", "Label=caf\xC3\xA9 \xE2\x82", "Label=cafÃ© â‚"},
      {"an overlong slash", "Label=\xC0\xAF", "Label=À¯"},
      {"an overlong three-byte form", "Label=\xE0\x80\xAF", "Label=à€¯"},
      {"an encoded surrogate", "Label=\xED\xA0\x80", "Label=í\xC2\xA0€"},
      {"a stored replacement character", "Label=\xEF\xBF\xBD", "Label=\xEF\xBF\xBD"},
  };
  for (const Case& c : cases) EXPECT_EQ(Decode(c.bytes), c.text) << c.what;
}

TEST_F(TextEncodingTest, AnsiThatWouldReadAsUtf8IsWrittenAsUtf16) {
  // "Ã©" in Windows-1252 is C3 A9, which is also "é" in UTF-8.
  EXPECT_EQ(Encode("Ã©"), kUtf16Mark + Bytes("\xC3\0\xA9\0"));
  for (const std::string text : {"Ã©", "café", "plain"}) EXPECT_EQ(Decode(Encode(text)), text);
}

}  // namespace
}  // namespace kv
