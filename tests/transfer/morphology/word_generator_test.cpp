// The Urdu word generator: categories, rule forms and the equations their
// entries refer to.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "core/trace_log.h"
#include "morphology_test_support.h"
#include "transfer/morphology/urdu_word_generator.h"

namespace {

using morphology_test::Features;
using morphology_test::PropertyText;

class WordGenerator : public ::testing::Test {
 protected:
  void TearDown() override { ClearConfiguration(); }

  // A generator whose noun rules are the text; verb and adjective rule
  // files are empty.
  std::unique_ptr<CUrduWordGenerator> Make(const std::u16string& nounRules) {
    const std::string nouns = dir_.File("nouns.txt");
    const std::string empty = dir_.File("empty.txt");
    WriteUtf16File(nouns, nounRules);
    WriteUtf16File(empty, u"");
    morphology_test::ConfigureRuleFiles(nouns, empty, empty);
    return std::make_unique<CUrduWordGenerator>(nullptr);
  }

  TempDir dir_;
};

TEST_F(WordGenerator, AnswersNoListForCategoriesItDoesNotHandle) {
  auto generator = Make(u"");
  Features features{{u"NUM", {u"sg"}}};
  for (const char16_t* category : {u"N", u"V", u"Adj", u"noun", u"", u"pron"}) {
    EXPECT_EQ(generator->GenerateWordForms(u"کتاب", category, features.list()), nullptr) << ToUtf8(category);
  }
  for (const char16_t* category : {u"n", u"v", u"adj", u"date", u"time", u"alphanum"}) {
    auto forms = generator->GenerateWordForms(u"کتاب", category, features.list());
    ASSERT_NE(forms, nullptr) << ToUtf8(category);
    EXPECT_TRUE(forms->empty()) << ToUtf8(category);
  }
  // A number word that is not digits stays as written.
  for (const char16_t* category : {u"ordinal", u"cardinal"}) {
    auto forms = generator->GenerateWordForms(u"کتاب", category, features.list());
    ASSERT_EQ(forms->size(), 1u) << ToUtf8(category);
    EXPECT_EQ(forms->front()->word, u"کتاب");
  }
}

TEST_F(WordGenerator, EveryApplyingRuleGivesOneEntryInRuleOrder) {
  auto generator = Make(
      u"@; ا; NUM = pl, CASE = {erg,obl}; (ا,وں).\n"
      u"@; ~ا; ; (@,یں).\n"
      u"'  x'; @; PERS = 3, GEND = m; (ا,ے).\n"
      u"@; ا; NUM = sg; .\n");
  Features features{{u"NUM", {u"pl"}}, {u"GEND", {u"m"}}};
  auto forms = generator->GenerateWordForms(u"لڑکا", u"n", features.list());
  ASSERT_NE(forms, nullptr);
  ASSERT_EQ(forms->size(), 2u);
  // Added properties first, then every feature; the PRED is the word.
  const CLexicalEntry& first = *(*forms)[0];
  EXPECT_EQ(first.word, u"لڑکوں");
  EXPECT_EQ(first.pred, u"لڑکا");
  EXPECT_EQ(first.finished, 1);
  ASSERT_EQ(first.equations.size(), 3u);
  EXPECT_EQ(PropertyText(first.equations[0]), "CASE=erg,obl");
  EXPECT_EQ(first.equations[0]->left->kind, '^');
  EXPECT_EQ(first.equations[0]->right->kind, 'v');
  EXPECT_EQ(first.equations[1], features.list()[0]);
  EXPECT_EQ(first.equations[2], features.list()[1]);
  const CLexicalEntry& second = *(*forms)[1];
  EXPECT_EQ(second.word, u"لڑکے  x");
  ASSERT_EQ(second.equations.size(), 3u);
  EXPECT_EQ(PropertyText(second.equations[0]), "PERS=3");
}

TEST_F(WordGenerator, ApplyDecidesByConditionsAndProperties) {
  struct Case {
    std::u16string rule;
    std::u16string word;
    std::string result;  // "-" when refused, else the form and added properties
  };
  const Case cases[] = {
      {u"@; ا; ; .", u"لڑکا", "لڑکا"},
      {u"@; ی; ; .", u"لڑکا", "-"},
      {u"@; ~ا; ; .", u"لڑکا", "-"},
      {u"@; ا, ~کا; ; .", u"لڑکا", "-"},
      {u"@; @; ; .", u"", "-"},
      // A property the features hold with a shared value is satisfied.
      {u"@; @; NUM = {sg,pl}; .", u"گھر", "گھر"},
      // One sharing no value refuses the rule.
      {u"@; @; GEND = f; .", u"گھر", "-"},
      // One the features lack is added.
      {u"@; @; CASE = obl; .", u"گھر", "گھر CASE=obl"},
      // A feature without values satisfies anything.
      {u"@; @; PERS = 3; .", u"گھر", "گھر"},
      // A property without values is always added.
      {u"@; @; NUM; .", u"گھر", "گھر NUM="},
      // The first pair whose ending fits wins; an empty ending fits all.
      {u"@; @; ; (ر,ری) (گھر,مکان).", u"گھر", "گھری"},
      {u"@; @; ; (ا,ے) (@,وں).", u"گھر", "گھروں"},
      {u"'ہی'; @; ; (ا,ے).", u"گھر", "گھرہی"},
  };
  for (const Case& c : cases) {
    auto generator = Make(c.rule);
    Features features{{u"NUM", {u"sg"}}, {u"GEND", {u"m"}}, {u"PERS", {}}};
    auto forms = generator->GenerateWordForms(c.word, u"n", features.list());
    ASSERT_NE(forms, nullptr);
    std::string result = "-";
    if (!forms->empty()) {
      const CLexicalEntry& entry = *forms->front();
      result = ToUtf8(entry.word);
      for (size_t i = 0; i + features.list().size() < entry.equations.size(); ++i) {
        result += " " + PropertyText(entry.equations[i]);
      }
    }
    EXPECT_EQ(result, c.result) << ToUtf8(c.rule) << " on " << ToUtf8(c.word);
  }
}

TEST_F(WordGenerator, FreeingTheFormsLeavesRulesAndFeaturesIntact) {
  auto generator = Make(u"@; @; CASE = obl; (@,وں).\n@; @; ; .\n");
  Features features{{u"NUM", {u"pl"}}};
  const int equationsBefore = CEquation::liveInstances;
  for (int round = 0; round < 3; ++round) {
    auto forms = generator->GenerateWordForms(u"گھر", u"n", features.list());
    ASSERT_EQ(forms->size(), 2u);
    EXPECT_FALSE((*forms)[0]->ownsEquations);
    forms.reset();
    EXPECT_EQ(CEquation::liveInstances, equationsBefore);
  }
  // The rule's property and the caller's feature are still whole.
  EXPECT_EQ(PropertyText(generator->NounRules()[0]->properties[0].get()), "CASE=obl");
  EXPECT_EQ(PropertyText(features.list()[0]), "NUM=pl");
  Features date{{u"MONTH_VALUE", {u"3"}}, {u"Year", {u"2005"}}, {u"DAY_IN_DIGIT", {u"NULL"}}};
  generator->GenerateWordForms(u"", u"date", date.list()).reset();
  EXPECT_EQ(PropertyText(date.list()[1]), "Year=2005");
}

TEST_F(WordGenerator, WordedCategoriesGiveOneEntryWithTheFeatures) {
  auto generator = Make(u"");
  struct Case {
    const char16_t* category;
    const char16_t* word;
    Features features;
    WString text;  // empty: no entry
  };
  const Case cases[] = {
      {u"date", u"", Features{{u"MONTH_VALUE", {u"3"}}, {u"Year", {u"2005"}}, {u"DAY_IN_DIGIT", {u"NULL"}}},
       u"مارچ، 2005"},
      {u"date", u"", Features{{u"DAY_IN_DIGIT", {u"3"}}}, u""},
      {u"time", u"", Features{{u"HR", {u"7"}}, {u"TIMETYPE", {u"pm"}}}, u"شام 7 بجے"},
      {u"cardinal", u"12", Features{{u"IN_WORDS", {u"POS"}}}, u"بارہ"},
      {u"ordinal", u"2", Features{{u"ORD_NUMBER_VAL", {u"2"}}, {u"GEND", {u"F"}}}, u"دوسری"},
      {u"alphanum", u"", Features{{u"ANUM", {u"A4"}}, {u"ANUM", {u"B12"}}}, u"B12"},
      {u"alphanum", u"", Features{{u"NUM", {u"sg"}}}, u""},
  };
  for (const Case& c : cases) {
    auto forms = generator->GenerateWordForms(c.word, c.category, c.features.list());
    ASSERT_NE(forms, nullptr);
    if (c.text.empty()) {
      EXPECT_TRUE(forms->empty()) << ToUtf8(c.category);
      continue;
    }
    ASSERT_EQ(forms->size(), 1u) << ToUtf8(c.category);
    EXPECT_EQ((*forms)[0]->word, c.text);
    EXPECT_EQ((*forms)[0]->pred, c.text);
    EXPECT_EQ((*forms)[0]->equations, c.features.list());
  }
}

TEST_F(WordGenerator, AnOrdinalNumberWithoutAGenderComesInBothGenders) {
  auto generator = Make(u"");
  struct Case {
    const char16_t* word;
    Features features;
    std::vector<std::pair<WString, std::string>> forms;  // text, gender property ("" for none)
  };
  const Case cases[] = {
      {u"1", Features{{u"ORD_NUMBER_VAL", {u"1"}}}, {{u"پہلا", "GEND=m"}, {u"پہلی", "GEND=f"}}},
      {u"21",
       Features{{u"ORD_NUMBER_VAL", {u"21"}}, {u"IN_WORDS", {u"NEG"}}},
       {{u"21واں", "GEND=m"}, {u"21ویں", "GEND=f"}}},
      // A gender of the structure's own decides alone.
      {u"1", Features{{u"ORD_NUMBER_VAL", {u"1"}}, {u"GEND", {u"f"}}}, {{u"پہلی", ""}}},
      // Without a number there is nothing to put in a gender.
      {u"کتاب", Features{{u"NUM", {u"sg"}}}, {{u"کتاب", ""}}},
  };
  for (const Case& c : cases) {
    auto forms = generator->GenerateWordForms(c.word, u"ordinal", c.features.list());
    ASSERT_NE(forms, nullptr);
    ASSERT_EQ(forms->size(), c.forms.size()) << ToUtf8(c.word);
    for (size_t i = 0; i < c.forms.size(); ++i) {
      const CLexicalEntry& entry = *(*forms)[i];
      EXPECT_EQ(entry.word, c.forms[i].first) << ToUtf8(c.word);
      EXPECT_EQ(entry.pred, c.forms[i].first);
      EXPECT_FALSE(entry.ownsEquations);
      // The caller's features first, then the gender of the form.
      const std::vector<CEquation*>& features = c.features.list();
      ASSERT_GE(entry.equations.size(), features.size());
      EXPECT_TRUE(std::equal(features.begin(), features.end(), entry.equations.begin()));
      const bool gendered = !c.forms[i].second.empty();
      ASSERT_EQ(entry.equations.size(), features.size() + (gendered ? 1 : 0));
      if (gendered) {
        EXPECT_EQ(PropertyText(entry.equations.back()), c.forms[i].second);
      }
    }
  }
}

TEST_F(WordGenerator, AnEmptyRuleFileNameIsLogged) {
  MessageRecorder recorder;
  const std::string log = dir_.File("log.txt");
  OpenTraceLog(log);
  const std::string nouns = dir_.File("nouns.txt");
  WriteUtf16File(nouns, u"@; @; ; .");
  morphology_test::ConfigureRuleFiles(nouns, "", nouns);
  CUrduWordGenerator generator(nullptr);
  CloseTraceLog();
  std::ifstream in(log, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  WString text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(
        static_cast<WChar>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  EXPECT_NE(text.find(u"Verb Rules File Not found"), WString::npos);
  EXPECT_EQ(text.find(u"Noun Rules File Not found"), WString::npos);
  Features features;
  EXPECT_TRUE(generator.GenerateWordForms(u"پڑھنا", u"v", features.list())->empty());
  EXPECT_EQ(generator.GenerateWordForms(u"گھر", u"n", features.list())->size(), 1u);
  EXPECT_EQ(generator.AdjectiveRules().size(), 1u);
}

}  // namespace
