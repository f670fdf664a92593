// The rule language of the compiled grammar: macro expansion into the lfg
// file and the tokeniser that cuts the lfg file into raw productions.
#include <map>

#include "core/file_reader.h"
#include "core/file_writer.h"
#include "core/scanning.h"
#include "core/string_helpers.h"
#include "resources/compiled_errors.h"
#include "resources/english/p_grammar.h"

namespace {

using MacroTable = std::map<WString, WString>;

constexpr int kMacroBufferUnits = 1024;
constexpr int kRulesBufferUnits = 512;
constexpr int kTokeniserBufferUnits = 1024;

// Definitions "name = body ." with line ends skipped anywhere; the first '='
// ends the name, the first definition of a name wins.
MacroTable ParseMacroText(const WString& text) {
  MacroTable macros;
  WString name, body;
  bool inBody = false;
  for (WChar unit : text) {
    if (IsLineEnd(unit)) continue;
    if (unit == u'.') {
      macros.emplace(TrimWString(name), TrimWString(body));
      name.clear();
      body.clear();
      inBody = false;
    } else if (unit == u'=' && !inBody) {
      inBody = true;
    } else {
      (inBody ? body : name) += unit;
    }
  }
  return macros;
}

// Copies the rules with every "@reference" (ended by a blank, '.' or the end
// of the text) replaced by its macro's body.
WString SubstituteMacros(const WString& rules, const MacroTable& macros, const std::string& rulesPath) {
  WString out;
  out.reserve(rules.size());
  size_t pos = 0;
  while (pos < rules.size()) {
    if (rules[pos] != u'@') {
      out += rules[pos++];
      continue;
    }
    size_t end = pos;
    while (end < rules.size() && rules[end] != u' ' && rules[end] != u'.') ++end;
    const WString reference = rules.substr(pos, end - pos);
    auto found = macros.find(reference);
    if (found == macros.end()) {
      FailCompile(u"Unknown macro " + reference, u"Grammar Compiler", "Unknown macro",
                  CompileLocation(rulesPath, reference));
    }
    out += found->second;
    pos = end;  // the ending blank or '.' is copied next
  }
  return out;
}

// The state of the rule tokeniser over one text.
class RuleTokeniser {
 public:
  explicit RuleTokeniser(const WString& text) : text_(text) {}

  P_RawProductionList Run() {
    current_ = std::make_unique<CRawProduction>();
    while (pos_ < text_.size()) {
      const WChar unit = text_[pos_++];
      if (IsLineEnd(unit)) continue;
      buffer_ += unit;
      Take(unit);
    }
    return std::move(list_);  // an unclosed last production is dropped
  }

 private:
  void Take(WChar unit) {
    if (IsGroupPunctuation(unit)) {
      buffer_.pop_back();
      AppendOperator(unit);
      return;
    }
    switch (unit) {
      case u'-': return BeginProduction();
      case u':': return ReadDaughter();
      case u'.': return EndProduction();
      case u'/': return SkipComment();
      case u'#': return ReadCountOperator();
      case u'>': buffer_.clear(); return;
      default: return;
    }
  }

  // Symbols gathered before the '-' of a rule belong to no rule: a new
  // production starts here.
  void BeginProduction() {
    buffer_.pop_back();
    current_ = std::make_unique<CRawProduction>();
    current_->Lhs = new CRawSymbol(TrimWString(buffer_), WString(), 0);
    buffer_.clear();
  }

  // name ':' annotation ';'. Line ends inside an annotation become blanks so
  // that the words on both sides stay apart.
  void ReadDaughter() {
    buffer_.pop_back();
    const WString name = TrimWString(buffer_);
    buffer_.clear();
    WString annotation;
    while (pos_ < text_.size() && text_[pos_] != u';') {
      annotation += IsLineEnd(text_[pos_]) ? u' ' : text_[pos_];
      ++pos_;
    }
    if (pos_ < text_.size()) ++pos_;  // the ';'
    current_->Rhs.push_back(new CRawSymbol(name, TrimWString(annotation), 0));
  }

  void EndProduction() {
    buffer_.clear();
    current_->Rhs.push_back(P_Grammar::MakeRuleEndSymbol());
    if (current_->Lhs) list_.push_back(std::move(current_));
    current_ = std::make_unique<CRawProduction>();
  }

  void SkipComment() {
    pos_ = SkipToLineEnd(text_, pos_);
    buffer_.clear();
  }

  // "#m#n": the '#' and the three units after it, one operator each.
  void ReadCountOperator() {
    AppendOperator(u'#');
    for (int i = 0; i < 3 && pos_ < text_.size(); ++i) AppendOperator(text_[pos_++]);
    buffer_.clear();
  }

  void AppendOperator(WChar unit) { current_->Rhs.push_back(new CRawSymbol(WString(1, unit), WString(), 1)); }

  const WString& text_;
  size_t pos_ = 0;
  WString buffer_;
  std::unique_ptr<CRawProduction> current_;
  P_RawProductionList list_;
};

}  // namespace

bool P_Grammar::ExpandMacros(const std::string& rulesPath, const std::string& macrosPath, const std::string& lfgPath,
                             bool /*unused*/) {
  CFileReader macroReader(kMacroBufferUnits);
  const MacroTable macros = ParseMacroText(macroReader.ReadAll(macrosPath));
  if (!macroReader.IsOpen()) {
    FailCompile(u"The grammar macros could not be read.", u"Grammar Compiler", "Macros file missing",
                CompileLocation(macrosPath));
  }
  CFileReader rulesReader(kRulesBufferUnits);
  const WString rules = rulesReader.ReadAll(rulesPath);
  if (!rulesReader.IsOpen()) {
    FailCompile(u"The grammar rules could not be read.", u"Grammar Compiler", "Rules file missing",
                CompileLocation(rulesPath));
  }
  const WString expanded = SubstituteMacros(rules, macros, rulesPath);
  CFileWriter writer;
  if (!writer.Open(lfgPath) || (!expanded.empty() && writer.Write(expanded) == 0)) {
    FailCompile(u"The lfg file could not be written.", u"Grammar Compiler", "lfg file not written",
                CompileLocation(lfgPath));
  }
  return true;
}

P_RawProductionList P_Grammar::TokenizeRules(const std::string& lfgPath) {
  CFileReader reader(kTokeniserBufferUnits);
  return TokenizeRuleText(reader.ReadAll(lfgPath));
}

P_RawProductionList P_Grammar::TokenizeRuleText(const WString& text) { return RuleTokeniser(text).Run(); }

CRawSymbol* P_Grammar::MakeRuleEndSymbol() { return new CRawSymbol(u".", WString(), 1); }
