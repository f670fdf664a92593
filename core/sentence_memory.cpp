#include "core/sentence_memory.h"

#include "core/string_helpers.h"
#include "platform/heap_meter.h"
#include "platform/message_box.h"

size_t SentenceMemoryBudget = kDefaultSentenceMemoryBudget;
int64_t SentenceMemoryCheckInterval = kDefaultSentenceMemoryCheckInterval;

namespace {

struct SentenceMemory {
  bool measured = false;
  size_t baseline = 0;
  int64_t measuredAt = 0;  // milliseconds of the monotonic clock
  bool exceeded = false;
};

SentenceMemory& Current() {
  static SentenceMemory memory;
  return memory;
}

}  // namespace

void BeginSentenceMemory(int64_t now) {
  Current() = SentenceMemory();
  Current().measuredAt = now;
}

bool SentenceMemoryExceeded(int64_t now) {
  SentenceMemory& memory = Current();
  if (memory.exceeded) return true;
  if (now - memory.measuredAt < SentenceMemoryCheckInterval) return false;
  memory.measuredAt = now;
  const size_t bytes = HeapBytesInUse();
  if (!memory.measured) {
    memory.measured = true;
    memory.baseline = bytes;
    return false;
  }
  if (bytes <= memory.baseline || bytes - memory.baseline <= SentenceMemoryBudget) return false;
  memory.exceeded = true;
  ShowMessage(u"The sentence needs more than " + IntToWString(static_cast<int>(SentenceMemoryBudget >> 20)) +
                  u" MB of memory and cannot be analysed.",
              u"Language Parser Module", MessageStyle::Ok | MessageStyle::IconInformation);
  return true;
}
