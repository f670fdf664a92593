// The transfer engine over toy mapping files written for one test, and
// builders of small English structures.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "analysis/lfg/lfg_parser.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/parse_result.h"
#include "core/sentence_state.h"
#include "transfer/mapping/map_lexicon.h"
#include "transfer/mapping/mapping_test_support.h"
#include "transfer/walk/mapper_engine.h"
#include "transfer/walk/walk_test_support.h"

namespace walk_test {

class ToyMapper : public mapping_test::MappingTest {
 protected:
  void SetUp() override {
    MappingTest::SetUp();
    WriteText("governable.txt", "SUBJ, OBJ, OBJ2, OBL, XCOMP, COMP");
    WriteText("macros.txt", "");
    parser_ = std::make_unique<CLFGParser>(dir_.File("governable.txt"));
    engine_ = std::make_unique<CMapperEngine>(dir_.File("no-rewriting-rules.txt"), english_.get(), parser_.get());
  }

  void TearDown() override {
    engine_.reset();
    ResetSentenceSegment();
    MappingTest::TearDown();
  }

  std::unique_ptr<CMapLexicon> Compile(const std::string& name, const std::string& text) {
    const std::string raw = WriteText(name + ".mlr", text);
    return std::make_unique<CMapLexicon>(dir_.File("macros.txt"), raw, dir_.File(name + ".ext"), english_.get(), 1.0);
  }

  // Compiles the toy files and hands them to the engine.
  void Use(const std::string& rules, const std::string& lexicon, const std::string& insertRules = "",
           const std::string& domain = "") {
    rules_ = Compile("rules", rules);
    lexicon_ = Compile("lexicon", lexicon);
    insert_ = Compile("insert", insertRules);
    domain_ = domain.empty() ? nullptr : Compile("domain", domain);
    engine_->UseLexicons(rules_.get(), lexicon_.get(), domain_.get(), insert_.get());
  }

  // A node with values and children (the children's parent is set).
  static CFSNode* Node(const std::u16string& attribute, const std::vector<std::u16string>& values = {},
                       const std::vector<CFSNode*>& children = {}) {
    auto* node = new CFSNode(static_cast<int16_t>(Sym(attribute)), nullptr);
    for (const auto& value : values) node->Value.push_back(Sym(value));
    for (CFSNode* child : children) node->AddChild(child);
    return node;
  }

  // A PRED node as the English analysis shapes it: VALUE, GF, INDEX.
  static CFSNode* Pred(const std::u16string& word, const std::vector<std::u16string>& functions = {}, int index = -1) {
    CFSNode* pred = Node(u"PRED", {}, {Node(u"VALUE", {word})});
    if (!functions.empty()) pred->AddChild(Node(u"GF", functions));
    if (index >= 0) pred->AddChild(Node(u"INDEX", {FromUtf8(std::to_string(index))}));
    return pred;
  }

  // Maps a structure under ROOT with the engine's toy files; the targets of
  // its one group.
  std::vector<CFSHandle*> MapStructure(const std::vector<CFSNode*>& children) {
    CFSNode* root = Node(u"ROOT", {}, children);
    results_.push_back(std::make_unique<CParseResult>(new CFSHandle(root, 1.0), nullptr));
    std::vector<CParseResult*> list{results_.back().get()};
    groups_ = engine_->Map(list, rules_.get(), lexicon_.get(), domain_.get(), insert_.get());
    if (!groups_ || groups_->size() != 1) return {};
    return groups_->front()->Targets;
  }

  // The one target's root, or null with a failure.
  const CFSNode* OneTarget(const std::vector<CFSNode*>& children) {
    MapStructure(children);
    return OnlyTargetOf(groups_.get(), "the structure");
  }

  std::unique_ptr<CLFGParser> parser_;
  std::unique_ptr<CMapperEngine> engine_;
  std::unique_ptr<CMapLexicon> rules_;
  std::unique_ptr<CMapLexicon> lexicon_;
  std::unique_ptr<CMapLexicon> insert_;
  std::unique_ptr<CMapLexicon> domain_;
  std::vector<std::unique_ptr<CParseResult>> results_;
  std::unique_ptr<TargetGroupList> groups_;
};

}  // namespace walk_test
