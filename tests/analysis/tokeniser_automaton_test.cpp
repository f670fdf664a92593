// The automaton and its token builders: small tables written for one
// behaviour each, then the shipped table over every token class.
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "constraints/p_fs_compiler.h"
#include "tokeniser_test_fixture.h"

namespace {

struct TokenCase {
  const char* sentence;
  std::vector<TokenRow> tokens;
};

TokenRow Card(const std::string& text, const std::string& features, std::vector<std::string> readings = {"card"}) {
  return {text, "card", "card", features, std::move(readings)};
}
TokenRow Date(const std::string& text, const std::string& features) {
  return {text, "date", "date", features, {"date"}};
}
TokenRow Time(const std::string& text, const std::string& features) {
  return {text, "time", "time", features, {"adv"}};
}

using TokeniserAutomatonTest = TokeniserTest;

// After an order-0 transition the next character is only looked at: it is
// still read by the transition that follows.
TEST_F(TokeniserAutomatonTest, LookAheadDoesNotConsume) {
  Build("1 1 2 2 -1 -1 -1 0 0 0\n"
        "2 2 3 2 -1 -1 -1 0 0 1\n"
        "3 3 4 2 -1 -1 -1 0 0 1\n"
        "4 $ 5 2 -1 -1 -1 0 0 0\n"
        "5 ^ -1 A 7 -1 -1 0 0 0\n");
  EXPECT_EQ(Tokens("123 x"),
            (std::vector<TokenRow>{Card("123", "^IN_WORDS=NEG,^HAS_COMMA=NEG,^UNIT=NULL,^NUMBER_VAL=123,^NUM=PL"),
                                   Plain("x")}));
  // State 2 has no end-of-token transition: the token keeps what was read.
  EXPECT_EQ(Tokens("1 x"), (std::vector<TokenRow>{Plain("1"), Plain("x")}));
}

TEST_F(TokeniserAutomatonTest, UnitCodesGiveTheirReadingLists) {
  Build("1 5 2 2 -1 -1 -1 0 0 1\n"
        "2 ~ 3 A 8 -1 -1 0 0 1\n"
        "3 k 4 2 -1 -1 -1 0 0 1\n"
        "4 $ 5 2 -1 -1 -1 0 0 0\n"
        "5 ^ -1 B 12 -1 -1 0 0 0\n"
        "3 z 6 2 -1 -1 -1 0 0 1\n"
        "6 $ 7 2 -1 -1 -1 0 0 0\n"
        "7 ^ -1 B 14 -1 -1 0 0 0\n",
        // Blanks inside names are dropped; the first record of a code wins;
        // code 0 and unknown names are left out.
        "12 : ca rd , adv.\n12: ord.\n0: card.\n13: bogus, card.\n");
  const std::string unitFeatures = "^IN_WORDS=POS,^HAS_COMMA=NEG,^UNIT=k,^NUMBER_VAL=5,^NUM=PL";
  EXPECT_EQ(Tokens("5 k"), (std::vector<TokenRow>{Card("5 k", unitFeatures, {"card", "adv"})}));
  // A code without a record gives no readings.
  EXPECT_EQ(Tokens("5 z"),
            (std::vector<TokenRow>{Card("5 z", "^IN_WORDS=POS,^HAS_COMMA=NEG,^UNIT=z,^NUMBER_VAL=5,^NUM=PL", {})}));
}

TEST_F(TokeniserAutomatonTest, InchesAloneAreACardinal) {
  Build("1 6 2 2 -1 -1 -1 0 0 1\n"
        "2 \" 3 2 -1 -1 -1 0 0 1\n"
        "3 $ 4 2 -1 -1 -1 0 0 0\n"
        "4 ^ -1 F -1 -1 -1 0 0 0\n");
  EXPECT_EQ(Tokens("6\" x"),
            (std::vector<TokenRow>{Card("6", "^IN_WORDS=NEG,^HAS_COMMA=NEG,^UNIT=INCHES,^NUMBER=6"), Plain("x")}));
}

class ShippedTokeniserTest : public TokeniserTest {
 protected:
  void SetUp() override {
    if (!UseShippedData()) GTEST_SKIP() << "no shipped tokeniser data";
  }
  void Check(const std::vector<TokenCase>& cases) {
    for (const TokenCase& c : cases) EXPECT_EQ(Tokens(c.sentence), c.tokens) << c.sentence;
  }
};

const char* kCardinal = "^IN_WORDS=NEG,^HAS_COMMA=NEG,^UNIT=NULL,^NUMBER_VAL=";

TEST_F(ShippedTokeniserTest, Numbers) {
  const std::string card = kCardinal;
  Check({
      {"I have 25 books", {Plain("I"), Plain("have"), Card("25", card + "25,^NUM=PL"), Plain("books")}},
      {"He has 1 car", {Plain("He"), Plain("has"), Card("1", card + "1,^NUM=SG"), Plain("car")}},
      {"It costs 3.75 now", {Plain("It"), Plain("costs"), Card("3.75", card + "3.75,^NUM=PL"), Plain("now")}},
      {"He is 25.", {Plain("He"), Plain("is"), Card("25", card + "25,^NUM=PL"), Plain(".", "end")}},
      {"in 2005 ,", {Plain("in"), Card("2005", card + "2005,^NUM=PL"), Plain(",")}},
      {"12,000 people came",
       {Card("12000", "^IN_WORDS=NEG,^HAS_COMMA=POS,^UNIT=NULL,^NUMBER_VAL=12000,^NUM=PL"), Plain("people"),
        Plain("came")}},
      {"1,234,567 votes",
       {Card("1234567", "^IN_WORDS=NEG,^HAS_COMMA=POS,^UNIT=NULL,^NUMBER_VAL=1234567,^NUM=PL"), Plain("votes")}},
      {"12,000, and 12,000.",
       {Card("12000", "^IN_WORDS=NEG,^HAS_COMMA=POS,^UNIT=NULL,^NUMBER_VAL=12000,^NUM=PL"), Plain(","), Plain("and"),
        Card("12000", "^IN_WORDS=NEG,^HAS_COMMA=POS,^UNIT=NULL,^NUMBER_VAL=12000,^NUM=PL"), Plain(".", "end")}},
      // A comma that starts no group of three ends the number.
      {"1, 2", {Card("1", card + "1,^NUM=SG"), Plain(","), Card("2", card + "2,^NUM=PL")}},
      {"25abc", {{"25abc", "alphanum", "alphanum", "^NUMBER=25abc", {}}}},
  });
}

TEST_F(ShippedTokeniserTest, Ordinals) {
  const std::string ord = "^IN_WORDS=NEG,^HAS_COMMA=NEG,^UNIT=NULL,^ORD_NUMBER_VAL=";
  Check({
      {"He came 1st", {Plain("He"), Plain("came"), {"1st", "ord", "ord", ord + "1", {"ord"}}}},
      {"the 2nd and 3rd day",
       {Plain("the"), {"2nd", "ord", "ord", ord + "2", {"ord"}}, Plain("and"), {"3rd", "ord", "ord", ord + "3", {"ord"}},
        Plain("day")}},
      {"the 23rd century", {Plain("the"), {"23rd", "ord", "ord", ord + "23", {"ord"}}, Plain("century")}},
  });
}

TEST_F(ShippedTokeniserTest, Measures) {
  const std::string card = kCardinal;
  Check({
      {"5 kg of rice", {Card("5 kg", "^IN_WORDS=POS,^HAS_COMMA=NEG,^UNIT=kg,^NUMBER_VAL=5,^NUM=PL"), Plain("of"),
                        Plain("rice")}},
      {"2.5 million people",
       {Card("2.5 million", "^IN_WORDS=POS,^HAS_COMMA=NEG,^UNIT=million,^NUMBER_VAL=2.5,^NUM=PL"), Plain("people")}},
      {"12,000 km", {Card("12,000 km", "^IN_WORDS=NEG,^HAS_COMMA=POS,^UNIT=km,^NUMBER_VAL=12000,^NUM=PL")}},
      {"1 mile", {Card("1 mile", "^IN_WORDS=POS,^HAS_COMMA=NEG,^UNIT=mile,^NUMBER_VAL=1,^NUM=SG")}},
      // A word that only begins like a unit leaves the number alone.
      {"5 men", {Card("5", card + "5,^NUM=PL"), Plain("men")}},
      {"He is 6' tall", {Plain("He"), Plain("is"), Card("6", "^IN_WORDS=NEG,^HAS_COMMA=NEG,^UNIT=FEET,^NUMBER=6"),
                         Plain("tall")}},
      {"He is 5'6\" tall",
       {Plain("He"), Plain("is"),
        Card("5/6", "^IN_WORDS=NEG,^IN_WORDS=NEG,^HAS_COMMA=NEG,^UNIT=INCHES,^NUMBER=5/6"), Plain("tall")}},
      {"the 1990's music", {Plain("the"), Card("1990", card + "1990,^NUM=PL"), {"'", "apostr", "apostr", "", {}},
                            Plain("music")}},
  });
}

TEST_F(ShippedTokeniserTest, Times) {
  Check({
      {"at 10:30 today", {Plain("at"), Time("10:30", "^HR=10,^MIN=30,^SEC=NULL,^TIMETYPE=NULL"), Plain("today")}},
      {"at 10:30:15", {Plain("at"), Time("10:30:15", "^HR=10,^MIN=30,^SEC=15,^TIMETYPE=NULL")}},
      {"at 10:30 pm", {Plain("at"), Time("10:30 pm", "^HR=10,^MIN=30,^SEC=NULL,^TIMETYPE=pm")}},
      {"at 7 pm", {Plain("at"), Time("7 pm", "^HR=7,^MIN=NULL,^SEC=NULL,^TIMETYPE=pm")}},
      {"at 7 A.M. he left", {Plain("at"), Time("7 A.M.", "^HR=7,^MIN=NULL,^SEC=NULL,^TIMETYPE=am"), Plain("he"),
                             Plain("left")}},
      {"at 10:30.", {Plain("at"), Time("10:30", "^HR=10,^MIN=30,^SEC=NULL,^TIMETYPE=NULL"), Plain(".", "end")}},
  });
}

TEST_F(ShippedTokeniserTest, Dates) {
  const std::string october = ",^MONTH_IN_DIGIT=FALSE,^MONTH_VALUE=10";
  Check({
      {"on 12 October 2005 we",
       {Plain("on"), Date("12 October 2005", "^DAY_IN_DIGIT=12,^DAY_IN_WORD=NULL" + october + ",^Year=2005"),
        Plain("we")}},
      {"on 12 Oct he", {Plain("on"), Date("12 Oct", "^DAY_IN_DIGIT=12,^DAY_IN_WORD=NULL" + october), Plain("he")}},
      // The year that is not one leaves the day and month standing.
      {"12 October is", {Date("12 October", "^DAY_IN_DIGIT=12,^DAY_IN_WORD=NULL" + october), Plain("is")}},
      {"on 1st March 2005",
       {Plain("on"), Date("1st March 2005",
                          "^DAY_IN_DIGIT=1,^DAY_IN_WORD=NULL,^MONTH_IN_DIGIT=FALSE,^MONTH_VALUE=3,^Year=2005")}},
      {"on 12/10/2005",
       {Plain("on"),
        Date("12/10/2005", "^DAY_IN_DIGIT=12,^DAY_IN_WORD=NULL,^MONTH_IN_DIGIT=TRUE,^MONTH_VALUE=10,^Year=2005")}},
      {"on Monday", {Plain("on"), Date("Monday", "^DAY_IN_WORD=1,^DAY_IN_DIGIT=NULL,^MONTH_IN_DIGIT=FALSE,"
                                                 "^MONTH_VALUE=NULL")}},
      {"in October 2005",
       {Plain("in"), Date("October 2005", "^DAY_IN_WORD=NULL,^DAY_IN_DIGIT=NULL" + october + ",^Year=2005")}},
      {"in October", {Plain("in"), Date("October", "^DAY_IN_WORD=NULL,^DAY_IN_DIGIT=NULL" + october)}},
      {"May 2005", {Date("May 2005",
                         "^DAY_IN_WORD=NULL,^DAY_IN_DIGIT=NULL,^MONTH_IN_DIGIT=FALSE,^MONTH_VALUE=5,^Year=2005")}},
      // "May" and "March" alone are words.
      {"May I go", {Plain("May"), Plain("I"), Plain("go")}},
      {"Mondays are long", {Plain("Mondays"), Plain("are"), Plain("long")}},
  });
}

TEST_F(ShippedTokeniserTest, WordsPunctuationAndAbbreviations) {
  Check({
      {"Mr. Smith don't go", {Plain("Mr", "abbr"), Plain("Smith"), Plain("don"), Plain("t"), Plain("go")}},
      {"Tom's 2 books?", {Plain("Tom"), {"'", "apostr", "apostr", "", {}}, Card("2", std::string(kCardinal) +
                                                                                     "2,^NUM=PL"),
                          Plain("books"), Plain("?", "end")}},
      {"A4 etc", {{"A4", "alphanum", "alphanum", "^NUMBER=A4", {}}, Plain("etc", "abbr")}},
  });
}

// Every description the tokeniser writes compiles, one item per attribute.
TEST_F(ShippedTokeniserTest, FeatureTextsCompile) {
  const std::string english = std::string(std::getenv("LFG_SOURCE_DIR")) + "/dataroot/data/english/";
  SetConfigValue("FSAttrTypeFile", english + "FSAttrTypes.txt");
  SetConfigValue("SubCatFrameListFileName", english + "GovernableFunctions.txt");
  P_FSCompiler::Init();
  const char* sentences[] = {"25 3.75 12,000 1st 5 kg 12,000 km 6' 5'6\" A4 Tom's",
                             "10:30 10:30:15 7 pm 10:30 a.m.",
                             "12 October 2005 12 Oct 12/10/2005 Monday October 2005 x=y^z"};
  int compiled = 0;
  for (const char* sentence : sentences) {
    for (const TokenRow& row : Tokens(sentence)) {
      if (row.category.empty() || row.features.empty()) continue;
      std::set<std::string> attributes;
      for (size_t at = row.features.find('^'); at != std::string::npos; at = row.features.find('^', at + 1))
        attributes.insert(row.features.substr(at, row.features.find('=', at) - at));
      int8_t choices = 0;
      const std::vector<uint16_t> ids = P_FSCompiler::CompileDescription(row.features, choices);
      EXPECT_FALSE(P_FSCompiler::LastDescriptionFailed()) << row.features;
      EXPECT_EQ(ids.size(), attributes.size()) << row.features;
      EXPECT_EQ(choices, 0) << row.features;
      ++compiled;
    }
  }
  EXPECT_EQ(compiled, 19);  // the possessive marker has no features
}

// A token read in one sentence leaves nothing behind for the next.
TEST_F(ShippedTokeniserTest, SentencesInARowShareNothing) {
  pre_->SetSentence(u"on 12 October");
  pre_->NextToken();
  pre_->SetSentence(u"2005 was good");
  EXPECT_EQ(pre_->NextToken().Text, u"2005");
  EXPECT_EQ(Row(CToken()).features, std::string(kCardinal) + "2005,^NUM=PL");
  EXPECT_EQ(Tokens("at 7 pm"), (std::vector<TokenRow>{Plain("at"), Time("7 pm", "^HR=7,^MIN=NULL,^SEC=NULL,"
                                                                              "^TIMETYPE=pm")}));
  EXPECT_EQ(Tokens("October"),
            (std::vector<TokenRow>{Date("October", "^DAY_IN_WORD=NULL,^DAY_IN_DIGIT=NULL,^MONTH_IN_DIGIT=FALSE,"
                                                   "^MONTH_VALUE=10")}));
}

}  // namespace
