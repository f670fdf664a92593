#include "resources/lfg/lexicon_manager.h"

#include <memory>

#include "core/config_store.h"
#include "core/file_reader.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "platform/message_box.h"

int CLexiconManager::liveInstances = 0;

namespace {

constexpr int kManagerReaderUnits = 128;

bool IsNumberUnit(WChar unit) {
  return (unit >= u'0' && unit <= u'9') || (unit >= 0x0660 && unit <= 0x0669) || unit == u',' || unit == u'.';
}

bool IsOrdinalSuffix(WChar first, WChar second) {
  const WString suffix{first, second};
  return suffix == u"th" || suffix == u"st" || suffix == u"rd" || suffix == u"nd";
}

// Lines split at CR and LF; empty lines are skipped and a last line without
// a line break is kept.
std::vector<WString> NonEmptyLines(const WString& text) {
  std::vector<WString> lines;
  WString line;
  for (WChar unit : text) {
    if (unit != u'\r' && unit != u'\n') {
      line += unit;
      continue;
    }
    if (!line.empty()) lines.push_back(line);
    line.clear();
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

SymbolId ReservedOrInterned(SymbolId reserved, const char16_t* name) {
  return reserved != kNoSymbol ? reserved : GetSymbolId(name, true);
}

std::unique_ptr<CEquation> MakeEquation(const WString& left, const WString& right) {
  auto equation = std::make_unique<CEquation>();
  equation->left = CLexicon::ParseOperand(left).release();
  equation->op = u'=';
  equation->right = CLexicon::ParseOperand(right).release();
  return equation;
}

// Whether the tokens from index on, joined by blanks, spell the word (as
// written or in small letters); lastIndex is the last token used.
bool PhraseMatches(const PieceList& tokens, size_t index, const WString& word, size_t& lastIndex) {
  WString phrase = tokens[index];
  for (size_t last = index;; ++last) {
    if (phrase == word || ToLowerString(phrase) == word) {
      lastIndex = last;
      return true;
    }
    if (last + 1 >= tokens.size() || phrase.size() >= word.size()) return false;
    phrase += u' ' + tokens[last + 1];
  }
}

}  // namespace

WString ToLowerString(const WString& text) {
  WString lower = text;
  for (WChar& unit : lower) {
    if (unit >= u'A' && unit <= u'Z') unit = static_cast<WChar>(unit - u'A' + u'a');
  }
  return lower;
}

CLexiconManager::CLexiconManager(CLexicon* managedLexicon) : lexicon(managedLexicon) {
  ++liveInstances;
  const std::string templateFile = GetConfigValue("NounTemplateFileName");
  const std::string delimiterFile = GetConfigValue("DelimFileName");
  CFileReader reader(kManagerReaderUnits);
  nounTemplate = reader.ReadAll(templateFile);
  delimiterLines = NonEmptyLines(reader.ReadAll(delimiterFile));
}

CLexiconManager::~CLexiconManager() { --liveInstances; }

char CLexiconManager::GetNumberTokenType(const WString& token) {
  for (size_t i = 0; i < token.size(); ++i) {
    if (IsNumberUnit(token[i])) continue;
    const bool lastTwo = i + 2 == token.size();
    return lastTwo && IsOrdinalSuffix(token[i], token[i + 1]) ? 't' : 'f';
  }
  return 'n';
}

bool CLexiconManager::HasNonLetter(const WString& token) {
  for (WChar unit : token) {
    if (!((unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z'))) return true;
  }
  return false;
}

// Every word that the expansions map knows is replaced, the last one too.
WString CLexiconManager::ReplaceWords(const WString& sentence) const {
  const ExpansionsMap* expansions = lexicon->Expansions();
  if (!expansions) return sentence;
  auto replaced = [expansions](const WString& word) {
    const auto found = expansions->find(word);
    return found == expansions->end() ? word : found->second;
  };
  WString output, word;
  for (WChar unit : sentence) {
    if (unit != u' ') {
      word += unit;
      continue;
    }
    output += replaced(word) + u' ';
    word.clear();
  }
  return output + replaced(word);
}

std::unique_ptr<PieceList> CLexiconManager::MakeTokens(const WString& text) const {
  return SplitApostrophe(CWord(text), delimiterLines);
}

void CLexiconManager::AddNumberEntry(const WString& token, char type, SentenceEntryLists& result) const {
  WString value = token;
  if (type == 't') value = token.substr(0, token.find(u"th"));
  auto entry = std::make_unique<CLexicalEntry>();
  entry->word = TrimWString(token);
  entry->category =
      static_cast<int16_t>(type == 'n' ? ReservedOrInterned(NumId, u"num") : ReservedOrInterned(NumthId, u"numth"));
  entry->equations.push_back(MakeEquation(u"_VALUE", value).release());
  entry->pred = u"'" + value + u"'";
  result.lists.push_back({entry.get()});
  result.madeEntries.push_back(std::move(entry));
}

void CLexiconManager::AddAlphanumericEntry(const WString& token, SentenceEntryLists& result) const {
  auto entry = std::make_unique<CLexicalEntry>();
  entry->category = static_cast<int16_t>(GetSymbolId(u"alphanum", true));
  entry->equations.push_back(MakeEquation(u"ANUM", token).release());
  result.lists.push_back({entry.get()});
  result.madeEntries.push_back(std::move(entry));
}

// An unknown word becomes a noun of its own, filed in the lexicon so that
// later sentences find it.
void CLexiconManager::AddUnknownWordEntry(const WString& token, LexicalEntryList& list) {
  const WString text = token + u" : n,^PRED='" + token + u"'," + nounTemplate + u".";
  const auto filed = lexicon->ParseLexicalEntryText(text);
  if (filed && !filed->empty()) list.push_back(filed->front().second);
}

// The longest entry whose words the tokens from index on spell wins; its
// entries of that same word text form the list.
size_t CLexiconManager::LookupTokens(const PieceList& tokens, size_t index, LexicalEntryList& list) const {
  auto found = lexicon->LookupWord(tokens[index]);
  if (!found) found = lexicon->LookupWord(ToLowerString(tokens[index]));
  if (!found) return index;
  const CLexicalEntry* best = nullptr;
  size_t bestLength = 0;
  size_t lastIndex = index;
  for (const CLexicalEntry* entry : *found) {
    size_t last = index;
    if (entry->word.size() <= bestLength || !PhraseMatches(tokens, index, entry->word, last)) continue;
    best = entry;
    bestLength = entry->word.size();
    lastIndex = last;
  }
  if (!best) {
    list = *found;
    return index;
  }
  for (CLexicalEntry* entry : *found) {
    if (entry->word == best->word) list.push_back(entry);
  }
  return lastIndex;
}

std::unique_ptr<SentenceEntryLists> CLexiconManager::BuildSentenceEntries(const WString& sentence) {
  if (!lexicon) return nullptr;
  const auto tokens = MakeTokens(ReplaceWords(sentence));
  if (!tokens) return nullptr;
  auto result = std::make_unique<SentenceEntryLists>();
  for (size_t index = 0; index < tokens->size(); ++index) {
    const WString& token = (*tokens)[index];
    const char type = GetNumberTokenType(token);
    if (type == 'n' || type == 't') {
      AddNumberEntry(token, type, *result);
      continue;
    }
    LexicalEntryList list;
    index = LookupTokens(*tokens, index, list);
    if (list.empty() && HasNonLetter(token)) {
      AddAlphanumericEntry(token, *result);
      continue;
    }
    if (list.empty()) AddUnknownWordEntry(token, list);
    if (!list.empty()) result->lists.push_back(std::move(list));
  }
  return result;
}

std::unique_ptr<SentenceEntryLists> CLexiconManager::CheckWordInLexicon(const WString& text) {
  if (!lexicon) return nullptr;
  const auto tokens = MakeTokens(text);
  if (!tokens) return nullptr;
  auto result = std::make_unique<SentenceEntryLists>();
  for (const WString& token : *tokens) {
    // As written, else in small letters, as BuildSentenceEntries looks up.
    auto found = lexicon->LookupWord(token);
    if (!found) found = lexicon->LookupWord(ToLowerString(token));
    if (!found) {
      ShowMessage(u"[ " + token + u" ] is not available in LEXICON", u"Lexicon Manager",
                  MessageStyle::Ok | MessageStyle::IconInformation);
      return nullptr;
    }
    result->lists.push_back(std::move(*found));
  }
  return result;
}
