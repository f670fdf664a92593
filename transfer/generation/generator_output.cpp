// What the chart gives back: the words of a finished edge, the test that a
// structure was used whole, and the cleaning of the sentence list.
#include <algorithm>
#include <cctype>
#include <memory>
#include <set>

#include "analysis/lfg/chart_edge.h"
#include "core/equation.h"
#include "core/fs_node.h"
#include "core/production.h"
#include "core/symbol_table.h"
#include "resources/lfg/lexical_entry.h"
#include "resources/lfg/lexicon.h"
#include "transfer/generation/sentence_words.h"
#include "transfer/generation/urdu_sentence_generator.h"

namespace {

// The PRED of an understood subject or object (imperatives, infinitives,
// relative clauses): Urdu leaves such a pronoun unsaid.
const WString kUnderstoodPronoun = u"pro";

// The first value of the node's PRED VALUE; kNoSymbol without one.
SymbolId PredWordOf(const CFSNode& node) {
  const CFSNode* pred = node.FindAttribute(PredId);
  const CFSNode* value = pred != nullptr ? pred->FindAttribute(ValueId) : nullptr;
  return value != nullptr && !value->Value.empty() ? value->Value.front() : kNoSymbol;
}

// The understood pronoun, as the mapping writes it (quoted) or bare.
bool IsUnderstoodPronoun(SymbolId word) {
  if (word == kNoSymbol) return false;
  const WString name = GetSymbolName(word);
  return name == kUnderstoodPronoun || name == u"'" + kUnderstoodPronoun + u"'";
}

// The negation feature of a node, "NEG" with the value "+"; null without one.
const CFSNode* NegationOf(const CFSNode& node) {
  const SymbolId negation = GetSymbolId(u"NEG", false);
  const SymbolId plus = GetSymbolId(u"+", false);
  if (negation == kNoSymbol || plus == kNoSymbol) return nullptr;
  const CFSNode* feature = node.FindAttribute(negation);
  if (feature == nullptr || std::find(feature->Value.begin(), feature->Value.end(), plus) == feature->Value.end()) {
    return nullptr;
  }
  return feature;
}

// Whether the word a terminal wrote says the negation of its node: its
// lexicon entry of the terminal's category sets NEG. The entries of a
// headless item are filed under the item's name, as the scanner finds them.
bool SaysNegation(const CLexicon* lexicon, const CProductionSymbol& terminal, bool headless) {
  const SymbolId negation = GetSymbolId(u"NEG", false);
  if (lexicon == nullptr || negation == kNoSymbol || terminal.word.empty()) return false;
  bool found = false;
  const std::unique_ptr<LexicalEntryList> entries =
      lexicon->LookupWordWithCategory(headless ? terminal.name : terminal.word, terminal.name, &found);
  if (!entries) return false;
  for (const CLexicalEntry* entry : *entries) {
    if (entry == nullptr || entry->word != terminal.word) continue;

    for (const CEquation* equation : entry->equations) {
      if (equation != nullptr && equation->left != nullptr && !equation->left->path.empty() &&
          equation->left->path.back() == negation) {
        return true;
      }
    }
  }
  return false;
}

// The NEG features of the node and the nodes below it, in structure order.
void CollectNegations(const CFSNode* node, std::vector<const CFSNode*>& found) {
  if (node == nullptr) return;
  if (const CFSNode* negation = NegationOf(*node)) found.push_back(negation);
  for (const CFSNode* child : node->ChildList) {
    if (child != nullptr && !child->ChildList.empty()) CollectNegations(child, found);
  }
}

// The ids of the nodes whose negation a word of the edge's tree says.
void CollectSaidNegations(const CLexicon* lexicon, const std::set<SymbolId>& headless, const CChartEdge* edge,
                          std::set<uint32_t>& said) {
  if (edge == nullptr || edge->production == nullptr) return;
  for (const CProductionSymbol* daughter : edge->production->daughters) {
    if (daughter->kind == 1) {
      if (daughter->generatorNode != nullptr && SaysNegation(lexicon, *daughter, headless.count(daughter->id) != 0)) {
        said.insert(daughter->generatorNode->NodeId);
      }
    } else if (daughter->name != u"." && daughter->fillingEdge != nullptr) {
      CollectSaidNegations(lexicon, headless, daughter->fillingEdge, said);
    }
  }
}

// The node and every node below it that has a PRED, in structure order.
void CollectPredNodes(const CFSNode* node, std::vector<const CFSNode*>& found) {
  if (node == nullptr) return;
  if (node->FindAttribute(PredId) != nullptr) found.push_back(node);
  for (const CFSNode* child : node->ChildList) {
    if (child != nullptr && child->Attribute != static_cast<int16_t>(PredId)) CollectPredNodes(child, found);
  }
}

}  // namespace

void CUrduSentenceGenerator::CollectWords(const CChartEdge* edge, WString& text) const {
  std::vector<SentenceWord> words;
  CollectTerminals(edge, words);
  text += JoinSentenceWords(words);
}

void CUrduSentenceGenerator::CollectTerminals(const CChartEdge* edge, std::vector<SentenceWord>& words) const {
  if (edge == nullptr || edge->production == nullptr) return;
  for (const CProductionSymbol* daughter : edge->production->daughters) {
    if (daughter->kind == 1) {
      if (daughter->word == kUnderstoodPronoun) continue;
      words.push_back(SentenceWord{daughter->name, daughter->word});
    } else if (daughter->name != u"." && daughter->fillingEdge != nullptr) {
      CollectTerminals(daughter->fillingEdge, words);
    }
  }
}

bool CUrduSentenceGenerator::AllFeaturesConsumed(CFSNode* node) {
  if (node == nullptr) return false;
  if (node->ChildList.empty()) return true;
  if (node->GenerationMark == 0 && node->Mark == 0) {
    // An unused structure is fine only under an attribute that need not be
    // generated.
    if (specialUnmarked_.count(static_cast<SymbolId>(node->Attribute)) == 0) return false;
    node->GenerationMark = 1;
    return true;
  }
  for (CFSNode* child : node->ChildList) {
    if (child != nullptr && !AllFeaturesConsumed(child)) return false;
  }
  return true;
}

// A node is said by the word a terminal writes for it, or by a rule that
// expresses it without a head word of its own (the goal of a verb of motion
// in the oblique case, without a postposition): the grammar writer chose
// that form, so nothing of the node is lost.
void CUrduSentenceGenerator::CollectSaidNodes(const CChartEdge* edge, std::set<uint32_t>& said) const {
  if (edge == nullptr || edge->production == nullptr) return;
  const CFSNode* mother = edge->fStructure;
  bool hasHead = false;
  bool hasDaughter = false;
  for (const CProductionSymbol* daughter : edge->production->daughters) {
    if (daughter->kind == 1) {
      hasDaughter = true;
      if (daughter->generatorNode != nullptr && mother != nullptr &&
          daughter->generatorNode->NodeId == mother->NodeId) {
        hasHead = true;
      }
      if (daughter->generatorNode != nullptr && headlessPredicates_.count(daughter->id) == 0) {
        said.insert(daughter->generatorNode->NodeId);
      }
    } else if (daughter->name != u"." && daughter->fillingEdge != nullptr) {
      hasDaughter = true;
      const CFSNode* filled = daughter->fillingEdge->fStructure;
      if (filled != nullptr && mother != nullptr && filled->NodeId == mother->NodeId) hasHead = true;
      CollectSaidNodes(daughter->fillingEdge, said);
    }
  }
  if (mother != nullptr && hasDaughter && !hasHead) said.insert(mother->NodeId);
}

std::vector<const CFSNode*> CUrduSentenceGenerator::LeftOutNodes(const CChartEdge* finished) const {
  std::set<uint32_t> said;
  CollectSaidNodes(finished, said);
  std::vector<const CFSNode*> withPred;
  CollectPredNodes(finished->fStructure, withPred);
  // The words said: a node whose PRED has one of them stands for an
  // argument said once for several functions (a controlled subject).
  std::set<SymbolId> saidWords;
  for (const CFSNode* node : withPred) {
    if (said.count(node->NodeId) != 0) saidWords.insert(PredWordOf(*node));
  }
  std::erase_if(withPred, [&](const CFSNode* node) {
    const SymbolId word = PredWordOf(*node);
    return said.count(node->NodeId) != 0 || saidWords.count(word) != 0 || IsUnderstoodPronoun(word);
  });
  // A negated node whose negation no word says (نہیں, نہ): the sentence
  // says the opposite of the structure. The NEG feature itself is left out.
  std::vector<const CFSNode*> negations;
  CollectNegations(finished->fStructure, negations);
  if (!negations.empty()) {
    std::set<uint32_t> saidNegations;
    CollectSaidNegations(urduLexicon_, headlessPredicates_, finished, saidNegations);
    for (const CFSNode* negation : negations) {
      if (negation->Parent == nullptr || saidNegations.count(negation->Parent->NodeId) == 0) {
        withPred.push_back(negation);
      }
    }
  }
  return withPred;
}

void CUrduSentenceGenerator::PostProcessSentences(std::vector<CGeneratedSentence>& sentences) const {
  if (sentences.empty()) return;
  // Of equal texts the one that leaves out least comes first and is kept.
  std::stable_sort(sentences.begin(), sentences.end(), [](const CGeneratedSentence& a, const CGeneratedSentence& b) {
    if (a.text != b.text) return a.text < b.text;
    return a.leftOut.size() < b.leftOut.size();
  });
  std::vector<CGeneratedSentence> cleaned;
  for (size_t i = 0; i < sentences.size(); ++i) {
    if (i > 0 && sentences[i].text == sentences[i - 1].text) continue;
    // A lone alif between two words is dropped with one of its blanks.
    const WString withoutAlif = ReplaceAllIgnoreCase(sentences[i].text, u" \u0627 ", u" ");
    cleaned.push_back(
        CGeneratedSentence{AttachMarks(RemoveCharacter(withoutAlif, u'\'')), std::move(sentences[i].leftOut)});
  }
  sentences = std::move(cleaned);
}

void CUrduSentenceGenerator::PostProcessSentences(WStringList& sentences) const {
  std::vector<CGeneratedSentence> generated;
  for (WString& text : sentences) generated.push_back(CGeneratedSentence{std::move(text), {}});
  PostProcessSentences(generated);
  sentences.clear();
  for (CGeneratedSentence& sentence : generated) sentences.push_back(std::move(sentence.text));
}

WString CUrduSentenceGenerator::AttachMarks(const WString& text) {
  // The Urdu full stop, question mark and comma follow their word without a
  // blank, as Urdu is written; the generator puts a blank before every word.
  auto isMark = [](WChar unit) { return unit == u'\u06D4' || unit == u'\u061F' || unit == u'\u060C'; };
  WString result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u' ' && i + 1 < text.size() && isMark(text[i + 1])) continue;
    result += text[i];
  }
  return result;
}

WString CUrduSentenceGenerator::RemoveCharacter(const WString& text, WChar unit) {
  WString result;
  for (WChar c : text) {
    if (c != unit) result += c;
  }
  return result;
}

namespace {

// tolower of the unit; units outside ASCII stay as they are.
WChar LowerUnit(WChar unit) { return unit < 0x80 ? static_cast<WChar>(std::tolower(unit)) : unit; }

}  // namespace

WString CUrduSentenceGenerator::ReplaceAllIgnoreCase(const WString& text, const WString& pattern,
                                                     const WString& replacement) {
  if (pattern.empty()) return text;
  WString result;
  size_t position = 0;
  while (position < text.size()) {
    size_t matched = 0;
    while (matched < pattern.size() && position + matched < text.size() &&
           LowerUnit(text[position + matched]) == LowerUnit(pattern[matched])) {
      ++matched;
    }
    // A match that runs into the end of the text counts as a match.
    if (matched == pattern.size() || position + matched == text.size()) {
      result += replacement;
      position += matched;
    } else {
      result += text[position];
      ++position;
    }
  }
  return result;
}
