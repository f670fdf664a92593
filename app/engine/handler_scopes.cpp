#include "app/engine/handler_scopes.h"

#include <exception>
#include <utility>

CMessageCounter::CMessageCounter() {
  previous_ = SetMessageHandler([this](const std::u16string& text, const std::u16string& caption, unsigned style) {
    ++count_;
    return previous_(text, caption, style);
  });
}

CMessageCounter::~CMessageCounter() { SetMessageHandler(std::move(previous_)); }

CHeldMessages::CHeldMessages() {
  previous_ = SetMessageHandler([this](const std::u16string& text, const std::u16string& caption, unsigned style) {
    held_.push_back(Held{text, caption, style});
    return MessageAnswer::Ok;
  });
}

CHeldMessages::~CHeldMessages() {
  try {
    Release();
  } catch (const std::exception&) {
  } catch (const char*) {
  }
}

void CHeldMessages::Release() {
  if (!holding_) return;
  holding_ = false;
  // Straight to the handler: the held messages have passed the once-per-kind
  // limit already, and ShowMessage would take them for repeats.
  const MessageHandler handler = previous_;
  SetMessageHandler(std::move(previous_));
  std::vector<Held> held = std::move(held_);
  for (const Held& message : held) handler(message.text, message.caption, message.style);
}

void CHeldMessages::Drop() {
  if (!holding_) return;
  holding_ = false;
  SetMessageHandler(std::move(previous_));
  held_.clear();
}

CCallHandlers::CCallHandlers(MessageHandler messages, DocumentHandler documents)
    : previousMessages_(SetMessageHandler(std::move(messages))),
      previousDocuments_(SetDocumentHandler(std::move(documents))) {}

CCallHandlers::~CCallHandlers() {
  SetMessageHandler(std::move(previousMessages_));
  SetDocumentHandler(std::move(previousDocuments_));
}
