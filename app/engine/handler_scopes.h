// Handlers that the translator installs for the length of one call and puts
// back afterwards: during set-up a counter of the messages shown (so a
// failure already reported by an engine is not reported twice), during a
// translation a recorder that keeps the messages and the handed-over
// documents in the call's result.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/document_viewer.h"
#include "platform/message_box.h"

// Counts the messages shown while it lives and passes them on.
class CMessageCounter {
 public:
  CMessageCounter();
  ~CMessageCounter();
  CMessageCounter(const CMessageCounter&) = delete;
  CMessageCounter& operator=(const CMessageCounter&) = delete;

  size_t count() const { return count_; }

 private:
  size_t count_ = 0;
  MessageHandler previous_;
};

// Keeps the messages shown while it lives instead of showing them; Show
// passes the kept ones on (in their order), otherwise they are dropped.
class CHeldMessages {
 public:
  CHeldMessages();
  ~CHeldMessages();
  CHeldMessages(const CHeldMessages&) = delete;
  CHeldMessages& operator=(const CHeldMessages&) = delete;

  void Show();

 private:
  struct Held {
    std::u16string text;
    std::u16string caption;
    unsigned style;
  };
  std::vector<Held> held_;
  MessageHandler previous_;
};

// Sends every message and every handed-over document to the given functions
// while it lives.
class CCallHandlers {
 public:
  CCallHandlers(MessageHandler messages, DocumentHandler documents);
  ~CCallHandlers();
  CCallHandlers(const CCallHandlers&) = delete;
  CCallHandlers& operator=(const CCallHandlers&) = delete;

 private:
  MessageHandler previousMessages_;
  DocumentHandler previousDocuments_;
};
