// A data root for generator tests: the small Urdu test grammar and lexicon
// of tests/data/generation compiled in a temporary folder, and a builder of
// target F-structures from a compact text.
//
// Structure text: "[PRED='parh'/SUBJ,OBJ TENSE=pres SUBJ[PRED='larka' NUM=sg]
// ADJUNCT{[PRED='aaj'] [PRED='kal']}]". ATTR=v1,v2 is an atomic feature;
// PRED='x'/F1,F2 a PRED with VALUE 'x' and GF F1 F2; ATTR[...] a
// sub-structure; ATTR{[...] [...]} a set (SET with ELEMENT1, ELEMENT2 ...).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/lfg/chart_edge.h"
#include "analysis/lfg/lfg_parser.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/production.h"
#include "core/symbol_table.h"
#include "resources/lfg/grammar.h"
#include "resources/lfg/lexicon.h"
#include "support/test_support.h"
#include "transfer/generation/urdu_sentence_generator.h"

namespace generation_test {

inline SymbolId Sym(const std::u16string& name) { return GetSymbolId(name, true); }

// Builds a structure from the text above; the root has attribute ROOT.
CFSNode* BuildStructure(const std::string& text);
// The node at the dotted path ("SUBJ.PRED.VALUE"), marked nodes included.
CFSNode* At(CFSNode* root, const std::string& dottedPath);
// "a b c" of the values' names.
std::string ValuesOf(const CFSNode* node);
// The Urdu-free text of a sentence list, "s1|s2".
std::string Joined(const WStringList& sentences);

}  // namespace generation_test

class GenerationTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The generator over the test grammar and lexicon of tests/data/generation
  // (the grammar text may be replaced before the first call).
  CUrduSentenceGenerator& Generator();
  // Generates from the structure text and returns the sentences joined.
  std::string GenerateFrom(const std::string& structure);
  // Frees what one sentence made, as the pipeline's reset does.
  void ResetSentence();

  std::u16string rulesText;
  std::u16string macrosText;  // empty: the test macros
  std::u16string specialItems = u"NUM,GEND,CASE,NOUN";
  std::u16string headlessItems = u"neg,q";
  TempDir dir;
  std::unique_ptr<CLexicon> lexicon;
  std::unique_ptr<CGrammar> grammar;
  std::unique_ptr<CLFGParser> parser;
  std::unique_ptr<CUrduSentenceGenerator> generator;
  int edgesAtStart = 0;
  int productionsAtStart = 0;
};
