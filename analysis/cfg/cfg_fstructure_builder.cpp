// CCfgParser: F-structure construction over the finished chart. Every child
// item and every reading gets its own P_FStructure; the annotations of the
// productions and the feature descriptions of the readings are instantiated
// into them; packed alternatives become mutually exclusive choice contexts;
// the constraint system then resolves nogoods and solves.
#include <algorithm>
#include <memory>
#include <sstream>
#include <string>

#include "analysis/cfg/cfg_parser.h"
#include "analysis/cfg/cfg_utilities.h"
#include "constraints/p_fs_compiler.h"
#include "constraints/p_fs_item.h"
#include "constraints/p_fstructure.h"
#include "constraints/p_symbol_table.h"
#include "constraints/solver_hooks.h"
#include "core/feature_set.h"
#include "core/parse_clock.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "platform/message_box.h"

namespace {

// The last blank-separated word of a path name.
std::string LastPathWord(const std::string& path) {
  const size_t blank = path.find_last_of(' ');
  return blank == std::string::npos ? path : path.substr(blank + 1);
}

FeatureLiteralList ToLiterals(const ContextList& context) { return FeatureLiteralList(context.begin(), context.end()); }

}  // namespace

bool CCfgParser::BuildFStructure(CCfgChartItem* item) {
  auto* fs = new P_FStructure();
  item->SetFStructure(fs);
  int counter = 0;
  BuildItemFStructures(item, fs, &counter);
  if (timedOut_ || choicesExhausted_) return false;
  fs->ResolveNogoodsRecursive(fs, CFeatureSet(kFeatureSetWords));
  fs->Solve();
  if (ParseTimeExceeded() || SolverTimeExceeded()) timedOut_ = true;
  return !timedOut_;
}

// A choice is one bit of a feature set: a sentence whose alternatives need
// more choices than a set has bits cannot be analysed.
bool CCfgParser::ReserveChoices(int count) {
  if (count <= kMaxChoiceNumber) return true;
  if (!choicesExhausted_) {
    ShowMessage(u"The sentence has too many alternative analyses to be solved.", u"CFG Parser",
                MessageStyle::Ok | MessageStyle::IconInformation);
  }
  choicesExhausted_ = true;
  return false;
}

void CCfgParser::BuildItemFStructures(CCfgChartItem* item, P_FStructure* fs, int* counter) {
  if (OutOfBudget()) {
    timedOut_ = true;
    return;
  }
  if (choicesExhausted_) return;
  const CCompiledProduction* production = item->GetProduction();
  const CCfgChildAlternatives alternatives = item->GetChildAlternatives();
  const int entry = *counter;
  int c = entry + production->choiceCount;
  if (!ReserveChoices(c)) return;
  std::vector<ContextList> contexts;
  if (alternatives.size() >= 2) {
    if (!ReserveChoices(c + static_cast<int>(alternatives.size()) - 1)) return;
    contexts = MakeChoiceContexts(static_cast<int>(alternatives.size()));
    c = ShiftChoiceContexts(contexts, c);
  }
  SetFeatureWordCount(c);

  for (size_t j = 0; j < production->rhs.size() && !choicesExhausted_; ++j) {
    const CCompiledSymbol& record = production->rhs[j];
    const std::vector<DistinctChild> children = CollectDistinctChildren(alternatives, contexts, j);
    if (children.empty()) continue;
    P_FStructure* daughter = nullptr;
    std::vector<std::unique_ptr<P_ConValFSLink>> links;
    if (children.size() == 1) {
      daughter = ChildFStructure(children.front().child, &c);
      if (daughter == nullptr) continue;
    } else {
      // Several items, or several readings of one word, stand at the
      // position: each joins under the context of its alternatives.
      for (const DistinctChild& distinct : children) {
        P_FStructure* child = ChildFStructure(distinct.child, &c);
        if (child == nullptr) continue;
        auto link = std::make_unique<P_ConValFSLink>();
        link->context = distinct.context;
        link->contextBits = BuildFeatureSet(ToLiterals(distinct.context));
        link->boundFStructure = child;
        link->attribute = 0;
        link->valueType = kLinkToDaughter;
        links.push_back(std::move(link));
        daughter = child;
      }
      if (daughter == nullptr) continue;
    }
    if (choicesExhausted_) break;
    std::vector<P_ConVal*> linkValues;
    for (const auto& link : links) linkValues.push_back(link.get());
    const bool several = children.size() > 1;
    for (uint16_t id : record.itemIds) ApplyAnnotation(id, entry, fs, daughter, several ? &linkValues : nullptr);
  }
  FinishFStructure(fs);
  *counter = c;
}

// The distinct children at a position: a child shared by several
// alternatives is passed once under the merged context of those
// alternatives where that context is exact, else once per context that
// cannot be merged, so that it stands in every reading of every alternative
// that holds it.
std::vector<CCfgParser::DistinctChild> CCfgParser::CollectDistinctChildren(const CCfgChildAlternatives& alternatives,
                                                                           const std::vector<ContextList>& contexts,
                                                                           size_t position) {
  std::vector<DistinctChild> distinct;
  for (size_t a = 0; a < alternatives.size(); ++a) {
    const CCfgChildList& list = *alternatives[a];
    if (position >= list.size()) continue;
    const CCfgChild& child = list[position];
    if (child.item == nullptr && child.reading == nullptr) continue;
    const ContextList context = a < contexts.size() ? contexts[a] : ContextList();
    bool merged = false;
    for (DistinctChild& seen : distinct) {
      if (!(seen.child == child)) continue;
      if (std::optional<ContextList> both = MergeAlternativeContexts(seen.context, context)) {
        seen.context = std::move(*both);
        merged = true;
        break;
      }
    }
    if (!merged) distinct.push_back({child, context});
  }
  return distinct;
}

// The F-structure of a child: its reading's (built once per reading) or its
// item's.
P_FStructure* CCfgParser::ChildFStructure(const CCfgChild& child, int* counter) {
  if (child.reading != nullptr) {
    return child.reading->cachedFStructure != nullptr ? child.reading->cachedFStructure
                                                      : BuildReadingFStructure(child.reading, counter);
  }
  return EnsureItemFStructure(child.item, counter);
}

// An item's F-structure is built once and shared by every parent. It is
// attached before the walk below it, so a cycle of unary items ends there.
P_FStructure* CCfgParser::EnsureItemFStructure(CCfgChartItem* item, int* counter) {
  if (item == nullptr) return nullptr;
  if (item->GetFStructure() != nullptr) return item->GetFStructure();
  auto* fs = new P_FStructure();
  item->SetFStructure(fs);
  BuildItemFStructures(item, fs, counter);
  return fs;
}

P_FStructure* CCfgParser::BuildReadingFStructure(CELexicalEntry* reading, int* counter) {
  const int c = *counter;
  if (!ReserveChoices(c + reading->choiceCount)) return nullptr;
  auto* fs = new P_FStructure();
  for (uint16_t id : reading->itemIds) {
    std::unique_ptr<P_FSItem> clone(P_FSCompiler::CloneRegisteredItem(static_cast<int16_t>(id)));
    if (!clone) continue;
    StoreInstantiatedItem(clone->Instantiate(static_cast<ChoiceLiteral>(c), fs, nullptr), fs, nullptr, false);
  }
  const uint16_t symbol = reading->GetPartSymbol();
  if (symbol >= kReadingNumberBase && static_cast<size_t>(symbol - kReadingNumberBase) < readingPositions_.size()) {
    fs->AddItem(new P_FSItemSimple(SymbolTablePredId, symbol));
    fs->AddItem(new P_FSItemSimple(SymbolTableIndexId, readingPositions_[symbol - kReadingNumberBase]));
  }
  *counter = c + reading->choiceCount;
  SetFeatureWordCount(*counter);
  FinishFStructure(fs);
  reading->cachedFStructure = fs;
  return fs;
}

void CCfgParser::ApplyAnnotation(uint16_t itemId, int offset, P_FStructure* fs, P_FStructure* daughter,
                                 const std::vector<P_ConVal*>* links) {
  std::unique_ptr<P_FSItem> clone(P_FSCompiler::CloneRegisteredItem(static_cast<int16_t>(itemId)));
  if (!clone) return;
  const auto shift = static_cast<ChoiceLiteral>(offset);
  if (auto* onDaughter = dynamic_cast<P_FSItemComplex*>(clone.get());
      onDaughter != nullptr && (onDaughter->flags & kItemOnDaughter) != 0 && onDaughter->AsDefiningItem() != nullptr) {
    DefineOnDaughters(*onDaughter, shift, fs, daughter, links);
    return;
  }
  P_FSItem* result = links != nullptr ? clone->Evaluate(shift, fs, *links) : clone->Instantiate(shift, fs, daughter);
  StoreInstantiatedItem(result, fs, daughter, true);
}

// A defining equation on the daughter ("!CASE=obl" beside "! $ ^ADJUNCT" or
// "^OBJ=!") is the daughter's own: it joins the F-structure of the daughter,
// or of each of its alternatives, with the daughter in the mother's place,
// just as a path through the mother's function would reach it. A value that
// names the mother ("!SUBJ=^SUBJ" on a member of a set of verb phrases)
// still names the mother: the member shares the mother's subject.
void CCfgParser::DefineOnDaughters(const P_FSItemComplex& item, ChoiceLiteral shift, P_FStructure* mother,
                                   P_FStructure* daughter, const std::vector<P_ConVal*>* links) {
  std::vector<P_FStructure*> targets;
  if (links == nullptr) {
    targets.push_back(daughter);
  } else {
    for (const P_ConVal* link : *links) targets.push_back(link->GetBoundFStructure());
  }
  for (P_FStructure* target : targets) {
    if (target == nullptr) continue;
    std::unique_ptr<P_FSItem> copy(item.Clone());
    auto* own = static_cast<P_FSItemComplex*>(copy.get());
    own->flags = static_cast<uint8_t>(own->flags & ~kItemOnDaughter);
    // A path item is placed through its first argument, so it keeps the
    // daughter there; a one-step item binds '^' values to the first.
    P_FStructure* valuesOfMother = (own->flags & kItemPath) != 0 ? target : mother;
    StoreInstantiatedItem(own->Instantiate(shift, valuesOfMother, target), target, target, true);
    // The daughter was finished before: the path to the mother is followed
    // now (and the mother's end of it made when missing).
    if (valuesOfMother == mother) target->ResolveIndexPaths();
  }
}

// A defining item joins the F-structure; a constraining one is anchored
// where it is to be tested; an empty-attribute one adds its values to the
// root.
void CCfgParser::StoreInstantiatedItem(P_FSItem* item, P_FStructure* fs, P_FStructure* daughter, bool rewritePred) {
  if (item == nullptr) return;
  if (P_FSItem* defining = item->AsDefiningItem()) {
    fs->AddItem(defining);
    return;
  }
  if (P_FSItem* constraining = item->AsConstrainingItem()) {
    auto* anchored = new P_FSItemComplexAnchored(constraining, fs, daughter);
    constraining->ReleaseFStructures();
    delete constraining;
    if (rewritePred) RewritePredValues(anchored);
    fs->MergeIntoExistingItem(anchored);
    return;
  }
  if (P_FSItem* empty = item->AsEmptyAttributeItem()) {
    fs->AddValuesToRoot(empty);
    return;
  }
  delete item;
}

// A grammar constraint on PRED names a word in quotes; it is compared with
// the number of the first reading of that word.
void CCfgParser::RewritePredValues(P_FSItem* anchored) {
  uint16_t attribute = anchored->attribute;
  if ((anchored->GetFlags() & kItemPath) != 0) {
    attribute = P_SymbolTable::Intern(LastPathWord(P_SymbolTable::GetString(static_cast<int16_t>(attribute))));
  }
  if (attribute != SymbolTablePredId) return;
  auto* complex = dynamic_cast<P_FSItemComplex*>(anchored);
  if (complex == nullptr) return;
  for (P_ConVal* value : complex->values) {
    auto* plain = dynamic_cast<P_ConValPlainVal*>(value);
    if (plain == nullptr) continue;
    const std::string text = P_SymbolTable::GetString(static_cast<int16_t>(plain->value));
    if (text.size() < 2) continue;
    const uint16_t number = ReadingNumberOfSymbol(GetSymbolId(NarrowToWide(text.substr(1, text.size() - 2)), true));
    if (number != 0) plain->value = number;
  }
}

// The coded number of the first reading whose word is the symbol; 0 when
// no reading has it.
uint16_t CCfgParser::ReadingNumberOfSymbol(uint16_t globalSymbol) const {
  for (size_t k = 1; k < readingSymbols_.size(); ++k) {
    if (readingSymbols_[k] == globalSymbol) return static_cast<uint16_t>(kReadingNumberBase + k);
  }
  return 0;
}

void CCfgParser::FinishFStructure(P_FStructure* fs) {
  fs->items.sort(CompareByAttribute);
  fs->constrainingItems.sort(CompareByAttribute);
  fs->ResolveIndexPaths();
  fs->ResolveNogoods();
}

P_FStructure* CCfgParser::GetSolvedFStructure() {
  CCfgChartItem* start = FindCompleteStartItem();
  if (start == nullptr || start->GetFStructure() == nullptr) return nullptr;
  ContextList context;
  P_FStructure* restricted = start->GetFStructure()->RestrictToContextResolved(context);
  if (restricted == nullptr) return nullptr;
  restricted->NarrowValueContexts(context);
  return restricted;
}
