// The LFG chart parser on the small grammar of tests/data/lfg, the choice
// among its analyses, and the XML files of their structures.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/analysis_test_support.h"
#include "analysis/lfg/chart_column.h"
#include "analysis/lfg/lfg_english_fixture.h"
#include "analysis/lfg/lfg_parser.h"
#include "analysis/xml/xml_escape.h"
#include "core/cs_node.h"
#include "core/file_writer.h"
#include "core/parse_result.h"
#include "resources/lfg/grammar.h"
#include "resources/lfg/lexicon.h"

namespace {

using namespace lfg_test;

class LfgChartParserTest : public LfgEnglishGrammarTest {
 protected:
  CFSNode* Root(size_t i) { return (*std::next(results_.begin(), static_cast<long>(i)))->FStructure->root; }
  static std::string At(CFSNode* node, const std::vector<std::u16string>& path) {
    std::vector<SymbolId> ids;
    for (const std::u16string& name : path) ids.push_back(Sym(name));
    CFSNode* found = node->FindPath(&ids, true);
    return found != nullptr ? ShowFS(found) : "missing";
  }
  // Results of the given structures and word categories; the indexes of the results kept.
  std::vector<int> Select(const std::vector<std::pair<const char*, std::vector<int>>>& specs, uint32_t words) {
    std::vector<CParseResult*> made;
    for (const auto& [structure, categories] : specs) {
      made.push_back(new CParseResult(new CFSHandle(BuildFS(structure), 1.0), nullptr));
      for (int id : categories) made.back()->Names.Items.push_back(new CNamedId(u"w", id));
    }
    ParseResultList results(made.begin(), made.end());
    parser_->columnCount = words + 1;
    EXPECT_TRUE(parser_->SelectPreferredParses(results));
    std::vector<int> kept;
    for (CParseResult* result : results) {
      kept.push_back(static_cast<int>(std::find(made.begin(), made.end(), result) - made.begin()));
      delete result;
    }
    return kept;
  }
  std::u16string WriteFStructure(const CFSNode* node, bool wellFormed = true) {
    {
      CFileWriter writer(dir_.File("fs.xml"));
      parser_->WriteFStructureXml(node, writer);
    }
    if (wellFormed) ExpectWellFormedXml(dir_.File("fs.xml"));
    return ReadUtf16(dir_.File("fs.xml"));
  }
  static std::string Tree(const CCSNode* node) {
    std::string text = ToUtf8(node->Category) + "(";
    if (node->Children.empty()) text += ToUtf8(node->Word);
    for (size_t i = 0; i < node->Children.size(); ++i) text += (i ? " " : "") + Tree(node->Children[i]);
    return text + ")";
  }
};

TEST_F(LfgChartParserTest, DitransitiveSentenceGivesOneCompleteCoherentAnalysis) {
  ASSERT_TRUE(Parse("I gave him a book"));
  ASSERT_TRUE(parser_->SelectPreferredParses(results_));
  ASSERT_EQ(results_.size(), 1u);
  CFSNode* root = Root(0);
  EXPECT_EQ(root->Attribute, static_cast<int16_t>(RootId));
  const std::pair<std::vector<std::u16string>, const char*> paths[] = {{{u"PRED", u"VALUE"}, "{give}"},
                                                                       {{u"TENSE"}, "{past}"},
                                                                       {{u"SUBJ", u"CASE"}, "{nom}"},
                                                                       {{u"OBJ", u"CASE"}, "{acc}"},
                                                                       {{u"OBJ2", u"PRED", u"VALUE"}, "{book}"},
                                                                       {{u"OBJ2", u"SPEC"}, "{a}"}};
  for (const auto& [path, values] : paths) EXPECT_EQ(At(root, path), values) << ToUtf8(path.back());
  EXPECT_TRUE(parser_->CheckCompletenessCoherence(root));
  const CParseResult& result = *results_.front();
  EXPECT_EQ(Tree(result.CStructure->Root), "S(NP(pron(I)) VP(v(gave) NP(pron(him)) NP(det(a) N'(n(book)))))");

  EXPECT_NE(WriteFStructure(root).find(u"<GF><Value>SUBJ</Value><Value>OBJ</Value><Value>OBJ2</Value></GF>"),
            std::u16string::npos);
  parser_->WriteCStructureXmlFile(results_, dir_.File("cs.xml"));
  ExpectWellFormedXml(dir_.File("cs.xml"));
}

// Both prepositional-phrase rules are left-recursive; the parse still ends.
TEST_F(LfgChartParserTest, AttachmentAmbiguityYieldsBothAnalyses) {
  ASSERT_TRUE(Parse("I saw the man with a telescope"));
  ASSERT_EQ(results_.size(), 2u);
  std::vector<std::string> adjuncts;  // where the phrase attaches in each analysis
  for (size_t i = 0; i < 2; ++i) {
    adjuncts.push_back(At(Root(i), {u"ADJUNCT", u"SET"}) != "missing" ? "verb" : "");
    adjuncts.back() += At(Root(i), {u"OBJ", u"ADJUNCT", u"SET"}) != "missing" ? "noun" : "";
    EXPECT_TRUE(parser_->CheckCompletenessCoherence(Root(i)));
  }
  std::sort(adjuncts.begin(), adjuncts.end());
  EXPECT_EQ(adjuncts, (std::vector<std::string>{"noun", "verb"}));
  EXPECT_FALSE(parser_->edgeLimitReached);
}

TEST_F(LfgChartParserTest, AgreementCompletenessAndUnknownWordsDecideWhatParses) {
  const std::tuple<const char*, bool, size_t> cases[] = {{"him gave I a book", true, 0},
                                                         {"I gave him", true, 0},
                                                         {"I gave him", false, 1},  // case clash, OBJ2 missing
                                                         {"I saw a", true, 0},
                                                         {"I saw a unicorn", true, 0},
                                                         {"", true, 0}};
  for (const auto& [sentence, checkCompleteness, count] : cases) {
    EXPECT_EQ(Parse(sentence, checkCompleteness), count > 0) << sentence;
    EXPECT_EQ(results_.size(), count) << sentence;
  }
  // Two identical start rules complete with equal F-structures: one result.
  UseGrammar(u"S -> pron: ^SUBJ=!; v: ^=!; .\r\nS -> pron: ^SUBJ=!; v: ^=!; .\r\n", u"");
  ASSERT_TRUE(Parse("I saw", false));
  EXPECT_EQ(results_.size(), 1u);
}

TEST_F(LfgChartParserTest, CyclicGrammarStopsAtTheEdgeLimit) {
  UseGrammar(u"S -> S: ^=!; .\r\nS -> pron: ^=!; .\r\n", u"");
  parser_->maxChartEdges = 300;
  EXPECT_FALSE(Parse("I"));
  EXPECT_TRUE(parser_->edgeLimitReached);
  EXPECT_TRUE(results_.empty());
  size_t edges = 0;
  for (uint32_t i = 0; i < parser_->columnCount; ++i) edges += parser_->columns[i].edges.size();
  EXPECT_EQ(edges, 300u);
  ASSERT_FALSE(messages_.messages().empty());
  EXPECT_EQ(messages_.messages().back().caption, u"LFG Parser");
}

// Columns own their edges; productions stay with their registry.
TEST_F(LfgChartParserTest, FreeingTheChartReleasesEdgesButNotProductions) {
  const int columnsBefore = CChartColumn::liveInstances;
  const int edgesBefore = CChartEdge::liveInstances;
  ASSERT_NE(parser_->BuildChart(Words("I saw a book")), nullptr);
  EXPECT_EQ(CChartColumn::liveInstances, columnsBefore + 5);
  EXPECT_GT(CChartEdge::liveInstances, edgesBefore);
  const size_t productions = RegisteredProductionCount();
  EXPECT_TRUE(parser_->FreeChart());
  EXPECT_EQ(parser_->columns, nullptr);
  EXPECT_EQ(CChartColumn::liveInstances, columnsBefore);
  EXPECT_EQ(CChartEdge::liveInstances, edgesBefore);
  EXPECT_EQ(RegisteredProductionCount(), productions);
}

TEST_F(LfgChartParserTest, LargestValencyThenGreaterCategoriesWin) {
  const char* two = "[PRED [GF {A B}]]";
  const char* three = "[PRED [GF {A B C}]]";
  const std::tuple<std::vector<std::pair<const char*, std::vector<int>>>, uint32_t, std::vector<int>> cases[] = {
      {{{two, {1, 2}}, {three, {1, 2}}, {three, {1, 2}}}, 2, {1, 2}},
      {{{"{}", {1, 2}}, {"[PRED [GF {A}]]", {1, 2}}}, 2, {1}},  // no frame loses to any frame
      {{{two, {1, 2, 3}}, {two, {1, 5, 0}}, {two, {1, 4, 9}}}, 3, {1}},
      {{{two, {}}, {two, {1, 2}}, {two, {1}}}, 2, {0, 1, 2}},  // missing token lists compare equal
      {{{two, {1, 2, 7}}, {two, {1, 2, 9}}}, 2, {0, 1}},       // only the word positions count
  };
  for (const auto& [specs, words, kept] : cases) EXPECT_EQ(Select(specs, words), kept);
  ParseResultList empty;
  EXPECT_TRUE(parser_->SelectPreferredParses(empty));
}

TEST(XmlEscape, EscapesMarkupTrimsAndKeepsTextValid) {
  const std::pair<std::u16string, std::u16string> texts[] = {{u"#CASE", u"_CASE"},
                                                             {u"a/b", u"a_b"},
                                                             {u"   ", u""},
                                                             {u"'give<SUBJ,OBJ>'", u"&apos;give&lt;SUBJ,OBJ&gt;&apos;"},
                                                             {u" say \"R&D\" \t", u"say&#32;&quot;R&amp;D&quot;"},
                                                             {std::u16string(u"a\x01"
                                                                             u"b"),
                                                              u"a\xFFFD"
                                                              u"b"},
                                                             {std::u16string(u"x\xD800"), u"x\xFFFD"},
                                                             {u"\xD83D\xDE00\x06A9", u"\xD83D\xDE00\x06A9"}};
  for (const auto& [text, expected] : texts) EXPECT_EQ(XmlEscape(text), expected) << ToUtf8(text);
  const std::pair<std::u16string, std::u16string> names[] = {
      {u"C-Structure-1", u"C-Structure-1"},          {u"2nd", u"_2nd"}, {u"", u"_"}, {u"-x", u"_-x"}, {u"x:y", u"x_y"},
      {u"\x0627\x0633\x0645", u"\x0627\x0633\x0645"}};
  for (const auto& [text, expected] : names) EXPECT_EQ(XmlElementName(text), expected) << ToUtf8(text);
}

TEST_F(LfgChartParserTest, FStructureElementsHoldValuesChildrenAndSetElements) {
  CFSNode* root = BuildFS("{a b}[NUM {sg} _VALUE [X {hidden}] #CASE {nom} N' {x}]<[PCASE {with}]>");
  root->Attribute = static_cast<int16_t>(RootId);
  root->SetElements[0]->Attribute = static_cast<int16_t>(Sym(u"ELEMENT2"));
  root->ChildList[2]->Value = {Sym(u"<&>"), Sym(u"'q\" x'")};
  EXPECT_EQ(WriteFStructure(root),
            u"<ROOT><Value>a</Value><Value>b</Value><NUM><Value>sg</Value></NUM>"
            u"<_CASE><Value>&lt;&amp;&gt;</Value><Value>&apos;q&quot;&#32;x&apos;</Value></_CASE>"
            u"<N_><Value>x</Value></N_><ELEMENT2><PCASE><Value>with</Value></PCASE></ELEMENT2></ROOT>");
  // A hidden root writes nothing at all.
  CFSNode* hidden = BuildFS("[NUM {sg}]");
  hidden->Attribute = static_cast<int16_t>(UValueId);
  EXPECT_EQ(WriteFStructure(hidden, false), u"");
  EXPECT_EQ(WriteFStructure(nullptr, false), u"");
}

TEST_F(LfgChartParserTest, CStructureFileNumbersTheAnalysesAndEscapesWords) {
  auto* first = new CCSNode(u"S", u"", nullptr, nullptr, 0);
  auto* np = new CCSNode(u"N'", u"", first, nullptr, 0);
  first->AddChild(np);
  np->AddChild(new CCSNode(u"n", u" R&D <lab> ", np, nullptr, 0));
  ParseResultList results{new CParseResult(nullptr, new CCSHandle(first)), new CParseResult(nullptr, nullptr)};
  parser_->WriteCStructureXmlFile(results, dir_.File("cs.xml"));
  ExpectWellFormedXml(dir_.File("cs.xml"));
  EXPECT_EQ(ReadUtf16(dir_.File("cs.xml")),
            u"<C-Structures><C-Structure-1><S><N_><n>R&amp;D&#32;&lt;lab&gt;</n></N_></S></C-Structure-1>"
            u"<C-Structure-2></C-Structure-2></C-Structures>");
  EXPECT_FALSE(parser_->WriteCStructureXmlFile(results, ""));
  for (CParseResult* result : results) delete result;
  EXPECT_FALSE(parser_->WriteCStructureXmlFile({}, dir_.File("none.xml")));
  EXPECT_TRUE(ReadBytes(dir_.File("none.xml")).empty());
  CFileWriter writer(dir_.File("null.xml"));
  EXPECT_FALSE(parser_->WriteCStructureXml(nullptr, writer));
}

}  // namespace

TEST_F(LfgChartParserTest, DeveloperListingsShowTheChartAndTheCompleteAnalyses) {
  ASSERT_TRUE(Parse("I gave him a book"));
  testing::internal::CaptureStdout();
  parser_->DumpCompleteParses();
  const std::string parses = testing::internal::GetCapturedStdout();
  testing::internal::CaptureStdout();
  parser_->DumpChart();
  const std::string chart = testing::internal::GetCapturedStdout();
  // One complete analysis over all five words, drawn as an indented tree.
  EXPECT_EQ(parses.rfind("[0,5]", 0), 0u) << parses;
  EXPECT_NE(parses.find("VP\n  v gave\n  NP\n    pron him\n"), std::string::npos) << parses;
  // Every edge with its span and dotted production, failed ones marked.
  for (const char* line : {"[0,0]   S -> @ NP VP .\n", "[1,5]   VP -> v NP NP @ .\n", "[0,5]   S -> NP VP @ .\n",
                           "[5,5] F PP -> @ p NP .\n"}) {
    EXPECT_NE(chart.find(line), std::string::npos) << line;
  }
  parser_->FreeChart();
  testing::internal::CaptureStdout();
  parser_->DumpChart();
  parser_->DumpCompleteParses();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "no chart, nothing to list";
}
