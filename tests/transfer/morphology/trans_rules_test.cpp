// Character-rewriting rules: the file grammar on small hand-made files, and
// the shipped English-to-Urdu spellings.
#include <gtest/gtest.h>

#include "core/trace_log.h"
#include "morphology_test_support.h"
#include "transfer/morphology/trans_rules.h"

namespace {

class TransRules : public ::testing::Test {
 protected:
  std::unique_ptr<CTransRules> Load(const std::u16string& text) {
    const std::string path = dir_.File("rules.txt");
    WriteUtf16File(path, text);
    return std::make_unique<CTransRules>(path);
  }
  // The rules of a block as "pattern:replacement/advance".
  static std::vector<std::string> Block(const CTransRules& rules, WChar key) {
    std::vector<std::string> texts;
    if (rules.Block(key) == nullptr) return {"none"};
    for (const auto& rule : *rules.Block(key)) {
      texts.push_back(ToUtf8(rule->pattern) + ":" + ToUtf8(rule->replacement) + "/" + std::to_string(rule->advance));
    }
    return texts;
  }

  TempDir dir_;
};

TEST_F(TransRules, ReadsBlocksOfRuleLines) {
  struct Case {
    std::u16string text;
    WChar key;
    std::vector<std::string> rules;
  };
  const Case cases[] = {
      // Text before the first block is skipped; the header's rest too.
      {u"a comment\n=t the t block\nth:تھ.\nt:ٹ. plain t\n", u't', {"th:تھ/2", "t:ٹ/1"}},
      // A digit after the stop is the advance; only one digit is read.
      {u"=x\nx:کس.3\nxy:ز.12\n", u'x', {"x:کس/3", "xy:ز/1"}},
      // A letter after the stop is no advance; 0 means the pattern's length.
      {u"=x\nxx:ک.a\nxyz:ز.0\n", u'x', {"xx:ک/2", "xyz:ز/3"}},
      // CR before LF belongs to the ignored rest; no LF after the last line.
      {u"=a\r\nai:ی.\r\nau:ا.", u'a', {"ai:ی/2", "au:ا/2"}},
      // Blocks end where a line starts with "="; later blocks are filed.
      {u"=a\na:ا.\n=b\nb:ب.\n", u'b', {"b:ب/1"}},
      // A second block for a key is not filed: the first stays.
      {u"=a\na:ا.\n=a\na:آ.\n", u'a', {"a:ا/1"}},
      // Rules without a pattern are not filed.
      {u"=a\n:ی.\na:ا.\n", u'a', {"a:ا/1"}},
      {u"=a", u'a', {}},
      {u"no blocks at all", u'n', {"none"}},
  };
  for (const Case& c : cases) {
    auto rules = Load(c.text);
    EXPECT_EQ(Block(*rules, c.key), c.rules) << ToUtf8(c.text);
  }
}

TEST_F(TransRules, ASecondBlockForAKeyIsLogged) {
  const std::string log = dir_.File("log.txt");
  OpenTraceLog(log);
  const uint64_t before = TraceLogLineCount();
  Load(u"=a\na:ا.\n=a\na:آ.\n");
  EXPECT_EQ(TraceLogLineCount(), before + 1);
  CloseTraceLog();
}

TEST_F(TransRules, EndingRulesWrapAndMarkASilentE) {
  struct Case {
    WString word, wrapped;
  };
  const Case cases[] = {
      {u"time", u"<ti*me>"}, {u"timed", u"<ti*med>"}, {u"make", u"<make>"}, {u"tie", u"<tie>"},
      {u"cute", u"<cu*te>"}, {u"type", u"<ty*pe>"},   {u"e", u"<e>"},       {u"ed", u"<ed>"},
      {u"", u"<>"},          {u"seed", u"<seed>"},    {u"bed", u"<bed>"},
  };
  for (const Case& c : cases) {
    WString word = c.word;
    CTransRules::ApplyEndingRules(word);
    EXPECT_EQ(word, c.wrapped) << ToUtf8(c.word);
  }
}

TEST_F(TransRules, RewritesEachWordLeftToRight) {
  auto rules = Load(
      u"=<\n<:.\n=>\n>:.\n=*\n*:.\n"
      u"=a\nab:X.\na:Y.\nabc:never.\n"
      u"=b\nbcd:Q.9\n"
      u"=c\nc:C.\n");
  struct Case {
    WString text, expected;
  };
  const Case cases[] = {
      {u"", u""},          {u"a", u"Y "}, {u"abc", u"XC "},  // the earlier of two matching rules wins
      {u"ABC", u"XC "},                                      // upper case is rewritten as lower case
      {u"bx", u"bx "},                                       // no rule of the block fits: copied
      {u"bcdxyz", u"Q "},                                    // an advance past the end stops the word
      {u"a  c", u"Y  C "},                                   // an empty word between two blanks
      {u"a ", u"Y "},                                        // a final blank adds no word
      {u"z9", u"z9 "},                                       // letters without a block are copied
  };
  for (const Case& c : cases) EXPECT_EQ(rules->Apply(c.text), c.expected) << ToUtf8(c.text);
  // Without blocks for the brackets and the mark they stay.
  auto bare = Load(u"=t\nt:ٹ.\n");
  EXPECT_EQ(bare->Apply(u"time"), u"<ٹi*me> ");
}

TEST_F(TransRules, MissingFileGivesAnEmptyTable) {
  MessageRecorder recorder;
  CTransRules rules(dir_.File("missing.txt"));
  EXPECT_EQ(rules.BlockCount(), 0u);
  EXPECT_EQ(recorder.messages().size(), 1u);
  EXPECT_EQ(rules.Apply(u"Time"), u"<ti*me> ");
}

TEST(ShippedTransRules, SpellEnglishWordsInUrduLetters) {
  MessageRecorder recorder;
  CTransRules rules(morphology_test::ShippedFile("data/urdu/TransRules.txt"));
  EXPECT_TRUE(recorder.messages().empty());
  const std::pair<const char16_t*, const char16_t*> spellings[] = {
      {u"Tom", u"ٹام"},
      {u"London", u"لندن"},
      {u"time", u"ٹائم"},
      {u"TIME", u"ٹائم"},
      {u"John", u"جان"},
      {u"Mary", u"میری"},
      {u"Peter", u"پیٹر"},
      {u"Jack", u"جیک"},
      {u"James", u"جیمز"},
      {u"Charles", u"چارلز"},
      {u"Sarah", u"سارہ"},
      {u"David", u"ڈیوڈ"},
      {u"Robert", u"رابرٹ"},
      {u"Mike", u"مائک"},
      {u"Jane", u"جین"},
      {u"Boston", u"بوسٹن"},
      {u"Washington", u"واشنگٹن"},
      {u"Jackson", u"جیکسن"},
      {u"York", u"یورک"},
      {u"Oxford", u"اوکسفورڈ"},
      {u"Canada", u"کینیڈا"},
      {u"India", u"انڈیا"},
      {u"Monday", u"منڈے"},
      {u"Sunday", u"سنڈے"},
      {u"Thursday", u"تھرسڈے"},
      {u"city", u"سٹی"},
      {u"school", u"سکول"},
      {u"teacher", u"ٹیچر"},
      {u"computer", u"کمپیوٹر"},
      {u"station", u"سٹیشن"},
      {u"doctor", u"ڈاکٹر"},
      {u"window", u"ونڈو"},
      {u"house", u"ہاؤس"},
      {u"night", u"نائٹ"},
      {u"book", u"بک"},
      {u"train", u"ٹرین"},
      {u"road", u"روڈ"},
      {u"phone", u"فون"},
      {u"queen", u"کوین"},
      {u"church", u"چرچ"},
      {u"university", u"یونیورسٹی"},
      {u"television", u"ٹیلیوژن"},
      {u"happy", u"ہیپی"},
      {u"box", u"باکس"},
      {u"ice", u"آئس"},
      {u"know", u"نو"},
      {u"write", u"رائٹ"},
      {u"water", u"واٹر"},
      {u"bank", u"بینک"},
      {u"market", u"مارکیٹ"},
      {u"radio", u"ریڈیو"},
      {u"street", u"سٹریٹ"},
      {u"film", u"فلم"},
      {u"bus", u"بس"},
      {u"green", u"گرین"},
      {u"cake", u"کیک"},
      // A short word keeps the vowel of its final e; a longer one drops it.
      {u"he", u"ہی"},
      {u"me", u"می"},
      {u"she", u"شی"},
      {u"the", u"دی"},
      {u"we", u"وی"},
      {u"be", u"بی"},
  };
  for (const auto& [english, urdu] : spellings) {
    const WString written = rules.Apply(english);
    EXPECT_EQ(written, WString(urdu) + u" ") << ToUtf8(english);
    EXPECT_EQ(written.find_first_of(u"<>*"), WString::npos) << ToUtf8(english);
  }
  EXPECT_EQ(rules.Apply(u"Tom London"), u"ٹام لندن ");
}

}  // namespace
