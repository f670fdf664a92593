// The tokeniser: cuts a typed English sentence into CToken records, one per
// NextToken call.
//
// Numbers, ordinals, measures, dates and times are read by the transition
// automaton (analysis/transition_table.h): each transition taken dispatches
// its accept code to a token builder (number_tokens.cpp, date_tokens.cpp),
// which gathers pieces of the token in slots and finally fills the pending
// token and makes its lexical entry. A transition's alternatives (other
// transitions of the same key, and '$' transitions of the state entered) are
// kept on a backtrack stack; when the automaton gets stuck it resumes from
// the latest alternative. When nothing is left to try, fixed rules read the
// text from the token start (pre_processor_rules.cpp): words, punctuation,
// possessive apostrophes, abbreviations and mixed letter-digit words.
//
// Token kinds: 0 word or punctuation, 100 abbreviation, 101 '.', ';' or '?'
// ending the sentence, 500 end of input; any other kind is the 1-based index
// in the part-of-speech list of the token's category ("card", "ord", "date",
// "time", "alphanum", "apostr"), and such a token has a lexical entry
// (GetLastBuiltEntry).
//
// Entries made for a sentence stay valid until the second SetSentence after
// it (a parser may still hold the tokens of the sentence before).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "analysis/tokeniser/token_entry_maker.h"
#include "analysis/tokeniser/transition_table.h"
#include "core/token.h"
#include "core/wide_string.h"

class CELexicon;
class CELexicalEntry;

// Sentences are limited to this many characters, the two appended blanks
// included; a longer one is refused.
constexpr size_t kMaxSentenceLength = 32767;

// What the builders gather while one token is read; emptied after every
// token (ResetTokenState).
struct CTokenScanState {
  WString partText;   // characters consumed since a builder last took them
  WString tokenText;  // every character consumed for the current token
  WString firstPart, dayInDigits, dayInWords, month, year, hour, minute, second, timeType;
  bool commaSeen = false, dayInDigitsSeen = false, dayInWordsSeen = false, monthInDigits = false, yearSeen = false,
       hourSeen = false, minuteSeen = false, secondSeen = false, timeTypeSeen = false;
};

class CPreProcessor {
 public:
  // Entries are made through the lexicon (none when it is null). Loads the
  // transition table, then the part-of-speech list ("POSs"), the unit
  // reading lists ("UnitPosFile", whose names need the POS list) and the
  // abbreviations ("AbbreviationFile").
  explicit CPreProcessor(CELexicon* lexicon);
  // The same with another source of entries (the caller keeps it alive).
  explicit CPreProcessor(CTokenEntryMaker& entryMaker);
  ~CPreProcessor();
  CPreProcessor(const CPreProcessor&) = delete;
  CPreProcessor& operator=(const CPreProcessor&) = delete;

  // Starts a sentence: runs of blanks and of dots become one, two blanks are
  // appended, the position goes to 0 and nothing of the previous sentence's
  // token is kept. A sentence longer than kMaxSentenceLength is refused with
  // a message; the tokeniser then holds an empty sentence. False then.
  bool SetSentence(const WString& sentence);
  CToken NextToken();
  // Whether only the two appended blanks (or nothing) are left.
  bool IsAtLastChar() const;
  bool IsEndOfInput() const { return endOfInput_; }
  // The entry of the latest token of a category kind; null otherwise.
  CELexicalEntry* GetLastBuiltEntry() const { return lastBuiltEntry_; }
  // 1-based position of the name in the part-of-speech list; -1 when absent.
  int GetPOSIndex(const WString& name) const;
  // The normalised sentence with its two blanks.
  const WString& GetSentence() const { return sentence_; }
  // Whether the word (written without its dot) is one of the abbreviations
  // of "AbbreviationFile", compared exactly.
  bool IsAbbreviation(const WString& word) const { return abbreviations_.count(word) > 0; }

  void ReadPOSList();
  void ReadUnitPOS();
  void ReadAbbreviations();

  // Runs the builder named by an accept code with argument 1 (the other
  // arguments and the flag are carried but not used).
  void DispatchAccept(uint8_t acceptCode, bool flag, uint32_t argument1, uint32_t argument2, uint32_t argument3);
  void ResetTokenState();
  // Keeps in the part text only: 1 digits; 2 digits and ASCII letters;
  // 3 ASCII letters; 4 digits and '.'.
  void FilterPartText(int mode);
  void MakeDateEntry(const WString& category);
  void MakeTimeEntry();
  // "1".."12" for the month names and their abbreviations, "0" otherwise.
  static WString GetMonthNumber(const WString& text);
  // "1".."7" for Monday..Sunday and their abbreviations, "" otherwise.
  static WString GetWeekdayNumber(const WString& text);
  // The text written so that the description compiler reads it as one plain
  // value: every unit other than an ASCII letter, a digit, '.', '-', '_' or
  // '/' becomes '%' and four hex digits ('%' itself too), and the lone value
  // "c" is written "%0063" (it would read as the operator "=c").
  static WString EscapeFeatureValue(const WString& text);

 private:
  struct BacktrackRecord {
    CTransition transition;
    size_t position;
    WString partText;
    WString tokenText;
  };
  enum class Step { kContinue, kTokenReady };

  void LoadTables();
  // --- automaton (pre_processor.cpp) ---
  void StartToken();
  Step TakeTransition(WChar c, CToken& token);
  Step Backtrack(CToken& token);
  CToken EndAutomatonToken(size_t afterPosition, bool trailingSkip);
  CToken EndOfInputToken();
  CToken WithEntryOrAsWord(CToken token) const;
  bool IsLetterBeforeApostropheWord(const WString& word) const;
  // --- fixed rules (pre_processor_rules.cpp) ---
  Step ReadByFixedRules(CToken& token);
  CToken ReadApostropheToken(size_t possessiveTest);
  CToken ReadDelimiterToken(WChar c);
  CToken ReadWordToken();
  void StepOverWordEnd();
  void FullTrailingSkip();
  void FirstEndingTrailingSkip();
  bool IsSentenceEndAfter(size_t position) const;
  // --- builders (number_tokens.cpp, date_tokens.cpp) ---
  void Finish(const WString& category, const WString& features);
  void AddReading(const WString& category);
  void SetReadingsOfCode(uint32_t code);
  int CategoryKind(const WString& category) const;
  void BuildPlain();
  void BuildCardinal(uint32_t argument);
  void BuildUnitNumber(uint32_t argument);
  void BuildCommaNumber(uint32_t argument);
  void BuildOrdinal();
  void BuildFeet();
  void BuildInches();
  void BuildFeetAndInches(uint32_t argument);
  void BuildDateDay(uint32_t argument);
  void BuildDateMonth(uint32_t argument);
  void BuildDateYear(uint32_t argument);
  void FinishDate(WChar code, uint32_t argument);
  void BuildTimePart(WChar code, uint32_t argument);
  void BuildTimeType();

  WChar CharAt(size_t position) const { return position < sentence_.size() ? sentence_[position] : WChar{0}; }

  std::unique_ptr<CTokenEntryMaker> ownedMaker_;
  CTokenEntryMaker* entryMaker_;
  WString sentence_;
  bool endOfInput_ = false;

  // Scanning state of the current token.
  size_t position_ = 0;
  size_t tokenStart_ = 0;
  uint16_t state_ = 1;
  std::vector<BacktrackRecord> backtrack_;
  CToken pending_;
  CTokenScanState scan_;
  CELexicalEntry* lastBuiltEntry_ = nullptr;

  std::vector<std::unique_ptr<CELexicalEntry>> entriesOfSentence_;
  std::vector<std::unique_ptr<CELexicalEntry>> entriesOfPreviousSentence_;

  std::vector<WString> posList_;
  std::set<WString> abbreviations_;
  std::unordered_map<int, std::vector<uint32_t>> unitReadings_;
};

// Whether the first character is 'A'..'Z'.
bool StartsWithCapital(WString text);
// The tokeniser's delimiters: LF, blank, ! ' ( ) , . : ; ? [ ] { } and ".
bool IsTokenDelimiter(WChar c);
