#include "core/sentence_memory.h"

#include "core/sentence_arena.h"
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
  size_t arenaBaseline = 0;  // the sentence arena's bytes when the sentence began
};

SentenceMemory& Current() {
  static SentenceMemory memory;
  return memory;
}

bool GrewBeyondBudget(size_t bytes, size_t baseline) {
  return bytes > baseline && bytes - baseline > SentenceMemoryBudget;
}

// The whole heap (the arena's chunks and what the structures hold outside
// it), measured at the check interval; the first measure is the baseline.
bool HeapGrewBeyondBudget(SentenceMemory& memory, int64_t now) {
  if (now - memory.measuredAt < SentenceMemoryCheckInterval) return false;
  memory.measuredAt = now;
  const size_t bytes = HeapBytesInUse();
  if (!memory.measured) {
    memory.measured = true;
    memory.baseline = bytes;
    return false;
  }
  return GrewBeyondBudget(bytes, memory.baseline);
}

}  // namespace

void BeginSentenceMemory(int64_t now) {
  Current() = SentenceMemory();
  Current().measuredAt = now;
  Current().arenaBaseline = SentenceArena().BytesInUse();
}

bool SentenceMemoryExceeded(int64_t now) {
  SentenceMemory& memory = Current();
  if (memory.exceeded) return true;
  const bool exceeded =
      GrewBeyondBudget(SentenceArena().BytesInUse(), memory.arenaBaseline) || HeapGrewBeyondBudget(memory, now);
  if (!exceeded) return false;
  memory.exceeded = true;
  ShowMessage(u"The sentence needs more than " + IntToWString(static_cast<int>(SentenceMemoryBudget >> 20)) +
                  u" MB of memory and cannot be analysed.",
              u"Language Parser Module", MessageStyle::Ok | MessageStyle::IconInformation);
  return true;
}
