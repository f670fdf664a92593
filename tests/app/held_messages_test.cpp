// Messages held back during a set-up step: shown in order when released
// (also when the holder goes without a word), forgotten when dropped, and
// the handler before it is back in every case.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "app/engine/handler_scopes.h"
#include "platform/utf8.h"
#include "support/test_support.h"

namespace {

std::vector<std::string> Texts(const MessageRecorder& recorder) {
  std::vector<std::string> texts;
  for (const MessageRecorder::Message& message : recorder.messages()) texts.push_back(ToUtf8(message.text));
  return texts;
}

TEST(HeldMessages, ReleasedInOrderOrDropped) {
  struct Case {
    const char* name;
    std::function<void(CHeldMessages&)> end;
    std::vector<std::string> shown;
  };
  const std::vector<Case> cases = {
      {"released", [](CHeldMessages& held) { held.Release(); }, {"first", "second"}},
      {"dropped", [](CHeldMessages& held) { held.Drop(); }, {}},
      {"left to the destructor", [](CHeldMessages&) {}, {"first", "second"}},
      {"released twice",
       [](CHeldMessages& held) {
         held.Release();
         held.Release();
       },
       {"first", "second"}},
  };
  for (const bool limited : {false, true}) {
    for (const Case& c : cases) {
      LimitRepeatedMessages(limited);
      MessageRecorder recorder;
      {
        CHeldMessages held;
        ShowMessage(u"first", u"Caption", MessageStyle::Ok);
        ShowMessage(u"second", u"Caption", MessageStyle::Ok);
        EXPECT_TRUE(recorder.messages().empty()) << c.name << ": held back";
        c.end(held);
      }
      ShowMessage(u"after", u"Caption", MessageStyle::Ok);
      std::vector<std::string> expected = c.shown;
      expected.push_back("after");
      EXPECT_EQ(Texts(recorder), expected) << c.name << (limited ? ", each kind once" : "");
    }
  }
  LimitRepeatedMessages(false);
}

TEST(HeldMessages, AHandlerThatThrowsOnReleaseLeavesTheHolderClean) {
  LimitRepeatedMessages(false);
  MessageRecorder recorder;
  {
    const MessageHandler recording = SetMessageHandler(
        [](const std::u16string&, const std::u16string&, unsigned) -> int { throw std::runtime_error("no"); });
    {
      CHeldMessages held;
      ShowMessage(u"held", u"Caption", MessageStyle::Ok);
    }  // the destructor's release meets the throwing handler
    SetMessageHandler(recording);
  }
  ShowMessage(u"after", u"Caption", MessageStyle::Ok);
  EXPECT_EQ(Texts(recorder), std::vector<std::string>{"after"});
}

}  // namespace
