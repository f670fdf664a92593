// The expansion table of the Urdu lexicon: for each word and PRED frame the
// equations that all entries of that frame share, so the generator can add
// them to an F-structure that names only the PRED. Also the "Expansions"
// file of word replacements that lexicons without the table read instead.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/string_helpers.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "resources/lfg/lexicon.h"
#include "resources/lfg/lexicon_dump_layout.h"

namespace {

const char16_t* const kLexiconCaption = u"Lexicon";

// The equations one frame of a word keeps while its entries are walked.
struct FrameGroup {
  std::vector<std::unique_ptr<CEquation>> equations;
  const CEquation* frame = nullptr;  // the PRED equation naming the frame
};

std::vector<SymbolId> GovernableFunctionIds() {
  std::vector<SymbolId> ids;
  for (const char16_t* name : {u"SUBJ", u"OBJ", u"OBJ2", u"OBL", u"XCOMP", u"COMP", u"PREDLINK", u"DPRED"}) {
    ids.push_back(GetSymbolId(name, true));
  }
  return ids;
}

SymbolId FirstId(const CEquationOperand* operand) {
  return operand && !operand->path.empty() ? operand->path[0] : kNoSymbol;
}

bool IsPredEquation(const CEquation& equation) { return FirstId(equation.left) == GetSymbolId(u"PRED", true); }

// A group filled from one entry: its PRED equation becomes the frame when it
// names a governable function; every other equation is copied.
FrameGroup MakeGroup(const CLexicalEntry& entry, const std::vector<SymbolId>& governable) {
  FrameGroup group;
  for (const CEquation* equation : entry.equations) {
    if (!IsPredEquation(*equation)) {
      group.equations.emplace_back(equation->Clone());
      continue;
    }
    if (!equation->right) continue;
    if (CLexicon::SelectGovernableFunctions(&governable, &equation->right->path)) group.frame = equation;
  }
  return group;
}

bool AnyFrame(const std::vector<FrameGroup>& groups) {
  return std::any_of(groups.begin(), groups.end(), [](const FrameGroup& group) { return group.frame; });
}

// The group an entry joins, judged by its first equation (its PRED); -1 when
// it needs a group of its own.
int ChooseGroup(const std::vector<FrameGroup>& groups, const CLexicalEntry& entry) {
  if (!AnyFrame(groups)) return 0;
  if (entry.equations.empty()) return -1;
  const CEquation* first = entry.equations[0];
  for (size_t i = 0; i < groups.size(); ++i) {
    const CEquation* frame = groups[i].frame;
    if (!frame && first->right && first->right->path.size() == 1) return static_cast<int>(i);
    if (frame && frame->IsEqual(first)) return static_cast<int>(i);
  }
  return -1;
}

// A "SUBJ_CASE" that one entry gives as DAT and another as NOM or ERG is
// kept with the other value.
void MergeSubjectCase(CEquation& kept, const CEquation& other) {
  if (!kept.right || kept.right->path.empty() || FirstId(other.right) == kNoSymbol) return;
  if (kept.right->path[0] != GetSymbolId(u"DAT", true)) return;
  const SymbolId value = other.right->path[0];
  if (value == GetSymbolId(u"NOM", true) || value == GetSymbolId(u"ERG", true)) kept.right->path[0] = value;
}

bool KeepShared(CEquation& kept, const CLexicalEntry& entry) {
  for (const CEquation* other : entry.equations) {
    if (kept.IsEqual(other)) return true;
  }
  const SymbolId attribute = FirstId(kept.left);
  if (attribute == kNoSymbol || attribute != GetSymbolId(u"SUBJ_CASE", true)) return false;
  for (const CEquation* other : entry.equations) {
    if (FirstId(other->left) != attribute) continue;
    MergeSubjectCase(kept, *other);
    return true;
  }
  return false;
}

void CutDownTo(FrameGroup& group, const CLexicalEntry& entry) {
  auto& equations = group.equations;
  equations.erase(
      std::remove_if(equations.begin(), equations.end(),
                     [&entry](const std::unique_ptr<CEquation>& kept) { return !KeepShared(*kept, entry); }),
      equations.end());
}

// The word alone, or with the frame's arguments: "word<SUBJ,OBJ>".
WString GroupKey(const WString& word, const FrameGroup& group) {
  if (!group.frame || !group.frame->right || group.frame->right->path.size() < 2) return word;
  const auto& path = group.frame->right->path;
  return word + u"<" + JoinSymbolNames(std::vector<SymbolId>(path.begin() + 1, path.end()), u",") + u">";
}

void EnterGroups(PredFrameMap& table, const WString& word, std::vector<FrameGroup>& groups) {
  for (FrameGroup& group : groups) {
    if (group.equations.empty()) continue;
    const WString key = GroupKey(word, group);
    if (table.count(key)) continue;
    std::vector<CEquation*>& target = table[key];
    for (auto& equation : group.equations) target.push_back(equation.release());
  }
}

uint32_t ReadU32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

uint16_t UnitAt(const uint8_t* slot, size_t unit) {
  return static_cast<uint16_t>(slot[2 * unit] | (slot[2 * unit + 1] << 8));
}

// One operand of a slot; null when the slot holds none (length and kind 0).
bool ReadSlotOperand(const uint8_t* slot, size_t pathUnit, size_t lengthUnit, size_t kindUnit,
                     CEquationOperand*& operand) {
  const uint16_t length = UnitAt(slot, lengthUnit);
  const int8_t kind = static_cast<int8_t>(UnitAt(slot, kindUnit) & 0xFF);
  if (length > DumpLayout::kMaxPathIds) return false;
  if (length == 0 && kind == 0) return true;
  operand = new CEquationOperand();
  operand->kind = kind;
  for (size_t i = 0; i < length; ++i) operand->path.push_back(UnitAt(slot, pathUnit + i));
  return true;
}

std::unique_ptr<CEquation> ReadSlot(const uint8_t* slot) {
  auto equation = std::make_unique<CEquation>();
  equation->op = static_cast<WChar>(UnitAt(slot, DumpLayout::kOperator));
  if (!ReadSlotOperand(slot, DumpLayout::kLeftPath, DumpLayout::kLeftLength, DumpLayout::kLeftKind, equation->left))
    return nullptr;
  if (!ReadSlotOperand(slot, DumpLayout::kRightPath, DumpLayout::kRightLength, DumpLayout::kRightKind, equation->right))
    return nullptr;
  return equation;
}

// The key (from the word field, which holds it whole) and the equations of
// one table record; false when the record is damaged.
bool ReadTableRecord(const DumpRecord& record, WString& key, std::vector<CEquation*>& equations) {
  const size_t count = record[DumpLayout::kEquationCountOffset];
  if (count > DumpLayout::kMaxEquations) return false;
  UnitArrayToString(record.data() + DumpLayout::kWordOffset, DumpLayout::kWordUnits, key);
  for (size_t i = 0; i < count; ++i) {
    std::unique_ptr<CEquation> equation =
        ReadSlot(record.data() + DumpLayout::kSlotsOffset + i * DumpLayout::kSlotBytes);
    if (!equation) return false;
    equations.push_back(equation.release());
  }
  return true;
}

void DeleteEquations(std::vector<CEquation*>& equations) {
  for (CEquation* equation : equations) delete equation;
  equations.clear();
}

void ReportTableProblem(const WString& text) { ShowMessage(text, kLexiconCaption, MessageStyle::Ok); }

}  // namespace

std::unique_ptr<std::vector<SymbolId>> CLexicon::SelectGovernableFunctions(const std::vector<SymbolId>* governable,
                                                                           const std::vector<SymbolId>* path) {
  if (!governable || !path) return nullptr;
  if (governable->empty()) {
    if (path->empty()) return nullptr;
    return std::make_unique<std::vector<SymbolId>>(*path);
  }
  auto selected = std::make_unique<std::vector<SymbolId>>();
  for (SymbolId id : *path) {
    if (std::find(governable->begin(), governable->end(), id) != governable->end()) selected->push_back(id);
  }
  if (selected->empty()) return nullptr;
  return selected;
}

OwnedPredFrameMap CLexicon::ExpandLexicalEntries() const {
  const std::vector<SymbolId> governable = GovernableFunctionIds();
  OwnedPredFrameMap table(new PredFrameMap());
  for (const WString& key : keyOrder_) {
    std::vector<FrameGroup> groups;
    for (const auto& entry : EntriesUnder(key)) {
      const int chosen = groups.empty() ? -1 : ChooseGroup(groups, *entry);
      if (chosen < 0) {
        groups.push_back(MakeGroup(*entry, governable));
        continue;
      }
      CutDownTo(groups[static_cast<size_t>(chosen)], *entry);
    }
    EnterGroups(*table, key, groups);
  }
  return table;
}

bool CLexicon::WriteExpansionTable(const PredFrameMap* table, FILE* file) {
  if (!table || !file) return false;
  std::vector<WString> keys;
  for (const auto& [key, equations] : *table) keys.push_back(key);
  std::sort(keys.begin(), keys.end());
  // Only records that fit are written, and the count says how many there are.
  std::vector<std::unique_ptr<CLexicalEntry>> records;
  WString refused;
  for (const WString& key : keys) {
    auto record = std::make_unique<CLexicalEntry>();
    record->word = record->pred = key;
    record->equations = table->at(key);
    const WString problem = DumpRecordProblem(*record, true);
    if (!problem.empty()) {
      refused += u"\n" + key + u": " + problem;
      record->equations.clear();
      continue;
    }
    records.push_back(std::move(record));
  }
  const uint32_t count = static_cast<uint32_t>(records.size());
  const uint8_t countBytes[4] = {static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8),
                                 static_cast<uint8_t>(count >> 16), static_cast<uint8_t>(count >> 24)};
  bool written = std::fwrite(countBytes, 1, 4, file) == 4;
  for (auto& record : records) {
    written = WriteDumpRecord(file, record.get()) && written;
    record->equations.clear();  // the table keeps its equations
  }
  if (!refused.empty()) ReportTableProblem(u"These frames do not fit the expansion table file:" + refused);
  return written;
}

OwnedPredFrameMap CLexicon::ReadExpansionTable(FILE* file) const {
  OwnedPredFrameMap table(new PredFrameMap());
  uint8_t countBytes[4];
  if (!file || std::fread(countBytes, 1, 4, file) != 4) return table;
  const uint32_t count = ReadU32(countBytes);
  DumpRecord record{};
  for (uint32_t i = 0; i < count; ++i) {
    if (std::fread(record.data(), 1, record.size(), file) != record.size()) {
      ReportTableProblem(u"The expansion table file ends before its last record.");
      break;
    }
    WString key;
    std::vector<CEquation*> equations;
    if (!ReadTableRecord(record, key, equations)) {
      DeleteEquations(equations);
      ReportTableProblem(u"The expansion table file holds a damaged record.");
      break;
    }
    if (table->count(key)) {
      DeleteEquations(equations);
      continue;
    }
    (*table)[key] = std::move(equations);
  }
  return table;
}

bool CLexicon::ReadExpansionsFile(const std::string& fileName) {
  expansionsMap = std::make_unique<ExpansionsMap>();
  const std::optional<std::string> content = ReadFileBytes(fileName);
  if (!content) return false;
  const std::string& bytes = *content;
  WString name, text;
  bool lineHasText = false;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const WChar unit = static_cast<WChar>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
    if (i == 0 && unit == 0xFEFF) continue;
    if (unit == u'\r') continue;  // CR LF and LF end a line alike
    if (unit == u'\n') {
      if (lineHasText) (*expansionsMap)[name] = text;
      text.clear();
      lineHasText = false;
      continue;
    }
    lineHasText = true;
    if (unit == u'=') {
      name = text;
      text.clear();
      continue;
    }
    text += unit;
  }
  if (lineHasText) (*expansionsMap)[name] = text;  // a last line without a line end
  return true;
}
