// The compiler of expanded mapping files: headword blocks, entries and their
// statements.
#include <memory>

#include "core/file_reader.h"
#include "core/string_helpers.h"
#include "core/trace_log.h"
#include "transfer/mapping/map_lexicon.h"
#include "transfer/mapping/map_lexicon_report.h"

namespace {

constexpr int kCompileBufferUnits = 256;
const WString kDefaultWord = u"DEFAULT";
const WString kDeleteWord = u"DELETE";
const WString kInsertWord = u"INSERT";

// The decimal number of an entry's '@' text: an optional sign and the digits
// that follow it; 0 without digits.
int ReadEntryNumber(const WString& text) {
  const WString trimmed = TrimWString(text);
  size_t position = 0;
  bool negative = false;
  if (position < trimmed.size() && (trimmed[position] == u'-' || trimmed[position] == u'+')) {
    negative = trimmed[position++] == u'-';
  }
  long long number = 0;
  for (; position < trimmed.size() && trimmed[position] >= u'0' && trimmed[position] <= u'9'; ++position) {
    if (number <= 2147483647LL) number = number * 10 + (trimmed[position] - u'0');
  }
  if (number > 2147483647LL) number = 2147483647LL;
  return static_cast<int>(negative ? -number : number);
}

// The walk over one expanded file: the reader, the line, the pending text,
// the open headword block and the entry being read.
class RawFileCompiler {
 public:
  RawFileCompiler(CMapLexicon& lexicon, std::map<SymbolId, CMapLexHeadword*>& headwords, const std::string& file,
                  const std::string& reportedFile)
      : lexicon_(lexicon),
        headwords_(headwords),
        file_(file),
        reportedFile_(reportedFile),
        reader_(file, kCompileBufferUnits) {}

  bool Run();
  int Problems() const { return problems_; }

 private:
  WChar Next() {
    const WChar unit = reader_.NextChar();
    if (unit == u'\n') ++line_;
    return unit;
  }
  void ReadGroup();
  void SkipComment();
  void OpenBlock();
  void CloseBlock();
  void StartEntry(char marker);
  void ReadStatements();
  void FileEntry(std::unique_ptr<CMapLexEntry> entry, int line);
  WString HeadwordName() const { return block_ ? GetSymbolName(block_->headword) : WString(u"(none)"); }
  void Report(int line, const WString& text) {
    ++problems_;
    ReportMapLexiconProblemAt(reportedFile_, line, text);
  }

  CMapLexicon& lexicon_;
  std::map<SymbolId, CMapLexHeadword*>& headwords_;
  const std::string file_;
  const std::string reportedFile_;
  CFileReader reader_;
  int problems_ = 0;
  int line_ = 1;
  WString pending_;
  std::unique_ptr<CMapLexHeadword> block_;
  int blockLine_ = 0;
  std::unique_ptr<CMapLexEntry> entry_;
  int entryLine_ = 0;
};

bool RawFileCompiler::Run() {
  if (!reader_.IsOpen()) return false;
  if (reader_.GetChar() == u'\n') ++line_;
  WChar unit = reader_.GetChar();
  while (unit != 0) {
    switch (unit) {
      case u'\r':
      case u'\n': unit = Next(); break;
      case u'(':
        ReadGroup();
        unit = reader_.GetChar();
        break;
      case u')':
        Report(line_, u"a ')' closes no '('; it is skipped.");
        unit = Next();
        break;
      case u'/':
        unit = Next();
        if (unit == u'/') {
          SkipComment();
          unit = reader_.GetChar();
        } else {
          pending_ += u'/';
        }
        break;
      case u'[':
        OpenBlock();
        unit = Next();
        break;
      case u']':
        CloseBlock();
        unit = Next();
        break;
      case u'-':
      case u'?': {
        const char marker = static_cast<char>(unit);
        unit = Next();
        // Only "--" and "?-" start an entry; any other pair is dropped.
        if (unit == u'-') StartEntry(marker);
        if (unit != 0) unit = Next();
        break;
      }
      case u'>':
        ReadStatements();
        unit = reader_.GetChar();
        break;
      default:
        pending_ += unit;
        unit = Next();
        break;
    }
  }
  if (entry_) {
    Report(entryLine_, u"the entry of " + HeadwordName() + u" has no statements; it is skipped.");
    entry_.reset();
  }
  if (block_) {
    Report(blockLine_, u"the block of " + HeadwordName() + u" is not closed by ']'.");
    CloseBlock();
  }
  return true;
}

// A parenthesised group, nested ones included, joins the pending text whole.
void RawFileCompiler::ReadGroup() {
  const int openLine = line_;
  WString group(1, u'(');
  int depth = 1;
  WChar unit = Next();
  for (; unit != 0; unit = Next()) {
    group += unit;
    if (unit == u'(') ++depth;
    if (unit == u')' && --depth == 0) break;
  }
  if (depth > 0) {
    Report(openLine, u"a '(' is not closed before the end of the file; it is skipped.");
    return;
  }
  Next();
  pending_ += group;
}

// "//" up to the line end: the pending text goes too.
void RawFileCompiler::SkipComment() {
  WChar unit = Next();
  while (unit != 0 && unit != u'\r' && unit != u'\n') unit = Next();
  pending_.clear();
}

void RawFileCompiler::OpenBlock() {
  const WString name = TrimWString(pending_);
  pending_.clear();
  if (block_) {
    Report(line_, u"the block of " + HeadwordName() + u" is not closed before '[" + name + u"'.");
    CloseBlock();
  }
  if (name.empty()) {
    Report(line_, u"a '[' has no headword before it; its block is skipped.");
  }
  block_ = std::make_unique<CMapLexHeadword>(name.empty() ? kNoSymbol : GetSymbolId(name, true));
  blockLine_ = line_;
}

void RawFileCompiler::CloseBlock() {
  pending_.clear();
  if (!block_) {
    Report(line_, u"a ']' closes no headword block; it is skipped.");
    return;
  }
  std::unique_ptr<CMapLexHeadword> block = std::move(block_);
  if (block->headword == kNoSymbol) return;
  if (headwords_.count(block->headword) != 0) {
    WriteTraceLog(u"Mapping file " + NarrowToWide(file_) + u", line " + IntToWString(blockLine_) +
                  u": a second block of " + GetSymbolName(block->headword) + u" is dropped; the first is kept.");
    return;
  }
  const SymbolId id = block->headword;
  headwords_[id] = block.release();
}

void RawFileCompiler::StartEntry(char marker) {
  if (entry_) {
    Report(entryLine_, u"the entry of " + HeadwordName() + u" has no statements; it is skipped.");
  }
  entry_ = std::make_unique<CMapLexEntry>();
  entry_->marker = marker;
  entry_->condition = TrimWString(pending_);
  entryLine_ = line_;
  pending_.clear();
}

// '>' then the statements up to '@', ';' or the end; after '@' the number
// up to ';' or the end.
void RawFileCompiler::ReadStatements() {
  const int line = line_;
  WString statements;
  WChar unit = Next();
  for (; unit != 0 && unit != u'@' && unit != u';'; unit = Next()) statements += unit;
  WString number;
  if (unit == u'@') {
    for (unit = Next(); unit != 0 && unit != u';'; unit = Next()) number += unit;
  }
  if (unit == u';') Next();
  pending_.clear();
  if (!entry_) {
    Report(line, u"statements stand outside an entry (no \"-->\" before them); they are skipped.");
    return;
  }
  std::unique_ptr<CMapLexEntry> entry = std::move(entry_);
  const WString text = TrimWString(statements);
  if (!text.empty() && !lexicon_.ParseEntryValue(text, *entry)) {
    Report(line, u"the entry of " + HeadwordName() + u" with the condition '" + entry->condition +
                     u"' has a statement that is refused: " + text);
  }
  entry->number = ReadEntryNumber(number);
  FileEntry(std::move(entry), line);
}

void RawFileCompiler::FileEntry(std::unique_ptr<CMapLexEntry> entry, int line) {
  if (!block_ || block_->headword == kNoSymbol) {
    if (!block_) Report(line, u"an entry stands outside a headword block; it is skipped.");
    return;
  }
  const size_t defaultAt = entry->condition.find(kDefaultWord);
  if (defaultAt == WString::npos || defaultAt == 0) {
    block_->AddEntry(entry.release());
    return;
  }
  entry->condition.clear();
  if (block_->defaultEntry) {
    WriteTraceLog(u"Mapping file " + NarrowToWide(file_) + u", line " + IntToWString(line) +
                  u": a second DEFAULT entry of " + HeadwordName() + u" is dropped; the first is kept.");
    return;
  }
  block_->defaultEntry = entry.release();
}

// The three texts of "INSERT(cache, headword, value)" after its '(': false
// when they are not closed by ',', ',' and ')'.
bool ReadInsertParts(const WString& text, size_t& position, WString parts[3]) {
  const WChar ends[3] = {u',', u',', u')'};
  for (int part = 0; part < 3; ++part) {
    const size_t end = text.find(ends[part], position);
    if (end == WString::npos) return false;
    parts[part] = TrimWString(text.substr(position, end - position));
    position = end + 1;
  }
  return true;
}

}  // namespace

bool CMapLexicon::CompileRawFile(const std::string& expandedFile, const std::string& rawFile) {
  const std::string reported =
      rawFile.empty() ? expandedFile : "'" + rawFile + "' (as expanded into '" + expandedFile + "')";
  RawFileCompiler compiler(*this, headwords_, expandedFile, reported);
  const bool opened = compiler.Run();
  if (compiler.Problems() > 0 && !rawFile.empty()) damagedFile_ = rawFile;
  return opened;
}

bool CMapLexicon::ParseEntryValue(const WString& text, CMapLexEntry& entry) const {
  bool allTaken = true;
  WString pending, left;
  char mode = CMapRuleElement::kGoTo;
  bool insideValueSet = false;
  bool afterInsert = false;
  auto finishStatement = [&]() {
    WString right;
    if (mode == CMapRuleElement::kAssign || mode == CMapRuleElement::kDelete) {
      right = TrimWString(pending);
    } else {
      left = TrimWString(pending);
    }
    if (!left.empty() || !right.empty()) {
      entry.AddStatement(std::make_unique<CMapRuleElement>(left, right, mode, u"", u"", u"", parsePaths_));
    }
    left.clear();
    pending.clear();
    mode = CMapRuleElement::kGoTo;
  };
  for (size_t position = 0; position < text.size(); ++position) {
    const WChar unit = text[position];
    switch (unit) {
      case u',':
        if (insideValueSet) {
          pending += unit;
        } else if (afterInsert) {
          afterInsert = false;
          pending.clear();
          mode = CMapRuleElement::kGoTo;
        } else {
          finishStatement();
        }
        break;
      case u'=':
        mode = CMapRuleElement::kAssign;
        left = TrimWString(pending);
        pending.clear();
        break;
      case u' ':
        if (TrimWString(pending) == kDeleteWord) {
          mode = CMapRuleElement::kDelete;
          pending.clear();
        } else {
          pending += unit;
        }
        break;
      case u'(': {
        if (TrimWString(pending) != kInsertWord) break;
        WString parts[3];
        ++position;
        if (!ReadInsertParts(text, position, parts)) return false;
        --position;
        // A count of levels out of 1..32767 would wrap in the mapper.
        if (CMapRuleElement::ReadRepositionCount(parts[2]) == 0) {
          allTaken = false;
        } else {
          entry.AddStatement(std::make_unique<CMapRuleElement>(u"", u"", CMapRuleElement::kInsert, parts[0], parts[1],
                                                               parts[2], parsePaths_));
        }
        afterInsert = true;
        pending.clear();
        break;
      }
      case u'<':
      case u'{':
        pending += unit;
        insideValueSet = true;
        break;
      case u'>':
      case u'}':
        pending += unit;
        insideValueSet = false;
        break;
      default: pending += unit; break;
    }
  }
  if (!afterInsert && !insideValueSet) finishStatement();
  return allTaken;
}
