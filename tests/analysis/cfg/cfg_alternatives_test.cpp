// Alternatives and shared structures through the CFG parser on the toy data
// of tests/data/cfg_alternatives: a question word that is an adjunct in one
// alternative and the object in the other (one production with alternative
// annotations, or two productions), and the subject that a control equation
// shares with an infinitive.
#include <fstream>
#include <sstream>

#include "analysis/cfg/cfg_engine_fixture.h"
#include "constraints/p_symbol_table.h"

namespace {

std::string Name(SymbolId id) { return ToUtf8(GetSymbolName(id)); }

// "{v1 v2} [ATTR ... ATTR ...]": a node's values and children, not its own
// attribute, so that one structure can be compared at two places.
std::string Content(const CFSNode* node) {
  if (node == nullptr) return "none";
  std::string text;
  if (!node->Value.empty()) {
    text += "{";
    for (size_t i = 0; i < node->Value.size(); ++i) text += (i ? " " : "") + Name(node->Value[i]);
    text += "}";
  }
  if (!node->ChildList.empty()) {
    text += " [";
    for (size_t i = 0; i < node->ChildList.size(); ++i) {
      text += (i ? " " : "") + Name(static_cast<SymbolId>(node->ChildList[i]->Attribute)) + " " +
              Content(node->ChildList[i]);
    }
    text += "]";
  }
  return text;
}

const CFSNode* At(const CFSNode* node, const std::string& path) {
  std::istringstream steps(path);
  for (std::string step; node != nullptr && steps >> step;)
    node = node->FindAttribute(GetSymbolId(FromUtf8(step), true));
  return node;
}

constexpr const char* kClauses =
    "S' -> S: ^=! ; .\n"
    "S -> NP: ^SUBJ=!, ^SUBJ CASE=nom ; VP: ^=! ; .\n"
    "VP -> v: ^=! ; INF: ^XCOMP=!, ^XCOMP SUBJ=^SUBJ ; .\n"
    "VP -> v: ^=! ; NP: ^OBJ=!, ^OBJ CASE=acc ; INF: ^XCOMP=!, ^XCOMP SUBJ=^OBJ ; .\n"
    "INF -> p: ; v: ^=! ; .\n"
    "NP -> n: ^=! ; .\n";

// The same daughters: the compiler merges the two rules into one production
// whose alternatives are choices.
constexpr const char* kMergedQuestions =
    "S -> wh: ! $ ^ADJUNCT ; aux: ^=! ; NP: ^SUBJ=! ; v: ^=! ; .\n"
    "S -> wh: ^OBJ=!, ^OBJ CASE=acc ; aux: ^=! ; NP: ^SUBJ=! ; v: ^=! ; .\n";

// Two productions: the chart packs them as two alternatives of one item.
constexpr const char* kSeparateQuestions =
    "S -> ADJQ: ^=! ; .\n"
    "S -> OBJQ: ^=! ; .\n"
    "ADJQ -> wh: ! $ ^ADJUNCT ; aux: ^=! ; NP: ^SUBJ=! ; v: ^=! ; .\n"
    "OBJQ -> wh: ^OBJ=!, ^OBJ CASE=acc ; aux: ^=! ; NP: ^SUBJ=! ; v: ^=! ; .\n";

class CfgAlternatives : public cfg_test::CfgEngine {
 protected:
  // The rules, and the lexicon with the extra entries after it.
  void Load(const std::string& rules, const std::string& extraEntries = "") {
    const std::string data = cfg_test::SourceDir() + "/tests/data/cfg_alternatives/";
    CopyAsUtf16(data, {"GovernableFunctions.txt", "dummy.txt"});
    std::ifstream in(data + "lexicon.txt", std::ios::binary);
    WriteUtf16File(dir_.File("lexicon.txt"),
                   FromUtf8(std::string(std::istreambuf_iterator<char>(in), {}) + extraEntries));
    WriteUtf16File(dir_.File("rules.txt"), FromUtf8(rules));
    WriteUtf16File(dir_.File("macros.txt"), FromUtf8("/ No macros.\n"));
    BuildToyEngine(data);
  }

  // The converted F-structure of the sentence, or null without analysis.
  const CFSNode* Analyse(const std::string& text) {
    ResetSentence();
    return AnalyseInThisSentence(text);
  }
  // Without the per-sentence reset before it.
  const CFSNode* AnalyseInThisSentence(const std::string& text) {
    LookUpWords(text);
    if (!parser_->ParseTokens(readings_, tokens_)) return nullptr;
    result_.reset(parser_->GetParseResult());
    return result_ && result_->FStructure != nullptr ? result_->FStructure->root : nullptr;
  }

  std::unique_ptr<CParseResult> result_;
};

// The alternative whose frame is incoherent (an object of "live") or
// incomplete (no object of "make") costs its own choice; the other
// alternative's reading stays.
TEST_F(CfgAlternatives, AFailingAlternativeLeavesTheOtherReading) {
  const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
      {"where do you live", "ADJUNCT", "OBJ", "{where}"},
      {"what do you make", "OBJ PRED VALUE", "ADJUNCT", "{what}"},
  };
  for (const char* questions : {kMergedQuestions, kSeparateQuestions}) {
    Load(std::string(kClauses) + questions);
    for (const auto& [sentence, present, absent, word] : cases) {
      SCOPED_TRACE(std::string(sentence) + (questions == kMergedQuestions ? " (merged)" : " (separate)"));
      const CFSNode* root = Analyse(sentence);
      ASSERT_NE(root, nullptr);
      EXPECT_NE(Content(At(root, present)).find(word), std::string::npos) << Content(root);
      EXPECT_EQ(At(root, absent), nullptr) << Content(root);
    }
  }
}

// The controlled subject is the controller itself, with everything the
// clause says about it, whether or not the verb states something of its
// subject ("wants" gives its person, "want" nothing).
TEST_F(CfgAlternatives, ControlledSubjectIsTheWholeController) {
  Load(std::string(kClauses) + kMergedQuestions);
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"I want to go", "SUBJ", "{I}"},
      {"he wants to go", "SUBJ", "{he}"},
      {"I told him to go", "OBJ", "{he}"},
  };
  for (const auto& [sentence, controller, word] : cases) {
    SCOPED_TRACE(sentence);
    const CFSNode* root = Analyse(sentence);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Content(At(root, std::string(controller) + " PRED VALUE")), word);
    EXPECT_NE(Content(At(root, controller)).find("CASE"), std::string::npos) << Content(root);
    EXPECT_EQ(Content(At(root, "XCOMP SUBJ")), Content(At(root, controller))) << Content(root);
  }
}

// The tagger's reading of a word parses but fails in solving (its frame
// asks for an object the sentence lacks): the parse over all readings finds
// the word's other reading, and no analysis is returned incomplete.
TEST_F(CfgAlternatives, ATaggedAnalysisThatFailsInSolvingFallsBackToAllReadings) {
  // "wh" stands for a second class of verbs here: the reading the tagger
  // takes (the first) is the transitive one.
  Load(
      "S' -> S: ^=! ; .\n"
      "S -> NP: ^SUBJ=! ; VP: ^=! ; .\n"
      "VP -> v: ^=! ; .\n"
      "VP -> wh: ^=! ; .\n"
      "VP -> v: ^=! ; NP: ^OBJ=! ; .\n"
      "NP -> n: ^=! ; .\n",
      "swims: v, ^PRED='swim<SUBJ,OBJ>'.\n"
      "swims: wh, ^PRED='swim<SUBJ>'.\n"
      "eats: v, ^PRED='eat<SUBJ,OBJ>'.\n");
  const std::tuple<const char*, const char*> cases[] = {
      {"he swims", "{swim}"},      // the second reading after the fallback
      {"he swims you", "{swim}"},  // the tagger's reading is right
      {"he eats", "none"},         // no reading is complete
  };
  for (const auto& [sentence, predicate] : cases) {
    SCOPED_TRACE(sentence);
    EXPECT_EQ(Content(At(Analyse(sentence), "PRED VALUE")), predicate);
  }
}

// A daughter keeps the other equations of its annotation, whether it is a
// set member or a function of the mother: what they say of the daughter
// ("!") is the daughter's, what they say of the mother ("^") the mother's.
TEST_F(CfgAlternatives, ADaughterKeepsTheOtherEquationsOfItsAnnotation) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"! $ ^ADJUNCT, !CASE=obl, ^MOOD=ind", "ADJUNCT", "he go you"},
      {"^OBJ=!, !CASE=obl, ^MOOD=ind", "OBJ", "he make you"},
  };
  for (const auto& [annotation, function, sentence] : cases) {
    SCOPED_TRACE(annotation);
    Load(std::string("S' -> S: ^=! ; .\n") + "S -> NP: ^SUBJ=! ; v: ^=! ; NP: " + annotation + " ; .\n" +
         "NP -> n: ^=! ; .\n");
    const CFSNode* root = Analyse(sentence);
    ASSERT_NE(root, nullptr);
    const std::string daughter = Content(At(root, function));
    EXPECT_NE(daughter.find("{you}"), std::string::npos) << Content(root);
    EXPECT_NE(daughter.find("CASE {obl}"), std::string::npos) << Content(root);
    EXPECT_EQ(At(root, "CASE"), nullptr) << Content(root);
    EXPECT_EQ(Content(At(root, "MOOD")), "{ind}") << Content(root);
  }
}

// The two halves of a control equation are one structure: what the clause
// says of its subject and what the complement says of its own subject must
// agree, or the reading fails.
TEST_F(CfgAlternatives, AControlEquationUnifiesItsTwoHalves) {
  const std::tuple<const char*, bool> cases[] = {
      {"^XCOMP SUBJ CASE=nom", true},
      {"^XCOMP SUBJ CASE=acc", false},  // the clause's subject is nominative
      {"^XCOMP SUBJ NUM=pl", false},    // "I" is singular
  };
  for (const auto& [complementSays, analysed] : cases) {
    SCOPED_TRACE(complementSays);
    Load(std::string("S' -> S: ^=! ; .\n") + "S -> NP: ^SUBJ=!, ^SUBJ CASE=nom ; VP: ^=! ; .\n" +
         "VP -> v: ^=! ; INF: ^XCOMP=!, ^XCOMP SUBJ=^SUBJ, " + complementSays + " ; .\n" + "INF -> p: ; v: ^=! ; .\n" +
         "NP -> n: ^=! ; .\n");
    const CFSNode* root = Analyse("I want to go");
    EXPECT_EQ(root != nullptr, analysed) << (root ? Content(root) : "");
  }
}

// The solver sees the clash between the halves of a control equation, so a
// controller with several readings keeps the one that agrees with what the
// complement says of its subject: the subject without a verb that states it
// ("want"), with one ("wants" gives its person) and the object. "sheep" has
// both numbers in one entry, "deer" in two entries.
TEST_F(CfgAlternatives, AControlledSubjectChoosesTheControllersReading) {
  const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
      {"^XCOMP SUBJ NUM=pl", "sheep want to go", "SUBJ NUM", "{pl}"},
      {"^XCOMP SUBJ NUM=sg", "sheep want to go", "SUBJ NUM", "{sg}"},
      {"^XCOMP SUBJ NUM=pl", "deer want to go", "SUBJ NUM", "{pl}"},
      {"^XCOMP SUBJ NUM=pl", "sheep wants to go", "SUBJ NUM", "{pl}"},
      {"^XCOMP SUBJ NUM=pl", "I told sheep to go", "OBJ NUM", "{pl}"},
      {"^XCOMP SUBJ NUM=sg", "I told deer to go", "OBJ NUM", "{sg}"},
      {"^XCOMP SUBJ NUM=pl", "I want to go", "SUBJ NUM", "none"},
      {"^XCOMP SUBJ NUM=pl", "he wants to go", "SUBJ NUM", "none"},
      {"^XCOMP SUBJ PERS=1", "I told him to go", "OBJ NUM", "none"},
  };
  for (const auto& [complementSays, sentence, path, expected] : cases) {
    SCOPED_TRACE(std::string(complementSays) + ": " + sentence);
    Load(std::string("S' -> S: ^=! ; .\n") + "S -> NP: ^SUBJ=!, ^SUBJ CASE=nom ; VP: ^=! ; .\n" +
             "VP -> v: ^=! ; INF: ^XCOMP=!, ^XCOMP SUBJ=^SUBJ, " + complementSays + " ; .\n" +
             "VP -> v: ^=! ; NP: ^OBJ=!, ^OBJ CASE=acc ; INF: ^XCOMP=!, ^XCOMP SUBJ=^OBJ, " + complementSays +
             " ; .\n" + "INF -> p: ; v: ^=! ; .\n" + "NP -> n: ^=! ; .\n",
         "sheep: n, ^PRED='sheep', ^PERS=3, [^NUM=sg | ^NUM=pl].\n"
         "deer: n, ^PRED='deer', ^PERS=3, ^NUM=sg.\n"
         "deer: n, ^PRED='deer', ^PERS=3, ^NUM=pl.\n");
    const CFSNode* root = Analyse(sentence);
    EXPECT_EQ(Content(At(root, path)), expected) << Content(root);
    if (root != nullptr) {
      EXPECT_EQ(Content(At(root, "XCOMP SUBJ NUM")), expected) << Content(root);
    }
  }
}

// Readings of one word and one part of speech stand side by side in the
// chart: the one whose frame fails in solving leaves the one that fits, in
// the main clause and in a complement.
TEST_F(CfgAlternatives, AReadingThatFailsInSolvingLeavesTheOneBesideIt) {
  Load(std::string(kClauses) + "VP -> v: ^=! ; .\nVP -> v: ^=! ; NP: ^OBJ=!, ^OBJ CASE=acc ; .\n",
       "leave: v, ^PRED='leave<SUBJ,OBJ>'.\n"
       "leave: v, ^PRED='leave<SUBJ>'.\n"
       "stay: v, ^PRED='stay<SUBJ>'.\n"
       "stay: v, ^PRED='stay<SUBJ,OBJ>'.\n");
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"I leave", "PRED GF", "{SUBJ}"},
      {"I leave you", "PRED GF", "{SUBJ OBJ}"},
      {"I stay you", "PRED GF", "{SUBJ OBJ}"},
      {"I want to leave", "XCOMP PRED GF", "{SUBJ}"},
      {"I want to stay", "XCOMP PRED GF", "{SUBJ}"},
  };
  for (const auto& [sentence, path, functions] : cases) {
    SCOPED_TRACE(sentence);
    const CFSNode* root = Analyse(sentence);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Content(At(root, path)), functions) << Content(root);
  }
}

// A sentence whose names the symbol table could not all take is told once
// and fails; it is never reported with names missing. The next sentence
// starts with the table as it was.
TEST_F(CfgAlternatives, ASentenceThatCannotNameItsStructuresFails) {
  Load(std::string(kClauses) + kMergedQuestions);
  ResetSentence();
  messages_.clear();
  // The sentence's names so far fill the table (its first refusal is told).
  for (int k = 0; P_SymbolTable::Intern("filler" + std::to_string(k)) != 0; ++k) {
  }
  EXPECT_EQ(AnalyseInThisSentence("where do you live"), nullptr);  // its set element needs a new name
  EXPECT_EQ(messages_.messages().size(), 1u);
  EXPECT_NE(Analyse("where do you live"), nullptr);  // Analyse resets first
  EXPECT_EQ(messages_.messages().size(), 1u);
}

}  // namespace

