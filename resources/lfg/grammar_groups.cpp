// Group expansion: optional parts, repetitions, free order and alternatives
// become plain productions over generated categories "P_1", "P_2", ...; then
// the empty categories and the lookahead sets (FIRST and FOLLOW of terminal
// names) that the parser's predictor filters with.
#include <utility>

#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "core/trace_log.h"
#include "resources/lfg/grammar.h"

namespace {

bool IsTerminalName(const WString& text) { return !text.empty() && text[0] >= u'a' && text[0] <= u'z'; }

bool StartsWith(const CRawSymbol& symbol, WChar c) { return !symbol.Text.empty() && symbol.Text[0] == c; }

bool IsOpener(const CRawSymbol& symbol) {
  return symbol.Flag != 0 && (StartsWith(symbol, u'[') || StartsWith(symbol, u'('));
}

bool IsCloser(const CRawSymbol& symbol) {
  return symbol.Flag != 0 && (StartsWith(symbol, u']') || StartsWith(symbol, u')'));
}

bool IsDigitSymbol(const CRawSymbol* symbol) {
  return symbol != nullptr && !symbol->Text.empty() && symbol->Text[0] >= u'0' && symbol->Text[0] <= u'9';
}

// The stack's symbols from top to bottom; the stack is emptied.
RawSymbolVector PopStackToVector(RawSymbolStack& stack) {
  RawSymbolVector symbols;
  while (!stack.empty()) {
    symbols.push_back(std::move(stack.back()));
    stack.pop_back();
  }
  return symbols;
}

// The stack's symbols from bottom to top; the stack is emptied.
RawSymbolVector StackToVector(RawSymbolStack& stack) {
  RawSymbolVector symbols = std::move(stack);
  stack.clear();
  return symbols;
}

void AppendSymbols(std::vector<CRawSymbol*>& rhs, RawSymbolVector symbols) {
  for (auto& symbol : symbols) rhs.push_back(symbol.release());
}

void AppendCopies(std::vector<CRawSymbol*>& rhs, const RawSymbolVector& symbols) {
  for (const auto& symbol : symbols) rhs.push_back(symbol->Clone());
}

void AppendProductions(RawProductionList& out, RawProductionList list) {
  for (auto& production : list) out.push_back(std::move(production));
}

// A production of the generated category; the caller fills its right side.
std::unique_ptr<CRawProduction> GeneratedProduction(const CRawSymbol& category) {
  auto production = std::make_unique<CRawProduction>();
  production->Lhs = category.Clone();
  return production;
}

void EndRule(CRawProduction& production) { production.Rhs.push_back(CGrammar::MakeRuleEndSymbol().release()); }

}  // namespace

// The state of one source production's walk: its symbols (taken over from
// it), the position, the symbol stack and the output.
struct CGrammar::GroupWalk {
  RawSymbolVector source;
  size_t position = 0;
  RawSymbolStack stack;
  RawProductionList& out;
  int& counter;
};

std::unique_ptr<CRawSymbol> CGrammar::NextGeneratedSymbol(int& counter) const {
  ++counter;
  return std::make_unique<CRawSymbol>(prefix_ + NarrowToWide(IntToString(counter)), u"^=!", 0);
}

RawProductionList CGrammar::ExpandRuleGroups(RawProductionList productions) {
  RawProductionList out;
  int counter = 0;
  for (auto& production : productions) {
    const WString lhs = production->Lhs != nullptr ? production->Lhs->Text : WString();
    if (!ExpandSourceProduction(std::move(production), counter, out)) {
      WriteTraceLog(u"Grammar rule for " + lhs + u" has an unmatched group bracket; rule dropped");
    }
  }
  return out;
}

bool CGrammar::ExpandSourceProduction(std::unique_ptr<CRawProduction> source, int& counter, RawProductionList& out) {
  GroupWalk walk{{}, 0, {}, out, counter};
  for (CRawSymbol* symbol : source->Rhs) walk.source.emplace_back(symbol);
  source->Rhs.clear();
  for (; walk.position < walk.source.size(); ++walk.position) {
    auto& symbol = walk.source[walk.position];
    if (StartsWith(*symbol, u'.')) break;
    const bool closes = IsCloser(*symbol);
    walk.stack.push_back(std::move(symbol));
    if (closes && !CloseGroup(walk)) return false;
  }
  // A production with nothing before its rule end is not carried over.
  if (walk.stack.empty()) return true;
  AppendSymbols(source->Rhs, StackToVector(walk.stack));
  EndRule(*source);
  out.push_back(std::move(source));
  return true;
}

bool CGrammar::CloseGroup(GroupWalk& walk) {
  walk.stack.pop_back();   // the closer
  RawSymbolStack members;  // first member on top
  while (!walk.stack.empty() && !IsOpener(*walk.stack.back())) {
    members.push_back(std::move(walk.stack.back()));
    walk.stack.pop_back();
  }
  if (walk.stack.empty()) return false;
  const bool parenthesised = StartsWith(*walk.stack.back(), u'(');
  walk.stack.pop_back();  // the opener
  const size_t next = walk.position + 1;
  const CRawSymbol* after = next < walk.source.size() ? walk.source[next].get() : nullptr;
  const WChar suffix = after != nullptr && !after->Text.empty() ? after->Text[0] : 0;

  if (parenthesised) {
    auto category = NextGeneratedSymbol(walk.counter);
    auto filled = GeneratedProduction(*category);
    AppendSymbols(filled->Rhs, PopStackToVector(members));
    EndRule(*filled);
    auto empty = GeneratedProduction(*category);
    EndRule(*empty);
    walk.out.push_back(std::move(filled));
    walk.out.push_back(std::move(empty));
    walk.stack.push_back(std::move(category));
    return true;
  }
  if (suffix == u'*' || suffix == u'+') {
    walk.position = next;
    auto category = NextGeneratedSymbol(walk.counter);
    const RawSymbolVector symbols = PopStackToVector(members);
    if (suffix == u'+') {
      auto once = GeneratedProduction(*category);
      AppendCopies(once->Rhs, symbols);
      EndRule(*once);
      walk.out.push_back(std::move(once));
    }
    auto repeated = GeneratedProduction(*category);
    AppendCopies(repeated->Rhs, symbols);
    repeated->Rhs.push_back(category->Clone());
    EndRule(*repeated);
    walk.out.push_back(std::move(repeated));
    if (suffix == u'*') {
      auto empty = GeneratedProduction(*category);
      EndRule(*empty);
      walk.out.push_back(std::move(empty));
    }
    walk.stack.push_back(std::move(category));
    return true;
  }
  if (suffix == u'#') {
    const CRawSymbol* low = next + 1 < walk.source.size() ? walk.source[next + 1].get() : nullptr;
    const CRawSymbol* high = next + 3 < walk.source.size() ? walk.source[next + 3].get() : nullptr;
    if (!IsDigitSymbol(low) || !IsDigitSymbol(high)) return false;
    walk.position = next + 3;
    auto outer = NextGeneratedSymbol(walk.counter);
    auto inner = NextGeneratedSymbol(walk.counter);
    auto body = GeneratedProduction(*inner);
    AppendSymbols(body->Rhs, PopStackToVector(members));
    EndRule(*body);
    walk.out.push_back(std::move(body));
    for (RawSymbolVector& copies : MakeRepetitionLists(inner.get(), low, high)) {
      auto repetition = GeneratedProduction(*outer);
      AppendSymbols(repetition->Rhs, std::move(copies));
      EndRule(*repetition);
      walk.out.push_back(std::move(repetition));
    }
    walk.stack.push_back(std::move(outer));
    return true;
  }
  auto category = NextGeneratedSymbol(walk.counter);
  auto group = GeneratedProduction(*category);
  AppendSymbols(group->Rhs, PopStackToVector(members));
  AppendProductions(walk.out, ExpandGroup(std::move(group)));
  walk.stack.push_back(std::move(category));
  return true;
}

RawProductionList CGrammar::ExpandGroup(std::unique_ptr<CRawProduction> group) {
  RawProductionList out;
  std::vector<const CRawSymbol*> members;
  WChar separator = 0;
  for (const CRawSymbol* symbol : group->Rhs) {
    if (symbol->Flag == 0) {
      members.push_back(symbol);
    } else if (!symbol->Text.empty()) {
      separator = symbol->Text[0];
    }
  }
  if (separator == u'%' && !members.empty()) {
    std::vector<std::vector<uint16_t>> orders;
    GenerateIndexPermutations(0, static_cast<int16_t>(members.size() - 1), orders);
    for (const auto& order : orders) {
      auto production = GeneratedProduction(*group->Lhs);
      for (uint16_t index : order) production->Rhs.push_back(members[index]->Clone());
      EndRule(*production);
      out.push_back(std::move(production));
    }
    return out;
  }
  if (separator == u'|') {
    for (const CRawSymbol* member : members) {
      auto production = GeneratedProduction(*group->Lhs);
      production->Rhs.push_back(member->Clone());
      EndRule(*production);
      out.push_back(std::move(production));
    }
    return out;
  }
  EndRule(*group);
  out.push_back(std::move(group));
  return out;
}

void CGrammar::GenerateIndexPermutations(uint16_t low, int16_t high, std::vector<std::vector<uint16_t>>& out) {
  std::vector<uint16_t> rest;
  for (int n = low; n <= high; ++n) rest.push_back(static_cast<uint16_t>(n));
  GeneratePermutations({}, rest, out);
}

void CGrammar::GeneratePermutations(std::vector<uint16_t> prefix, const std::vector<uint16_t>& rest,
                                    std::vector<std::vector<uint16_t>>& out) {
  if (rest.empty()) {
    out.push_back(prefix);
    return;
  }
  for (size_t i = 0; i < rest.size(); ++i) {
    std::vector<uint16_t> remaining = rest;
    remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(i));
    prefix.push_back(rest[i]);
    GeneratePermutations(prefix, remaining, out);
    prefix.pop_back();
  }
}

std::vector<RawSymbolVector> CGrammar::MakeRepetitionLists(const CRawSymbol* symbol, const CRawSymbol* m,
                                                           const CRawSymbol* n) {
  std::vector<RawSymbolVector> lists;
  if (symbol == nullptr || !IsDigitSymbol(m) || !IsDigitSymbol(n)) return lists;
  for (int k = m->Text[0] - u'0'; k <= n->Text[0] - u'0'; ++k) {
    RawSymbolVector copies;
    for (int i = 0; i < k; ++i) copies.emplace_back(symbol->Clone());
    lists.push_back(std::move(copies));
  }
  return lists;
}

NameSet CGrammar::CollectEmptyCategories(const RawProductionList& productions) {
  NameSet empty;
  for (const auto& production : productions) {
    if (production->Rhs.size() == 1 && production->Rhs[0]->Flag != 0) empty.insert(production->Lhs->Text);
  }
  return empty;
}

NameSet& CGrammar::CloseEmptyCategories(const RawProductionList&, NameSet& empty) { return empty; }

bool CGrammar::AllCanBeEmpty(const std::vector<CRawSymbol*>& rhs, size_t from, size_t to, const NameSet& empty) {
  for (size_t i = from; i < to && i < rhs.size(); ++i) {
    if (rhs[i]->Text != u"." && empty.count(rhs[i]->Text) == 0) return false;
  }
  return true;
}

bool CGrammar::MergeNameSet(const NameSet& source, NameSet& target) {
  if (&source == &target) return false;
  bool added = false;
  for (const WString& name : source) added |= target.insert(name).second;
  return added;
}

bool CGrammar::AddNameSetIds(const NameSet& names, std::set<SymbolId>& lookahead) {
  bool added = false;
  for (const WString& name : names) added |= lookahead.insert(GetSymbolId(name, true)).second;
  return added;
}

// FIRST and FOLLOW sets of category names; a set exists once it was needed.
struct CGrammar::LookaheadSets {
  NameSetMap first;
  NameSetMap follow;
  bool changed = false;

  NameSet& Get(NameSetMap& map, const WString& name) {
    auto [entry, created] = map.try_emplace(name);
    changed |= created;
    return entry->second;
  }
  const NameSet* Find(const NameSetMap& map, const WString& name) const {
    const auto found = map.find(name);
    return found != map.end() ? &found->second : nullptr;
  }
  void Merge(const NameSet* source, NameSet& target) {
    if (source != nullptr) changed |= MergeNameSet(*source, target);
  }
};

void CGrammar::ComputeFirstAndFollow(const RawProductionList& productions, const NameSet& empty,
                                     LookaheadSets& sets) const {
  for (const auto& production : productions) {
    const WString& mother = production->Lhs->Text;
    const std::vector<CRawSymbol*>& rhs = production->Rhs;
    const size_t end = rhs.empty() ? 0 : rhs.size() - 1;
    for (size_t p = 0; p < end; ++p) {
      const WString& x = rhs[p]->Text;
      const bool terminal = IsTerminalName(x);
      if (AllCanBeEmpty(rhs, 0, p, empty)) {
        NameSet& first = sets.Get(sets.first, mother);
        if (terminal) {
          sets.changed |= first.insert(x).second;
        } else {
          sets.Merge(sets.Find(sets.first, x), first);
        }
      }
      if (terminal) continue;
      if (AllCanBeEmpty(rhs, p + 1, end, empty)) {
        NameSet& follow = sets.Get(sets.follow, x);
        sets.Merge(sets.Find(sets.follow, mother), follow);
      }
      NameSet& follow = sets.Get(sets.follow, x);
      for (size_t q = p + 1; q < end; ++q) {
        const WString& y = rhs[q]->Text;
        if (IsTerminalName(y)) {
          sets.changed |= follow.insert(y).second;
          break;
        }
        sets.Merge(sets.Find(sets.first, y), follow);
        if (empty.count(y) == 0) break;
      }
    }
  }
}

RawProductionList& CGrammar::ComputeLookaheadSets(RawProductionList& productions, const NameSet& empty) {
  LookaheadSets sets;
  do {
    sets.changed = false;
    ComputeFirstAndFollow(productions, empty, sets);
  } while (sets.changed);

  for (auto& production : productions) {
    const std::vector<CRawSymbol*>& rhs = production->Rhs;
    const size_t end = rhs.empty() ? 0 : rhs.size() - 1;
    size_t q = 0;
    for (; q < end; ++q) {
      const WString& y = rhs[q]->Text;
      // A terminal the symbol table does not know yet is interned here, so
      // the cfg file names it instead of writing "EMPTY".
      if (IsTerminalName(y)) {
        production->Lookahead.insert(GetSymbolId(y, true));
        break;
      }
      if (const NameSet* first = sets.Find(sets.first, y)) AddNameSetIds(*first, production->Lookahead);
      if (empty.count(y) == 0) break;
    }
    if (q < end) continue;
    if (const NameSet* follow = sets.Find(sets.follow, production->Lhs->Text)) {
      AddNameSetIds(*follow, production->Lookahead);
    }
  }
  return productions;
}
