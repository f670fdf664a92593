// The joining of a generated sentence's terminals: one blank before every
// word, and the negation of a compound verb moved before its light verb.
#include <gtest/gtest.h>

#include <vector>

#include "transfer/generation/sentence_words.h"

namespace {

struct JoinCase {
  const char* what;
  std::vector<SentenceWord> words;
  WString expected;
};

TEST(SentenceWords, NegationStandsBeforeTheLightVerbOfACompound) {
  const JoinCase cases[] = {
      {"simple verb", {{u"pron", u"وہ"}, {u"neg", u"نہیں"}, {u"v", u"آتا"}}, u" وہ نہیں آتا"},
      {"noun and light verb",
       {{u"pron", u"وہ"}, {u"adv", u"یہاں"}, {u"neg", u"نہیں"}, {u"v", u"کام کرتی"}},
       u" وہ یہاں کام نہیں کرتی"},
      {"compound stem before a modal",
       {{u"pron", u"میں"}, {u"neg", u"نہیں"}, {u"v", u"یاد رکھ"}, {u"modal", u"سکتا"}},
       u" میں یاد نہیں رکھ سکتا"},
      {"three-word compound", {{u"neg", u"نہیں"}, {u"v", u"دیکھ بھال کرتا"}}, u" دیکھ بھال نہیں کرتا"},
      {"future of a simple verb", {{u"neg", u"نہیں"}, {u"v", u"آئیں گے"}}, u" نہیں آئیں گے"},
      {"future of a compound", {{u"neg", u"نہیں"}, {u"v", u"کام کریں گے"}}, u" کام نہیں کریں گے"},
      {"negated command", {{u"impneg", u"نہ"}, {u"v", u"فکر کریں"}}, u" فکر نہ کریں"},
      {"negation before something else than a verb", {{u"neg", u"نہیں"}, {u"adj", u"بہت اچھا"}}, u" نہیں بہت اچھا"},
      {"negation last", {{u"pron", u"وہ"}, {u"neg", u"نہیں"}}, u" وہ نہیں"},
      {"compound verb without negation", {{u"pron", u"وہ"}, {u"v", u"کام کرتا"}}, u" وہ کام کرتا"},
      {"nothing", {}, u""},
  };
  for (const JoinCase& c : cases) EXPECT_EQ(JoinSentenceWords(c.words), c.expected) << c.what;
}

}  // namespace
