#include "platform/message_box.h"

#include <cstdio>
#include <unordered_set>
#include <utility>

#include "platform/utf8.h"

namespace {

int PrintToStandardError(const std::u16string& text, const std::u16string& caption, unsigned) {
  if (caption.empty())
    std::fprintf(stderr, "%s\n", ToUtf8(text).c_str());
  else
    std::fprintf(stderr, "%s: %s\n", ToUtf8(caption).c_str(), ToUtf8(text).c_str());
  return MessageAnswer::Ok;
}

MessageHandler& CurrentHandler() {
  static MessageHandler handler = PrintToStandardError;
  return handler;
}

// The once-per-kind limit of one sentence.
struct RepeatLimit {
  bool on = false;
  std::unordered_set<std::u16string> shownKinds;
  RepeatedMessageSink sink;
};

RepeatLimit& Limit() {
  static RepeatLimit limit;
  return limit;
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c >= 0x80; }

}  // namespace

int ShowMessage(const std::u16string& text, const std::u16string& caption, unsigned style) {
  RepeatLimit& limit = Limit();
  if (limit.on && !limit.shownKinds.insert(MessageKind(text, caption)).second) {
    if (limit.sink) limit.sink(text, caption);
    return MessageAnswer::Ok;
  }
  return CurrentHandler()(text, caption, style);
}

MessageHandler SetMessageHandler(MessageHandler handler) {
  MessageHandler previous = std::move(CurrentHandler());
  CurrentHandler() = handler ? std::move(handler) : MessageHandler(PrintToStandardError);
  return previous;
}

void LimitRepeatedMessages(bool on) {
  Limit().on = on;
  Limit().shownKinds.clear();
}

void ForgetShownMessages() { Limit().shownKinds.clear(); }

RepeatedMessageSink SetRepeatedMessageSink(RepeatedMessageSink sink) {
  return std::exchange(Limit().sink, std::move(sink));
}

std::u16string MessageKind(const std::u16string& text, const std::u16string& caption) {
  std::u16string kind = caption + u'\n';
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsDigit(c)) {
      while (i + 1 < text.size() && IsDigit(text[i + 1])) ++i;
      kind += u'#';
      continue;
    }
    const bool opensQuote = c == u'"' || (c == u'\'' && (i == 0 || !IsLetter(text[i - 1])));
    const size_t close = opensQuote ? text.find(c, i + 1) : std::u16string::npos;
    if (close != std::u16string::npos) {
      kind += c;
      kind += c;
      i = close;
      continue;
    }
    kind += c;
  }
  return kind;
}
