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
#include <cstring>
#include <memory>
#include <string>
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

size_t ReadUnits(FILE* file, uint16_t* target, size_t wanted) {
  std::vector<unsigned char> bytes(wanted * 2);
  const size_t units = std::fread(bytes.data(), 1, bytes.size(), file) / 2;
  for (size_t i = 0; i < units; ++i) target[i] = static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  return units;
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
  // The next count units, or false when fewer are left.
  bool TakeRun(size_t count, std::vector<uint16_t>& units) {
    if (count > end_ - next_) return false;
    units.assign(window_.begin() + static_cast<long>(next_), window_.begin() + static_cast<long>(next_ + count));
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

bool ReadOperand(RecordCursor& cursor, CEquationOperand*& operand) {
  uint16_t present = 0;
  if (!cursor.Take(present) || present > 1) return false;
  if (present == 0) return true;
  uint16_t kind = 0;
  size_t length = 0;
  if (!cursor.Take(kind) || !cursor.TakeCount(length)) return false;
  auto made = std::make_unique<CEquationOperand>();
  made->kind = static_cast<int8_t>(kind & 0xFF);
  if (!cursor.TakeRun(length, made->path)) return false;
  operand = made.release();
  return true;
}

bool ReadEquation(RecordCursor& cursor, CLexicalEntry& entry) {
  uint16_t op = 0;
  if (!cursor.Take(op)) return false;
  auto equation = std::make_unique<CEquation>();
  equation->op = static_cast<WChar>(op);
  if (!ReadOperand(cursor, equation->right) || !ReadOperand(cursor, equation->left)) return false;
  entry.equations.push_back(equation.release());
  return true;
}

std::unique_ptr<CLexicalEntry> ReadRecord(RecordCursor& cursor) {
  uint16_t category = 0, pred = 0, word = 0;
  size_t constraintCount = 0, equationCount = 0;
  if (!cursor.Take(category) || !cursor.Take(pred) || !cursor.Take(word)) return nullptr;
  if (!cursor.TakeCount(constraintCount) || !cursor.TakeCount(equationCount)) return nullptr;
  auto entry = std::make_unique<CLexicalEntry>();
  entry->category = static_cast<int16_t>(category);
  entry->pred = GetSymbolName(pred);
  entry->word = GetSymbolName(word);
  entry->constraints.reserve(constraintCount);
  entry->equations.reserve(equationCount);
  for (size_t i = 0; i < constraintCount; ++i) {
    uint16_t id = 0;
    if (!cursor.Take(id)) return nullptr;
    entry->constraints.push_back(GetSymbolName(id));
  }
  for (size_t i = 0; i < equationCount; ++i) {
    if (!ReadEquation(cursor, *entry)) return nullptr;
  }
  return entry;
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
    for (const auto& entry : wordMap_[key]) {
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
  SealedOpen outcome = SealedOpen::kOpened;
  FileHandle file(OpenSealedFile(fileName, &outcome));
  if (outcome == SealedOpen::kDamaged) {
    ShowMessage(u"The lexicon file '" + NarrowToWide(fileName) + u"' is damaged or cut short; it was not read.",
                kLexiconCaption, MessageStyle::Ok);
    damagedFile_ = fileName;
    return false;
  }
  if (!file) return false;
  UnitVector window(kWindowUnits);
  size_t count = ReadUnits(file.get(), window.data(), kWindowUnits);
  if (count == 0) return false;
  size_t next = 0;
  for (size_t record = 1;; ++record) {
    if (next >= kRefillAfter) {
      // Keep the unread tail and fill the rest of the window behind it.
      const size_t tail = count - next;
      std::memmove(window.data(), window.data() + next, tail * sizeof(uint16_t));
      count = tail + ReadUnits(file.get(), window.data() + tail, kWindowUnits - tail);
      next = 0;
    }
    if (next >= count) break;
    RecordCursor cursor(window, next, count);
    std::unique_ptr<CLexicalEntry> entry = ReadRecord(cursor);
    if (!entry) {
      ReportDamage(fileName, record);
      damagedFile_ = fileName;
      break;
    }
    next = cursor.Next();
    entry->pred = BareLexeme(entry->pred);
    const WString key = entry->pred;
    FileUnderKey(key, entry.release());
  }
  return true;
}
