// The one owner of what a sentence makes, and the one reset that frees it.
//
// Analysing, transferring and generating one sentence (or one segment of it)
// makes chart items and columns, the generator's edges, productions copied
// for chart edges, F-structure nodes and handles, and the constraint
// system's structures and names. Each kind lives in a registry that frees it
// in bulk; this reset frees them in one fixed order: what points into others
// first (the generator, the charts), then the productions, handles and nodes
// they point to, and last the constraint system, whose names the tokens of
// the sentence use until the whole sentence is done.
//
// After the parts, the sentence arena is released in one step (see
// core/sentence_arena.h), unless a part kept some of its objects.
//
// Core frees its own parts (productions, handles, nodes). A later subsystem
// cannot be called from core, so engine set-up says how its part is freed
// (SetSentenceRelease); a part without a release is skipped.
#pragma once

#include <functional>

enum class SentencePart { kGeneration, kCharts, kProductions, kHandles, kNodes, kConstraints };

using SentenceRelease = std::function<void()>;

// Replaces the release of a part; an empty function removes it. Core's own
// parts keep their built-in release unless replaced.
void SetSentenceRelease(SentencePart part, SentenceRelease release);

// After each segment: every part in order except the constraint system's.
void ResetSentenceSegment();
// After the whole sentence: every part in order.
void ResetSentenceState();
