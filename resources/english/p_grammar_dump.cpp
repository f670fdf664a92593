// Listings and dumps of the compiled grammar: the cfg listing of the expanded
// rules, the normalised grammar, the binary dump "DumpedEgrammar" and the
// symbols dump "DumpedEgrammarSymbols", and reading the two dumps back.
#include <cstdio>

#include "constraints/dump_words.h"
#include "core/config_store.h"
#include "core/file_writer.h"
#include "core/sealed_file.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "resources/compiled_errors.h"
#include "resources/english/p_grammar.h"

namespace {

constexpr WChar kCaption[] = u"Grammar Compiler";
constexpr WChar kLineEnd[] = u"\r\n";
// A grammar dump larger than this is not one of ours.
constexpr size_t kMaxDumpWords = size_t{1} << 26;

uint16_t Low(uint32_t value) { return static_cast<uint16_t>(value & 0xFFFFu); }
uint16_t High(uint32_t value) { return static_cast<uint16_t>(value >> 16); }

// Listings are for people: a listing that cannot be written is reported and
// the compile goes on.
void WriteListing(const std::string& path, const WString& text) {
  CFileWriter writer;
  if (writer.Open(path) && (text.empty() || writer.Write(text) == 1)) return;
  ShowMessage(NarrowToWide("The listing '" + path + "' could not be written."), kCaption,
              MessageStyle::IconInformation);
}

[[noreturn]] void FailDump(const std::string& path, const std::string& why) {
  FailCompile(NarrowToWide("The grammar dump '" + path + "' " + why), kCaption, "Grammar dump refused",
              CompileLocation(path));
}

// The lines of the sealed symbols dump; opened is false when the file is
// missing or its seal does not match.
std::vector<std::string> ReadNarrowLines(const std::string& path, bool& opened) {
  std::vector<std::string> lines;
  FileHandle file(OpenSealedFile(path));
  opened = file != nullptr;
  if (!file) return lines;
  std::string line;
  bool pending = false;
  for (int c = std::fgetc(file.get()); c != EOF; c = std::fgetc(file.get())) {
    pending = true;
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();  // CR LF text
      lines.push_back(line);
      line.clear();
      pending = false;
    } else {
      line += static_cast<char>(c);
    }
  }
  if (pending) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool ParseCount(const std::string& text, size_t& value) {
  if (text.empty() || text.size() > 9) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<size_t>(c - '0');
  }
  return true;
}

}  // namespace

void P_Grammar::PrintProductions(const std::string& cfgPath, const P_RawProductionList& list) const {
  WString text;
  for (const auto& p : list) {
    text += p->Lhs->Text + u" [";
    for (SymbolId id : p->Lookahead) text += GetSymbolName(id) + u",";
    text += u"] -> ";
    for (const CRawSymbol* symbol : p->Rhs) {
      text += symbol->Text;
      if (symbol->Flag == 0) text += u":" + symbol->Annotation + u"; ";
    }
    text += kLineEnd;
  }
  WriteListing(cfgPath, text);
}

void P_Grammar::WriteNormalizedGrammar(const std::string& path) const {
  WString text;
  for (const auto& production : productions_) {
    text += StringToWString(GetCategoryName(production->lhs)) + u" [" +
            IntToWString(static_cast<int32_t>(production->firstMask.LowWord())) + u" " +
            IntToWString(static_cast<int32_t>(production->firstMask.HighWord())) + u"] -> ";
    for (const CCompiledSymbol& daughter : production->rhs) {
      text += StringToWString(daughter.isPOS ? GetPOSName(daughter.id) : GetCategoryName(daughter.id)) + u":";
      for (size_t i = 0; i < daughter.itemIds.size(); ++i) {
        if (i) text += u"|";
        text += IntToWString(daughter.itemIds[i]);
      }
      text += u"; ";
    }
    text += kLineEnd;
  }
  WriteListing(path, text);
}

void P_Grammar::WriteDump() {
  const std::string binaryPath = GetConfigValue("DumpedEgrammar");
  const std::string symbolsPath = GetConfigValue("DumpedEgrammarSymbols");
  DumpWords words;
  uint32_t index = kNoWordYet;
  PutWord(words, index, startCategoryId_);
  PutWord(words, index, static_cast<uint16_t>(productions_.size()));
  for (const auto& production : productions_) {
    PutWord(words, index, production->lhs);
    PutWord(words, index, production->number);
    PutWord(words, index, production->choiceCount);
    PutWord(words, index, Low(production->firstMask.LowWord()));
    PutWord(words, index, High(production->firstMask.LowWord()));
    PutWord(words, index, Low(production->firstMask.HighWord()));
    PutWord(words, index, High(production->firstMask.HighWord()));
    PutWord(words, index, Low(production->reserved));
    PutWord(words, index, High(production->reserved));
    if (production->rhs.size() > 0xFFFF) FailDump(binaryPath, "cannot hold a production this long.");
    PutWord(words, index, static_cast<uint16_t>(production->rhs.size()));
    for (const CCompiledSymbol& daughter : production->rhs) {
      if (daughter.itemIds.size() > 0xFFFF) FailDump(binaryPath, "cannot hold an annotation this long.");
      PutWord(words, index, daughter.id);
      PutWord(words, index, daughter.isPOS);
      PutWord(words, index, static_cast<uint16_t>(daughter.itemIds.size()));
      for (uint16_t id : daughter.itemIds) PutWord(words, index, id);
    }
  }
  PutStamp(words, index, stamp_);
  if (!WriteDumpWords(binaryPath, words, index + 1)) FailDump(binaryPath, "could not be written.");

  std::string symbols = std::to_string(posNames_.size()) + "\r\n" + std::to_string(categoryNames_.size()) + "\r\n";
  for (size_t i = 1; i < posNames_.size(); ++i) symbols += posNames_[i] + "\r\n";
  for (const std::string& name : categoryNames_) symbols += name + "\r\n";
  symbols += StampLine(stamp_) + "\r\n";
  FileHandle file(OpenFile(symbolsPath, "wb"));
  if (!file || std::fwrite(symbols.data(), 1, symbols.size(), file.get()) != symbols.size() ||
      std::fclose(file.release()) != 0 || !SealWrittenFile(symbolsPath)) {
    FailDump(symbolsPath, "could not be written.");
  }
}

namespace {

bool ReadProduction(const DumpWords& words, uint32_t& index, CCompiledProduction& production) {
  uint16_t w[10];
  for (uint16_t& word : w) {
    if (!TakeWord(words, index, word)) return false;
  }
  production.lhs = w[0];
  production.number = w[1];
  production.choiceCount = static_cast<uint8_t>(w[2] & 0xFF);
  const uint32_t low = w[3] | (uint32_t{w[4]} << 16);
  const uint32_t high = w[5] | (uint32_t{w[6]} << 16);
  for (int bit = 0; bit < 32; ++bit) {
    if (low & (uint32_t{1} << bit)) production.firstMask.Set(bit);
    if (high & (uint32_t{1} << bit)) production.firstMask.Set(bit + 32);
  }
  production.reserved = w[7] | (uint32_t{w[8]} << 16);
  for (uint16_t r = 0; r < w[9]; ++r) {
    CCompiledSymbol daughter;
    uint16_t flag = 0, count = 0;
    if (!TakeWord(words, index, daughter.id) || !TakeWord(words, index, flag) || !TakeWord(words, index, count)) {
      return false;
    }
    daughter.isPOS = flag != 0 ? 1 : 0;
    if (!WordsLeft(words, index, count)) return false;
    daughter.itemIds.resize(count);
    for (uint16_t& id : daughter.itemIds) TakeWord(words, index, id);
    production.rhs.push_back(std::move(daughter));
  }
  return true;
}

}  // namespace

void P_Grammar::ReadDump() {
  Clear();
  const std::string binaryPath = GetConfigValue("DumpedEgrammar");
  const std::string symbolsPath = GetConfigValue("DumpedEgrammarSymbols");
  DumpWords words;
  if (!ReadDumpWords(binaryPath, kMaxDumpWords, words)) FailDump(binaryPath, "could not be opened.");
  if (words.empty()) FailDump(binaryPath, kDamagedDump);
  uint32_t index = kNoWordYet;
  uint16_t start = 0, count = 0;
  if (!TakeWord(words, index, start) || !TakeWord(words, index, count)) FailDump(binaryPath, "is too short.");
  for (uint16_t i = 0; i < count; ++i) {
    auto production = std::make_unique<CCompiledProduction>();
    if (!ReadProduction(words, index, *production)) FailDump(binaryPath, "is too short.");
    if (production->number != i) FailDump(binaryPath, "numbers its productions out of order.");
    productions_.push_back(std::move(production));
  }
  CCompiledStamp binaryStamp;
  if (!TakeStamp(words, index, binaryStamp)) FailDump(binaryPath, "carries no compile stamp; compile again.");

  bool opened = false;
  const std::vector<std::string> lines = ReadNarrowLines(symbolsPath, opened);
  if (!opened) FailDump(symbolsPath, "could not be opened, or is damaged or cut short.");
  size_t posCount = 0, categoryCount = 0;
  if (lines.size() < 2 || !ParseCount(lines[0], posCount) || !ParseCount(lines[1], categoryCount) || posCount == 0 ||
      lines.size() < 2 + (posCount - 1) + categoryCount + 1) {
    FailDump(symbolsPath, "is too short.");
  }
  posNames_.assign(1, std::string());
  for (size_t i = 1; i < posCount; ++i) {
    posNames_.push_back(lines[1 + i]);
    posIds_.emplace(lines[1 + i], static_cast<int>(i));
  }
  for (size_t i = 0; i < categoryCount; ++i) {
    const std::string& name = lines[1 + posCount + i];
    categoryNames_.push_back(name);
    categoryIds_.emplace(name, static_cast<int>(i));
  }
  CCompiledStamp symbolsStamp;
  if (!ParseStampLine(lines[1 + posCount + categoryCount], symbolsStamp)) {
    FailDump(symbolsPath, "carries no compile stamp; compile again.");
  }
  if (!(symbolsStamp == binaryStamp)) {
    FailDump(symbolsPath, "was written by another compile than '" + binaryPath + "'; compile again.");
  }
  if (!RegistryMatchesStamp(binaryStamp)) {
    FailDump(binaryPath, "does not belong to the item registry dump that was loaded; compile again.");
  }
  stamp_ = binaryStamp;
  for (const auto& production : productions_) {
    bool valid = production->lhs < categoryCount;
    for (const CCompiledSymbol& daughter : production->rhs) {
      valid = valid && daughter.id < (daughter.isPOS ? posCount : categoryCount);
    }
    if (!valid) FailDump(binaryPath, "names symbols that its symbols dump lacks.");
  }
  if (start >= categoryCount) FailDump(binaryPath, "names no start category.");
  startCategoryId_ = start;
  BuildLHSIndex();
}
