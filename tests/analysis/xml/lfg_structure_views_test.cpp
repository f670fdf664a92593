// The tree printers, show drivers and structure-pair writer of the LFG chart
// on the small English grammar of tests/data/lfg.
#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/lfg/lfg_english_fixture.h"
#include "analysis/lfg/lfg_start_edges.h"
#include "analysis/xml/lfg_show_drivers.h"
#include "analysis/xml/lfg_structure_pair_writer.h"
#include "analysis/xml/lfg_tree_printers.h"
#include "core/fs_handle.h"
#include "core/tree_item.h"
#include "resources/lfg/lexicon_manager.h"

namespace {

using namespace lfg_test;

constexpr const char* kDitransitive = "I gave him a book";
constexpr const char* kAmbiguous = "I saw the man with a telescope";

// Items whose Expanded flag differs from the wanted one, by text.
void CollectExpandedMismatches(const TreeItem& item, bool wanted, std::string& out) {
  for (const TreeItem& child : item.Children) {
    if (child.Expanded != wanted) out += ToUtf8(child.Text) + "; ";
    CollectExpandedMismatches(child, wanted, out);
  }
}

class LfgStructureViews : public LfgEnglishGrammarTest {
 protected:
  void SetUp() override {
    LfgEnglishGrammarTest::SetUp();
    messages_.clear();  // the lexicon's set-up reports files this grammar does not use
  }
  std::string Outline(const TreeItem& tree) { return ToUtf8(FormatTreeOutline(tree)); }
  std::vector<std::u16string> Captions() {
    std::vector<std::u16string> captions;
    for (const auto& message : messages_.messages()) captions.push_back(message.caption);
    return captions;
  }
};

TEST_F(LfgStructureViews, CStructurePrinterShowsEveryDaughterWithItsWordAndExpandsThem) {
  TreeItem tree;
  ASSERT_TRUE(ParseAndShowCStructures(*parser_, Words(kDitransitive), tree));
  EXPECT_EQ(Outline(tree),
            "C-Structure # 1\n"
            "  NP\n"
            "    pron ----- I\n"
            "  VP\n"
            "    v ----- gave\n"
            "    NP\n"
            "      pron ----- him\n"
            "    NP\n"
            "      det ----- a\n"
            "      N'\n"
            "        n ----- book\n");
  EXPECT_FALSE(tree.ChildAt(0)->Expanded);
  std::string collapsed;
  CollectExpandedMismatches(*tree.ChildAt(0), true, collapsed);
  EXPECT_EQ(collapsed, "");
  EXPECT_TRUE(messages_.messages().empty());
}

TEST_F(LfgStructureViews, FStructurePrinterShowsAttributesValuesAndSets) {
  TreeItem tree;
  ASSERT_TRUE(ParseAndShowFStructures(*parser_, Words(kDitransitive), tree));
  EXPECT_EQ(Outline(tree),
            "F-Structure # 1\n"
            "  SUBJ\n"
            "    PRED\n"
            "      INDEX ----- 0\n"
            "      VALUE ----- pro\n"
            "    PERS ----- 1\n"
            "    NUM ----- sg\n"
            "    CASE ----- nom\n"
            "  PRED\n"
            "    INDEX ----- 1\n"
            "    VALUE ----- give\n"
            "    GF ----- SUBJ ----- OBJ ----- OBJ2\n"
            "  TENSE ----- past\n"
            "  OBJ\n"
            "    PRED\n"
            "      INDEX ----- 2\n"
            "      VALUE ----- pro\n"
            "    PERS ----- 3\n"
            "    NUM ----- sg\n"
            "    CASE ----- acc\n"
            "  OBJ2\n"
            "    SPEC ----- a\n"
            "    NUM ----- sg\n"
            "    PRED\n"
            "      INDEX ----- 4\n"
            "      VALUE ----- book\n"
            "    PERS ----- 3\n");
  // Printing the same chart again shows the same: the expansion is done once.
  TreeItem again;
  EXPECT_EQ(PrintFStructures(*parser_, again), 1);
  EXPECT_EQ(again, tree);

  // Both attachments of the phrase; its set shows under "SET" in each.
  TreeItem ambiguous;
  ASSERT_TRUE(ParseAndShowFStructures(*parser_, Words(kAmbiguous), ambiguous));
  ASSERT_EQ(ambiguous.Children.size(), 2u);
  EXPECT_EQ(ambiguous.ChildAt(1)->Text, u"F-Structure # 2");
  const std::string outline = Outline(ambiguous);
  EXPECT_NE(outline.find("  ADJUNCT\n    SET\n"), std::string::npos) << outline;      // on the verb phrase
  EXPECT_NE(outline.find("    ADJUNCT\n      SET\n"), std::string::npos) << outline;  // on the object
  EXPECT_TRUE(messages_.messages().empty());
}

TEST_F(LfgStructureViews, SetElementsThatWereNotExpandedShowUnderSet) {
  CFSNode* node = BuildFS("[PCASE {with}]<[OBJ [NUM {sg}]] {x y}>");
  node->Attribute = static_cast<int16_t>(Sym(u"ADJUNCT"));
  node->SetElements[0]->Attribute = static_cast<int16_t>(Sym(u"ELEMENT1"));
  node->SetElements[1]->Attribute = static_cast<int16_t>(Sym(u"ELEMENT2"));
  TreeItem tree;
  PrintFStructureNode(*node, tree);
  EXPECT_EQ(Outline(tree),
            "ADJUNCT\n"
            "  PCASE ----- with\n"
            "  SET\n"
            "    ELEMENT1\n"
            "      OBJ\n"
            "        NUM ----- sg\n"
            "    ELEMENT2 ----- x ----- y\n");

  // A structure that contains itself is shown down to its second meeting.
  CFSNode* loop = BuildFS("[XCOMP [NUM {sg}]]");
  loop->Attribute = static_cast<int16_t>(Sym(u"OBJ"));
  loop->ChildList[0]->ChildList.push_back(loop);
  TreeItem looped;
  PrintFStructureNode(*loop, looped);
  EXPECT_EQ(Outline(looped), "OBJ\n  XCOMP\n    NUM ----- sg\n    OBJ\n");
  loop->ChildList[0]->ChildList.pop_back();
}

// Optional groups compile into generated categories ("P_1"): the printer
// shows their daughters in their place.
TEST_F(LfgStructureViews, GeneratedCategoriesGiveWayToTheirDaughters) {
  UseGrammar(u"S -> pron: ^SUBJ=!; v: ^=!; (pron: ^OBJ=!;) .\r\n", u"");
  TreeItem tree;
  ASSERT_TRUE(ParseAndShowCStructures(*parser_, Words("I saw him"), tree));
  EXPECT_EQ(Outline(tree), "C-Structure # 1\n  pron ----- I\n  v ----- saw\n  pron ----- him\n");
  WriteStartEdgeStructures(*parser_, "", dir_.File("c.xml"));
  EXPECT_EQ(ReadUtf16(dir_.File("c.xml")),
            u"<C-Structures><C-Structure-1><S><pron>I</pron><v>saw</v><P_1><pron>him</pron></P_1></S>"
            u"</C-Structure-1></C-Structures>");
}

TEST_F(LfgStructureViews, SentencesWithoutAnalysisAreReportedOnce) {
  // Words, which driver, what the tree gets, the message captions.
  const std::tuple<const char*, bool, const char*, std::vector<std::u16string>> cases[] = {
      {"book book", true, "", {u"Language Parser"}},  // no complete sentence
      {"book book", false, "", {u"LFG Parser"}},      // the chart is there; the printer finds nothing
      {"I gave him", true, "C-Structure # 1\n", {}},  // a sentence, but OBJ2 is missing
      {"I gave him", false, "", {u"LFG Parser"}},     // so it is incomplete
      {"", true, "", {u"Language Parser"}},           // no words: an empty chart
      {"", false, "", {u"LFG Parser"}},
  };
  for (const auto& [words, cStructures, headings, captions] : cases) {
    messages_.clear();
    TreeItem tree;
    const bool shown = cStructures ? ParseAndShowCStructures(*parser_, Words(words), tree)
                                   : ParseAndShowFStructures(*parser_, Words(words), tree);
    std::string top;
    for (const TreeItem& item : tree.Children) top += ToUtf8(item.Text) + "\n";
    EXPECT_EQ(top, headings) << words;
    EXPECT_EQ(shown, !top.empty()) << words;
    EXPECT_EQ(Captions(), captions) << words;
  }
  ASSERT_FALSE(messages_.messages().empty());
  EXPECT_EQ(messages_.messages().back().text, u"Sentence could not be parsed");
}

TEST_F(LfgStructureViews, CollectorsKeepEachStructureOnceAndExpandWhenAsked) {
  std::vector<CFSHandle*> handles;
  ASSERT_TRUE(CollectStartFStructures(*parser_, Words(kAmbiguous), handles));
  ASSERT_EQ(handles.size(), 2u);
  // Unexpanded, PRED holds the word and its functions as values.
  const CFSNode* pred = handles[0]->root->FindAttribute(PredId);
  ASSERT_NE(pred, nullptr);
  EXPECT_EQ(ShowFS(pred), "{see SUBJ OBJ}[INDEX {1}]");
  ASSERT_TRUE(CollectStartFStructures(*parser_, Words(kAmbiguous), handles));
  EXPECT_EQ(handles.size(), 2u) << "equal structures are not added again";

  std::vector<CFSHandle*> expanded;
  ASSERT_TRUE(CollectExpandedStartFStructures(*parser_, Words(kAmbiguous), expanded));
  ASSERT_EQ(expanded.size(), 2u);
  EXPECT_EQ(ShowFS(expanded[0]->root->FindAttribute(PredId)), "[GF {SUBJ OBJ} INDEX {1} VALUE {see}]");
  EXPECT_FALSE(expanded[0]->root->Equals(handles[0]->root));

  // The copies are normalised and stay apart from the chart's structures.
  std::vector<SymbolId> attributes;
  for (const CFSNode* child : expanded[0]->root->ChildList)
    attributes.push_back(static_cast<SymbolId>(child->Attribute));
  EXPECT_TRUE(std::is_sorted(attributes.begin(), attributes.end()));
  EXPECT_FALSE(AddDistinctFStructure(expanded, nullptr));
  EXPECT_FALSE(CollectStartFStructures(*parser_, Words("book book"), expanded));
  EXPECT_EQ(expanded.size(), 2u);
}

TEST_F(LfgStructureViews, StructurePairHoldsEveryCompleteStartEdgeAsWellFormedXml) {
  ASSERT_NE(parser_->BuildChart(Words(kDitransitive)), nullptr);
  EXPECT_EQ(WriteStartEdgeStructures(*parser_, dir_.File("f.xml"), dir_.File("c.xml")), 1);
  ExpectWellFormedXml(dir_.File("f.xml"));
  ExpectWellFormedXml(dir_.File("c.xml"));
  EXPECT_EQ(ReadUtf16(dir_.File("c.xml")),
            u"<C-Structures><C-Structure-1><S><NP><pron>I</pron></NP><VP><v>gave</v><NP><pron>him</pron></NP>"
            u"<NP><det>a</det><N_><n>book</n></N_></NP></VP></S></C-Structure-1></C-Structures>");
  const std::u16string fs = ReadUtf16(dir_.File("f.xml"));
  EXPECT_EQ(fs.substr(0, 65), u"<F-Structures><F-Structure-1><ROOT><SUBJ><PRED><Value>pro</Value>");
  EXPECT_NE(fs.find(u"<PRED><Value>give</Value><Value>SUBJ</Value><Value>OBJ</Value><Value>OBJ2</Value>"),
            std::u16string::npos)
      << "the chart's structure as it stands, not expanded";
  EXPECT_EQ(fs.substr(fs.size() - 38), u"</ROOT></F-Structure-1></F-Structures>");

  ASSERT_NE(parser_->BuildChart(Words(kAmbiguous)), nullptr);
  const int edges = WriteStartEdgeStructures(*parser_, dir_.File("f2.xml"), dir_.File("c2.xml"));
  EXPECT_EQ(edges, static_cast<int>(CompleteStartEdges(*parser_).size()));
  EXPECT_GE(edges, 2);
  ExpectWellFormedXml(dir_.File("f2.xml"));
  ExpectWellFormedXml(dir_.File("c2.xml"));
  const std::u16string cs = ReadUtf16(dir_.File("c2.xml"));
  EXPECT_NE(cs.find(u"<C-Structure-2><S>"), std::u16string::npos);
  EXPECT_NE(cs.find(u"<PP><p>with</p>"), std::u16string::npos);

  // No file name, no file.
  ASSERT_NE(parser_->BuildChart(Words("book book")), nullptr);
  EXPECT_EQ(WriteStartEdgeStructures(*parser_, "", ""), 0);
  EXPECT_EQ(WriteStartEdgeStructures(*parser_, dir_.File("f3.xml"), dir_.File("c3.xml")), 0);
  EXPECT_EQ(ReadUtf16(dir_.File("f3.xml")), u"<F-Structures></F-Structures>");
}

TEST_F(LfgStructureViews, WordsOfASentenceComeFromTheLexiconManager) {
  CLexiconManager manager(lexicon_.get());
  std::unique_ptr<SentenceEntryLists> entries = manager.BuildSentenceEntries(u"I gave him a book");
  ASSERT_NE(entries, nullptr);
  const std::vector<ChartWord> words = ChartWordsOf(*entries);
  ASSERT_EQ(words.size(), 5u);
  EXPECT_EQ(words[1], &entries->lists[1]);
  TreeItem tree;
  EXPECT_TRUE(ParseAndShowFStructures(*parser_, words, tree));
  EXPECT_EQ(tree.Children.size(), 1u);
}

}  // namespace
