// Services that the solver needs from later subsystems, reached through hooks
// that the engine set-up fills: the subcategorisation frames of the CFG
// lexicon, and the clock of the parse time limit. With the hooks in place the
// constraint system builds and is tested before those subsystems exist.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The governable-function ids of frame n, or nothing when there is no frame n.
using SubcatFrameSource = std::function<std::optional<std::vector<uint16_t>>(int frame_number)>;

// Installs the frame source and returns the one it replaces.
SubcatFrameSource SetSubcatFrameSource(SubcatFrameSource source);
// The frame of the installed source; nothing without a source.
std::optional<std::vector<uint16_t>> LookUpSubcatFrame(int frame_number);

// Milliseconds of the clock the parse time limit is measured with.
using SolverClock = std::function<int64_t()>;
// Installs a clock (an empty one restores ParseClock) and returns the old one.
SolverClock SetSolverClock(SolverClock clock);
// clock - ParseStartTime > ParseTimeLimit: the parse has run out of time; or
// the sentence has passed its memory budget (core/sentence_memory.h).
bool SolverTimeExceeded();
