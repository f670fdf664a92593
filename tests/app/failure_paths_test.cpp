// Failures thrown where nobody expects them: a message handler that throws
// during set-up, and a clock that throws at any of its reads during a
// translation. Either ends the call with the failure reported and nothing
// of the sentence left behind; the translator still works afterwards.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "app/engine/translator_dlg.h"
#include "app_test_support.h"
#include "core/config_store.h"
#include "core/trace_log.h"
#include "platform/clock.h"
#include "platform/utf8.h"

namespace app_test {
namespace {

constexpr const char* kGaveBook = "میں نے اسے ایک کتاب دی۔";

// Installs a clock that runs like the real one and throws at its read
// number throwAt (0 is the first read) and after.
class ThrowingClock {
 public:
  explicit ThrowingClock(long throwAt) {
    auto reads = std::make_shared<long>(0);
    previous_ = SetClockSourceForTesting([reads, throwAt]() -> int64_t {
      if ((*reads)++ >= throwAt) throw std::runtime_error("the clock failed");
      return *reads * 1000;
    });
  }
  ~ThrowingClock() { SetClockSourceForTesting(previous_); }
  ThrowingClock(const ThrowingClock&) = delete;
  ThrowingClock& operator=(const ThrowingClock&) = delete;

 private:
  ClockSource previous_;
};

class FailurePaths : public ::testing::Test {
 protected:
  void TearDown() override {
    SetMessageHandler(nullptr);
    CloseTraceLog();
    ClearConfiguration();
  }

  DataRootCopy root_;
};

TEST_F(FailurePaths, AClockThatThrowsEndsTheTranslationCleanly) {
  CurrentFolder inside(root_.path());
  MessageRecorder setUpMessages;
  CTranslatorDlg translator;
  ASSERT_TRUE(translator.InitializeEngine()) << translator.SetUpFailure();
  // From the first read (the total's timer) to reads deep inside the parse
  // and the generation.
  for (long throwAt : {0L, 1L, 2L, 3L, 5L, 10L, 30L, 100L, 300L, 1000L}) {
    SCOPED_TRACE(throwAt);
    CTranslationResult result;
    {
      ThrowingClock clock(throwAt);
      EXPECT_NO_THROW(result = translator.OnTranslate(u"I gave him a book. The boy reads a book"));
    }
    ASSERT_FALSE(result.messages.empty());
    EXPECT_EQ(result.messages.back().text, u"the clock failed");
    EXPECT_FALSE(result.AllSegmentsTranslated()) << ToUtf8(result.output);
    ExpectRegistriesEmpty();
    const CTranslationResult after = translator.OnTranslate(u"I gave him a book");
    EXPECT_EQ(ToUtf8(after.output), kGaveBook);
  }
}

TEST_F(FailurePaths, AMessageHandlerThatThrowsEndsSetUpCleanly) {
  root_.RemoveKey("POSs");
  CurrentFolder inside(root_.path());
  SetMessageHandler([](const std::u16string& text, const std::u16string&, unsigned) -> int {
    throw std::runtime_error("the handler failed on: " + ToUtf8(text));
  });
  CTranslatorDlg translator;
  bool built = true;
  EXPECT_NO_THROW(built = translator.InitializeEngine());
  EXPECT_FALSE(built);
  EXPECT_FALSE(translator.IsReady());
  EXPECT_NE(translator.SetUpFailure().find("the handler failed on: "), std::string::npos) << translator.SetUpFailure();
  ExpectRegistriesEmpty();

  SetMessageHandler(nullptr);
  MessageRecorder messages;
  root_.SetKey("POSs", "data\\english\\POSs.txt");
  ASSERT_TRUE(translator.InitializeEngine()) << translator.SetUpFailure();
  EXPECT_EQ(ToUtf8(translator.OnTranslate(u"I gave him a book").output), kGaveBook);
}

}  // namespace
}  // namespace app_test
