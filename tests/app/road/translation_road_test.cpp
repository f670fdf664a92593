// English sentences through the translator's road on the shipped data.
#include <gtest/gtest.h>

#include "analysis/lfg/chart_edge.h"
#include "app/road/shipped_road_fixture.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/production.h"
#include "transfer/generation/urdu_sentence_generator.h"

namespace {

struct RoadCase {
  const char* english;
  const char* urdu;
  const char* domain = "None";
};

}  // namespace

TEST_F(ShippedRoadTest, SentencesGiveExactlyTheirOneUrduSentence) {
  const RoadCase cases[] = {
      {"I gave him a book", "میں نے اسے ایک کتاب دی۔"},
      {"The boy reads a book", "لڑکا ایک کتاب پڑھتا ہے۔"},
      {"The boy read a book", "لڑکے نے ایک کتاب پڑھی۔"},
      {"The girl read the books", "لڑکی نے کتابیں پڑھیں۔"},
      {"The boys came", "لڑکے آئے۔"},
      {"She will read the book", "وہ کتاب پڑھے گی۔"},
      {"The boys will not come", "لڑکے نہیں آئیں گے۔"},
      {"He does not read books", "وہ کتابیں نہیں پڑھتا۔"},
      {"Did he read the book", "کیا اس نے کتاب پڑھی؟"},
      {"What did you eat", "آپ نے کیا کھایا؟"},
      {"The boy's mother gave the girl a book", "لڑکے کی ماں نے لڑکی کو ایک کتاب دی۔"},
      {"My brother writes letters", "میرا بھائی خط لکھتا ہے۔"},
      {"The good girl reads a new book", "اچھی لڑکی ایک نئی کتاب پڑھتی ہے۔"},
      {"I live in a big house", "میں ایک بڑے گھر میں رہتا ہوں۔"},
      {"The teacher gave the boys books", "استاد نے لڑکوں کو کتابیں دیں۔"},
      {"I saw him", "میں نے اسے دیکھا۔"},
      {"The book is on the table", "کتاب میز پر ہے۔"},
      {"She is happy", "وہ خوش ہے۔"},
      {"I helped him", "میں نے اس کی مدد کی۔"},
      {"He plays the guitar", "وہ گٹار بجاتا ہے۔"},
      {"He plays football", "وہ فٹ بال کھیلتا ہے۔"},
      {"Tom reads a book", "ٹام ایک کتاب پڑھتا ہے۔"},
      {"The farmer bought 25 cows", "کسان نے 25 گائیں خریدیں۔"},
      {"He reads the paper", "وہ اخبار پڑھتا ہے۔", "News"},
  };
  for (const RoadCase& c : cases) {
    EXPECT_EQ(Translate(c.english, c.domain), c.urdu) << c.english;
  }
}

// The subject's case follows the Urdu verb, not the English frame: a
// transitive Urdu verb takes نے in the perfective even where it has no Urdu
// object (light verbs with کرنا, verbs whose object takes a postposition);
// its other tenses and the intransitive verbs keep the nominative.
TEST_F(ShippedRoadTest, TheSubjectCaseFollowsTheUrduVerb) {
  const RoadCase cases[] = {
      {"He worked", "اس نے کام کیا۔"},
      {"The girl worked", "لڑکی نے کام کیا۔"},
      {"I tried", "میں نے کوشش کی۔"},
      {"She works", "وہ کام کرتی ہے۔"},
      {"The boys will work", "لڑکے کام کریں گے۔"},
      {"I asked him", "میں نے اس سے پوچھا۔"},
      {"I loved her", "میں نے اس سے محبت کی۔"},
      {"I love you", "میں آپ سے محبت کرتا ہوں۔"},
      {"I met the doctor", "میں ڈاکٹر سے ملا۔"},
      {"The boys came", "لڑکے آئے۔"},
  };
  for (const RoadCase& c : cases) {
    EXPECT_EQ(Translate(c.english, c.domain), c.urdu) << c.english;
  }
}

TEST_F(ShippedRoadTest, TheResetAfterASentenceLeavesNothingOfIt) {
  const int edgesBefore = CChartEdge::liveInstances;
  EXPECT_EQ(Translate("The boy's mother gave the girl a book"), "لڑکے کی ماں نے لڑکی کو ایک کتاب دی۔");
  EXPECT_EQ(CChartEdge::liveInstances, edgesBefore);
  EXPECT_EQ(RegisteredProductionCount(), 0u);
  EXPECT_EQ(CFSNode::RegisteredCount(), 0u);
  EXPECT_EQ(CFSHandle::RegisteredCount(), 0u);
  EXPECT_EQ(translator_->m_pGenerator->AgendaSize(), 0u);
  EXPECT_EQ(translator_->m_pGenerator->DeferredSize(), 0u);
}
