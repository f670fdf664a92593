#include <string>
#include <vector>

#include "analysis/lfg_parser.h"
#include "analysis/xml_escape.h"
#include "analysis_test_support.h"
#include "core/cs_node.h"
#include "core/file_writer.h"
#include "core/parse_result.h"

namespace {

using namespace lfg_test;

// The text of a UTF-16LE file after its mark.
std::u16string ReadUtf16(const std::string& path) {
  const std::vector<unsigned char> bytes = ReadBytes(path);
  std::u16string text;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
  }
  return text;
}

TEST(XmlEscape, EscapesMarkupTrimsAndKeepsInnerBlanksVisible) {
  struct Case {
    std::u16string text;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"book", u"book"},
      {u"#CASE", u"_CASE"},
      {u"a/b", u"a_b"},
      {u"a<b>c", u"a&lt;b&gt;c"},
      {u"Tom & Jerry", u"Tom&#32;&amp;&#32;Jerry"},
      {u"'give<SUBJ,OBJ>'", u"&apos;give&lt;SUBJ,OBJ&gt;&apos;"},
      {u"say \"hi\"", u"say&#32;&quot;hi&quot;"},
      {u"  two words \t", u"two&#32;words"},
      {u"   ", u""},
      {u"&lt;", u"&amp;lt;"},
      {std::u16string(u"a\x01" u"b"), u"a\xFFFD" u"b"},
      {std::u16string(u"x\xD800"), u"x\xFFFD"},
      {u"\xD83D\xDE00", u"\xD83D\xDE00"},
      {u"\x06A9\x062A\x0627\x0628", u"\x06A9\x062A\x0627\x0628"},
  };
  for (const Case& c : cases) EXPECT_EQ(XmlEscape(c.text), c.expected) << Narrow(c.text);
}

TEST(XmlEscape, ElementNamesAreMadeValid) {
  struct Case {
    std::u16string text;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"NP", u"NP"},         {u"N'", u"N_"},         {u"#CASE", u"_CASE"},   {u"C-Structure-1", u"C-Structure-1"},
      {u"2nd", u"_2nd"},      {u"", u"_"},            {u"a b", u"a_b"},       {u"P_1", u"P_1"},
      {u"x:y", u"x_y"},       {u"-x", u"_-x"},        {u"\x0627\x0633\x0645", u"\x0627\x0633\x0645"},
  };
  for (const Case& c : cases) EXPECT_EQ(XmlElementName(c.text), c.expected) << Narrow(c.text);
}

class StructureXmlTest : public LfgTest {
 protected:
  std::u16string WriteFStructure(const CFSNode* node, const std::string& name) {
    const std::string path = dir_.File(name);
    {
      CFileWriter writer(path);
      parser_.WriteFStructureXml(node, writer);
    }
    ExpectWellFormedXml(path);
    return ReadUtf16(path);
  }
  TempDir dir_;
  CLFGParser parser_{""};
};

TEST_F(StructureXmlTest, FStructureElementsHoldValuesChildrenAndSetElements) {
  CFSNode* root = BuildFS("{a b}[NUM {sg} _VALUE [X {hidden}] SUBJ [PERS {3}]]<[PCASE {with}]>");
  root->Attribute = static_cast<int16_t>(RootId);
  root->SetElements[0]->Attribute = static_cast<int16_t>(Sym(u"ELEMENT2"));
  EXPECT_EQ(WriteFStructure(root, "fs.xml"),
            u"<ROOT><Value>a</Value><Value>b</Value><NUM><Value>sg</Value></NUM>"
            u"<SUBJ><PERS><Value>3</Value></PERS></SUBJ>"
            u"<ELEMENT2><PCASE><Value>with</Value></PCASE></ELEMENT2></ROOT>");
}

TEST_F(StructureXmlTest, UnsafeNamesAndValuesStillGiveWellFormedXml) {
  CFSNode* root = BuildFS("[#CASE {nom} N' {x}]");
  root->Attribute = static_cast<int16_t>(RootId);
  root->ChildList[0]->Value = {Sym(u"<&>"), Sym(u"'q\" x'")};
  root->ChildList[1]->Value = {Sym(u"a/b")};
  const std::u16string text = WriteFStructure(root, "unsafe.xml");
  EXPECT_NE(text.find(u"<_CASE><Value>&lt;&amp;&gt;</Value><Value>&apos;q&quot;&#32;x&apos;</Value></_CASE>"),
            std::u16string::npos);
  EXPECT_NE(text.find(u"<N_><Value>a_b</Value></N_>"), std::u16string::npos);
  // A hidden root writes nothing at all.
  CFSNode* hidden = BuildFS("[NUM {sg}]");
  hidden->Attribute = static_cast<int16_t>(UValueId);
  CFileWriter writer(dir_.File("hidden.xml"));
  parser_.WriteFStructureXml(hidden, writer);
  parser_.WriteFStructureXml(nullptr, writer);
  writer.Close();
  EXPECT_EQ(ReadUtf16(dir_.File("hidden.xml")), u"");
}

TEST_F(StructureXmlTest, CStructureFileNumbersTheAnalysesAndEscapesWords) {
  auto* first = new CCSNode(u"S", u"", nullptr, nullptr, 0);
  auto* np = new CCSNode(u"N'", u"", first, nullptr, 0);
  first->AddChild(np);
  np->AddChild(new CCSNode(u"n", u" R&D <lab> ", np, nullptr, 0));
  auto* second = new CCSNode(u"S", u"", nullptr, nullptr, 0);
  second->AddChild(new CCSNode(u"pron", u"I", second, nullptr, 0));
  ParseResultList results{new CParseResult(nullptr, new CCSHandle(first)),
                          new CParseResult(nullptr, new CCSHandle(second)),
                          new CParseResult(nullptr, nullptr)};
  const std::string path = dir_.File("cs.xml");
  parser_.WriteCStructureXmlFile(results, path);
  ExpectWellFormedXml(path);
  EXPECT_EQ(ReadUtf16(path),
            u"<C-Structures><C-Structure-1><S><N_><n>R&amp;D&#32;&lt;lab&gt;</n></N_></S></C-Structure-1>"
            u"<C-Structure-2><S><pron>I</pron></S></C-Structure-2><C-Structure-3></C-Structure-3></C-Structures>");
  for (CParseResult* result : results) delete result;

  EXPECT_FALSE(parser_.WriteCStructureXmlFile({}, dir_.File("none.xml")));
  EXPECT_FALSE(parser_.WriteCStructureXmlFile(results, ""));
  EXPECT_TRUE(ReadBytes(dir_.File("none.xml")).empty());
  CFileWriter writer(dir_.File("null.xml"));
  EXPECT_FALSE(parser_.WriteCStructureXml(nullptr, writer));
}

TEST_F(StructureXmlTest, CStructureOfAnEdgeFollowsTheFillingEdges) {
  CProduction* noun = MakeProduction("N'", {"n"});
  noun->daughters[0]->word = u"book";
  noun->dot = 1;
  CChartEdge nounEdge(noun, 3, 4, 0, 0);
  CProduction* phrase = MakeProduction("NP", {"det", "N'", "PP"});
  phrase->daughters[0]->word = u"a";
  phrase->daughters[1]->fillingEdge = &nounEdge;
  CNamedIdList words;
  CCSNode* tree = parser_.BuildCStructure(phrase, &words);
  CCSHandle owner(tree);
  ASSERT_EQ(tree->Children.size(), 2u);  // PP has no filling edge
  EXPECT_EQ(tree->Category, u"NP");
  EXPECT_EQ(tree->Children[0]->Word, u"a");
  EXPECT_EQ(tree->Children[0]->Parent, tree);
  EXPECT_EQ(tree->Children[1]->Category, u"N'");
  EXPECT_EQ(tree->Children[1]->Children[0]->Word, u"book");
  ASSERT_EQ(words.Items.size(), 2u);
  EXPECT_EQ(words.Items[1]->Name, u"book");
  EXPECT_EQ(words.Items[1]->Id, Sym(u"n"));
  EXPECT_EQ(parser_.BuildCStructure(nullptr, &words), nullptr);
}

}  // namespace
