// The developer drivers free what a sentence made after every sentence:
// nodes, handles, production copies, both charts and the constraint
// system's structures.
#include <gtest/gtest.h>

#include "app/engine/translator_dlg.h"
#include "batch_test_support.h"
#include "core/config_store.h"
#include "core/trace_log.h"
#include "platform/utf8.h"

namespace app_test {
namespace {

class PerSentenceState : public ::testing::Test {
 protected:
  void TearDown() override {
    CloseTraceLog();
    ClearConfiguration();
  }

  MessageRecorder messages_;
  TempDir files_;
};

TEST_F(PerSentenceState, TheChartParserRoadAndItsBenchmarkFreeEverySentence) {
  LfgDataRoot root;
  CurrentFolder inside(root.path());
  CTranslatorDlg translator;
  ASSERT_TRUE(translator.InitializeChartParserEngine()) << translator.SetUpFailure();
  EXPECT_FALSE(translator.IsReady()) << "the main road is not set up";
  // The benchmark first: the road files unknown words ("zebra") in the
  // lexicon as nouns, which the benchmark would then find.
  const CListRunSummary summary = translator.RunBenchmark({});
  EXPECT_EQ(summary.sentences, 5u);
  EXPECT_EQ(summary.translated, 3u);
  ExpectRegistriesEmpty();
  CTranslateOptions options;
  options.chartParserRoad = true;
  for (const char* sentence : {"I gave him a book", "gave I", "I saw the man with a telescope", "I saw a zebra"}) {
    SCOPED_TRACE(sentence);
    translator.OnTranslate(FromUtf8(sentence), options);
    ExpectRegistriesEmpty();
  }
  EXPECT_FALSE(translator.TranslateWithChartParserTraced(u"I gave him a book").empty());
  ExpectRegistriesEmpty();
  // The main road needs the main set-up.
  const CTranslationResult result = translator.OnTranslate(u"I gave him a book");
  EXPECT_FALSE(result.translated);
}

TEST_F(PerSentenceState, TheCfgBenchmarkAndTheSentenceListFreeEverySentence) {
  DataRootCopy root;
  WriteTextFile(files_.File("list.txt"), "I gave him a book. The boy reads a book in the garden. zzz qqq.");
  CurrentFolder inside(root.path());
  CTranslatorDlg translator;
  ASSERT_TRUE(translator.InitializeEngine()) << translator.SetUpFailure();
  EXPECT_FALSE(translator.HasChartParserEngine());
  const CListRunSummary benchmark = translator.RunBenchmark({files_.File("list.txt"), files_.File("bench.txt")});
  EXPECT_EQ(benchmark.sentences, 3u);
  ExpectRegistriesEmpty();
  const CListRunSummary list = translator.TranslateSentenceList({files_.File("list.txt"), files_.File("out.txt")});
  EXPECT_EQ(list.sentences, 3u);
  ExpectRegistriesEmpty();
}

}  // namespace
}  // namespace app_test
