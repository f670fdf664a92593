// Construction of the grammar and its three text formats: the macro and rule
// files written by the grammar writer, and the cfg file of expanded rules.
#include <unordered_map>
#include <utility>

#include "core/file_reader.h"
#include "core/file_writer.h"
#include "core/scanning.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "core/trace_log.h"
#include "resources/lfg/grammar.h"

namespace {

using MacroTable = std::unordered_map<WString, WString>;

constexpr int kMacroBufferUnits = 1024;
constexpr int kRulesBufferUnits = 512;
constexpr int kLfgBufferUnits = 1024;
// The expanded rules are written in pieces of this many input units.
constexpr int kUnitsPerWrite = 256;

std::unique_ptr<CRawSymbol> SpecialSymbol(WChar c) { return std::make_unique<CRawSymbol>(WString(1, c), WString(), 1); }

void DropLastUnit(WString& text) {
  if (!text.empty()) text.pop_back();
}

// An annotation is written in printable ASCII: a macro value with any other
// character (a letter of a damaged file) would turn an attribute into one
// that nothing has, and a constraint on it would quietly hold or fail.
bool IsAnnotationText(const WString& text) {
  for (const WChar c : text) {
    if ((c < 0x20 && c != u'\t') || c > 0x7E) return false;
  }
  return true;
}

// Name=value entries, each ended by '.'; the first definition of a name wins.
MacroTable ReadMacros(const std::string& path) {
  MacroTable macros;
  CFileReader reader(path, kMacroBufferUnits);
  WString text, name;
  bool inValue = false;
  for (WChar c = reader.GetChar(); c != 0; c = reader.NextChar()) {
    if (c == u'=' && !inValue) {
      name = text;
      text.clear();
      inValue = true;
    } else if (c == u'.') {
      macros.emplace(TrimWString(name), TrimWString(text));
      text.clear();
      name.clear();
      inValue = false;
    } else if (!IsLineEnd(c)) {
      text += c;
    }
  }
  return macros;
}

// Reads a reference from its '@' up to a blank, a '.' or the end of the file;
// the reader is left on the unit that ended it.
WString ReadMacroName(CFileReader& reader) {
  WString name(1, u'@');
  for (WChar c = reader.NextChar(); c != 0 && c != u' ' && c != u'.'; c = reader.NextChar()) {
    name += c;
  }
  return name;
}

// A daughter's annotation: the units after ':' up to the next ';', which is
// left as the current unit. The end of the file ends it too.
WString ReadAnnotation(CFileReader& reader) {
  WString annotation;
  for (WChar c = reader.NextChar(); c != 0 && c != u';'; c = reader.NextChar()) annotation += c;
  return TrimWString(annotation);
}

// Skips a comment up to the line end (left as the current unit).
void SkipComment(CFileReader& reader) {
  for (WChar c = reader.NextChar(); c != 0 && !IsLineEnd(c) && c < 0x8000; c = reader.NextChar()) {
  }
}

// The rule reader shared by the lfg and cfg files. In the cfg form a left
// side ends at '[' and a bracketed list of lookahead names follows it.
class RuleReader {
 public:
  RuleReader(const std::string& path, bool cfgForm) : reader_(path, kLfgBufferUnits), cfg_(cfgForm) {}

  RawProductionList Read() {
    bool whole = true;
    for (WChar c = reader_.GetChar(); c != 0; c = reader_.NextChar()) {
      if (!IsLineEnd(c)) text_ += c;
      if (!HandleUnit(c)) {
        whole = false;
        break;
      }
    }
    // A rule begun but not ended by its '.' means the file was cut short.
    if (!whole || production_->Lhs != nullptr || !production_->Rhs.empty() || !TrimWString(text_).empty()) {
      damage_ = u"the text ends inside a rule";
    }
    return std::move(result_);
  }

  // Empty when the file read as whole rules; otherwise what was wrong.
  const WString& Damage() const { return damage_; }

 private:
  bool HandleUnit(WChar c) {
    if (cfg_ && HandleCfgUnit(c)) return true;
    if (c == u'#') return ReadBoundedRepetition();
    if (IsGroupPunctuation(c)) {
      production_->Rhs.push_back(SpecialSymbol(c).release());
      DropLastUnit(text_);
    } else if (c == u'-' && !cfg_) {
      DropLastUnit(text_);
      StartProduction(TrimWString(text_));
    } else if (c == u'>') {
      text_.clear();
    } else if (c == u'.') {
      text_.clear();
      EndProduction();
    } else if (c == u'/') {
      SkipComment(reader_);
      text_.clear();
    } else if (c == u':') {
      ReadDaughter();
    }
    return true;
  }

  // '[' ends the left side, ',' ends a lookahead name inside the brackets and
  // ']' closes them; '-' is ordinary text.
  bool HandleCfgUnit(WChar c) {
    if (c == u'[') {
      DropLastUnit(text_);
      StartProduction(TrimWString(text_));
      text_.clear();
      inBrackets_ = true;
      return true;
    }
    if (c == u',' && inBrackets_) {
      DropLastUnit(text_);
      production_->Lookahead.insert(GetSymbolId(TrimWString(text_), true));
      text_.clear();
      return true;
    }
    if (c == u']') {
      inBrackets_ = false;
      return true;
    }
    return c == u'-';
  }

  // "#m#n": the '#' and the next three units become special symbols.
  bool ReadBoundedRepetition() {
    production_->Rhs.push_back(SpecialSymbol(u'#').release());
    for (int i = 0; i < 3; ++i) {
      const WChar next = reader_.NextChar();
      if (next == 0) return false;
      production_->Rhs.push_back(SpecialSymbol(next).release());
    }
    text_.clear();
    return true;
  }

  void ReadDaughter() {
    DropLastUnit(text_);
    const WString name = TrimWString(text_);
    text_.clear();
    const WString annotation = ReadAnnotation(reader_);
    production_->Rhs.push_back(new CRawSymbol(name, annotation, 0));
  }

  void StartProduction(const WString& lhs) {
    production_ = std::make_unique<CRawProduction>();
    production_->Lhs = new CRawSymbol(lhs, WString(), 0);
  }

  void EndProduction() {
    production_->Rhs.push_back(CGrammar::MakeRuleEndSymbol().release());
    if (production_->Lhs != nullptr) {
      result_.push_back(std::move(production_));
    } else {
      WriteTraceLog(u"Grammar rule without a left side dropped");
      damage_ = u"a rule has no left side";
    }
    production_ = std::make_unique<CRawProduction>();
  }

  CFileReader reader_;
  bool cfg_;
  bool inBrackets_ = false;
  WString text_;
  std::unique_ptr<CRawProduction> production_ = std::make_unique<CRawProduction>();
  RawProductionList result_;
  WString damage_;
};

WString CfgLine(const CRawProduction& production) {
  WString line = production.Lhs->Text + u" [";
  for (SymbolId id : production.Lookahead) line += GetSymbolName(id) + u",";
  line += u"] -> ";
  for (const CRawSymbol* symbol : production.Rhs) {
    line += symbol->Text;
    if (symbol->Flag == 0) line += u":" + symbol->Annotation + u"; ";
  }
  return line + u"\r\n";
}

}  // namespace

CGrammar::CGrammar(const std::string& rulesPath, const std::string& macrosPath, const std::string& lfgPath,
                   const std::string& cfgPath, CLexicon* lexicon, bool replaceStar, bool generationIndex)
    : lexicon_(lexicon) {
  CompileAll(rulesPath, macrosPath, lfgPath, cfgPath, replaceStar, generationIndex);
}

CGrammar::~CGrammar() = default;

void CGrammar::CompileAll(const std::string& rulesPath, const std::string& macrosPath, const std::string& lfgPath,
                          const std::string& cfgPath, bool replaceStar, bool generationIndex) {
  ExpandMacros(rulesPath, macrosPath, lfgPath, replaceStar);
  prefix_ = u"P_";
  {
    RawProductionList expanded = ExpandRuleGroups(TokenizeRules(lfgPath));
    NameSet empty = CollectEmptyCategories(expanded);
    CloseEmptyCategories(expanded, empty);
    ComputeLookaheadSets(expanded, empty);
    WriteCfgFile(expanded, cfgPath);
  }
  store_ = BuildProductions(ReadCfgFile(cfgPath));
  BuildProductionTable();
  WarnUndefinedCategories();
  if (!generationIndex) return;
  rhsIndex_ = std::make_unique<std::vector<std::set<uint32_t>>>(symbols_.GetIdLimit());
  BuildRhsIndex();
  IndexMotherAttributes();
}

bool CGrammar::ExpandMacros(const std::string& rulesPath, const std::string& macrosPath, const std::string& lfgPath,
                            bool replaceStar) {
  const MacroTable macros = ReadMacros(macrosPath);
  CFileReader reader(rulesPath, kRulesBufferUnits);
  CFileWriter writer(lfgPath);
  WString output;
  int handled = 0;
  for (WChar c = reader.GetChar(); c != 0; c = reader.NextChar()) {
    if (c == u'@') {
      const WString name = ReadMacroName(reader);
      const auto found = macros.find(name);
      if (found != macros.end()) {
        output += found->second;
        if (damage_.empty() && !IsAnnotationText(found->second)) {
          damage_ = u"the macro " + name + u" holds a character that no annotation has";
        }
      } else {
        WriteTraceLog(u"Grammar macro not defined: " + name);
        if (damage_.empty()) damage_ = u"the macro " + name + u" is not defined";
      }
      c = reader.GetChar();
      if (c == 0) break;
      output += c;
    } else if (c == u'*' && replaceStar) {
      output += u"#0#1";
    } else {
      output += c;
    }
    if (++handled % kUnitsPerWrite == 0) {
      writer.Write(output);
      output.clear();
    }
  }
  writer.Write(output);
  writer.Close();
  return true;
}

RawProductionList CGrammar::TokenizeRules(const std::string& lfgPath) {
  RuleReader reader(lfgPath, false);
  RawProductionList rules = reader.Read();
  if (damage_.empty()) damage_ = reader.Damage();
  return rules;
}

void CGrammar::WriteCfgFile(const RawProductionList& productions, const std::string& path) {
  CFileWriter writer(path);
  for (const auto& production : productions) writer.Write(CfgLine(*production));
}

RawProductionList CGrammar::ReadCfgFile(const std::string& path) { return RuleReader(path, true).Read(); }

std::unique_ptr<CRawSymbol> CGrammar::MakeRuleEndSymbol() { return std::make_unique<CRawSymbol>(u".", WString(), 1); }
