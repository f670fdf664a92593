#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/lfg_parser.h"
#include "analysis_test_support.h"
#include "core/cs_node.h"
#include "core/file_writer.h"
#include "core/parse_result.h"
#include "resources/grammar.h"
#include "resources/lexicon.h"

namespace {

using namespace lfg_test;

// A source file of tests/data/lfg, with LF line ends turned into CR LF.
std::u16string ReadDataFile(const std::string& name) {
  const char* root = std::getenv("LFG_SOURCE_DIR");
  std::ifstream in(std::string(root != nullptr ? root : ".") + "/tests/data/lfg/" + name);
  std::stringstream buffer;
  buffer << in.rdbuf();
  std::u16string text;
  for (char c : buffer.str()) {
    if (c == '\n') text += u'\r';
    text += static_cast<char16_t>(static_cast<unsigned char>(c));
  }
  return text;
}

class LfgChartParserTest : public LfgTest {
 protected:
  void SetUp() override {
    LfgTest::SetUp();
    WriteUtf16File(dir_.File("lexicon.txt"), ReadDataFile("english.lexicon"));
    WriteUtf16File(dir_.File("governable.txt"), ReadDataFile("governable_functions.txt"));
    lexicon_ = std::make_unique<CLexicon>("E");
    lexicon_->ParseRawLexicon(dir_.File("lexicon.txt"));
    UseGrammar(ReadDataFile("english.rules"), ReadDataFile("english.macros"));
  }
  void TearDown() override {
    for (CParseResult* result : results_) delete result;
    parser_.reset();
    grammar_.reset();
    LfgTest::TearDown();
  }

  void UseGrammar(const std::u16string& rules, const std::u16string& macros) {
    WriteUtf16File(dir_.File("rules.txt"), rules);
    WriteUtf16File(dir_.File("macros.txt"), macros);
    parser_.reset();
    grammar_ = std::make_unique<CGrammar>(dir_.File("rules.txt"), dir_.File("macros.txt"), dir_.File("rules.lfg"),
                                          dir_.File("rules.cfg"), lexicon_.get(), false, false);
    parser_ = std::make_unique<CLFGParser>(grammar_.get(), dir_.File("governable.txt"));
  }

  // The entry lists of the words; the lists live until the test ends.
  std::vector<ChartWord> Words(const std::string& sentence) {
    std::vector<ChartWord> words;
    std::istringstream in(sentence);
    for (std::string word; in >> word;) {
      lookups_.push_back(lexicon_->LookupWord(Widen(word)));
      words.push_back(lookups_.back().get());
    }
    return words;
  }

  bool Parse(const std::string& sentence, bool checkCompleteness = true) {
    for (CParseResult* result : results_) delete result;
    results_.clear();
    return parser_->Parse(Words(sentence), results_, checkCompleteness);
  }

  CFSNode* Root(size_t i) {
    auto it = results_.begin();
    std::advance(it, i);
    return (*it)->FStructure->root;
  }

  CFSNode* At(CFSNode* node, const std::vector<std::u16string>& path) {
    std::vector<SymbolId> ids;
    for (const std::u16string& name : path) ids.push_back(Sym(name));
    return node->FindPath(&ids, true);
  }

  std::string ValuesAt(CFSNode* node, const std::vector<std::u16string>& path) {
    CFSNode* found = At(node, path);
    return found != nullptr ? ShowFS(found) : "missing";
  }

  static std::string Tree(const CCSNode* node) {
    if (node == nullptr) return "null";
    std::string text = Narrow(node->Category) + "(";
    if (node->Children.empty()) text += Narrow(node->Word);
    for (size_t i = 0; i < node->Children.size(); ++i) text += (i ? " " : "") + Tree(node->Children[i]);
    return text + ")";
  }

  TempDir dir_;
  std::unique_ptr<CLexicon> lexicon_;
  std::unique_ptr<CGrammar> grammar_;
  std::unique_ptr<CLFGParser> parser_;
  std::vector<std::unique_ptr<LexicalEntryList>> lookups_;
  ParseResultList results_;
};

TEST_F(LfgChartParserTest, DitransitiveSentenceGivesOneCompleteCoherentAnalysis) {
  ASSERT_TRUE(Parse("I gave him a book"));
  ASSERT_EQ(results_.size(), 1u);
  CFSNode* root = Root(0);
  EXPECT_EQ(root->Attribute, static_cast<int16_t>(RootId));
  EXPECT_EQ(ValuesAt(root, {u"PRED", u"VALUE"}), "{give}");
  EXPECT_EQ(ValuesAt(root, {u"PRED", u"GF"}), "{SUBJ OBJ OBJ2}");
  EXPECT_EQ(ValuesAt(root, {u"PRED", u"INDEX"}), "{1}");
  EXPECT_EQ(ValuesAt(root, {u"TENSE"}), "{past}");
  EXPECT_EQ(ValuesAt(root, {u"SUBJ", u"CASE"}), "{nom}");
  EXPECT_EQ(ValuesAt(root, {u"SUBJ", u"PERS"}), "{1}");
  EXPECT_EQ(ValuesAt(root, {u"OBJ", u"CASE"}), "{acc}");
  EXPECT_EQ(ValuesAt(root, {u"OBJ", u"PERS"}), "{3}");
  EXPECT_EQ(ValuesAt(root, {u"OBJ2", u"PRED", u"VALUE"}), "{book}");
  EXPECT_EQ(ValuesAt(root, {u"OBJ2", u"SPEC"}), "{a}");
  EXPECT_TRUE(parser_->CheckCompletenessCoherence(root));

  const CParseResult& result = *results_.front();
  ASSERT_NE(result.CStructure, nullptr);
  EXPECT_EQ(Tree(result.CStructure->Root),
            "S(NP(pron(I)) VP(v(gave) NP(pron(him)) NP(det(a) N'(n(book)))))");
  ASSERT_EQ(result.Names.Items.size(), 5u);
  EXPECT_EQ(result.Names.Items[3]->Name, u"a");
  EXPECT_EQ(result.Names.Items[3]->Id, Sym(u"det"));
}

TEST_F(LfgChartParserTest, AnalysisWritesWellFormedStructureXml) {
  ASSERT_TRUE(Parse("I gave him a book"));
  const std::string fsPath = dir_.File("fs.xml");
  {
    CFileWriter writer(fsPath);
    writer.Write(u"<F-Structures>");
    parser_->WriteFStructureXml(Root(0), writer);
    writer.Write(u"</F-Structures>");
  }
  ExpectWellFormedXml(fsPath);
  std::u16string text;
  const std::vector<unsigned char> bytes = ReadBytes(fsPath);
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
  for (const char16_t* expected :
       {u"<F-Structures><ROOT>", u"<VALUE><Value>give</Value></VALUE>",
        u"<GF><Value>SUBJ</Value><Value>OBJ</Value><Value>OBJ2</Value></GF>", u"<CASE><Value>acc</Value></CASE>",
        u"<SPEC><Value>a</Value></SPEC>", u"<TENSE><Value>past</Value></TENSE>"}) {
    EXPECT_NE(text.find(expected), std::u16string::npos) << Narrow(expected);
  }
  const std::string csPath = dir_.File("cs.xml");
  parser_->WriteCStructureXmlFile(results_, csPath);
  ExpectWellFormedXml(csPath);
}

TEST_F(LfgChartParserTest, AttachmentAmbiguityYieldsBothAnalyses) {
  ASSERT_TRUE(Parse("I saw the man with a telescope"));
  ASSERT_EQ(results_.size(), 2u);
  int verbAttached = 0;
  int nounAttached = 0;
  for (size_t i = 0; i < 2; ++i) {
    CFSNode* root = Root(i);
    if (At(root, {u"ADJUNCT", u"SET"}) != nullptr) ++verbAttached;
    if (At(root, {u"OBJ", u"ADJUNCT", u"SET"}) != nullptr) ++nounAttached;
    EXPECT_TRUE(parser_->CheckCompletenessCoherence(root));
  }
  EXPECT_EQ(verbAttached, 1);
  EXPECT_EQ(nounAttached, 1);
  EXPECT_FALSE(parser_->edgeLimitReached);
}

TEST_F(LfgChartParserTest, AgreementCompletenessAndUnknownWordsDecideWhatParses) {
  struct Case {
    const char* sentence;
    bool checkCompleteness;
    size_t results;
  };
  const Case cases[] = {
      {"him gave I a book", true, 0},  // case clash on both noun phrases
      {"I gave him", true, 0},         // OBJ2 missing
      {"I gave him", false, 1},
      {"I saw a book", true, 1},
      {"I saw", true, 0},
      {"I saw a", true, 0},
      {"I saw a unicorn", true, 0},
      {"", true, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Parse(c.sentence, c.checkCompleteness), c.results > 0) << c.sentence;
    EXPECT_EQ(results_.size(), c.results) << c.sentence;
  }
}

TEST_F(LfgChartParserTest, ScannerWithoutAWordMarksTheEdgeFailed) {
  Parse("I saw a");
  const CChartColumn& last = parser_->columns[parser_->columnCount - 1];
  bool anyFailed = false;
  for (const CChartEdge* edge : last.edges) {
    const CProductionSymbol* symbol = edge->production->GetSymbolAfterDot();
    if (symbol != nullptr && symbol->kind == 1 && !edge->production->IsDotOnLastDaughter()) {
      EXPECT_EQ(edge->failed, 1) << Narrow(symbol->name);
      anyFailed = true;
    }
  }
  EXPECT_TRUE(anyFailed);
}

TEST_F(LfgChartParserTest, EqualAnalysesAreCollectedOnce) {
  // Two identical start rules complete with equal F-structures.
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

TEST_F(LfgChartParserTest, BuildChartFillsTheChartAndFreeChartReleasesIt) {
  const int columnsBefore = CChartColumn::liveInstances;
  const int edgesBefore = CChartEdge::liveInstances;
  CChartColumn* chart = parser_->BuildChart(Words("I saw a book"));
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(parser_->columnCount, 5u);
  EXPECT_EQ(CChartColumn::liveInstances, columnsBefore + 5);
  EXPECT_GT(CChartEdge::liveInstances, edgesBefore);
  const size_t productions = RegisteredProductionCount();
  EXPECT_TRUE(parser_->FreeChart());
  EXPECT_EQ(parser_->columns, nullptr);
  EXPECT_EQ(CChartColumn::liveInstances, columnsBefore);
  EXPECT_EQ(CChartEdge::liveInstances, edgesBefore);
  // The edges' productions stay with the production registry.
  EXPECT_EQ(RegisteredProductionCount(), productions);
  EXPECT_TRUE(parser_->FreeChart());
}

TEST_F(LfgChartParserTest, DuplicateTestLooksAtEveryCandidate) {
  ASSERT_NE(parser_->BuildChart(Words("I")), nullptr);
  CProduction* first = MakeProduction("X", {"pron"});
  first->mother->fStructure = new CFSHandle(BuildFS("[NUM {sg}]"), 1.0);
  CProduction* second = MakeProduction("X", {"pron"});
  second->mother->fStructure = new CFSHandle(BuildFS("[NUM {pl}]"), 1.0);
  ASSERT_TRUE(parser_->AddEdge(first, 1, 0, false));
  ASSERT_TRUE(parser_->AddEdge(second, 1, 0, false));
  CProduction* again = second->Clone();
  EXPECT_TRUE(parser_->IsDuplicateEdge(again, 1, 0));
  EXPECT_FALSE(parser_->AddEdge(again, 1, 0, true));
  CProduction* other = MakeProduction("X", {"pron"});
  other->mother->fStructure = new CFSHandle(BuildFS("[NUM {du}]"), 1.0);
  EXPECT_FALSE(parser_->IsDuplicateEdge(other, 1, 0));
  other->dot = 1;
  EXPECT_FALSE(parser_->IsDuplicateEdge(other, 1, 0));
  EXPECT_FALSE(parser_->IsDuplicateEdge(again, 1, 1));
  EXPECT_FALSE(parser_->IsDuplicateEdge(again, 2, 0));
  EXPECT_FALSE(parser_->IsDuplicateEdge(nullptr, 1, 0));
  EXPECT_FALSE(parser_->AddEdge(again, 2, 0, false));
}

TEST_F(LfgChartParserTest, FindLexicalEntriesFiltersByTheSymbolsCategory) {
  std::vector<ChartWord> words = Words("saw");
  CProduction* production = MakeProduction("VP", {"v", "n"});
  std::unique_ptr<LexicalEntryPtrList> verbs = parser_->FindLexicalEntries(words[0], production->daughters[0]);
  ASSERT_TRUE(verbs);
  EXPECT_EQ(verbs->size(), 1u);
  EXPECT_FALSE(parser_->FindLexicalEntries(words[0], production->daughters[1]));
  EXPECT_FALSE(parser_->FindLexicalEntries(nullptr, production->daughters[0]));
  CLFGParser withoutGrammar(dir_.File("governable.txt"));
  EXPECT_FALSE(withoutGrammar.FindLexicalEntries(words[0], production->daughters[0]));
  ParseResultList none;
  EXPECT_FALSE(withoutGrammar.Parse(words, none, true));
  EXPECT_EQ(withoutGrammar.BuildChart(words), nullptr);
}

TEST_F(LfgTest, GovernableFunctionsAreReadInFileOrder) {
  TempDir dir;
  WriteUtf16File(dir.File("gf.txt"), u"SUBJ, OBJ,OBJ2\r\n");
  WriteUtf16File(dir.File("empty.txt"), u"");
  CLFGParser parser(dir.File("gf.txt"));
  EXPECT_EQ(parser.governableFunctions, (std::vector<SymbolId>{Sym(u"SUBJ"), Sym(u"OBJ"), Sym(u"OBJ2")}));
  CLFGParser empty(dir.File("empty.txt"));
  EXPECT_TRUE(empty.governableFunctions.empty());
  EXPECT_FALSE(empty.LoadGovernableFunctions(dir.File("empty.txt")));
  EXPECT_EQ(empty.setElementCounter, 1);
  EXPECT_EQ(empty.columnCount, 0u);
}

// Results with a given valency (-1: no PRED with GF) and word categories.
class PreferenceTest : public LfgTest {
 protected:
  CParseResult* Result(int valency, const std::vector<int>& categories) {
    CFSNode* root = BuildFS("{}");
    if (valency >= 0) {
      std::string frame = "[PRED [GF {";
      for (int i = 0; i < valency; ++i) frame += " F" + std::to_string(i);
      root = BuildFS(frame + "}]]");
    }
    auto* result = new CParseResult(new CFSHandle(root, 1.0), nullptr);
    for (int id : categories) result->Names.Items.push_back(new CNamedId(u"w", id));
    return result;
  }
  std::vector<int> Select(const std::vector<std::pair<int, std::vector<int>>>& specs, uint32_t words) {
    ParseResultList results;
    std::vector<CParseResult*> made;
    for (const auto& spec : specs) made.push_back(Result(spec.first, spec.second));
    results.assign(made.begin(), made.end());
    parser_.columnCount = words + 1;
    EXPECT_TRUE(parser_.SelectPreferredParses(results));
    parser_.columnCount = 0;
    std::vector<int> kept;
    for (CParseResult* result : results) {
      for (size_t i = 0; i < made.size(); ++i) {
        if (made[i] == result) kept.push_back(static_cast<int>(i));
      }
      delete result;
    }
    return kept;
  }
  CLFGParser parser_{""};
};

TEST_F(PreferenceTest, LargestValencyThenGreaterCategoriesWin) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, std::vector<int>>> results;
    uint32_t words;
    std::vector<int> kept;
  };
  const Case cases[] = {
      {"larger valency wins", {{2, {1, 2}}, {3, {1, 2}}, {3, {1, 2}}}, 2, {1, 2}},
      {"results without a frame lose to any frame", {{-1, {1, 2}}, {1, {1, 2}}}, 2, {1}},
      {"without frames all take part", {{-1, {1, 2}}, {-1, {1, 2}}}, 2, {0, 1}},
      {"greater category at the first difference", {{2, {1, 2, 3}}, {2, {1, 5, 0}}, {2, {1, 4, 9}}}, 3, {1}},
      {"smaller category is dropped", {{2, {1, 5}}, {2, {1, 4}}}, 2, {0}},
      {"missing token lists compare equal", {{2, {}}, {2, {1, 2}}, {2, {1}}}, 2, {0, 1, 2}},
      {"only the word positions count", {{2, {1, 2, 7}}, {2, {1, 2, 9}}}, 2, {0, 1}},
  };
  for (const Case& c : cases) EXPECT_EQ(Select(c.results, c.words), c.kept) << c.name;
  ParseResultList empty;
  EXPECT_TRUE(parser_.SelectPreferredParses(empty));
}

}  // namespace
