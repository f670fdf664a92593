// Alternatives and shared structures through the CFG parser on the toy data
// of tests/data/cfg_alternatives: a question word that is an adjunct in one
// alternative and the object in the other (one production with alternative
// annotations, or two productions), and the subject that a control equation
// shares with an infinitive.
#include <fstream>
#include <sstream>

#include "analysis/cfg/cfg_engine_fixture.h"

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
  for (std::string step; node != nullptr && steps >> step;) node = node->FindAttribute(GetSymbolId(FromUtf8(step), true));
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
  void Load(const std::string& rules) {
    const std::string data = cfg_test::SourceDir() + "/tests/data/cfg_alternatives/";
    CopyAsUtf16(data, {"GovernableFunctions.txt", "dummy.txt", "lexicon.txt"});
    WriteUtf16File(dir_.File("rules.txt"), FromUtf8(rules));
    WriteUtf16File(dir_.File("macros.txt"), FromUtf8("/ No macros.\n"));
    BuildToyEngine(data);
  }

  // The converted F-structure of the sentence, or null without analysis.
  const CFSNode* Analyse(const std::string& text) {
    ResetSentence();
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

}  // namespace
