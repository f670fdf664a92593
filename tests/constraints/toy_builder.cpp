#include "toy_builder.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "constraints/p_fs_compiler.h"
#include "constraints/p_symbol_table.h"

namespace {

std::string Trim(const std::string& text) {
  const size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

// The meaningful lines of a data file: comments and blank lines dropped.
std::vector<std::string> DataLines(const std::string& name) {
  std::ifstream in(ToyGrammar::DataFile(name));
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  }
  return lines;
}

bool Compile(const std::string& text, ToyDescription& description) {
  description.ids = P_FSCompiler::CompileDescription(text, description.choices);
  return !P_FSCompiler::LastDescriptionFailed();
}

// --- Tree notation ---

class TreeReader {
 public:
  explicit TreeReader(const std::string& text) : text_(text) {}

  TreeNode Node() {
    Expect('(');
    TreeNode node;
    node.category = Word();
    SkipBlanks();
    if (Peek() != '(' && Peek() != '{') {
      node.word = Word();
      Expect(')');
      return node;
    }
    while (Peek() != ')') node.daughters.push_back(Slot());
    Expect(')');
    return node;
  }

  void End() {
    SkipBlanks();
    if (pos_ != text_.size()) Fail("text after the tree");
  }

 private:
  std::vector<TreeNode> Slot() {
    if (Peek() != '{') return {Node()};
    Expect('{');
    std::vector<TreeNode> alternatives;
    while (Peek() != '}') alternatives.push_back(Node());
    Expect('}');
    return alternatives;
  }

  std::string Word() {
    SkipBlanks();
    const size_t start = pos_;
    while (pos_ < text_.size() && std::string(" (){}").find(text_[pos_]) == std::string::npos) ++pos_;
    if (pos_ == start) Fail("a name");
    return text_.substr(start, pos_ - start);
  }

  char Peek() {
    SkipBlanks();
    if (pos_ >= text_.size()) Fail("more text");
    return text_[pos_];
  }

  void Expect(char c) {
    if (Peek() != c) Fail(std::string("'") + c + "'");
    ++pos_;
  }

  void SkipBlanks() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  }

  [[noreturn]] void Fail(const std::string& wanted) {
    throw std::runtime_error("tree \"" + text_ + "\": expected " + wanted + " at " + std::to_string(pos_));
  }

  std::string text_;
  size_t pos_ = 0;
};

std::string Name(uint16_t id) { return P_SymbolTable::GetString(static_cast<int16_t>(id)); }

void CollectAttributes(const P_FStructure* fs, std::map<std::string, std::vector<std::string>>& attributes);

std::string ValueText(const P_ConVal* value) {
  if (const P_FStructure* bound = value->GetBoundFStructure()) return PrintFStructure(bound);
  return value->ToString();
}

void CollectAttributes(const P_FStructure* fs, std::map<std::string, std::vector<std::string>>& attributes) {
  for (const P_FSItem* item : fs->items) {
    if (item->attribute == SymbolTableIndexId) continue;
    const ItemValues values(item);
    for (const P_ConVal* value : values) {
      // A whole-structure link of an F-structure-valued attribute stands for
      // the F-structure it holds.
      attributes[Name(item->attribute)].push_back(ValueText(value));
    }
  }
  for (const P_ConVal* link : fs->root->values) {
    if (const P_FStructure* linked = link->GetBoundFStructure()) CollectAttributes(linked, attributes);
  }
}

}  // namespace

// --- ToyGrammar ---

std::string ToyGrammar::DataFile(const std::string& name) {
  const char* root = std::getenv("LFG_SOURCE_DIR");
  return std::string(root ? root : ".") + "/tests/data/constraints/" + name;
}

bool ToyGrammar::Load() { return LoadRules() && LoadLexicon() && LoadFrames(); }

bool ToyGrammar::LoadRules() {
  const std::vector<std::string> lines = DataLines("toy.grammar");
  for (const std::string& line : lines) {
    ToyRule rule;
    const size_t arrow = line.find("->");
    if (arrow == std::string::npos) return false;
    rule.mother = Trim(line.substr(0, arrow));
    size_t pos = arrow + 2;
    while (pos < line.size()) {
      const size_t open = line.find('{', pos);
      const size_t close = line.find('}', open);
      if (open == std::string::npos || close == std::string::npos) break;
      rule.daughters.push_back(Trim(line.substr(pos, open - pos)));
      ToyDescription annotation;
      if (!Compile(line.substr(open + 1, close - open - 1), annotation)) return false;
      rule.annotations.push_back(annotation);
      pos = close + 1;
    }
    rules_.push_back(rule);
  }
  return !rules_.empty();
}

bool ToyGrammar::LoadLexicon() {
  for (const std::string& line : DataLines("toy.lexicon")) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) return false;
    std::istringstream head(line.substr(0, colon));
    ToyEntry entry;
    head >> entry.word >> entry.category >> entry.lemma;
    if (!Compile(line.substr(colon + 1), entry.description)) return false;
    // Lemmas are permanent names, as lexicon words are.
    P_SymbolTable::Intern(entry.lemma);
    entries_.push_back(entry);
  }
  return !entries_.empty();
}

bool ToyGrammar::LoadFrames() {
  for (const std::string& line : DataLines("toy.frames")) {
    std::istringstream in(line);
    int number = 0;
    in >> number;
    std::vector<std::string> functions;
    for (std::string name; in >> name;) functions.push_back(name);
    frames_[number] = functions;
  }
  return !frames_.empty();
}

const ToyRule* ToyGrammar::FindRule(const std::string& mother, const std::vector<std::string>& daughters) const {
  for (const ToyRule& rule : rules_) {
    if (rule.mother == mother && rule.daughters == daughters) return &rule;
  }
  return nullptr;
}

std::vector<const ToyEntry*> ToyGrammar::Entries(const std::string& word, const std::string& category) const {
  std::vector<const ToyEntry*> found;
  for (const ToyEntry& entry : entries_) {
    if (entry.word == word && entry.category == category) found.push_back(&entry);
  }
  return found;
}

TreeNode ParseTree(const std::string& text) {
  TreeReader reader(text);
  TreeNode node = reader.Node();
  reader.End();
  return node;
}

// --- ToyBuilder ---

P_FStructure* ToyBuilder::Build(const std::string& tree) {
  const std::vector<P_FStructure*> tops = BuildNode(ParseTree(tree));
  if (tops.size() != 1) throw std::runtime_error("the top of a tree has exactly one analysis");
  return tops.front();
}

ToyAnalysis ToyBuilder::Analyse(const std::string& tree, ContextList context) {
  P_FStructure* top = Build(tree);
  top->ResolveNogoodsRecursive(top, CFeatureSet(kFeatureSetWords));
  top->Solve();
  return Read(top, std::move(context));
}

ToyAnalysis ToyBuilder::Read(P_FStructure* top, ContextList context) {
  ToyAnalysis analysis;
  analysis.top = top;
  analysis.reading = top->RestrictToContextResolved(context);
  if (analysis.reading) analysis.reading->NarrowValueContexts(context);
  analysis.context = context;
  return analysis;
}

std::vector<P_FStructure*> ToyBuilder::BuildNode(const TreeNode& node) {
  if (!node.word.empty()) return BuildWord(node);
  std::vector<std::string> categories;
  std::vector<std::vector<P_FStructure*>> daughters;
  for (const std::vector<TreeNode>& slot : node.daughters) {
    categories.push_back(slot.front().category);
    std::vector<P_FStructure*> alternatives;
    for (const TreeNode& alternative : slot) {
      for (P_FStructure* fs : BuildNode(alternative)) alternatives.push_back(fs);
    }
    daughters.push_back(alternatives);
  }
  return {BuildPhrase(node, categories, daughters)};
}

std::vector<P_FStructure*> ToyBuilder::BuildWord(const TreeNode& node) {
  const std::string key = node.category + " " + node.word;
  const auto known = words_.find(key);
  if (known != words_.end()) return known->second;
  ++wordsSeen_;
  std::vector<P_FStructure*> made;
  for (const ToyEntry* entry : grammar_.Entries(node.word, node.category)) made.push_back(BuildWordEntry(*entry));
  if (made.empty()) throw std::runtime_error("no lexicon entry for " + key);
  words_[key] = made;
  return made;
}

P_FStructure* ToyBuilder::BuildWordEntry(const ToyEntry& entry) {
  auto* fs = new P_FStructure();
  const int8_t offset = ReserveChoices(entry.description.choices);
  for (uint16_t id : entry.description.ids) {
    P_FSItem* clone = P_FSCompiler::CloneRegisteredItem(static_cast<int16_t>(id));
    AddAnnotationResult(fs, clone->Instantiate(offset, fs, nullptr), nullptr);
    delete clone;
  }
  fs->AddItem(new P_FSItemSimple(SymbolTablePredId, P_SymbolTable::Intern(entry.lemma)));
  fs->AddItem(new P_FSItemSimple(SymbolTableIndexId, P_SymbolTable::Intern(std::to_string(wordsSeen_))));
  FinishFStructure(fs);
  return fs;
}

P_FStructure* ToyBuilder::BuildPhrase(const TreeNode& node, const std::vector<std::string>& categories,
                                      const std::vector<std::vector<P_FStructure*>>& daughters) {
  const ToyRule* rule = grammar_.FindRule(node.category, categories);
  if (!rule) throw std::runtime_error("no rule for " + node.category);
  auto* mother = new P_FStructure();
  for (size_t i = 0; i < daughters.size(); ++i) ApplyAnnotation(mother, rule->annotations[i], daughters[i]);
  FinishFStructure(mother);
  return mother;
}

void ToyBuilder::ApplyAnnotation(P_FStructure* mother, const ToyDescription& annotation,
                                 const std::vector<P_FStructure*>& alternatives) {
  const int8_t offset = ReserveChoices(annotation.choices);
  if (alternatives.size() == 1) {
    for (uint16_t id : annotation.ids) {
      P_FSItem* clone = P_FSCompiler::CloneRegisteredItem(static_cast<int16_t>(id));
      AddAnnotationResult(mother, clone->Instantiate(offset, mother, alternatives.front()), alternatives.front());
      delete clone;
    }
    return;
  }
  // One link per alternative, each under its own choice context.
  const int n = static_cast<int>(alternatives.size());
  const int8_t linkOffset = ReserveChoices(n - 1);
  std::vector<P_ConVal*> links;
  std::list<ContextList> contexts = P_FSCompiler::MakeAlternativeContexts(n);
  for (P_FStructure* alternative : alternatives) {
    auto* link = new P_ConValFSLink(alternative, 0);
    link->context = contexts.front();
    contexts.pop_front();
    link->ShiftContext(linkOffset);
    link->RebuildContextBits();
    links.push_back(link);
  }
  for (uint16_t id : annotation.ids) {
    P_FSItem* clone = P_FSCompiler::CloneRegisteredItem(static_cast<int16_t>(id));
    AddAnnotationResult(mother, clone->Evaluate(offset, mother, links), nullptr);
    delete clone;
  }
  for (P_ConVal* link : links) delete link;
}

int8_t ToyBuilder::ReserveChoices(int n) {
  const int offset = choicesUsed_;
  choicesUsed_ += n;
  if (choicesUsed_ > 127) throw std::runtime_error("more than 127 choices");
  return static_cast<int8_t>(offset);
}

void AddAnnotationResult(P_FStructure* mother, P_FSItem* result, P_FStructure* daughter) {
  if (!result) return;
  if (result->AsConstrainingItem()) {
    mother->MergeIntoExistingItem(new P_FSItemComplexAnchored(result, mother, daughter));
    delete result;
    return;
  }
  if (result->AsEmptyAttributeItem()) {
    mother->AddValuesToRoot(result);
    return;
  }
  // Also an item of the mother that a path expansion handed back.
  mother->AddItem(result);
}

void FinishFStructure(P_FStructure* fs) {
  const auto byAttribute = [](const P_FSItem* a, const P_FSItem* b) { return *a < *b; };
  fs->items.sort(byAttribute);  // a stable merge sort
  fs->constrainingItems.sort(byAttribute);
  fs->ResolveIndexPaths();
  fs->ResolveNogoods();
}

std::string PrintFStructure(const P_FStructure* fs) {
  std::map<std::string, std::vector<std::string>> attributes;
  CollectAttributes(fs, attributes);
  std::string text = "[";
  for (const auto& [name, values] : attributes) {
    if (text.size() > 1) text += ", ";
    text += name + " ";
    for (size_t i = 0; i < values.size(); ++i) text += (i ? "|" : "") + values[i];
  }
  return text + "]";
}
