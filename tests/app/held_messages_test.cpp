// Messages held back during a set-up step: shown in order when released
// (also when the holder goes without a word), forgotten when dropped; the
// once-per-kind limit does not take released messages for repeats.
#include <gtest/gtest.h>

#include <functional>

#include "app/engine/handler_scopes.h"
#include "platform/utf8.h"
#include "support/test_support.h"

namespace {

TEST(HeldMessages, ReleasedInOrderOrDropped) {
  const std::vector<std::pair<std::function<void(CHeldMessages&)>, std::vector<std::string>>> cases = {
      {[](CHeldMessages& held) { held.Release(); }, {"first", "second", "after"}},
      {[](CHeldMessages& held) { held.Drop(); }, {"after"}},
      {[](CHeldMessages&) {}, {"first", "second", "after"}},  // the destructor releases
  };
  for (const bool limited : {false, true}) {
    for (const auto& [end, expected] : cases) {
      LimitRepeatedMessages(limited);
      MessageRecorder recorder;
      {
        CHeldMessages held;
        ShowMessage(u"first", u"Caption", MessageStyle::Ok);
        ShowMessage(u"second", u"Caption", MessageStyle::Ok);
        EXPECT_TRUE(recorder.messages().empty());
        end(held);
      }
      ShowMessage(u"after", u"Caption", MessageStyle::Ok);
      std::vector<std::string> shown;
      for (const MessageRecorder::Message& message : recorder.messages()) shown.push_back(ToUtf8(message.text));
      EXPECT_EQ(shown, expected) << (limited ? "each kind once" : "every message");
    }
  }
  LimitRepeatedMessages(false);
}

}  // namespace
