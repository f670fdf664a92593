// The lexicon in numbers: a plain stream of little-endian 16-bit entry
// records, from which a start-up without compile rebuilds the lexicon
// without parsing text. One record:
//   category id (0xFFFF none), PRED id, word id, NC, NE,
//   NC constraint ids,
//   NE blocks: operator unit, right operand, left operand,
// where an operand is the unit 0 when absent, else 1, kind, length, ids.
// The reader works through a window of 21600 units and refills it once
// fewer than 360 units are left, so a record is at most 359 units long.
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <memory>
#include <string>
#include <set>
#include <vector>

#include "core/config_store.h"
#include "core/file_reader.h"
#include "core/sealed_file.h"
#include "core/string_helpers.h"
#include "core/text_split.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "resources/lfg/lexicon.h"

namespace {

constexpr size_t kMaxRecordUnits = 359;
constexpr size_t kWindowUnits = 21600;
constexpr size_t kRefillAfter = 21241;  // first unit index that forces a refill
constexpr int kFeatureListBufferUnits = 256;
const char16_t* const kLexiconCaption = u"Lexicon";

using UnitVector = std::vector<uint16_t>;

uint16_t Widened(int8_t kind) { return static_cast<uint16_t>(static_cast<int16_t>(kind)); }

void AppendOperand(UnitVector& units, const CEquationOperand* operand) {
  if (!operand) {
    units.push_back(0);
    return;
  }
  units.push_back(1);
  units.push_back(Widened(operand->kind));
  units.push_back(static_cast<uint16_t>(operand->path.size()));
  units.insert(units.end(), operand->path.begin(), operand->path.end());
}

UnitVector EntryRecord(const CLexicalEntry& entry) {
  UnitVector units;
  units.push_back(static_cast<uint16_t>(entry.category));
  units.push_back(GetSymbolId(entry.pred, true));
  units.push_back(GetSymbolId(entry.word, true));
  units.push_back(static_cast<uint16_t>(entry.constraints.size()));
  units.push_back(static_cast<uint16_t>(entry.equations.size()));
  for (const WString& constraint : entry.constraints) units.push_back(GetSymbolId(constraint, true));
  for (const CEquation* equation : entry.equations) {
    units.push_back(static_cast<uint16_t>(equation->op));
    AppendOperand(units, equation->right);
    AppendOperand(units, equation->left);
  }
  return units;
}

bool WriteUnits(FILE* file, const UnitVector& units) {
  if (units.empty()) return true;  // fwrite may not be given the null data of an empty vector
  std::vector<unsigned char> bytes;
  bytes.reserve(units.size() * 2);
  for (uint16_t unit : units) {
    bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
    bytes.push_back(static_cast<unsigned char>(unit >> 8));
  }
  // An empty lexicon writes nothing (and no null buffer to fwrite).
  if (bytes.empty()) return true;
  return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

// Reads records from the window; every read is checked against the units
// that are there and every count against what a record can hold.
class RecordCursor {
 public:
  RecordCursor(const UnitVector& window, size_t start, size_t end) : window_(window), next_(start), end_(end) {}

  bool Take(uint16_t& unit) {
    if (next_ >= end_) return false;
    unit = window_[next_++];
    return true;
  }
  // The next count units (copied to units unless it is null), or false when
  // fewer are left.
  bool TakeRun(size_t count, std::vector<uint16_t>* units) {
    if (count > end_ - next_) return false;
    if (units)
      units->assign(window_.begin() + static_cast<long>(next_), window_.begin() + static_cast<long>(next_ + count));
    next_ += count;
    return true;
  }
  bool TakeCount(size_t& count) {
    uint16_t unit = 0;
    if (!Take(unit) || static_cast<int16_t>(unit) < 0) return false;
    count = unit;
    return true;
  }
  size_t Next() const { return next_; }

 private:
  const UnitVector& window_;
  size_t next_;
  size_t end_;
};

// The readers below check a record and step over it; given an entry they
// also build what they read into it.
bool ReadOperand(RecordCursor& cursor, CEquationOperand** operand) {
  uint16_t present = 0;
  if (!cursor.Take(present) || present > 1) return false;
  if (present == 0) return true;
  uint16_t kind = 0;
  size_t length = 0;
  if (!cursor.Take(kind) || !cursor.TakeCount(length)) return false;
  if (!operand) return cursor.TakeRun(length, nullptr);
  auto made = std::make_unique<CEquationOperand>();
  made->kind = static_cast<int8_t>(kind & 0xFF);
  if (!cursor.TakeRun(length, &made->path)) return false;
  *operand = made.release();
  return true;
}

bool ReadEquation(RecordCursor& cursor, CLexicalEntry* entry) {
  uint16_t op = 0;
  if (!cursor.Take(op)) return false;
  if (!entry) return ReadOperand(cursor, nullptr) && ReadOperand(cursor, nullptr);
  auto equation = std::make_unique<CEquation>();
  equation->op = static_cast<WChar>(op);
  if (!ReadOperand(cursor, &equation->right) || !ReadOperand(cursor, &equation->left)) return false;
  entry->equations.push_back(equation.release());
  return true;
}

// pred is set to the record's PRED id; the ids of the record's constraint
// texts are added to constraintIds when it is given.
bool ReadRecord(RecordCursor& cursor, CLexicalEntry* entry, uint16_t& pred,
                std::set<uint16_t>* constraintIds = nullptr) {
  uint16_t category = 0, word = 0;
  size_t constraintCount = 0, equationCount = 0;
  if (!cursor.Take(category) || !cursor.Take(pred) || !cursor.Take(word)) return false;
  if (!cursor.TakeCount(constraintCount) || !cursor.TakeCount(equationCount)) return false;
  if (entry) {
    entry->category = static_cast<int16_t>(category);
    entry->pred = BareLexeme(GetSymbolName(pred));
    entry->word = GetSymbolName(word);
    entry->constraints.reserve(constraintCount);
    entry->equations.reserve(equationCount);
  }
  for (size_t i = 0; i < constraintCount; ++i) {
    uint16_t id = 0;
    if (!cursor.Take(id)) return false;
    if (entry) entry->constraints.push_back(GetSymbolName(id));
    if (constraintIds) constraintIds->insert(id);
  }
  for (size_t i = 0; i < equationCount; ++i) {
    if (!ReadEquation(cursor, entry)) return false;
  }
  return true;
}

void ReportDamage(const std::string& fileName, size_t recordNumber) {
  ShowMessage(u"The lexicon file '" + NarrowToWide(fileName) + u"' is damaged at record " +
                  IntToWString(static_cast<int>(recordNumber)) + u"; the records from there on were not read.",
              kLexiconCaption, MessageStyle::Ok);
}

}  // namespace

bool CLexicon::ReadOrderedFeatureList() {
  const std::string fileName = GetConfigValue(prefix + "OrderedFeatureListFileName");
  CFileReader reader(kFeatureListBufferUnits);
  const auto names = Tokenize(reader.ReadAll(fileName), u",", false);
  if (!names) return true;
  for (const WString& name : *names) GetSymbolId(name, true);
  return true;
}

bool CLexicon::WriteLexiconInNumbers() {
  const std::string fileName = GetConfigValue("ULexiconInNumbers");
  FileHandle file(OpenFile(fileName, "wb"));
  if (!file) return true;
  UnitVector stream;
  std::vector<WString> tooLong;
  for (const WString& key : keyOrder_) {
    for (const auto& entry : EntriesUnder(key)) {
      UnitVector record = EntryRecord(*entry);
      if (record.size() > kMaxRecordUnits) {
        tooLong.push_back(entry->word);
        continue;
      }
      stream.insert(stream.end(), record.begin(), record.end());
    }
  }
  WriteUnits(file.get(), stream);
  // Sealed, so that a later start refuses the file when it was damaged.
  file.reset();
  SealWrittenFile(fileName);
  if (tooLong.empty()) return true;
  WString words;
  for (const WString& word : tooLong) words += u" " + word;
  ShowMessage(u"These entries need more than 359 units and were left out of the lexicon file:" + words, kLexiconCaption,
              MessageStyle::Ok);
  return true;
}

bool CLexicon::ReadLexiconInNumbers() {
  const std::string fileName = GetConfigValue("ULexiconInNumbers");
  std::vector<unsigned char> bytes;
  const SealedOpen outcome = ReadSealedFile(fileName, bytes);
  if (outcome == SealedOpen::kDamaged) {
    ShowMessage(u"The lexicon file '" + NarrowToWide(fileName) + u"' is damaged or cut short; it was not read.",
                kLexiconCaption, MessageStyle::Ok);
    damagedFile_ = fileName;
    return false;
  }
  if (outcome != SealedOpen::kOpened) return false;
  UnitVector units(bytes.size() / 2);
  for (size_t i = 0; i < units.size(); ++i) units[i] = static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  bytes = {};
  return IndexNumbers(std::move(units), fileName);
}

// The records are checked as the file's reader always read them: through a
// window of kWindowUnits that moves to the next record once fewer than
// kMaxRecordUnits + 1 units are left in it, so that a record running past
// the window is damaged however long the file is.
bool CLexicon::IndexNumbers(std::vector<uint16_t> units, const std::string& fileName) {
  numbers_ = std::move(units);
  if (numbers_.empty()) return false;
  std::unordered_map<uint16_t, std::vector<uint32_t>*> runOfPred;
  std::set<uint16_t> constraintIds;
  size_t windowStart = 0;
  size_t next = 0;
  for (size_t record = 1; next < numbers_.size(); ++record) {
    if (next - windowStart >= kRefillAfter) windowStart = next;
    RecordCursor cursor(numbers_, next, std::min(numbers_.size(), windowStart + kWindowUnits));
    uint16_t pred = 0;
    if (!ReadRecord(cursor, nullptr, pred, &constraintIds)) {
      ReportDamage(fileName, record);
      damagedFile_ = fileName;
      break;
    }
    std::vector<uint32_t>*& run = runOfPred[pred];
    if (!run) {
      const WString key = BareLexeme(GetSymbolName(pred));
      run = &unreadRecords_[key];
      if (run->empty() && !wordMap_.count(key)) {
        keyOrder_.push_back(key);
        wordMap_[key];
      }
    }
    run->push_back(static_cast<uint32_t>(next));
    ++unreadCount_;
    next = cursor.Next();
  }
  for (uint16_t id : constraintIds) numberConstraints_.push_back(GetSymbolName(id));
  return true;
}

std::vector<WString> CLexicon::ConstraintTexts() const {
  std::set<WString> texts(numberConstraints_.begin(), numberConstraints_.end());
  for (const auto& [key, run] : wordMap_) {
    for (const auto& entry : run) texts.insert(entry->constraints.begin(), entry->constraints.end());
  }
  return {texts.begin(), texts.end()};
}

const CLexicon::EntryRun& CLexicon::EntriesUnder(const WString& key) const {
  static const EntryRun kNone;
  const auto run = wordMap_.find(key);
  if (run == wordMap_.end()) return kNone;
  const auto unread = unreadRecords_.find(key);
  if (unread != unreadRecords_.end()) {
    for (uint32_t start : unread->second) {
      RecordCursor cursor(numbers_, start, numbers_.size());
      auto entry = std::make_unique<CLexicalEntry>();
      uint16_t pred = 0;
      ReadRecord(cursor, entry.get(), pred);  // checked whole when indexed
      run->second.push_back(std::move(entry));
    }
    unreadCount_ -= unread->second.size();
    unreadRecords_.erase(unread);
  }
  return run->second;
}
