#include "core/ini_document.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace kv {
namespace {

std::string ReadTestData(const std::string& name) {
  std::ifstream in(std::string(KEYVANE_TEST_DATA) + "/ini/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Golden files are kept with LF line ends whatever the checkout does; the document writes CR LF.
std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// A string literal with its embedded NUL bytes.
template <size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

std::string Reserialized(const std::string& text) {
  return IniDocument::Parse(IniDocument::Parse(text).Serialize()).Serialize();
}

TEST(IniDocumentFormat, HandEditedFileSerializesToGolden) {
  const std::string messy = ReadTestData("messy.ini");
  ASSERT_FALSE(messy.empty());
  const IniDocument doc = IniDocument::Parse(messy);
  EXPECT_EQ(doc.Serialize(), WithCrLf(ReadTestData("messy.expected.ini")));
  EXPECT_EQ(Reserialized(messy), doc.Serialize());
}

TEST(IniDocumentFormat, EveryLineEndEndsALineAndOutputUsesCrLf) {
  const IniDocument doc = IniDocument::Parse("[s]\ra=1\r\nb=2\nc=3\r\r\nd=4");
  EXPECT_EQ(doc.Serialize(), "[s]\r\na=1\r\nb=2\r\nc=3\r\nd=4\r\n\r\n");
  EXPECT_EQ(IniDocument().Serialize(), "");
}

TEST(IniDocumentRead, NamesMatchWithoutCaseAndValuesStayVerbatim) {
  const IniDocument doc = IniDocument::Parse("[F1Key]\nLabel=@!#$%^&*()[]{};'\"\\\nAction=0\n");
  EXPECT_TRUE(doc.HasSection("f1key"));
  EXPECT_TRUE(doc.HasValue("F1KEY", "label"));
  EXPECT_EQ(doc.ReadString("f1key", "LABEL", "x"), "@!#$%^&*()[]{};'\"\\");
  EXPECT_EQ(doc.ReadString("f1key", "Missing", "fallback"), "fallback");
  EXPECT_EQ(doc.ReadString("F2Key", "Label", "fallback"), "fallback");
  EXPECT_FALSE(doc.HasValue("F2Key", "Label"));
}

TEST(IniDocumentRead, IntegersAreDecimalWithOptionalSignWithinThirtyTwoBits) {
  const struct {
    const char* text;
    int32_t expected;
  } cases[] = {{"42", 42},
               {"+5", 5},
               {"-7", -7},
               {"007", 7},
               {"2147483647", INT32_MAX},
               {"-2147483648", INT32_MIN},
               {"2147483648", -99},
               {"-2147483649", -99},
               {"99999999999999999999", -99},
               {"0x10", -99},
               {"$10", -99},
               {"12abc", -99},
               {"", -99},
               {"-", -99},
               {"+-1", -99},
               {"1 2", -99}};
  for (const auto& c : cases) {
    const IniDocument doc = IniDocument::Parse(std::string("[s]\nv=") + c.text);
    EXPECT_EQ(doc.ReadInteger("s", "v", -99), c.expected) << '"' << c.text << '"';
  }
}

TEST(IniDocumentRead, BooleansAreIntegersNotZero) {
  const IniDocument doc = IniDocument::Parse("[s]\nzero=0\none=1\ntwo=2\nminus=-1\nword=yes\n");
  EXPECT_FALSE(doc.ReadBool("s", "zero", true));
  EXPECT_TRUE(doc.ReadBool("s", "one", false));
  EXPECT_TRUE(doc.ReadBool("s", "two", false));
  EXPECT_TRUE(doc.ReadBool("s", "minus", false));
  EXPECT_TRUE(doc.ReadBool("s", "word", true));
  EXPECT_FALSE(doc.ReadBool("s", "word", false));
  EXPECT_TRUE(doc.ReadBool("s", "absent", true));
}

TEST(IniDocumentWrite, NewGoesLastAndExistingIsReplacedInPlace) {
  IniDocument doc = IniDocument::Parse("[A]\nx=1\ny=2\n[B]\nz=3\n");
  doc.WriteString("a", "X", "one");  // stored name keeps its case
  doc.WriteString("A", "w", "new");
  doc.WriteInteger("C", "n", -12);
  doc.WriteBool("C", "on", true);
  doc.WriteBool("C", "off", false);
  EXPECT_EQ(doc.Serialize(),
            "[A]\r\nx=one\r\ny=2\r\nw=new\r\n\r\n[B]\r\nz=3\r\n\r\n"
            "[C]\r\nn=-12\r\non=1\r\noff=0\r\n\r\n");
  EXPECT_EQ(doc.SectionNames(), (std::vector<std::string>{"A", "B", "C"}));
}

TEST(IniDocumentWrite, DeletingKeepsTheEmptySectionHeader) {
  IniDocument doc = IniDocument::Parse("[A]\nx=1\n[B]\ny=2\n");
  doc.DeleteValue("a", "X");
  doc.DeleteValue("A", "x");     // already gone
  doc.DeleteValue("Nope", "x");  // no section created
  EXPECT_FALSE(doc.HasValue("A", "x"));
  EXPECT_TRUE(doc.HasSection("A"));
  EXPECT_EQ(doc.Serialize(), "[A]\r\n\r\n[B]\r\ny=2\r\n\r\n");
  doc.WriteString("A", "x", "back");
  EXPECT_EQ(IniDocument::Parse(doc.Serialize()).ReadString("A", "x", ""), "back");
}

TEST(IniDocumentWrite, DeletedDuplicateDoesNotComeBackOnReload) {
  IniDocument doc = IniDocument::Parse("[A]\nx=first\nX=second\n");
  EXPECT_EQ(doc.ReadString("A", "x", ""), "first");
  doc.DeleteValue("A", "x");
  EXPECT_FALSE(IniDocument::Parse(doc.Serialize()).HasValue("A", "x"));
}

// Whatever the program writes, reloading the file gives back what the document says.
TEST(IniDocumentWrite, HostileTextCannotChangeTheFileStructure) {
  IniDocument doc;
  doc.WriteString("S", "Label", "two\r\nlines\r[Evil]\nx=1");
  doc.WriteString("S", "Padded", "  \tkept inside  ");
  doc.WriteString("S", "a=b", "v");
  doc.WriteString("S", ";[name", "v]");
  doc.WriteString(" Sec\r\ntion ", "k", "v");
  const IniDocument reloaded = IniDocument::Parse(doc.Serialize());
  EXPECT_EQ(reloaded.Serialize(), doc.Serialize());
  EXPECT_EQ(reloaded.SectionNames(), doc.SectionNames());
  EXPECT_FALSE(reloaded.HasSection("Evil"));
  for (const char* name : {"Label", "Padded", "a=b", ";[name"})
    EXPECT_EQ(reloaded.ReadString("S", name, "?"), doc.ReadString("S", name, "!")) << name;
  EXPECT_EQ(doc.ReadString("S", "Label", ""), "two  lines [Evil] x=1");
  EXPECT_EQ(doc.ReadString("S", "Padded", ""), "kept inside");
  EXPECT_EQ(reloaded.ReadString(" Sec\r\ntion ", "k", ""), "v");
}

TEST(IniDocumentAdversarial, OddBytesAndBracketsNeverBreakParsing) {
  const std::string text = Bytes("[\0\xFF]\nk\0=\xFF\0v\n[\n[]\nin=empty\n[ a ]\nb=1\n");
  const IniDocument doc = IniDocument::Parse(text);
  EXPECT_EQ(doc.SectionNames(), (std::vector<std::string>{Bytes("\0\xFF"), "", "a"}));
  EXPECT_EQ(doc.ReadString(Bytes("\0\xFF"), Bytes("k\0"), ""), Bytes("\xFF\0v"));
  EXPECT_EQ(doc.ReadString("", "in", ""), "empty");
  EXPECT_EQ(doc.ReadString("a", "b", ""), "1");
  EXPECT_EQ(Reserialized(text), doc.Serialize());
  EXPECT_EQ(IniDocument::Parse("[").SectionNames().size(), 0u);
}

TEST(IniDocumentAdversarial, MegabyteLineIsReadWhole) {
  const std::string big(1 << 20, 'x');
  const IniDocument doc = IniDocument::Parse("[s]\nbig=" + big + "\nafter=1\n");
  EXPECT_EQ(doc.ReadString("s", "big", ""), big);
  EXPECT_EQ(doc.ReadString("s", "after", ""), "1");
}

TEST(IniDocumentAdversarial, HundredThousandSections) {
  std::string text;
  for (int i = 0; i < 100000; ++i)
    text += "[S" + std::to_string(i) + "]\nv=" + std::to_string(i) + "\n";
  const IniDocument doc = IniDocument::Parse(text);
  ASSERT_EQ(doc.SectionNames().size(), 100000u);
  EXPECT_EQ(doc.ReadInteger("s99999", "V", -1), 99999);
  EXPECT_EQ(doc.ReadInteger("S0", "v", -1), 0);
  EXPECT_EQ(Reserialized(text), doc.Serialize());
}

}  // namespace
}  // namespace kv
