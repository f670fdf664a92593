#include "toy_builder.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "constraints_fixture.h"

namespace {

struct ToyDescription {
  std::vector<uint16_t> ids;
  int8_t choices = 0;  // a description counts its choices in a byte
  std::string lemma;   // of lexicon entries
};
using Analyses = std::vector<P_FStructure*>;

std::map<std::vector<std::string>, std::vector<ToyDescription>> rules;  // {S, NP, VP}: one per daughter
std::map<std::vector<std::string>, ToyDescription> lexicon;             // {category, word}
// Per sentence.
std::vector<std::string> tokens;
size_t pos = 0;
int choicesUsed = 0;
std::map<std::vector<std::string>, Analyses> words;

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), {}};
}

// The lines of a data file split at ':', comments and blank lines dropped.
std::vector<std::vector<std::string>> DataLines(const std::string& name) {
  const char* root = std::getenv("LFG_SOURCE_DIR");
  std::ifstream in(std::string(root ? root : ".") + "/tests/data/constraints/" + name);
  std::vector<std::vector<std::string>> lines;
  for (std::string line; std::getline(in, line);) {
    if (Words(line).empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    lines.emplace_back();
    for (std::string field; std::getline(fields, field, ':');) lines.back().push_back(field);
  }
  return lines;
}

bool Compile(const std::string& text, ToyDescription& description) {
  description.ids = P_FSCompiler::CompileDescription(text, description.choices);
  return !P_FSCompiler::LastDescriptionFailed();
}

// Places an item that an annotation produced into the mother as the parser
// does: constraining items anchored, whole-structure items at the root,
// defining items (also an item of the mother that a path expansion handed
// back) with AddItem.
void AddResult(P_FStructure* mother, P_FSItem* result, P_FStructure* daughter) {
  if (!result) return;
  if (result->AsConstrainingItem()) {
    mother->MergeIntoExistingItem(new P_FSItemComplexAnchored(result, mother, daughter));
    delete result;
  } else if (result->AsEmptyAttributeItem()) {
    mother->AddValuesToRoot(result);
  } else {
    mother->AddItem(result);
  }
}

// Sorts the items by attribute (a stable merge sort), resolves index paths
// and nogoods.
P_FStructure* Finish(P_FStructure* fs) {
  const auto byAttribute = [](const P_FSItem* a, const P_FSItem* b) { return *a < *b; };
  fs->items.sort(byAttribute);
  fs->constrainingItems.sort(byAttribute);
  fs->ResolveIndexPaths();
  fs->ResolveNogoods();
  return fs;
}

void CollectAttributes(const P_FStructure* fs, std::map<std::string, std::vector<std::string>>& attributes) {
  for (const P_FSItem* item : fs->items) {
    if (item->attribute == SymbolTableIndexId) continue;
    const ItemValues values(item);
    for (const P_ConVal* value : values) {
      const P_FStructure* bound = value->GetBoundFStructure();
      attributes[ctest::Name(item->attribute)].push_back(bound ? PrintFStructure(bound) : value->ToString());
    }
  }
  for (const P_ConVal* link : fs->root->values)
    if (const P_FStructure* linked = link->GetBoundFStructure()) CollectAttributes(linked, attributes);
}

// Applies the annotation with each daughter ({nullptr} for a word's own
// description), reserving its choices.
void Apply(P_FStructure* mother, const ToyDescription& annotation, const Analyses& daughters) {
  // The annotation's choices come first, then one for each further daughter.
  const int offset = choicesUsed;
  choicesUsed += annotation.choices + static_cast<int>(daughters.size()) - 1;
  if (choicesUsed > 127) throw std::runtime_error("more than 127 choices");
  // Several alternatives: one link each, under its own choice context.
  std::vector<P_ConVal*> links;
  if (daughters.size() > 1) {
    std::list<ContextList> contexts = P_FSCompiler::MakeAlternativeContexts(static_cast<int>(daughters.size()));
    for (P_FStructure* daughter : daughters) {
      P_ConVal* link = links.emplace_back(new P_ConValFSLink(daughter, 0));
      link->context = contexts.front();
      contexts.pop_front();
      link->ShiftContext(static_cast<ChoiceLiteral>(offset + annotation.choices));
      link->RebuildContextBits();
    }
  }
  P_FStructure* daughter = links.empty() ? daughters.front() : nullptr;
  const auto shift = static_cast<ChoiceLiteral>(offset);
  for (uint16_t id : annotation.ids) {
    P_FSItem* clone = P_FSCompiler::CloneRegisteredItem(static_cast<int16_t>(id));
    AddResult(mother,
              links.empty() ? clone->Instantiate(shift, mother, daughter) : clone->Evaluate(shift, mother, links),
              daughter);
    delete clone;
  }
  for (P_ConVal* link : links) delete link;
}

// A word's F-structure, made at its first use in the sentence; INDEX is its
// position among the words made.
Analyses Word(const std::vector<std::string>& key) {
  if (words.count(key)) return words[key];
  const ToyDescription& entry = lexicon.at(key);
  auto* fs = new P_FStructure();
  Apply(fs, entry, {nullptr});
  fs->AddItem(new P_FSItemSimple(SymbolTablePredId, P_SymbolTable::Intern(entry.lemma)));
  fs->AddItem(new P_FSItemSimple(SymbolTableIndexId, P_SymbolTable::Intern(std::to_string(words.size() + 1))));
  return words[key] = {Finish(fs)};
}

// The analysis of the node whose '(' is the next token; category gets the
// node's category. A daughter slot written as a brace group collects the
// analyses of its alternatives.
Analyses Node(std::string& category) {
  category = tokens.at(++pos);  // after the '('
  if (tokens.at(++pos) != "(" && tokens.at(pos) != "{") {
    pos += 2;  // the word and its ')'
    return Word({category, tokens.at(pos - 2)});
  }
  std::vector<std::string> rule{category};
  std::vector<Analyses> daughters;
  while (tokens.at(pos) != ")") {
    const bool group = tokens.at(pos) == "{";
    pos += group;
    Analyses& alternatives = daughters.emplace_back();
    std::string name;
    do {
      for (P_FStructure* fs : Node(name)) alternatives.push_back(fs);
    } while (group && tokens.at(pos) != "}");
    rule.push_back(name);
    pos += group;
  }
  ++pos;
  const std::vector<ToyDescription>& annotations = rules.at(rule);
  auto* mother = new P_FStructure();
  for (size_t i = 0; i < daughters.size(); ++i) Apply(mother, annotations[i], daughters[i]);
  return {Finish(mother)};
}

}  // namespace

bool LoadToyGrammar() {
  rules.clear();
  lexicon.clear();
  bool compiled = true;
  for (const auto& fields : DataLines("toy.grammar")) {
    std::vector<ToyDescription>& annotations = rules[Words(fields.at(0))];
    for (size_t i = 1; i < fields.size(); ++i) compiled = Compile(fields[i], annotations.emplace_back()) && compiled;
  }
  for (const auto& fields : DataLines("toy.lexicon")) {
    const std::vector<std::string> head = Words(fields.at(0));  // category, word, lemma
    ToyDescription& entry = lexicon[{head.at(0), head.at(1)}];
    entry.lemma = head.at(2);
    P_SymbolTable::Intern(entry.lemma);  // lemmas are permanent names, as lexicon words are
    compiled = Compile(fields.at(1), entry) && compiled;
  }
  return compiled && !rules.empty() && !lexicon.empty();
}

P_FStructure* BuildToyTree(const std::string& tree) {
  std::string spaced;
  for (char c : tree) spaced += std::strchr("(){}", c) ? std::string{' ', c, ' '} : std::string(1, c);
  tokens = Words(spaced);
  pos = 0;
  choicesUsed = 0;
  words.clear();
  std::string category;
  const Analyses top = Node(category);
  if (top.size() != 1 || pos != tokens.size()) throw std::runtime_error("not one tree: " + tree);
  return top.front();
}

std::string PrintFStructure(const P_FStructure* fs) {
  std::map<std::string, std::vector<std::string>> attributes;
  CollectAttributes(fs, attributes);
  std::string text = "[";
  for (const auto& [name, values] : attributes) {
    text += (text.size() > 1 ? ", " : "") + name + " ";
    for (size_t i = 0; i < values.size(); ++i) text += (i ? "|" : "") + values[i];
  }
  return text + "]";
}
