// The memory budget of one sentence. A sentence with very many analyses can
// build structures far beyond anything a translation needs before its time
// limit is reached; the budget stops it earlier with one clear message. The
// parse of a sentence begins the count; the chart parser, the F-structure
// construction, the solver and the conversion into trees ask
// SentenceMemoryExceeded at their steps, as they ask for the time limit.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes a sentence may add to the heap. The dev sentences that get an
// analysis need at most about 40 MB; one whose readings the parser cannot
// narrow down stops here instead of taking hundreds of MB before it fails.
constexpr size_t kDefaultSentenceMemoryBudget = size_t{64} << 20;
extern size_t SentenceMemoryBudget;

// The sentence begins at the given time (milliseconds of the monotonic
// clock); it may show the budget's message again.
void BeginSentenceMemory(int64_t now);
// Whether the sentence has passed its budget, asked at the given time by a
// step that has read the clock for its time limit. Measuring the heap costs
// far more than reading the clock, so the heap is measured only when
// SentenceMemoryCheckInterval milliseconds have passed since the sentence
// began or was last measured: the first measure is the baseline the budget
// counts from, and a sentence of the usual kind is never measured at all
// (measuring walks every free list of the allocator, which cost a sixth of
// the dev set's time at a 2 ms interval; at 10 ms a heap that grows even at
// a gigabyte a second passes the budget by a few megabytes at most).
// The bytes the sentence took from the sentence arena are counted at every
// call, which costs nothing and holds in every build.
// Once passed, the answer stays true until BeginSentenceMemory. The first
// true answer of a sentence shows "The sentence needs more than <n> MB of
// memory and cannot be analysed.".
bool SentenceMemoryExceeded(int64_t now);
constexpr int64_t kDefaultSentenceMemoryCheckInterval = 10;
extern int64_t SentenceMemoryCheckInterval;
