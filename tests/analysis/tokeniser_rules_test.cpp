// The tokeniser's fixed rules, read without any automaton transitions:
// words, punctuation, apostrophes, abbreviations, mixed words, and the
// handling of sentences.
#include <string>
#include <vector>

#include "constraints/p_fs_compiler.h"
#include "tokeniser_test_fixture.h"

namespace {

struct RuleCase {
  const char* sentence;
  std::vector<TokenRow> tokens;
};

class TokeniserRulesTest : public TokeniserTest {
 protected:
  void SetUp() override { Build(""); }
};

TEST_F(TokeniserRulesTest, SentencesComeOutAsTheirTokens) {
  const std::vector<RuleCase> cases = {
      // Runs of blanks and of dots collapse; the dot right after the last word
      // goes with it.
      {"The  cat sat on the mat..", {Plain("The"), Plain("cat"), Plain("sat"), Plain("on"), Plain("the"), Plain("mat")}},
      // '?' and ',' directly after a word are tokens of their own.
      {"Who is he?", {Plain("Who"), Plain("is"), Plain("he"), Plain("?", "end")}},
      {"Yes, he is", {Plain("Yes"), Plain(","), Plain("he"), Plain("is")}},
      // A blank before the final dot leaves the dot as the sentence end.
      {"He came .", {Plain("He"), Plain("came"), Plain(".", "end")}},
      // In mid-sentence '.', ';' and '?' do not end the sentence.
      {"He came . She went", {Plain("He"), Plain("came"), Plain("."), Plain("She"), Plain("went")}},
      {"Is it ? Yes", {Plain("Is"), Plain("it"), Plain("?"), Plain("Yes")}},
      {"go ; stay", {Plain("go"), Plain(";"), Plain("stay")}},
      {"(so)", {Plain("("), Plain("so"), Plain(")")}},
      // Abbreviations; the dot after one is passed over.
      {"Mr. Smith met Dr Jones", {Plain("Mr", "abbr"), Plain("Smith"), Plain("met"), Plain("Dr", "abbr"), Plain("Jones")}},
      // Possessives: the name, the marker, the noun.
      {"Tom's book", {Plain("Tom"), {"'", "apostr", "apostr", "", {}}, Plain("book")}},
      // After a word ending in s only the apostrophe is the marker.
      {"James's car", {Plain("James"), {"'", "apostr", "apostr", "", {}}, Plain("s"), Plain("car")}},
      // A plural possessive: the apostrophe goes with the word.
      {"the players' ball", {Plain("the"), Plain("players"), Plain("ball")}},
      // A contraction: the apostrophe is passed over.
      {"I don't know", {Plain("I"), Plain("don"), Plain("t"), Plain("know")}},
      {"'Hello there", {Plain("Hello"), Plain("there")}},
      // Mixed letter-digit words carry their text as a feature.
      {"A4 paper", {{"A4", "alphanum", "alphanum", "^NUMBER=A4", {}}, Plain("paper")}},
      {"a co-op", {Plain("a"), {"co-op", "alphanum", "alphanum", "^NUMBER=co-op", {}}}},
      // Urdu letters make a plain word.
      {"\xd9\xbe\xd8\xa7\xd9\x86\xdb\x8c", {Plain("\xd9\xbe\xd8\xa7\xd9\x86\xdb\x8c")}},
  };
  for (const RuleCase& c : cases) EXPECT_EQ(Tokens(c.sentence), c.tokens) << c.sentence;
}

// Characters that the description compiler reads as syntax never reach it
// raw, so the word cannot add, negate or choose equations.
TEST_F(TokeniserRulesTest, TypedWordsAreEscapedInFeatures) {
  const std::vector<RuleCase> cases = {
      {"x=y^z", {{"x=y^z", "alphanum", "alphanum", "^NUMBER=x%003Dy%005Ez", {}}}},
      {"a|b~c", {{"a|b~c", "alphanum", "alphanum", "^NUMBER=a%007Cb%007Ec", {}}}},
      {"1&&2$3", {{"1&&2$3", "alphanum", "alphanum", "^NUMBER=1%0026%00262%00243", {}}}},
      {"50%", {{"50%", "alphanum", "alphanum", "^NUMBER=50%0025", {}}}},
      // A unit above the 8-bit range would be narrowed to its low byte.
      {"4\xd9\xbc", {{"4\xd9\xbc", "alphanum", "alphanum", "^NUMBER=4%067C", {}}}},
  };
  for (const RuleCase& c : cases) EXPECT_EQ(Tokens(c.sentence), c.tokens) << c.sentence;
  EXPECT_EQ(CPreProcessor::EscapeFeatureValue(u"c"), u"%0063");
  EXPECT_EQ(CPreProcessor::EscapeFeatureValue(u"cm"), u"cm");
}

// What the description compiler makes of a mixed word's features: one
// defining equation of NUMBER, whatever the word holds.
TEST_F(TokeniserRulesTest, TypedWordsCompileToOneEquation) {
  for (const char* word : {"x=y", "a^b", "c2", "1|2", "a~b", "2=c", "1&&2", "x$y", "a<b>c"}) {
    const std::vector<TokenRow> rows = Tokens(word);
    ASSERT_FALSE(rows.empty()) << word;
    const std::string features = rows.front().features;
    std::vector<std::string> equations;
    size_t pos = 0;
    for (std::string token; !(token = P_FSCompiler::NextToken(features, pos)).empty();) equations.push_back(token);
    ASSERT_EQ(equations.size(), 1u) << word << " gave " << features;
    std::string left, op, right;
    ASSERT_TRUE(P_FSCompiler::SplitEquation(P_FSCompiler::TrimBlanks(equations[0]), left, op, right));
    EXPECT_EQ(left, "^NUMBER") << word;
    EXPECT_EQ(op, "=") << word;
    EXPECT_EQ(right.find_first_of("=^!$,[]|~{}&' \""), std::string::npos) << word << " gave " << right;
  }
}

TEST_F(TokeniserRulesTest, TokenWithoutEntryGoesAsAWord) {
  maker_.refuse = true;
  EXPECT_EQ(Tokens("A4 Tom's"), (std::vector<TokenRow>{Plain("A4"), Plain("Tom"), Plain("'")}));
}

TEST_F(TokeniserRulesTest, PositionOfAPartOfSpeechIsOneBased) {
  EXPECT_EQ(pre_->GetPOSIndex(u"det"), 1);
  EXPECT_EQ(pre_->GetPOSIndex(u"punct"), static_cast<int>(posNames_.size()));
  EXPECT_EQ(pre_->GetPOSIndex(u"verb"), -1);
  Build("", "", "", "");
  EXPECT_EQ(pre_->GetPOSIndex(u"det"), -1);
}

TEST_F(TokeniserRulesTest, LastCharIsReachedAfterTheLastToken) {
  pre_->SetSentence(u"go home");
  EXPECT_FALSE(pre_->IsAtLastChar());
  EXPECT_EQ(pre_->NextToken().Text, u"go");
  EXPECT_EQ(pre_->NextToken().Text, u"home");
  EXPECT_TRUE(pre_->IsAtLastChar());
  EXPECT_EQ(pre_->NextToken().Kind, kTokenEndOfInput);
  EXPECT_TRUE(pre_->IsEndOfInput());
}

TEST_F(TokeniserRulesTest, OverLongSentenceIsRefusedNotWrapped) {
  MessageRecorder messages;
  const std::string longSentence(40000, 'a');
  EXPECT_FALSE(pre_->SetSentence(FromUtf8(longSentence)));
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_NE(messages.messages()[0].text.find(u"32765"), WString::npos);
  EXPECT_TRUE(pre_->IsAtLastChar());
  EXPECT_EQ(pre_->NextToken().Kind, kTokenEndOfInput);

  // The longest sentence accepted: 32765 characters and the two blanks.
  messages.clear();
  std::string longest(32765, 'b');
  longest[32000] = ' ';
  EXPECT_TRUE(pre_->SetSentence(FromUtf8(longest)));
  EXPECT_TRUE(messages.messages().empty());
  EXPECT_EQ(pre_->NextToken().Text.size(), 32000u);
  EXPECT_EQ(pre_->NextToken().Text.size(), 764u);
}

TEST_F(TokeniserRulesTest, SentencesInARowShareNothing) {
  pre_->SetSentence(u"A4 and more words");
  EXPECT_EQ(pre_->NextToken().Text, u"A4");
  ASSERT_NE(pre_->GetLastBuiltEntry(), nullptr);
  // The second sentence starts at its own beginning, without the first's entry.
  EXPECT_EQ(Tokens("hello world"), (std::vector<TokenRow>{Plain("hello"), Plain("world")}));
  EXPECT_EQ(pre_->GetLastBuiltEntry(), nullptr);
  EXPECT_FALSE(pre_->IsEndOfInput());
}

}  // namespace
