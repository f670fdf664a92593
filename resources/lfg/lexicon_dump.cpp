// The lexicon dump: one 2004-byte record per entry.
//   0     u8   number of equations (at most 10)
//   1     u8   number of constraint texts (at most 5)
//   2     700  ten equation slots of 35 units
//   702   1000 five constraint texts of 100 units, 0-terminated
//   1702  i16  category id
//   1704  200  word, 100 units, 0-terminated
//   1904  100  PRED text, 50 units, 0-terminated
// An equation slot: [0..14] left path, [15] left length, [16] left kind,
// [17] operator, [18..32] right path, [33] right length, [34] right kind.
// An absent operand has length 0 and kind 0. All units little-endian.
#include <cstdio>
#include <string>
#include <vector>

#include "core/string_helpers.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "resources/lfg/lexicon.h"
#include "resources/lfg/lexicon_dump_layout.h"

namespace {

const char16_t* const kLexiconCaption = u"Lexicon";

void PutUnit(uint8_t* at, uint16_t unit) {
  at[0] = static_cast<uint8_t>(unit & 0xFF);
  at[1] = static_cast<uint8_t>(unit >> 8);
}

uint16_t Widened(int8_t kind) { return static_cast<uint16_t>(static_cast<int16_t>(kind)); }

void PackOperand(uint8_t* slot, size_t pathUnit, size_t lengthUnit, size_t kindUnit, const CEquationOperand* operand) {
  if (!operand) {
    PutUnit(slot + 2 * lengthUnit, 0);
    PutUnit(slot + 2 * kindUnit, 0);
    return;
  }
  for (size_t i = 0; i < operand->path.size(); ++i) PutUnit(slot + 2 * (pathUnit + i), operand->path[i]);
  PutUnit(slot + 2 * lengthUnit, static_cast<uint16_t>(operand->path.size()));
  PutUnit(slot + 2 * kindUnit, Widened(operand->kind));
}

void PackEquation(uint8_t* slot, const CEquation& equation) {
  PackOperand(slot, DumpLayout::kLeftPath, DumpLayout::kLeftLength, DumpLayout::kLeftKind, equation.left);
  PutUnit(slot + 2 * DumpLayout::kOperator, static_cast<uint16_t>(equation.op));
  PackOperand(slot, DumpLayout::kRightPath, DumpLayout::kRightLength, DumpLayout::kRightKind, equation.right);
}

bool PathFits(const CEquationOperand* operand) { return !operand || operand->path.size() <= DumpLayout::kMaxPathIds; }

}  // namespace

bool CopyToUnitArray(uint8_t* destination, size_t capacity, const WString& text) {
  if (capacity == 0) return text.empty();
  const size_t copied = text.size() < capacity ? text.size() : capacity - 1;
  for (size_t i = 0; i < copied; ++i) PutUnit(destination + 2 * i, text[i]);
  PutUnit(destination + 2 * copied, 0);
  return copied == text.size();
}

void UnitArrayToString(const uint8_t* source, size_t capacity, WString& text) {
  for (size_t i = 0; i < capacity; ++i) {
    const WChar unit = static_cast<WChar>(source[2 * i] | (source[2 * i + 1] << 8));
    if (unit == 0) return;
    text += unit;
  }
}

// Why the entry cannot be stored in a dump record; empty when it fits. The
// PRED field may be cut when cutPredAllowed (the expansion table keeps its
// keys in the word field).
WString DumpRecordProblem(const CLexicalEntry& entry, bool cutPredAllowed) {
  if (entry.equations.size() > DumpLayout::kMaxEquations) return u"more than 10 equations";
  if (entry.constraints.size() > DumpLayout::kMaxConstraints) return u"more than 5 constraint texts";
  for (const CEquation* equation : entry.equations) {
    if (!PathFits(equation->left) || !PathFits(equation->right)) return u"a path of more than 15 names";
  }
  for (const WString& constraint : entry.constraints) {
    if (constraint.size() >= DumpLayout::kConstraintUnits) return u"a constraint text of more than 99 units";
  }
  if (entry.word.size() >= DumpLayout::kWordUnits) return u"a word of more than 99 units";
  if (!cutPredAllowed && entry.pred.size() >= DumpLayout::kPredUnits) return u"a PRED text of more than 49 units";
  return WString();
}

bool CLexicon::PackDumpRecord(const CLexicalEntry& entry) {
  dumpRecord.fill(0);
  uint8_t* record = dumpRecord.data();
  record[DumpLayout::kEquationCountOffset] = static_cast<uint8_t>(entry.equations.size());
  record[DumpLayout::kConstraintCountOffset] = static_cast<uint8_t>(entry.constraints.size());
  for (size_t i = 0; i < entry.equations.size(); ++i) {
    PackEquation(record + DumpLayout::kSlotsOffset + i * DumpLayout::kSlotBytes, *entry.equations[i]);
  }
  for (size_t i = 0; i < entry.constraints.size(); ++i) {
    CopyToUnitArray(record + DumpLayout::kConstraintsOffset + i * 2 * DumpLayout::kConstraintUnits,
                    DumpLayout::kConstraintUnits, entry.constraints[i]);
  }
  PutUnit(record + DumpLayout::kCategoryOffset, static_cast<uint16_t>(entry.category));
  CopyToUnitArray(record + DumpLayout::kWordOffset, DumpLayout::kWordUnits, entry.word);
  CopyToUnitArray(record + DumpLayout::kPredOffset, DumpLayout::kPredUnits, entry.pred);
  return true;
}

bool CLexicon::WriteDumpRecord(FILE* file, const CLexicalEntry* entry) {
  if (!file || !entry) return false;
  if (!DumpRecordProblem(*entry, true).empty()) return false;
  PackDumpRecord(*entry);
  return std::fwrite(dumpRecord.data(), 1, dumpRecord.size(), file) == dumpRecord.size();
}

bool CLexicon::WriteLexiconDump(const std::string& fileName) {
  if (EntryCount() == 0) return false;
  FileHandle file(OpenFile(fileName, "wb"));
  if (!file) return false;
  WString refused;
  for (const WString& key : keyOrder_) {
    for (const auto& entry : EntriesUnder(key)) {
      const WString problem = DumpRecordProblem(*entry, false);
      if (!problem.empty()) {
        refused += u"\n" + entry->word + u": " + problem;
        continue;
      }
      WriteDumpRecord(file.get(), entry.get());
      std::fflush(file.get());
    }
  }
  if (!refused.empty()) {
    ShowMessage(u"These entries do not fit a dump record and were left out of the dump:" + refused, kLexiconCaption,
                MessageStyle::Ok);
  }
  return true;
}
