// The word forms of a word that the Urdu lexicon does not hold: the node's
// features as equations, handed to the word generator.
#include <algorithm>
#include <memory>

#include "core/fs_node.h"
#include "resources/lfg/lexical_entry.h"
#include "transfer/generation/urdu_sentence_generator.h"
#include "transfer/morphology/urdu_word_generator.h"

WordForms CUrduSentenceGenerator::InflectWord(CFSNode* node, const WString& category, const WString& word) {
  WordForms forms;
  if (node == nullptr) return forms;
  // One feature per atomic child with values: ^ATTRIBUTE = values.
  for (const CFSNode* child : node->ChildList) {
    if (child == nullptr || !child->ChildList.empty() || child->Value.empty()) continue;
    auto feature = std::make_unique<CEquation>();
    feature->op = u'=';
    feature->left = new CEquationOperand();
    feature->left->kind = '^';
    feature->left->path.push_back(static_cast<SymbolId>(child->Attribute));
    feature->right = new CEquationOperand();
    feature->right->kind = 'v';
    feature->right->path = child->Value;
    forms.AddFeature(std::move(feature));
  }
  if (wordGenerator_ == nullptr) return forms;
  forms.TakeEntries(wordGenerator_->GenerateWordForms(word, category, forms.FeatureList()));
  // A lemma of several words joins them with '_' ('جواب_دینا'); its
  // written forms keep the blank, as the lexicon's words do.
  for (CLexicalEntry* entry : forms.Entries()) std::replace(entry->word.begin(), entry->word.end(), u'_', u' ');
  return forms;
}
