// A toy grammar and lexicon (tests/data/constraints) and a builder that does
// for hand-made trees what the CFG parser's F-structure construction does
// for its chart: clone the registered items of each annotation, Instantiate
// them for a daughter with one F-structure or Evaluate them with links under
// choice contexts for a daughter with several, add PRED and INDEX to words,
// sort, resolve index paths and nogoods.
//
// Trees are written "(S (NP (pron I)) (VP (v gave) ...))"; a daughter with
// alternative analyses is a brace group "{(VP ...) (VP ...)}". A word's
// F-structures are made once per sentence, as a chart shares them between
// the analyses that use them.
#pragma once

#include <string>

#include "constraints/p_fstructure.h"

// Reads toy.grammar and toy.lexicon and compiles every description into the
// item registry. False when a file is missing or a description does not
// compile.
bool LoadToyGrammar();
// The top F-structure of the tree, built bottom-up and not yet solved;
// throws on a tree that does not fit the grammar.
P_FStructure* BuildToyTree(const std::string& tree);

// "[CASE nom, NUM sg, PRED he]": the attributes of the F-structure and of
// those linked at its root, by name; F-structure values printed the same
// way; several values joined by "|". INDEX is left out.
std::string PrintFStructure(const P_FStructure* fs);
