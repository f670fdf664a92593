#include "platform/message_box.h"

#include <cstdio>
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

}  // namespace

int ShowMessage(const std::u16string& text, const std::u16string& caption, unsigned style) {
  return CurrentHandler()(text, caption, style);
}

MessageHandler SetMessageHandler(MessageHandler handler) {
  MessageHandler previous = std::move(CurrentHandler());
  CurrentHandler() = handler ? std::move(handler) : MessageHandler(PrintToStandardError);
  return previous;
}
