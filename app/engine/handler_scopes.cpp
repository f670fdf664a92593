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
    held_.push_back(Held{text, caption, style});
    return MessageAnswer::Ok;
  });
}

CHeldMessages::~CHeldMessages() {
  if (holding_) SetMessageHandler(std::move(previous_));
}

void CHeldMessages::Release() {
  if (!holding_) return;
  holding_ = false;
  SetMessageHandler(std::move(previous_));
  std::vector<Held> held = std::move(held_);
  for (const Held& message : held) ShowMessage(message.text, message.caption, message.style);
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
