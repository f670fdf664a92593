// The older road's sentences run against their own time limit: neither the
// start of a sentence long gone nor a limit left by an earlier set-up of
// the process stops their parse or their generation.
#include <gtest/gtest.h>

#include "app/engine/translator_dlg.h"
#include "batch_test_support.h"
#include "core/config_store.h"
#include "core/parse_clock.h"
#include "core/trace_log.h"
#include "platform/clock.h"
#include "platform/utf8.h"

namespace app_test {
namespace {

constexpr const char* kGaveBook = "میں نے اسے ایک کتاب دی۔";
constexpr int64_t kNanosecondsPerMillisecond = 1'000'000;

class ChartParserClock : public ::testing::Test {
 protected:
  void TearDown() override {
    SetClockSourceForTesting(nullptr);
    ParseTimeLimit = savedLimit_;
    ParseStartTime = savedStart_;
    CloseTraceLog();
    ClearConfiguration();
  }

  const int32_t savedLimit_ = ParseTimeLimit;
  const int64_t savedStart_ = ParseStartTime;
  MessageRecorder messages_;
};

TEST_F(ChartParserClock, EverySentenceStartsItsOwnClock) {
  struct Case {
    const char* name;
    int64_t lastStart;  // milliseconds: the start an earlier sentence left
    int32_t limitLeft;  // the limit an earlier set-up left
    int64_t now;        // milliseconds of the clock, which stands still
  };
  const std::vector<Case> cases = {
      {"a minute after the main road's last sentence", 0, 5000, 60'000},
      {"an hour after it", 1'000, 5000, 3'600'000},
      {"a limit of no time left by an earlier set-up", 60'000, -1, 60'000},
  };
  LfgDataRoot root;
  CurrentFolder inside(root.path());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ParseTimeLimit = c.limitLeft;
    ParseStartTime = c.lastStart;
    const int64_t now = c.now * kNanosecondsPerMillisecond;
    SetClockSourceForTesting([now] { return now; });
    CTranslatorDlg translator;
    ASSERT_TRUE(translator.InitializeChartParserEngine()) << translator.SetUpFailure();
    CTranslateOptions options;
    options.chartParserRoad = true;
    const CTranslationResult result = translator.OnTranslate(u"I gave him a book", options);
    EXPECT_EQ(ToUtf8(result.output), kGaveBook);
    EXPECT_EQ(ToUtf8(translator.TranslateWithChartParserTraced(u"I gave him a book")), kGaveBook);
    SetClockSourceForTesting(nullptr);
  }
}

}  // namespace
}  // namespace app_test
