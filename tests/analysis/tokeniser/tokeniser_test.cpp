// The tokeniser: its transition table, the fixed rules, and the shipped
// table over every token class. Each token is shown as "text", then
// "/kind" unless it is a plain word, then "{category features}" of the entry
// made for it and "<readings>"; tokens are joined by " | ".
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "analysis/tokeniser/pre_processor.h"
#include "analysis/tokeniser/transition_table.h"
#include "core/config_store.h"
#include "resources/english/e_lexicon_entry.h"
#include "support/test_support.h"

namespace {

class RecordingEntryMaker : public CTokenEntryMaker {
 public:
  std::unique_ptr<CELexicalEntry> MakeEntry(const WString& category, const WString& features) override {
    if (refuse) return nullptr;  // as a lexicon whose compiler rejects the features
    auto entry = std::make_unique<CELexicalEntry>();
    made[entry.get()] = ToUtf8(category) + " " + ToUtf8(features);
    return entry;
  }
  std::map<const CELexicalEntry*, std::string> made;
  bool refuse = false;
};

class TokeniserTest : public ::testing::Test {
 protected:
  void SetUp() override {  // an empty table: only the fixed rules
    for (const char* empty : {"table.txt", "units.txt"}) std::ofstream(dir_.File(empty)) << "";
    std::ofstream(dir_.File("abbreviations.txt")) << "Mr Dr etc";
    std::ofstream(dir_.File("pos.txt")) << "det n pn pron v aux adj adv p conj neg card ord date time alphanum apostr";
    UseFiles(dir_.File("table.txt"), dir_.File("units.txt"), dir_.File("abbreviations.txt"), dir_.File("pos.txt"));
  }
  void UseFiles(const std::string& table, const std::string& units, const std::string& abbreviations,
                const std::string& pos) {
    SetConfigValue("TransitionTable", table);
    SetConfigValue("UnitPosFile", units);
    SetConfigValue("AbbreviationFile", abbreviations);
    SetConfigValue("POSs", pos);
    pre_ = std::make_unique<CPreProcessor>(maker_);
    std::ifstream in(pos);
    for (std::string name; in >> name;) posNames_.push_back(name);
  }
  std::string KindName(int kind) const {
    if (kind == kTokenWord) return "word";
    if (kind == kTokenAbbreviation) return "abbr";
    if (kind == kTokenSentenceEnd) return "end";
    if (kind >= 1 && static_cast<size_t>(kind) <= posNames_.size()) return posNames_[kind - 1];
    return "#" + std::to_string(kind);
  }
  std::string Show(const CToken& token) const {
    std::string text = ToUtf8(token.Text) + (token.Kind == kTokenWord ? "" : "/" + KindName(token.Kind));
    const auto found = maker_.made.find(pre_->GetLastBuiltEntry());
    if (found != maker_.made.end()) text += " {" + found->second + "}";
    for (size_t i = 0; i < token.Readings.size(); ++i) text += (i ? "," : " <") + KindName(token.Readings[i]);
    if (!token.Readings.empty()) text += ">";
    return text;
  }
  // Every token of the sentence, as the parser draws them.
  std::string Tokens(const std::string& sentence) {
    pre_->SetSentence(FromUtf8(sentence));
    std::string shown;
    for (int guard = 0; guard < 1000 && !pre_->IsAtLastChar(); ++guard) {
      const CToken token = pre_->NextToken();
      if (token.Kind == kTokenEndOfInput) break;
      shown += (shown.empty() ? "" : " | ") + Show(token);
    }
    return shown;
  }

  TempDir dir_;
  RecordingEntryMaker maker_;
  std::unique_ptr<CPreProcessor> pre_;
  std::vector<std::string> posNames_;
};

class TransitionTableTest : public TokeniserTest {
 protected:
  // Loads the text as a table file; returns what was printed.
  std::string Load(const std::string& text) {
    std::ofstream(dir_.File("table.txt"), std::ios::binary) << text;
    testing::internal::CaptureStderr();
    loaded_ = table_.LoadFile(dir_.File("table.txt"));
    return testing::internal::GetCapturedStderr();
  }
  // "state:code" for each transition of the lookup.
  std::string Lookup(uint16_t state, char16_t c) {
    std::string shown;
    for (const CTransition& t : table_.NextTransitions(state, c)) {
      shown += std::to_string(t.GetNextState()) + ":" + static_cast<char>(t.GetAcceptCode()) + " ";
    }
    return shown;
  }
  CTransitionTable table_;
  bool loaded_ = false;
};

// A run of records of one state and character is sorted by order key,
// stably, a later run apart; empty-input ('$') transitions follow breadth first.
TEST_F(TransitionTableTest, LookupsFollowTheOrderKeyAndThenEmptyInputs) {
  Load(
      "1 a 10 2 -1 -1 -1 0 0 9\n1 a 11 2 -1 -1 -1 0 0 2\n1 a 12 2 -1 -1 -1 0 0 9\n2 b 3 2 -1 -1 -1 0 0 0\n"
      "1 a 14 2 -1 -1 -1 0 0 1\n1 5 2 A -1 -1 -1 0 0 1\n2 $ 3 B -1 -1 -1 0 0 1\n3 $ 4 C -1 -1 -1 0 0 1\n"
      "2 $ 7 D -1 -1 -1 0 0 1\n-1 ~ -1 B 8 9 10 1 42 0");
  EXPECT_EQ(Lookup(1, u'a'), "11:2 10:2 12:2 14:2 ");
  EXPECT_EQ(Lookup(1, u'5'), "2:A 3:B 7:D 4:C ");
  EXPECT_EQ(GetLastTransitionCount(), 4u);
  EXPECT_EQ(Lookup(2, u'x'), "") << "no transition of its own, whatever its '$' ones";
  // The last record counts without a line end; -1 as a state means 0.
  EXPECT_EQ(Lookup(0, u' '), "0:B ");
}

TEST_F(TransitionTableTest, BadTablesAreRejectedWithTheirPlace) {
  const std::tuple<std::string, std::string, size_t> cases[] = {
      {"1 a 2 2 -1 -1 -1 0 0 1\n2 $ 3 2 -1 -1 -1 0 0 1\n3 $ 2 2 -1 -1 -1 0 0 1\n", "cycle", 0},
      {"1 a 2 2 -1 -1 -1 0 0 1\n1 b x 2 -1 -1 -1 0 0 1\n", "line 2, column 5", 1},
      {"1 a 2 2 -1 -1 -1 0 0 1\n\n  1 b 2 2 -1 -1", "line 3, column 16", 1},  // cut short
      {"1 a 2 2 -1 -1 -1 0 0 -1\n", "line 1, column 22", 0},                  // negative order key
      {"70000 a 2 2 -1 -1 -1 0 0 1\n", "line 1, column 1", 0},                // state beyond 16 bits
  };
  for (const auto& [text, place, kept] : cases) {
    const std::string printed = Load(text);
    EXPECT_FALSE(loaded_) << text;
    EXPECT_NE(printed.find(place), std::string::npos) << printed;
    EXPECT_EQ(table_.Size(), kept) << text;
  }
  Load("1 a 2 2 -1 -1 -1 0 0 1\n");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(table_.LoadFile(dir_.File("absent.txt")));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "exception\n");
  EXPECT_EQ(table_.Size(), 0u);
}

// A transition of order key 0 on a real character ends the token only where
// a delimiter or the end of the text follows; otherwise the scan goes on.
TEST_F(TokeniserTest, OrderZeroTransitionEndsTheTokenOnlyBeforeADelimiter) {
  std::ofstream(dir_.File("digit.txt"), std::ios::binary) << "1 7 2 2 -1 -1 -1 0 0 0\n2 ^ 3 A 1 -1 -1 0 0 0\n";
  UseFiles(dir_.File("digit.txt"), dir_.File("units.txt"), dir_.File("abbreviations.txt"), dir_.File("pos.txt"));
  const std::pair<const char*, const char*> cases[] = {
      // The automaton's token is a plain "7"; the fixed rules would read "7" as alphanum.
      {"7", "7"},
      {"7 b", "7 | b"},
      {"7, b", "7 | , | b"},
      // No delimiter after the 7: no transition goes on, so the fixed rules read the word.
      {"7x b", "7x/alphanum {alphanum ^NUMBER=7x} | b"},
      {"77 b", "77/alphanum {alphanum ^NUMBER=77} | b"},
  };
  for (const auto& [sentence, tokens] : cases) EXPECT_EQ(Tokens(sentence), tokens) << sentence;
}

TEST_F(TokeniserTest, FixedRulesSplitWordsPunctuationAndApostrophes) {
  const std::pair<const char*, const char*> cases[] = {
      {"The  cat sat on the mat..", "The | cat | sat | on | the | mat"},
      {"Who is he?", "Who | is | he | ?/end"},
      {"Yes, he came .", "Yes | , | he | came | ./end"},
      {"He came . Is it ?", "He | came | . | Is | it | ?/end"},
      {"(so)", "( | so | )"},
      {"Mr. Smith met Dr Jones", "Mr/abbr | Smith | met | Dr/abbr | Jones"},
      {"Tom's book", "Tom | '/apostr {apostr } | book"},
      {"James's car", "James | '/apostr {apostr } | s | car"},
      {"the players' ball", "the | players | ball"},
      {"I don't", "I | don | t"},
      {"at eight o'clock", "at | eight | o'clock"},
      {"O'Brien's car", "O'Brien | '/apostr {apostr } | car"},
      {"I'm sure I'll", "I | m | sure | I | ll"},
      {"o' clock", "o | clock"},
      {"a co-op", "a | co-op/alphanum {alphanum ^NUMBER=co-op}"},
      {"\xd9\xbe\xd8\xa7\xd9\x86\xdb\x8c", "\xd9\xbe\xd8\xa7\xd9\x86\xdb\x8c"},
  };
  for (const auto& [sentence, tokens] : cases) EXPECT_EQ(Tokens(sentence), tokens) << sentence;
  maker_.refuse = true;
  EXPECT_EQ(Tokens("A4 Tom's"), "A4 | Tom | '") << "tokens without entries";
}

// Characters the description compiler reads as syntax never reach it raw:
// a mixed word gives one defining equation of NUMBER.
TEST_F(TokeniserTest, TypedWordsAreEscapedInFeatures) {
  const std::pair<const char*, const char*> cases[] = {{"x=y^z", "^NUMBER=x%003Dy%005Ez"},
                                                       {"1&&2$3", "^NUMBER=1%0026%00262%00243"},
                                                       {"a|b~c", "^NUMBER=a%007Cb%007Ec"},
                                                       {"4\xd9\xbc", "^NUMBER=4%067C"},
                                                       {"a<b>c'd", ""}};
  for (const auto& [word, expected] : cases) {
    pre_->SetSentence(FromUtf8(word));
    pre_->NextToken();
    const std::string made = maker_.made.at(pre_->GetLastBuiltEntry());  // "alphanum ^NUMBER=..."
    const std::string features = made.substr(made.find(' ') + 1);
    EXPECT_TRUE(*expected == 0 || features == expected) << features;
    EXPECT_EQ(features.rfind("^NUMBER=", 0), 0u) << features;
    EXPECT_EQ(features.find_first_of("=^!$,[]|~{}&' \"<>", 8), std::string::npos) << features;
  }
}

TEST_F(TokeniserTest, OverLongSentenceIsRefusedNotWrapped) {
  MessageRecorder messages;
  EXPECT_FALSE(pre_->SetSentence(FromUtf8(std::string(40000, 'a'))));
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_NE(messages.messages()[0].text.find(u"32765"), WString::npos);
  EXPECT_EQ(pre_->NextToken().Kind, kTokenEndOfInput);
  std::string longest(32765, 'b');  // the longest accepted, with the two blanks added
  longest[32000] = ' ';
  EXPECT_TRUE(pre_->SetSentence(FromUtf8(longest)));
  EXPECT_EQ(pre_->NextToken().Text.size(), 32000u);
  EXPECT_EQ(pre_->NextToken().Text.size(), 764u);
}

class ShippedTokeniserTest : public TokeniserTest {
 protected:
  void SetUp() override {
    // The source tree CTest names, else the current folder (a run by hand from the clone's root).
    const char* root = std::getenv("LFG_SOURCE_DIR");
    const std::string data = std::string(root != nullptr ? root : ".") + "/dataroot/data/";
    UseFiles(data + "tokeniser/TransitionTable.txt", data + "tokeniser/UnitPosFile.txt",
             data + "tokeniser/AbbreviationFile.txt", data + "english/POSs.txt");
  }
};

// A cardinal: its text, the comma, unit and word flags, its value and number.
std::string Card(const std::string& text, const std::string& flags, const std::string& value, const char* num = "PL") {
  return text + "/card {card " + flags + ",^NUMBER_VAL=" + value + ",^NUM=" + num + "} <card>";
}
const std::string kPlain = "^IN_WORDS=NEG,^HAS_COMMA=NEG,^UNIT=NULL";
const std::string kComma = "^IN_WORDS=NEG,^HAS_COMMA=POS,^UNIT=NULL";
const std::string kOrd = "/ord {ord ^IN_WORDS=NEG,^HAS_COMMA=NEG,^UNIT=NULL,^ORD_NUMBER_VAL=";
const std::string kTime = "/time {time ^HR=";
const std::string kDay = "/date {date ^DAY_IN_DIGIT=12,^DAY_IN_WORD=NULL,^MONTH_IN_DIGIT=";

TEST_F(ShippedTokeniserTest, EveryTokenClassComesOutWithItsFeatures) {
  const std::pair<const char*, std::string> cases[] = {
      {"He has 1 car", "He | has | " + Card("1", kPlain, "1", "SG") + " | car"},
      {"It costs 3.75", "It | costs | " + Card("3.75", kPlain, "3.75")},
      {"1,234,567 votes", Card("1234567", kComma, "1234567") + " | votes"},
      {"12,000, and 1, 2", Card("12000", kComma, "12000") + " | , | and | " + Card("1", kPlain, "1", "SG") + " | , | " +
                               Card("2", kPlain, "2")},
      {"the 2nd and 23rd day", "the | 2nd" + kOrd + "2} <ord> | and | 23rd" + kOrd + "23} <ord> | day"},
      {"5 kg of", Card("5 kg", "^IN_WORDS=POS,^HAS_COMMA=NEG,^UNIT=kg", "5") + " | of"},
      {"12,000 km", Card("12,000 km", "^IN_WORDS=NEG,^HAS_COMMA=POS,^UNIT=km", "12000")},
      {"5 men", Card("5", kPlain, "5") + " | men"},  // a word that only begins like a unit
      {"is 5'6\" tall",
       "is | 5/6/card {card ^IN_WORDS=NEG,^IN_WORDS=NEG,^HAS_COMMA=NEG,^UNIT=INCHES,^NUMBER=5/6} "
       "<card>"
       " | tall"},
      {"at 10:30:15", "at | 10:30:15" + kTime + "10,^MIN=30,^SEC=15,^TIMETYPE=NULL} <adv>"},
      {"at 10:30.", "at | 10:30" + kTime + "10,^MIN=30,^SEC=NULL,^TIMETYPE=NULL} <adv> | ./end"},
      {"at 7 A.M. he", "at | 7 A.M." + kTime + "7,^MIN=NULL,^SEC=NULL,^TIMETYPE=am} <adv> | he"},
      {"on 12 October 2005 we", "on | 12 October 2005" + kDay + "FALSE,^MONTH_VALUE=10,^Year=2005} <date> | we"},
      {"on 12/10/2005", "on | 12/10/2005" + kDay + "TRUE,^MONTH_VALUE=10,^Year=2005} <date>"},
      {"on Monday",
       "on | Monday/date {date ^DAY_IN_WORD=1,^DAY_IN_DIGIT=NULL,^MONTH_IN_DIGIT=FALSE,"
       "^MONTH_VALUE=NULL} <date>"},
      {"May I go", "May | I | go"},
      {"A4 etc", "A4/alphanum {alphanum ^NUMBER=A4} | etc/abbr"},
  };
  for (const auto& [sentence, tokens] : cases) EXPECT_EQ(Tokens(sentence), tokens) << sentence;
}

// A token read in one sentence leaves nothing behind for the next.
TEST_F(ShippedTokeniserTest, SentencesInARowShareNothing) {
  pre_->SetSentence(u"on 12 October");
  pre_->NextToken();
  pre_->SetSentence(u"2005 was good");
  EXPECT_EQ(Show(pre_->NextToken()), Card("2005", kPlain, "2005"));
  pre_->SetSentence(u"A4 and more");
  pre_->NextToken();
  ASSERT_NE(pre_->GetLastBuiltEntry(), nullptr);
  EXPECT_EQ(Tokens("hello October"),
            "hello | October/date {date ^DAY_IN_WORD=NULL,^DAY_IN_DIGIT=NULL,"
            "^MONTH_IN_DIGIT=FALSE,^MONTH_VALUE=10} <date>");
}

}  // namespace
