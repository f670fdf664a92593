#include "app/engine/handler_scopes.h"

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
    held_.push_back({text, caption, style});
    return MessageAnswer::Ok;
  });
}

CHeldMessages::~CHeldMessages() { SetMessageHandler(std::move(previous_)); }

void CHeldMessages::Show() {
  for (const Held& message : held_) previous_(message.text, message.caption, message.style);
  held_.clear();
}

CCallHandlers::CCallHandlers(MessageHandler messages, DocumentHandler documents)
    : previousMessages_(SetMessageHandler(std::move(messages))),
      previousDocuments_(SetDocumentHandler(std::move(documents))) {}

CCallHandlers::~CCallHandlers() {
  SetMessageHandler(std::move(previousMessages_));
  SetDocumentHandler(std::move(previousDocuments_));
}
