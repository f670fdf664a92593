#include "core/process_policy.h"

#include <limits>

#include "core/parse_clock.h"
#include "core/sentence_memory.h"
#include "platform/message_box.h"

void ApplySentencePolicy() { LimitRepeatedMessages(true); }

void RestoreDefaultProcessPolicy() {
  LimitRepeatedMessages(false);
  ParseTimeLimit = std::numeric_limits<int32_t>::max();
  ParseStartTime = 0;
  SentenceMemoryBudget = kDefaultSentenceMemoryBudget;
  SentenceMemoryCheckInterval = kDefaultSentenceMemoryCheckInterval;
  BeginSentenceMemory(0);
}
