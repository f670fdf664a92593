#include "app/engine/handler_scopes.h"

#include <utility>

CMessageCounter::CMessageCounter() {
  previous_ = SetMessageHandler([this](const std::u16string& text, const std::u16string& caption, unsigned style) {
    ++count_;
    return previous_(text, caption, style);
  });
}

CMessageCounter::~CMessageCounter() { SetMessageHandler(std::move(previous_)); }

CCallHandlers::CCallHandlers(MessageHandler messages, DocumentHandler documents)
    : previousMessages_(SetMessageHandler(std::move(messages))),
      previousDocuments_(SetDocumentHandler(std::move(documents))) {}

CCallHandlers::~CCallHandlers() {
  SetMessageHandler(std::move(previousMessages_));
  SetDocumentHandler(std::move(previousDocuments_));
}
