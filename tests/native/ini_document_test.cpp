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
  for (char c : text) out += c == '\n' ? "\r\n" : c == '\r' ? "" : std::string(1, c);
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
  EXPECT_EQ(doc.ReadString("F2Key", "Label", "fallback"), "fallback");
}

TEST(IniDocumentRead, IntegersAreSignedDecimalsWithinThirtyTwoBitsAndBooleansNotZero) {
  const IniDocument doc = IniDocument::Parse(
      "[s]\nplus=+5\nlead=007\nmax=2147483647\nmin=-2147483648\nover=2147483648\nunder="
      "-2147483649\nhex=0x10\ndollar=$10\ntail=12abc\nsign=-\nempty=\nzero=0\nminus=-1\n");
  EXPECT_EQ(doc.ReadInteger("s", "plus", -9), 5);
  EXPECT_EQ(doc.ReadInteger("s", "lead", -9), 7);
  EXPECT_EQ(doc.ReadInteger("s", "max", -9), INT32_MAX);
  EXPECT_EQ(doc.ReadInteger("s", "min", -9), INT32_MIN);
  for (const char* bad : {"over", "under", "hex", "dollar", "tail", "sign", "empty", "absent"})
    EXPECT_EQ(doc.ReadInteger("s", bad, -9), -9) << bad;
  EXPECT_FALSE(doc.ReadBool("s", "zero", true));
  EXPECT_TRUE(doc.ReadBool("s", "minus", false));
  EXPECT_TRUE(doc.ReadBool("s", "tail", true));
  EXPECT_FALSE(doc.ReadBool("s", "tail", false));
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
}

TEST(IniDocumentWrite, DeletingKeepsTheEmptySectionHeaderAndNoDuplicateComesBack) {
  IniDocument doc = IniDocument::Parse("[A]\nx=first\nX=second\n[B]\ny=2\n");
  doc.DeleteValue("a", "X");
  doc.DeleteValue("Nope", "x");  // no section created
  EXPECT_EQ(doc.Serialize(), "[A]\r\n\r\n[B]\r\ny=2\r\n\r\n");
  doc.WriteString("A", "x", "back");
  EXPECT_EQ(IniDocument::Parse(doc.Serialize()).ReadString("A", "x", ""), "back");
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
}

TEST(IniDocumentAdversarial, MegabyteLineIsReadWhole) {
  const std::string big(1 << 20, 'x');
  EXPECT_EQ(IniDocument::Parse("[s]\nbig=" + big + "\nnext=1").ReadString("s", "big", ""), big);
}

TEST(IniDocumentAdversarial, HundredThousandSections) {
  std::string text;
  for (int i = 0; i < 100000; ++i)
    text += "[S" + std::to_string(i) + "]\nv=" + std::to_string(i) + "\n";
  const IniDocument doc = IniDocument::Parse(text);
  ASSERT_EQ(doc.SectionNames().size(), 100000u);
  EXPECT_EQ(doc.ReadInteger("s99999", "V", -1), 99999);
  EXPECT_EQ(Reserialized(text), doc.Serialize());
}

}  // namespace
}  // namespace kv
