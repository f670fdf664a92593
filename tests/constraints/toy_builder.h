// A toy grammar and lexicon (tests/data/constraints) and a builder that does
// for hand-made trees what the CFG parser's F-structure construction does
// for its chart: clone the registered items of each annotation, Instantiate
// them for a daughter with one F-structure or Evaluate them with links under
// choice contexts for a daughter with several, add PRED and INDEX to words,
// sort, resolve index paths and nogoods; at the top resolve the constraints,
// solve, restrict to one reading and narrow it.
//
// Trees are written "(S (NP (pron I)) (VP (v gave) ...))"; a daughter with
// alternative analyses is a brace group "{(VP ...) (VP ...)}". A word's
// F-structures are made once per sentence for each category and word, as a
// chart shares them between the analyses that use them.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "constraints/p_fstructure.h"

struct ToyDescription {
  std::vector<uint16_t> ids;
  int8_t choices = 0;
};

struct ToyRule {
  std::string mother;
  std::vector<std::string> daughters;
  std::vector<ToyDescription> annotations;
};

struct ToyEntry {
  std::string word;
  std::string category;
  std::string lemma;
  ToyDescription description;
};

class ToyGrammar {
 public:
  // Reads toy.grammar, toy.lexicon and toy.frames of the test data and
  // compiles every description into the item registry. False when a file is
  // missing or a description does not compile.
  bool Load();
  const ToyRule* FindRule(const std::string& mother, const std::vector<std::string>& daughters) const;
  std::vector<const ToyEntry*> Entries(const std::string& word, const std::string& category) const;
  // The frame table, for the solver's frame hook.
  const std::map<int, std::vector<std::string>>& Frames() const { return frames_; }

  static std::string DataFile(const std::string& name);

 private:
  bool LoadRules();
  bool LoadLexicon();
  bool LoadFrames();

  std::vector<ToyRule> rules_;
  std::vector<ToyEntry> entries_;
  std::map<int, std::vector<std::string>> frames_;
};

struct TreeNode {
  std::string category;
  std::string word;  // set on words only
  // One slot per daughter; a slot holds the alternative analyses.
  std::vector<std::vector<TreeNode>> daughters;
};

// Parses the tree notation; throws std::runtime_error on bad text.
TreeNode ParseTree(const std::string& text);

// What the analysis of one tree gives.
struct ToyAnalysis {
  P_FStructure* top = nullptr;
  P_FStructure* reading = nullptr;  // restricted and narrowed; null without one
  ContextList context;              // the context of the reading
};

class ToyBuilder {
 public:
  explicit ToyBuilder(const ToyGrammar& grammar) : grammar_(grammar) {}

  // Builds the F-structures of the tree bottom-up; the tree's top has one
  // analysis. Returns the top F-structure, not yet solved.
  P_FStructure* Build(const std::string& tree);
  // Builds, then resolves the top's constraints, solves it, restricts it
  // under the context and narrows the reading.
  ToyAnalysis Analyse(const std::string& tree, ContextList context = {});
  // The reading of an already solved top under the context.
  static ToyAnalysis Read(P_FStructure* top, ContextList context);

 private:
  std::vector<P_FStructure*> BuildNode(const TreeNode& node);
  std::vector<P_FStructure*> BuildWord(const TreeNode& node);
  P_FStructure* BuildWordEntry(const ToyEntry& entry);
  P_FStructure* BuildPhrase(const TreeNode& node, const std::vector<std::string>& categories,
                            const std::vector<std::vector<P_FStructure*>>& daughters);
  void ApplyAnnotation(P_FStructure* mother, const ToyDescription& annotation,
                       const std::vector<P_FStructure*>& alternatives);
  // Reserves n choices and returns the offset that shifts 1..n onto them.
  int8_t ReserveChoices(int n);

  const ToyGrammar& grammar_;
  int choicesUsed_ = 0;
  int wordsSeen_ = 0;
  std::map<std::string, std::vector<P_FStructure*>> words_;
};

// Places an item that an annotation produced into the mother as the parser
// does: constraining items anchored, whole-structure items at the root,
// defining items with AddItem.
void AddAnnotationResult(P_FStructure* mother, P_FSItem* result, P_FStructure* daughter);
// Sorts the items by attribute (stable), resolves index paths and nogoods.
void FinishFStructure(P_FStructure* fs);

// "[CASE nom, NUM sg, PRED he]": the attributes of the F-structure and of
// those linked at its root, by name; F-structure values printed the same
// way; several values joined by "|". INDEX is left out.
std::string PrintFStructure(const P_FStructure* fs);
