// Rule-group expansion: every group of a right side becomes a generated
// category with productions of its own; optional parts and zero repetitions
// become variants of the enclosing production; empty productions are then
// removed again and categories with identical productions merged.
#include <algorithm>
#include <functional>
#include <numeric>
#include <set>

#include "core/string_helpers.h"
#include "resources/compiled_errors.h"
#include "resources/english/p_grammar.h"

namespace {

using SymbolList = std::vector<std::unique_ptr<CRawSymbol>>;

constexpr WChar kGeneratedAnnotation[] = u"^=!";
// Permuting more daughters than this would flood the grammar.
constexpr size_t kMaxPermutedDaughters = 6;
// Empty-production removal makes one change per empty production; a grammar
// that keeps producing new ones this long does not settle.
constexpr int kMaxEmptyRemovalPasses = 100000;

bool IsOperator(const CRawSymbol* symbol, WChar op) {
  return symbol->Flag != 0 && symbol->Text.size() == 1 && symbol->Text[0] == op;
}

bool IsRuleEnd(const CRawSymbol* symbol) { return IsOperator(symbol, u'.'); }

std::unique_ptr<CRawSymbol> CloneSymbol(const CRawSymbol* symbol) {
  return std::unique_ptr<CRawSymbol>(symbol->Clone());
}

std::unique_ptr<CRawProduction> MakeProduction(const CRawSymbol& lhs, const std::vector<const CRawSymbol*>& rhs) {
  auto production = std::make_unique<CRawProduction>();
  production->Lhs = lhs.Clone();
  for (const CRawSymbol* symbol : rhs) production->Rhs.push_back(symbol->Clone());
  production->Rhs.push_back(P_Grammar::MakeRuleEndSymbol());
  return production;
}

std::unique_ptr<CRawProduction> CopyProduction(const CRawProduction& source) {
  auto copy = std::make_unique<CRawProduction>();
  copy->Lhs = source.Lhs->Clone();
  for (const CRawSymbol* symbol : source.Rhs) copy->Rhs.push_back(symbol->Clone());
  return copy;
}

// P's left side, the stack, then P's right side from index `from` on (the
// rule-end mark included): P without the group just closed.
std::unique_ptr<CRawProduction> MakeVariant(const CRawProduction& p, const SymbolList& stack, size_t from) {
  auto variant = std::make_unique<CRawProduction>();
  variant->Lhs = p.Lhs->Clone();
  for (const auto& symbol : stack) variant->Rhs.push_back(symbol->Clone());
  for (size_t i = from; i < p.Rhs.size(); ++i) variant->Rhs.push_back(p.Rhs[i]->Clone());
  return variant;
}

bool SameSymbol(const CRawSymbol* a, const CRawSymbol* b) {
  return a->Text == b->Text && a->Annotation == b->Annotation && a->Flag == b->Flag;
}

bool SameRightSide(const CRawProduction& a, const CRawProduction& b) {
  if (a.Rhs.size() != b.Rhs.size()) return false;
  for (size_t i = 0; i < a.Rhs.size(); ++i) {
    if (!SameSymbol(a.Rhs[i], b.Rhs[i])) return false;
  }
  return true;
}

bool IsEmptyProduction(const CRawProduction& p) { return p.Rhs.size() == 1 && IsRuleEnd(p.Rhs[0]); }

// The content of a group as the alternatives rule sees it.
struct GroupContent {
  std::vector<const CRawSymbol*> symbols;    // in written order, operators included
  std::vector<const CRawSymbol*> daughters;  // the non-operator symbols
  WChar lastOperator = 0;
};

GroupContent DescribeContent(const SymbolList& content) {
  GroupContent described;
  for (const auto& symbol : content) {
    described.symbols.push_back(symbol.get());
    if (symbol->Flag != 0 && symbol->Text.size() == 1) {
      described.lastOperator = symbol->Text[0];
    } else {
      described.daughters.push_back(symbol.get());
    }
  }
  return described;
}

int DigitOf(const CRawSymbol* symbol) {
  if (symbol->Text.size() != 1 || symbol->Text[0] < u'0' || symbol->Text[0] > u'9') return -1;
  return symbol->Text[0] - u'0';
}

// Pops the stack down to the nearest '(' or '['; returns the bracket (0 when
// none stands on the stack) and leaves the content in written order.
WChar PopGroup(SymbolList& stack, SymbolList& content) {
  while (!stack.empty()) {
    std::unique_ptr<CRawSymbol> top = std::move(stack.back());
    stack.pop_back();
    if (IsOperator(top.get(), u'(') || IsOperator(top.get(), u'[')) {
      std::reverse(content.begin(), content.end());
      return top->Text[0];
    }
    content.push_back(std::move(top));
  }
  return 0;
}

}  // namespace

WString P_Grammar::NewGeneratedName() {
  if (generatedPrefix_.empty()) generatedPrefix_ = kGeneratedPrefix;
  return generatedPrefix_ + IntToWString(++generatedCount_);
}

P_RawProductionList& P_Grammar::ExpandRuleGroups(P_RawProductionList& list) {
  // Productions appended while expanding are visited in their turn.
  for (size_t i = 0; i < list.size(); ++i) ExpandGroupsOf(list, i);
  RemoveEmptyProductions(list);
  RegroupByLhs(list);
  MergeEqualCategories(list);
  return list;
}

namespace {

using NameSource = std::function<WString()>;

[[noreturn]] void FailGroup(const std::string& rulesFile, const CRawProduction& p, const WString& text,
                            const std::string& error) {
  FailCompile(text + u" in the rule for " + p.Lhs->Text, u"Grammar Compiler", error,
              CompileLocation(rulesFile, p.Lhs->Text));
}

// Scans one right side, replacing each group by a generated category as its
// closing bracket is reached (inner groups first) and collecting the
// productions the groups give.
class GroupExpander {
 public:
  GroupExpander(const std::string& rulesFile, CRawProduction& p, NameSource newName)
      : rulesFile_(rulesFile), p_(p), newName_(std::move(newName)) {}

  std::vector<std::unique_ptr<CRawProduction>> Run() {
    for (pos_ = 0; pos_ < p_.Rhs.size() && !IsRuleEnd(p_.Rhs[pos_]); ++pos_) {
      const CRawSymbol* symbol = p_.Rhs[pos_];
      if (IsOperator(symbol, u')') || IsOperator(symbol, u']')) {
        CloseGroup();
      } else {
        stack_.push_back(CloneSymbol(symbol));
      }
    }
    if (!stack_.empty()) ReplaceRightSide();
    return std::move(added_);
  }

 private:
  const CRawSymbol* Next(size_t ahead) const { return pos_ + ahead < p_.Rhs.size() ? p_.Rhs[pos_ + ahead] : nullptr; }

  void CloseGroup() {
    SymbolList content;
    const WChar bracket = PopGroup(stack_, content);
    if (bracket == 0) FailGroup(rulesFile_, p_, u"A group is closed that was never opened", "Unbalanced group");
    const GroupContent group = DescribeContent(content);
    const CRawSymbol y(newName_(), kGeneratedAnnotation, 0);
    const CRawSymbol* next = Next(1);
    if (bracket == u'(') {
      Optional(y, group);
    } else if (next && (IsOperator(next, u'*') || IsOperator(next, u'+'))) {
      Repeated(y, group, IsOperator(next, u'*'));
    } else if (next && IsOperator(next, u'#')) {
      Counted(y, group);
    } else {
      Alternatives(y, group);
    }
    stack_.push_back(std::make_unique<CRawSymbol>(y));
  }

  // ( ... ): Y -> content, and P without the group.
  void Optional(const CRawSymbol& y, const GroupContent& group) {
    added_.push_back(MakeProduction(y, group.symbols));
    added_.push_back(MakeVariant(p_, stack_, pos_ + 1));
  }

  // [ ... ]+ and [ ... ]*: Y -> content | content Y; with '*' also P without it.
  void Repeated(const CRawSymbol& y, const GroupContent& group, bool zeroAllowed) {
    ++pos_;  // the operator
    added_.push_back(MakeProduction(y, group.symbols));
    std::vector<const CRawSymbol*> repeated = group.symbols;
    repeated.push_back(&y);
    added_.push_back(MakeProduction(y, repeated));
    if (zeroAllowed) added_.push_back(MakeVariant(p_, stack_, pos_ + 1));
  }

  // [ ... ]#m#n: Z -> content; Y -> Z^k for k from m to n.
  void Counted(const CRawSymbol& y, const GroupContent& group) {
    const int from = Next(2) ? DigitOf(Next(2)) : -1;
    const int to = Next(4) ? DigitOf(Next(4)) : -1;
    if (from < 0 || to < 0 || !IsOperator(Next(3), u'#')) {
      FailGroup(rulesFile_, p_, u"A count after a group must be written #m#n with one digit each", "Bad group count");
    }
    pos_ += 4;
    const CRawSymbol z(newName_(), kGeneratedAnnotation, 0);
    added_.push_back(MakeProduction(z, group.symbols));
    for (int k = from; k <= to; ++k) added_.push_back(MakeProduction(y, std::vector<const CRawSymbol*>(k, &z)));
  }

  // [ a | b ]: one production per daughter; [ a % b ]: one per order of the
  // daughters; [ ... ]: the content as it stands.
  void Alternatives(const CRawSymbol& y, const GroupContent& group) {
    if (group.lastOperator == u'|') {
      for (const CRawSymbol* daughter : group.daughters) added_.push_back(MakeProduction(y, {daughter}));
      return;
    }
    if (group.lastOperator != u'%') {
      added_.push_back(MakeProduction(y, group.symbols));
      return;
    }
    if (group.daughters.size() > kMaxPermutedDaughters) {
      FailGroup(rulesFile_, p_, u"Too many daughters to permute", "Permutation too large");
    }
    std::vector<size_t> order(group.daughters.size());
    std::iota(order.begin(), order.end(), 0);
    do {
      std::vector<const CRawSymbol*> permuted;
      for (size_t i : order) permuted.push_back(group.daughters[i]);
      added_.push_back(MakeProduction(y, permuted));
    } while (std::next_permutation(order.begin(), order.end()));
  }

  void ReplaceRightSide() {
    for (CRawSymbol* symbol : p_.Rhs) delete symbol;
    p_.Rhs.clear();
    for (auto& symbol : stack_) p_.Rhs.push_back(symbol.release());
    p_.Rhs.push_back(P_Grammar::MakeRuleEndSymbol());
  }

  const std::string& rulesFile_;
  CRawProduction& p_;
  NameSource newName_;
  size_t pos_ = 0;
  SymbolList stack_;
  std::vector<std::unique_ptr<CRawProduction>> added_;
};

}  // namespace

void P_Grammar::ExpandGroupsOf(P_RawProductionList& list, size_t index) {
  GroupExpander expander(rulesFile_, *list[index], [this] { return NewGeneratedName(); });
  for (auto& production : expander.Run()) list.push_back(std::move(production));
}

namespace {

// Deletes the first daughter named x (never an operator) from the production.
void DeleteFirstUse(CRawProduction& q, const WString& x) {
  for (size_t i = 0; i < q.Rhs.size(); ++i) {
    if (q.Rhs[i]->Flag == 0 && q.Rhs[i]->Text == x) {
      delete q.Rhs[i];
      q.Rhs.erase(q.Rhs.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    }
  }
}

bool UsesCategory(const CRawProduction& q, const WString& x) {
  for (const CRawSymbol* symbol : q.Rhs) {
    if (symbol->Flag == 0 && symbol->Text == x) return true;
  }
  return false;
}

}  // namespace

void P_Grammar::RemoveEmptyProductions(P_RawProductionList& list) {
  // A category whose empty production was removed once has had its users
  // given their variants; an empty production that turns up for it again
  // (X -> X Y with nullable Y, say) adds nothing and would never settle.
  std::set<WString> eliminated;
  for (int pass = 0;; ++pass) {
    if (pass == kMaxEmptyRemovalPasses) {
      FailCompile(u"Removing empty productions does not settle.", u"Grammar Compiler", "Empty productions",
                  CompileLocation(rulesFile_));
    }
    auto empty = std::find_if(list.begin(), list.end(), [](const auto& p) { return IsEmptyProduction(*p); });
    if (empty == list.end()) return;
    const WString x = (*empty)->Lhs->Text;
    const bool hasOther = std::count_if(list.begin(), list.end(), [&](const auto& p) { return p->Lhs->Text == x; }) > 1;
    list.erase(empty);
    if (!eliminated.insert(x).second) continue;
    P_RawProductionList rebuilt;
    for (auto& q : list) {
      if (UsesCategory(*q, x)) {
        if (hasOther) rebuilt.push_back(CopyProduction(*q));
        DeleteFirstUse(*q, x);
      }
      rebuilt.push_back(std::move(q));
    }
    list = std::move(rebuilt);
  }
}

void RegroupByLhs(P_RawProductionList& list) {
  std::vector<WString> order;
  std::map<WString, P_RawProductionList> groups;
  for (auto& p : list) {
    auto& group = groups[p->Lhs->Text];
    if (group.empty()) order.push_back(p->Lhs->Text);
    group.push_back(std::move(p));
  }
  list.clear();
  for (const WString& lhs : order) {
    for (auto& p : groups[lhs]) list.push_back(std::move(p));
  }
}

namespace {

struct LhsGroup {
  size_t begin;
  size_t end;
};

std::vector<LhsGroup> FindGroups(const P_RawProductionList& list) {
  std::vector<LhsGroup> groups;
  for (size_t i = 0; i < list.size(); ++i) {
    if (groups.empty() || list[groups.back().begin]->Lhs->Text != list[i]->Lhs->Text) groups.push_back({i, i});
    groups.back().end = i + 1;
  }
  return groups;
}

bool SameGroup(const P_RawProductionList& list, LhsGroup a, LhsGroup b) {
  if (a.end - a.begin != b.end - b.begin) return false;
  for (size_t i = 0; i < a.end - a.begin; ++i) {
    if (!SameRightSide(*list[a.begin + i], *list[b.begin + i])) return false;
  }
  return true;
}

const WChar kStartCategory[] = u"S'";

}  // namespace

void P_Grammar::MergeEqualCategories(P_RawProductionList& list) {
  for (size_t g = 0;; ++g) {
    std::vector<LhsGroup> groups = FindGroups(list);
    if (g >= groups.size()) return;
    const WString keep = list[groups[g].begin]->Lhs->Text;
    std::set<WString> removed;
    for (size_t h = g + 1; h < groups.size(); ++h) {
      const WString& name = list[groups[h].begin]->Lhs->Text;
      // The start category stays whatever it equals: the parser starts there.
      if (name == kStartCategory || !SameGroup(list, groups[g], groups[h])) continue;
      removed.insert(name);
    }
    if (removed.empty()) continue;
    std::erase_if(list, [&](const auto& p) { return removed.count(p->Lhs->Text) != 0; });
    // References take the kept name; each keeps its own annotation, so a
    // merged category written with an annotation does not lose it.
    for (auto& p : list) {
      for (CRawSymbol* symbol : p->Rhs) {
        if (symbol->Flag == 0 && removed.count(symbol->Text)) symbol->Text = keep;
      }
    }
  }
}
