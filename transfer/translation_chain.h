// The road of one English sentence to its Urdu sentences, with every engine
// built from the data root's configuration: tokenise, parse, map into Urdu
// F-structures for a domain, complete them (frame features of the Urdu
// lexicon, pronoun features, parent links and order), generate, and free
// what the sentence made. The tests and the end-to-end checks use it; the
// program's own pipeline (with segmentation, timings, messages and the
// spelling of untranslated words) is the front end's.
//
// Everything is per process: the engines share the program-wide symbol
// table, registries and configuration, so only one chain lives at a time.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/wide_string.h"

class CCfgParser;
class CDiscourseTable;
class CFSNode;
class CELexicon;
class CFStructureMapper;
class CGrammar;
class CLexicon;
class CLFGParser;
class CPreProcessor;
class CUrduSentenceGenerator;
class CUrduWordGenerator;
class P_Grammar;

// What one sentence gave.
struct CChainResult {
  bool parsed = false;    // the English analysis succeeded
  bool mapped = false;    // the mapper gave at least one Urdu structure
  size_t targets = 0;     // Urdu structures handed to the generator
  std::vector<WString> sentences;  // the generated sentences, sorted, trimmed
  std::vector<WString> targetTexts;  // each Urdu structure as one line of text
  // PRED words of the Urdu structures that the mapper spelt in Urdu letters
  // (English words found in no mapping lexicon): PRED values without the
  // apostrophes of the mapping lexicon that are not numbers in digits.
  std::vector<WString> rewrittenWords;
  std::vector<WString> rootPredicates;  // the PRED word of each Urdu structure
};

// A structure as one line: "ATTR {values} [children]", set members included.
WString DescribeStructure(const CFSNode* node);

class CTranslationChain {
 public:
  // Builds the engines from "EConfig.inf" of the current folder, which must
  // be a data root (its compiled files are written there).
  CTranslationChain();
  ~CTranslationChain();
  CTranslationChain(const CTranslationChain&) = delete;
  CTranslationChain& operator=(const CTranslationChain&) = delete;

  // Empty when every engine was built; otherwise what failed.
  const std::string& Failure() const { return failure_; }

  // The Urdu sentences of the English sentence, the whole text being one
  // segment, with the mapping lexicon of the domain ("None", "News", ...).
  CChainResult Translate(const WString& sentence, const std::string& domain);
  // Frees what a segment made: the generator's chart, the production
  // copies, the LFG chart, the F-structure handles and nodes, and the
  // constraint system's items of the sentence.
  void ResetAfterSentence();

  CUrduSentenceGenerator& Generator() { return *generator_; }

 private:
  bool BuildEnglishSide();
  bool BuildTransferSide();

  std::string failure_;
  std::unique_ptr<CLexicon> englishLexicon_;
  std::unique_ptr<CLFGParser> lfgParser_;
  std::unique_ptr<P_Grammar> englishGrammar_;
  std::unique_ptr<CELexicon> cfgLexicon_;
  std::unique_ptr<CPreProcessor> preProcessor_;
  std::unique_ptr<CCfgParser> cfgParser_;
  std::unique_ptr<CFStructureMapper> mapper_;
  std::unique_ptr<CLexicon> urduLexicon_;
  std::unique_ptr<CUrduWordGenerator> wordGenerator_;
  std::unique_ptr<CGrammar> urduGrammar_;
  std::unique_ptr<CUrduSentenceGenerator> generator_;
  std::unique_ptr<CDiscourseTable> discourseTable_;
};

// A blank-trimmed copy of the text.
WString TrimBlanks(const WString& text);
