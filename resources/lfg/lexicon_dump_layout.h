// Offsets and limits of the 2004-byte lexicon dump record, shared by the
// dump writer and the expansion-table reader and writer.
#pragma once

#include <cstddef>

#include "core/wide_string.h"
#include "resources/lfg/lexical_entry.h"

namespace DumpLayout {
constexpr size_t kEquationCountOffset = 0;
constexpr size_t kConstraintCountOffset = 1;
constexpr size_t kSlotsOffset = 2;
constexpr size_t kSlotBytes = 70;
constexpr size_t kConstraintsOffset = 702;
constexpr size_t kCategoryOffset = 1702;
constexpr size_t kWordOffset = 1704;
constexpr size_t kPredOffset = 1904;

constexpr size_t kMaxEquations = 10;
constexpr size_t kMaxConstraints = 5;
constexpr size_t kMaxPathIds = 15;
constexpr size_t kConstraintUnits = 100;
constexpr size_t kWordUnits = 100;
constexpr size_t kPredUnits = 50;

// Unit positions inside an equation slot.
constexpr size_t kLeftPath = 0;
constexpr size_t kLeftLength = 15;
constexpr size_t kLeftKind = 16;
constexpr size_t kOperator = 17;
constexpr size_t kRightPath = 18;
constexpr size_t kRightLength = 33;
constexpr size_t kRightKind = 34;
}  // namespace DumpLayout

// Why the entry cannot be stored in a dump record; empty when it fits. With
// cutPredAllowed a PRED text longer than its field is cut instead.
WString DumpRecordProblem(const CLexicalEntry& entry, bool cutPredAllowed);
