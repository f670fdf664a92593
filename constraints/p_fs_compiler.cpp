#include "constraints/p_fs_compiler.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "constraints/p_attribute_buckets.h"
#include "constraints/p_symbol_table.h"
#include "core/string_helpers.h"
#include "core/trace_log.h"
#include "platform/message_box.h"

namespace P_FSCompiler {
namespace {

// Entry numbers are positive token codes, so they stay below this.
constexpr size_t kMaxBuiltEntries = 32767;
constexpr int kMaxChoice = 127;

struct BuiltItemEntry {
  std::string text;
  std::unique_ptr<P_FSItem> item;
};

struct CompilerState {
  std::vector<BuiltItemEntry> entries;
  std::unordered_map<std::string, int16_t> entryIndex;
  int8_t choiceCounter = 0;
  bool keepCounter = false;
  std::list<ContextList> outerContexts;
  bool lastFailed = false;
};

CompilerState& State() {
  static CompilerState state;
  return state;
}

void Trace(const std::string& text) { WriteTraceLog(NarrowToWide(text)); }

void ReportChoiceOverflow() {
  ShowMessage(u"A description or rule needs more than 127 choices; it is not compiled.", u"FS Compiler",
              MessageStyle::Ok);
}

bool IsGroupCharacter(char c) { return c == '|' || c == '[' || c == ']' || c == ',' || c == '~'; }

bool IsGlueCharacter(char c) { return c == ',' || c == '=' || c == '{' || c == '}' || c == '^' || c == '!'; }

bool HasBlank(const std::string& text) { return text.find(' ') != std::string::npos; }

bool StartsWithAny(const std::string& text, const char* firsts) {
  return !text.empty() && std::string(firsts).find(text.front()) != std::string::npos;
}

// Interns a name; ok turns false when a non-empty name cannot be stored.
uint16_t InternName(const std::string& name, bool& ok) {
  const uint16_t id = P_SymbolTable::Intern(name);
  if (id == 0 && !name.empty()) ok = false;
  return id;
}

bool IsAttributeTypeName(const std::string& name) {
  const auto& names = AttributeTypeNames();
  return std::find(names.begin(), names.end(), name) != names.end();
}

uint8_t ComplexItemFlags(const std::string& left, const std::string& op) {
  uint8_t flags = 0;
  if (IsAttributeTypeName(left.substr(1))) flags |= kItemFStructureValued;
  if (HasBlank(left)) flags |= kItemPath;
  if (left.front() == '!') flags |= kItemOnDaughter;
  if (op == "$") flags |= kItemSetMember;
  if (op == "=c") flags |= kItemConstraint;
  return flags;
}

// The one value of a complex item, from the right side; null when a name
// cannot be interned.
P_ConVal* BuildRightValue(const std::string& right, bool& ok) {
  if (StartsWithAny(right, "{")) {
    std::optional<std::list<uint16_t>> ids = ParseValueList(right);
    if (!ids) {
      ok = false;
      return nullptr;
    }
    auto* list = new P_ConValPlainValList();
    list->values = std::move(*ids);
    return list;
  }
  if (StartsWithAny(right, "^!")) {
    auto* link = new P_ConValFDLink();
    if (HasBlank(right)) link->valueType |= kLinkPath;
    if (right.front() == '!') link->valueType |= kLinkToDaughter;
    if (right.size() > 1) link->value = InternName(right.substr(1), ok);
    return link;
  }
  return new P_ConValPlainVal(InternName(right, ok));
}

// The item of a split equation, or null when a name cannot be interned.
std::unique_ptr<P_FSItem> MakeItem(const std::string& left, const std::string& op, const std::string& right) {
  bool ok = true;
  // A simple item always speaks of the mother: an equation on the daughter
  // ('!') keeps its side in a complex item.
  if (op == "=" && left.front() != '!' && !StartsWithAny(right, "{!^") && !HasBlank(left) && !HasBlank(right)) {
    auto simple = std::make_unique<P_FSItemSimple>(InternName(left.substr(1), ok), InternName(right, ok));
    if (!ok) return nullptr;
    return simple;
  }
  auto complex = std::make_unique<P_FSItemComplex>(0, ComplexItemFlags(left, op));
  if (left.size() > 1) complex->attribute = InternName(left.substr(1), ok);
  P_ConVal* value = BuildRightValue(right, ok);
  if (value) complex->AddValue(value);
  if (!ok) return nullptr;
  return complex;
}

// Registers every item of the buckets, in bucket order; false when one could
// not be stored (every item is registered or deleted either way).
bool RegisterBuckets(std::vector<uint16_t>& ids) {
  bool ok = true;
  for (int attribute = 0; attribute < P_AttributeBuckets::kBucketCount; ++attribute) {
    for (P_FSItem* item : AttributeBuckets.Bucket(attribute)) {
      const uint16_t id = RegisterItem(item);
      if (id == 0) {
        ok = false;
        continue;
      }
      ids.push_back(id);
    }
  }
  AttributeBuckets.Clear();
  return ok;
}

}  // namespace

// --- Compiling ---

std::vector<uint16_t> CompileDescription(std::string description, int8_t& choiceCount) {
  CompilerState& state = State();
  if (!state.keepCounter) state.choiceCounter = 0;
  std::vector<int16_t> tokens;
  std::vector<ContextList> contexts;
  std::vector<uint16_t> ids;
  bool ok = Tokenise(NormaliseOperators(std::move(description)), tokens);
  if (ok) {
    tokens = ExpandNegations(tokens);
    ok = AssignTokenContexts(tokens, contexts);
  }
  if (ok) {
    CollectContextedItems(tokens, contexts);
    AttributeBuckets.MergeByType();
    ok = RegisterBuckets(ids);
  }
  state.lastFailed = !ok;
  if (!ok) ids.clear();
  choiceCount = state.choiceCounter;
  return ids;
}

std::vector<std::vector<uint16_t>> CompileRuleAnnotations(std::vector<std::vector<std::string>> alternatives,
                                                          int8_t& choiceCount) {
  CompilerState& state = State();
  const size_t n = alternatives.size();
  choiceCount = 0;
  if (n == 0) {
    Trace("A rule without alternatives has no annotations to compile; it is skipped.");
    state.lastFailed = false;
    return {};
  }
  if (n - 1 > static_cast<size_t>(kMaxChoice)) {
    ReportChoiceOverflow();
    state.lastFailed = true;
    return {};
  }
  const size_t positions = alternatives.front().size();
  for (size_t a = 1; a < n; ++a) {
    if (alternatives[a].size() == positions) continue;
    Trace("Alternative " + std::to_string(a + 1) + " of a rule has " + std::to_string(alternatives[a].size()) +
          " annotations where the first has " + std::to_string(positions) + "; the difference is skipped.");
  }

  state.keepCounter = true;
  state.choiceCounter = n < 2 ? 0 : static_cast<int8_t>(n - 1);
  if (n >= 2) state.outerContexts = MakeAlternativeContexts(static_cast<int>(n));

  // Each alternative under its own outer context, taken from the back.
  bool ok = true;
  std::vector<std::vector<std::vector<uint16_t>>> compiled(n);
  for (size_t a = 0; a < n; ++a) {
    for (const std::string& description : alternatives[a]) {
      int8_t ignored = 0;
      compiled[a].push_back(CompileDescription(description, ignored));
      ok = ok && !state.lastFailed;
    }
    if (!state.outerContexts.empty()) state.outerContexts.pop_back();
  }

  std::vector<std::vector<uint16_t>> result;
  for (size_t j = 0; j < positions; ++j) {
    for (size_t a = 0; a < n; ++a) {
      if (j >= compiled[a].size()) continue;
      for (uint16_t id : compiled[a][j]) {
        P_FSItem* clone = CloneRegisteredItem(static_cast<int16_t>(id));
        if (clone && !AttributeBuckets.Add(clone)) delete clone;
      }
    }
    AttributeBuckets.MergeByType();
    std::vector<uint16_t> ids;
    ok = RegisterBuckets(ids) && ok;
    result.push_back(std::move(ids));
  }

  state.outerContexts.clear();
  choiceCount = state.choiceCounter;
  state.keepCounter = false;
  state.lastFailed = !ok;
  return result;
}

bool LastDescriptionFailed() { return State().lastFailed; }

// --- Steps ---

std::string NormaliseOperators(std::string text) {
  if (text.find("||") == std::string::npos && text.find("&&") == std::string::npos) return text;
  std::string normal;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool pair = i + 1 < text.size() && text[i + 1] == text[i] && (text[i] == '&' || text[i] == '|');
    if (!pair) {
      normal.push_back(text[i]);
      continue;
    }
    normal.push_back(text[i] == '&' ? ',' : '|');
    ++i;
  }
  return normal;
}

bool Tokenise(const std::string& text, std::vector<int16_t>& tokens) {
  tokens.clear();
  size_t pos = 0;
  for (;;) {
    const std::string token = NextToken(text, pos);
    if (token.empty()) break;
    if (token.size() == 1) {
      switch (token.front()) {
        case '[': EmitToken(tokens, kOpenGroup); break;
        case ']': EmitToken(tokens, kCloseGroup); break;
        case '|': EmitToken(tokens, kAlternative); break;
        case ',': EmitToken(tokens, kConjunction); break;
        case '~': EmitToken(tokens, kNegation); break;
        default: break;  // a stray character means nothing
      }
      continue;
    }
    const int entry = BuildItem(TrimBlanks(token));
    if (entry == kDescriptionFails) {
      EmitToken(tokens, kEndOfDescription);
      return false;
    }
    if (entry != kEquationSkipped) EmitToken(tokens, static_cast<int16_t>(entry));
  }
  EmitToken(tokens, kEndOfDescription);
  return true;
}

std::string NextToken(const std::string& text, size_t& pos) {
  while (pos < text.size() && text[pos] == ' ') ++pos;
  if (pos >= text.size()) return std::string();
  if (IsGroupCharacter(text[pos])) return std::string(1, text[pos++]);
  const size_t start = pos;
  bool braceOpen = false;
  while (pos < text.size() && !IsGroupCharacter(text[pos])) {
    if (text[pos] == '{') braceOpen = true;
    if (text[pos] == '}') braceOpen = false;
    ++pos;
  }
  if (braceOpen && pos < text.size()) {
    const size_t close = text.find('}', pos);
    pos = close == std::string::npos ? text.size() : close + 1;
  }
  return text.substr(start, pos - start);
}

std::string TrimBlanks(std::string token) {
  std::string collapsed;
  for (char c : token) {
    if (c == ' ' && (collapsed.empty() || collapsed.back() == ' ')) continue;
    collapsed.push_back(c);
  }
  if (!collapsed.empty() && collapsed.back() == ' ') collapsed.pop_back();

  std::string trimmed;
  for (size_t i = 0; i < collapsed.size(); ++i) {
    if (collapsed[i] == ' ') {
      const bool glueNext = i + 1 < collapsed.size() && IsGlueCharacter(collapsed[i + 1]);
      const bool gluePrevious = i > 0 && IsGlueCharacter(collapsed[i - 1]);
      if (glueNext || gluePrevious) continue;
    }
    trimmed.push_back(collapsed[i]);
  }
  return trimmed;
}

void EmitToken(std::vector<int16_t>& tokens, int16_t code) { tokens.push_back(code); }

int BuildItem(std::string equation) {
  CompilerState& state = State();
  const auto known = state.entryIndex.find(equation);
  if (known != state.entryIndex.end()) return known->second;

  std::string left, op, right;
  if (!SplitEquation(equation, left, op, right) || left.empty()) {
    Trace("The equation \"" + equation + "\" has no operator or no left side; it is left out.");
    return kEquationSkipped;
  }
  std::unique_ptr<P_FSItem> item = MakeItem(left, op, right);
  if (!item) return kDescriptionFails;
  if (state.entries.size() >= kMaxBuiltEntries) {
    ShowMessage(u"Too many different equations before a reset; the description is not compiled.", u"FS Compiler",
                MessageStyle::Ok);
    return kDescriptionFails;
  }
  state.entries.push_back({equation, std::move(item)});
  const auto number = static_cast<int16_t>(state.entries.size());
  state.entryIndex[equation] = number;
  return number;
}

bool SplitEquation(const std::string& equation, std::string& left, std::string& op, std::string& right) {
  bool found = false;
  const size_t equals = equation.find('=');
  if (equals != std::string::npos) {
    left = equation.substr(0, equals);
    op = "=";
    right = equation.substr(equals + 1);
    found = true;
  }
  const size_t member = equation.find('$');
  if (member != std::string::npos) {
    right = equation.substr(0, member);
    op = "$";
    left = equation.substr(member + 1);
    found = true;
  }
  const size_t constraint = equation.find("=c");
  if (constraint != std::string::npos) {
    const size_t after = constraint + 2;
    const bool isOperator =
        after == equation.size() || std::string(" {^!\"'").find(equation[after]) != std::string::npos;
    if (isOperator) {
      left = equation.substr(0, constraint);
      op = "=c";
      right = equation.substr(after < equation.size() && equation[after] == ' ' ? after + 1 : after);
    }
  }
  return found;
}

std::optional<std::list<uint16_t>> ParseValueList(std::string right) {
  std::list<uint16_t> ids;
  if (right.size() < 2) return ids;
  const std::string inner = right.substr(1, right.size() - 2);
  bool ok = true;
  size_t start = 0;
  while (start <= inner.size()) {
    size_t comma = inner.find(',', start);
    if (comma == std::string::npos) comma = inner.size();
    const std::string name = inner.substr(start, comma - start);
    if (!name.empty()) ids.push_back(InternName(name, ok));
    start = comma + 1;
  }
  if (!ok) return std::nullopt;
  return ids;
}

P_FSItem* CloneBuiltItem(int16_t k) {
  const auto& entries = State().entries;
  if (k < 1 || static_cast<size_t>(k) > entries.size() || !entries[k - 1].item) return nullptr;
  return entries[k - 1].item->Clone();
}

std::vector<int16_t> ExpandNegations(const std::vector<int16_t>& tokens) {
  const auto at = [&](size_t j) { return j < tokens.size() ? tokens[j] : kEndOfDescription; };
  std::vector<int16_t> expanded;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i] != kNegation) {
      expanded.push_back(tokens[i]);
      continue;
    }
    if (at(i + 1) > 0) {  // ~ A: negates the one equation
      expanded.push_back(kNegation);
      continue;
    }
    const bool group = at(i + 1) == kOpenGroup && at(i + 2) > 0;
    const bool pair = group && at(i + 4) > 0 && at(i + 5) == kCloseGroup;
    if (pair && at(i + 3) == kAlternative) {  // ~[A|B] -> ~A , ~B
      expanded.insert(expanded.end(), {kNegation, at(i + 2), kConjunction, kNegation, at(i + 4)});
      i += 5;
      continue;
    }
    if (pair && at(i + 3) == kConjunction) {  // ~[A,B] -> [~A | ~B]
      expanded.insert(expanded.end(),
                      {kOpenGroup, kNegation, at(i + 2), kAlternative, kNegation, at(i + 4), kCloseGroup});
      i += 5;
      continue;
    }
    if (group && at(i + 3) == kCloseGroup) {  // ~[A] -> ~A
      expanded.insert(expanded.end(), {kNegation, at(i + 2)});
      i += 3;
      continue;
    }
    Trace("A '~' is not followed by [A], [A|B] or [A,B] of single equations; the negation is left out.");
  }
  return expanded;
}

bool AssignTokenContexts(const std::vector<int16_t>& tokens, std::vector<ContextList>& contexts) {
  CompilerState& state = State();
  const ContextList outer = state.outerContexts.empty() ? ContextList{0} : state.outerContexts.back();
  contexts.assign(tokens.size(), ContextList());
  for (size_t p = 0; p < tokens.size(); ++p) {
    if (tokens[p] > 0) contexts[p] = outer;
  }
  int c = state.choiceCounter;
  for (size_t t = 0; t < tokens.size(); ++t) {
    if (tokens[t] != kOpenGroup) continue;
    const size_t separator = FindAlternativeSeparator(tokens, t);
    if (separator == 0) continue;
    if (c >= kMaxChoice) {
      ReportChoiceOverflow();
      return false;
    }
    ++c;
    int depth = 1;
    for (size_t p = t + 1; p < tokens.size() && tokens[p] != kEndOfDescription; ++p) {
      if (tokens[p] == kOpenGroup) ++depth;
      if (tokens[p] == kCloseGroup && --depth == 0) break;
      if (tokens[p] > 0) contexts[p].push_back(static_cast<int8_t>(p < separator ? c : -c));
    }
  }
  state.choiceCounter = static_cast<int8_t>(c);
  return true;
}

size_t FindAlternativeSeparator(const std::vector<int16_t>& tokens, size_t t) {
  int depth = 1;
  for (size_t p = t + 1; p < tokens.size() && tokens[p] != kEndOfDescription; ++p) {
    if (tokens[p] == kOpenGroup) ++depth;
    if (tokens[p] == kCloseGroup && --depth == 0) return 0;
    if (tokens[p] == kAlternative && depth == 1) return p;
  }
  return 0;
}

void CollectContextedItems(const std::vector<int16_t>& tokens, const std::vector<ContextList>& contexts) {
  for (size_t p = 0; p < tokens.size(); ++p) {
    if (tokens[p] <= 0) continue;
    std::unique_ptr<P_FSItem> item(CloneBuiltItem(tokens[p]));
    if (!item) continue;
    if (p > 0 && tokens[p - 1] == kNegation) item.reset(item->ToComplexCopy());
    P_FSItem* placed = item->CopyWithContext(contexts[p]);
    if (!AttributeBuckets.Add(placed)) delete placed;
  }
}

std::list<ContextList> MakeAlternativeContexts(int n) {
  std::list<ContextList> contexts;
  for (int i = 0; i < n; ++i) {
    ContextList context;
    if (i > 0) context.push_back(static_cast<int8_t>(i));
    for (int j = std::max(i + 1, 1); j <= n - 1; ++j) context.push_back(static_cast<int8_t>(-j));
    contexts.push_back(std::move(context));
  }
  return contexts;
}

void ResetBuiltItemEntries() {
  State().entries.clear();
  State().entryIndex.clear();
}

void ResetCompilerState() {
  CompilerState& state = State();
  state.keepCounter = false;
  state.choiceCounter = 0;
  state.outerContexts.clear();
  state.lastFailed = false;
  ResetBuiltItemEntries();
}

}  // namespace P_FSCompiler
