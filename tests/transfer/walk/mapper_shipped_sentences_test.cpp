// Whole sentences: the shipped English analysis mapped with the shipped
// mapping rules and lexicons gives one complete and coherent Urdu structure
// of the shape the feature inventory describes.
#include "transfer/walk/walk_test_support.h"

namespace walk_test {
namespace {

struct Expected {
  std::vector<std::u16string> path;
  Strings values;
};

// A path that must not exist in the target.
struct Absent {
  std::vector<std::u16string> path;
};

struct SentenceCase {
  std::string sentence;
  std::vector<Expected> present;
  std::vector<Absent> absent;
};

class MapperShippedSentences : public ShippedMapper {
 protected:
  void Check(const SentenceCase& c, const std::string& domain = "None") {
    SCOPED_TRACE(c.sentence);
    const CFSNode* root = TargetOf(c.sentence, domain);
    ASSERT_NE(root, nullptr);
    for (const Expected& e : c.present) {
      std::string where;
      for (const auto& step : e.path) where += ToUtf8(step) + " ";
      const CFSNode* node = At(root, e.path);
      EXPECT_NE(node, nullptr) << where << "missing in " << Show(root);
      EXPECT_EQ(Values(node), e.values) << where << "in " << Show(root);
    }
    for (const Absent& a : c.absent) {
      std::string where;
      for (const auto& step : a.path) where += ToUtf8(step) + " ";
      EXPECT_EQ(At(root, a.path), nullptr) << where << "present in " << Show(root);
    }
  }
};

TEST_F(MapperShippedSentences, ClausesMapIntoTheUrduShape) {
  const std::vector<SentenceCase> cases = {
      {"I gave him a book",
       {{{u"PRED", u"VALUE"}, {"'دینا'"}},
        {{u"PRED", u"GF"}, {"SUBJ", "OBJ", "OBJ2"}},
        {{u"ASPECT"}, {"perf"}},
        {{u"SUBJ", u"PRED", u"VALUE"}, {"'میں'"}},
        {{u"SUBJ", u"CASE"}, {"erg"}},
        {{u"SUBJ", u"NOUN"}, {"+"}},
        {{u"OBJ2", u"PRED", u"VALUE"}, {"'وہ'"}},
        {{u"OBJ2", u"CASE"}, {"dat"}},
        {{u"OBJ", u"PRED", u"VALUE"}, {"'کتاب'"}},
        {{u"OBJ", u"CASE"}, {"nom"}},
        {{u"OBJ", u"SPEC", u"PRED", u"VALUE"}, {"'ایک'"}}},
       {{{u"VFORM"}}, {{u"TENSE"}}, {{u"PRED", u"INDEX"}}, {{u"OBJ", u"SPEC", u"SPECTYPE"}}}},
      {"The boy reads a book",
       {{{u"PRED", u"VALUE"}, {"'پڑھنا'"}},
        {{u"TENSE"}, {"pres"}},
        {{u"ASPECT"}, {"impf"}},
        {{u"SUBJ", u"PRED", u"VALUE"}, {"'لڑکا'"}},
        {{u"SUBJ", u"CASE"}, {"nom"}},
        {{u"SUBJ", u"NUM"}, {"sg"}},
        {{u"SUBJ", u"GEND"}, {"m"}},
        {{u"OBJ", u"PRED", u"VALUE"}, {"'کتاب'"}},
        {{u"OBJ", u"CASE"}, {"nom"}},
        {{u"OBJ", u"SPEC", u"PRED", u"VALUE"}, {"'ایک'"}}},
       {{{u"SUBJ", u"SPEC"}}}},
      {"The boys came",
       {{{u"PRED", u"VALUE"}, {"'آنا'"}},
        {{u"PRED", u"GF"}, {"SUBJ"}},
        {{u"ASPECT"}, {"perf"}},
        {{u"SUBJ", u"PRED", u"VALUE"}, {"'لڑکا'"}},
        {{u"SUBJ", u"NUM"}, {"pl"}},
        {{u"SUBJ", u"CASE"}, {"nom"}}},
       {{{u"OBJ"}}}},
      {"She will read the book",
       {{{u"TENSE"}, {"fut"}},
        {{u"SUBJ", u"PRED", u"VALUE"}, {"'وہ'"}},
        {{u"SUBJ", u"GEND"}, {"f"}},
        {{u"SUBJ", u"CASE"}, {"nom"}},
        {{u"OBJ", u"PRED", u"VALUE"}, {"'کتاب'"}}},
       {{{u"OBJ", u"SPEC"}}, {{u"ASPECT"}}}},
      {"Did he read the book",
       {{{u"MOOD"}, {"interrog"}}, {{u"ASPECT"}, {"perf"}}, {{u"SUBJ", u"CASE"}, {"erg"}}},
       {{{u"TENSE"}}}},
      {"He does not read books",
       {{{u"NEG"}, {"+"}}, {{u"TENSE"}, {"pres"}}, {{u"ASPECT"}, {"impf"}}, {{u"OBJ", u"NUM"}, {"pl"}}},
       {}},
      {"The boy's mother gave the girl a book",
       {{{u"SUBJ", u"PRED", u"VALUE"}, {"'ماں'"}},
        {{u"SUBJ", u"CASE"}, {"erg"}},
        {{u"SUBJ", u"POSS", u"PRED", u"VALUE"}, {"'لڑکا'"}},
        {{u"SUBJ", u"POSS", u"CASE"}, {"obl"}},
        {{u"OBJ2", u"PRED", u"VALUE"}, {"'لڑکی'"}},
        {{u"OBJ2", u"CASE"}, {"dat"}},
        {{u"OBJ", u"PRED", u"VALUE"}, {"'کتاب'"}}},
       {}},
      {"I live in a big house",
       {{{u"PRED", u"VALUE"}, {"'رہنا'"}},
        {{u"ADJUNCT", u"SET", u"ELEMENT", u"PRED", u"VALUE"}, {"'میں'"}},
        {{u"ADJUNCT", u"SET", u"ELEMENT", u"PRED", u"GF"}, {"OBJ"}},
        {{u"ADJUNCT", u"SET", u"ELEMENT", u"OBJ", u"PRED", u"VALUE"}, {"'گھر'"}},
        {{u"ADJUNCT", u"SET", u"ELEMENT", u"OBJ", u"CASE"}, {"obl"}},
        {{u"ADJUNCT", u"SET", u"ELEMENT", u"OBJ", u"SPEC", u"PRED", u"VALUE"}, {"'ایک'"}},
        {{u"ADJUNCT", u"SET", u"ELEMENT", u"OBJ", u"ADJUNCT", u"SET", u"ELEMENT", u"PRED", u"VALUE"}, {"'بڑا'"}}},
       {}},
      {"I helped him",
       {{{u"PRED", u"VALUE"}, {"'کرنا'"}},
        {{u"PRED", u"GF"}, {"SUBJ", "OBJ"}},
        {{u"SUBJ", u"CASE"}, {"erg"}},
        {{u"OBJ", u"PRED", u"VALUE"}, {"'مدد'"}},
        {{u"OBJ", u"GEND"}, {"f"}},
        {{u"OBJ", u"POSS", u"PRED", u"VALUE"}, {"'وہ'"}},
        {{u"OBJ", u"POSS", u"CASE"}, {"obl"}}},
       {}},
      {"The farmer bought 25 cows",
       {{{u"OBJ", u"PRED", u"VALUE"}, {"'گائے'"}},
        {{u"OBJ", u"NUM"}, {"pl"}},
        {{u"OBJ", u"ADJUNCT", u"SET", u"ELEMENT", u"NUMBER_VAL"}, {"25"}},
        {{u"OBJ", u"ADJUNCT", u"SET", u"ELEMENT", u"PRED", u"VALUE"}, {"25"}},
        {{u"OBJ", u"ADJUNCT", u"SET", u"ELEMENT", u"NUM"}, {"pl"}}},
       {{{u"OBJ", u"ADJUNCT", u"SET", u"ELEMENT", u"UNIT"}}}},
  };
  for (const SentenceCase& c : cases) {
    Check(c);
    ResetSentence();
  }
}

TEST_F(MapperShippedSentences, AWordOfNoLexiconKeepsItsRewrittenSpelling) {
  const CFSNode* root = TargetOf("Tom reads a book");
  ASSERT_NE(root, nullptr);
  const Strings pred = Values(At(root, {u"SUBJ", u"PRED", u"VALUE"}));
  ASSERT_EQ(pred.size(), 1u) << Show(root);
  EXPECT_FALSE(pred[0].empty());
  EXPECT_EQ(pred[0].find_first_of("<> *"), std::string::npos) << pred[0];
  EXPECT_EQ(pred[0].find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << pred[0];
}

TEST_F(MapperShippedSentences, WordSensesChooseTheVerbOfPlay) {
  struct Case {
    std::string sentence;
    bool generateAll;
    std::string verb;
  };
  const std::vector<Case> cases = {
      {"He plays the guitar", false, "'بجانا'"},
      {"He plays football", false, "'کھیلنا'"},
      // Without word senses the first entry of the lexicon is taken.
      {"He plays the guitar", true, "'کھیلنا'"},
      {"He plays football", true, "'کھیلنا'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sentence);
    mapper_->Engine().SetGenerateAllVariations(c.generateAll);
    const CFSNode* root = TargetOf(c.sentence);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Values(At(root, {u"PRED", u"VALUE"})), Strings{c.verb}) << Show(root);
    ResetSentence();
  }
}

TEST_F(MapperShippedSentences, TheDomainChoosesItsLexiconByItsExactName) {
  const CFSNode* news = TargetOf("He reads the paper", "News");
  ASSERT_NE(news, nullptr);
  EXPECT_EQ(Values(At(news, {u"OBJ", u"PRED", u"VALUE"})), Strings{"'اخبار'"});
  ResetSentence();
  const CFSNode* none = TargetOf("He reads the paper", "None");
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(Values(At(none, {u"OBJ", u"PRED", u"VALUE"})), Strings{"'کاغذ'"});
  for (const char* domain : {"news", "none", "", "sports"}) {
    ResetSentence();
    EXPECT_EQ(Translate("He reads the paper", domain), nullptr) << domain;
  }
}

TEST_F(MapperShippedSentences, RegistriesAreEmptyAfterTheSentenceReset) {
  ASSERT_NE(TargetOf("I gave him a book"), nullptr);
  groups_.reset();
  result_.reset();
  ResetSentence();
  EXPECT_EQ(CFSNode::RegisteredCount(), 0u);
  EXPECT_EQ(CFSHandle::RegisteredCount(), 0u);
  EXPECT_EQ(CMapperWorkState::liveInstances, 0);
}

TEST_F(MapperShippedSentences, SetElementNumbersRunOnAcrossSentencesAndWrapAfterTheLast) {
  // The number before the sentence, and the number after it; "the big boy"
  // makes one set element.
  const std::pair<uint16_t, uint16_t> cases[] = {{5, 6}, {6, 7}, {65535, 0}, {0, 1}};
  for (const auto& [before, after] : cases) {
    mapper_->Engine().SetNextSetElementNumber(before);
    ASSERT_NE(TargetOf("The big boy reads a book"), nullptr) << before;
    EXPECT_EQ(mapper_->Engine().NextSetElementNumber(), after) << before;
    groups_.reset();
    result_.reset();
    ResetSentence();
  }
  // Left alone, the number carries on from one sentence to the next.
  const uint16_t first = mapper_->Engine().NextSetElementNumber();
  ASSERT_NE(TargetOf("The big boy reads a book"), nullptr);
  groups_.reset();
  result_.reset();
  ResetSentence();
  ASSERT_NE(TargetOf("The big boy reads a book"), nullptr);
  EXPECT_EQ(mapper_->Engine().NextSetElementNumber(), static_cast<uint16_t>(first + 2));
}

}  // namespace
}  // namespace walk_test
