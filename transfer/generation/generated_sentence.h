// One sentence of the generator with what it left out: the nodes of the
// target structure that carry a PRED and that the sentence does not say, and
// the negations (NEG +) that no word of it says.
// A sentence read off a finished S that used the whole structure leaves
// nothing out; the fallback sentences of a structure that no S used whole
// leave out the parts they did not reach.
#pragma once

#include <vector>

#include "core/wide_string.h"

class CFSNode;

struct CGeneratedSentence {
  WString text;
  // Nodes of the sentence's finished structure (per-sentence nodes, freed
  // with the generator's structures): the PRED nodes in structure order,
  // then the NEG features.
  std::vector<const CFSNode*> leftOut;
};
