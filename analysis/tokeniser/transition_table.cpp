#include "analysis/tokeniser/transition_table.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <deque>
#include <iostream>
#include <limits>
#include <optional>
#include <unordered_map>

#include "core/config_store.h"
#include "platform/file_system.h"

namespace {

uint32_t lastTransitionCount = 0;

// Reads the fields of the transition file as stream extraction would (white
// space skipped before every field), keeping the line and column of the
// field being read so that a bad record can be pointed at.
class FieldReader {
 public:
  explicit FieldReader(std::string text) : text_(std::move(text)) {}

  bool AtEnd() {
    SkipSpace();
    return pos_ >= text_.size();
  }
  std::optional<int64_t> Number(int64_t low, int64_t high) {
    SkipSpace();
    MarkField();
    size_t p = pos_;
    bool negative = false;
    if (p < text_.size() && (text_[p] == '-' || text_[p] == '+')) negative = text_[p++] == '-';
    const size_t digitsStart = p;
    int64_t value = 0;
    while (p < text_.size() && std::isdigit(static_cast<unsigned char>(text_[p]))) {
      value = std::min<int64_t>(value * 10 + (text_[p] - '0'), int64_t{1} << 40);
      ++p;
    }
    if (p == digitsStart) return std::nullopt;
    if (negative) value = -value;
    if (value < low || value > high) return std::nullopt;
    Advance(p);
    return value;
  }
  std::optional<char> Character() {
    SkipSpace();
    MarkField();
    if (pos_ >= text_.size()) return std::nullopt;
    const char c = text_[pos_];
    Advance(pos_ + 1);
    return c;
  }
  size_t FieldLine() const { return fieldLine_; }
  size_t FieldColumn() const { return fieldColumn_; }

 private:
  void SkipSpace() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) Advance(pos_ + 1);
  }
  void Advance(size_t to) {
    for (; pos_ < to; ++pos_) {
      if (text_[pos_] == '\n') {
        ++line_;
        column_ = 1;
      } else {
        ++column_;
      }
    }
  }
  void MarkField() {
    fieldLine_ = line_;
    fieldColumn_ = column_;
  }

  std::string text_;
  size_t pos_ = 0;
  size_t line_ = 1;
  size_t column_ = 1;
  size_t fieldLine_ = 1;
  size_t fieldColumn_ = 1;
};

constexpr int64_t kInt16Min = std::numeric_limits<int16_t>::min();
constexpr int64_t kInt16Max = std::numeric_limits<int16_t>::max();
constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int64_t kUInt32Max = std::numeric_limits<uint32_t>::max();

// -1 stands for 0 in the state and argument fields.
uint32_t MinusOneIsZero(int64_t value) { return value == -1 ? 0 : static_cast<uint32_t>(value); }

void ReportBadRecord(const std::string& path, size_t record, const FieldReader& reader, const char* field) {
  std::cerr << "TransitionTable: record " << record << " of \"" << path << "\" is malformed at line "
            << reader.FieldLine() << ", column " << reader.FieldColumn() << " (" << field
            << "); the records after it are not loaded." << std::endl;
}

// Reads one record; false (after a report) when it is malformed or cut short.
bool ReadRecord(FieldReader& reader, const std::string& path, size_t record, CTransitionRecord& out) {
  const auto fail = [&](const char* field) {
    ReportBadRecord(path, record, reader, field);
    return false;
  };
  const auto from = reader.Number(kInt16Min, kInt16Max);
  if (!from) return fail("from-state");
  const auto input = reader.Character();
  if (!input) return fail("input character");
  const auto to = reader.Number(kInt32Min, kInt32Max);
  if (!to) return fail("to-state");
  const auto code = reader.Character();
  if (!code) return fail("accept code");
  std::optional<int64_t> args[3];
  for (auto& arg : args) {
    arg = reader.Number(kInt32Min, kInt32Max);
    if (!arg) return fail("argument");
  }
  const auto flag = reader.Number(kInt16Min, kInt16Max);
  if (!flag) return fail("flag");
  if (!reader.Number(kInt32Min, kInt32Max)) return fail("ninth field");
  const auto order = reader.Number(0, kUInt32Max);
  if (!order) return fail("order key");

  const uint16_t character = *input == kBlankInFile ? uint16_t{0x20} : static_cast<unsigned char>(*input);
  out.Set(static_cast<uint16_t>(MinusOneIsZero(*from)), character, MinusOneIsZero(*to), static_cast<uint8_t>(*code),
          *flag == 1 ? 1 : 0, MinusOneIsZero(*args[0]), MinusOneIsZero(*args[1]), MinusOneIsZero(*args[2]),
          static_cast<uint32_t>(*order));
  return true;
}

using TransitionMap = std::multimap<uint32_t, CTransition>;

// Sorts one group of records with the same key and appends it to the map.
void InsertGroup(std::vector<CTransitionRecord>& group, TransitionMap& map) {
  std::stable_sort(group.begin(), group.end(), CTransitionRecordLess());
  for (const CTransitionRecord& r : group) {
    CTransition t;
    t.Set(r.ToState, r.AcceptCode, r.Flag != 0, r.Argument1, r.Argument2, r.Argument3, r.OrderKey);
    map.emplace(CTransitionTable::MakeKey(r.FromState, r.Input), t);
  }
  group.clear();
}

// The state on a '$' cycle, if any (depth-first search over '$' edges).
std::optional<uint16_t> FindEmptyInputCycle(const TransitionMap& map) {
  std::unordered_map<uint16_t, std::vector<uint16_t>> edges;
  for (const auto& [key, t] : map) {
    if ((key & 0xFFFF) == kEmptyInputMarker)
      edges[static_cast<uint16_t>(key >> 16)].push_back(static_cast<uint16_t>(t.GetNextState()));
  }
  enum Mark : uint8_t { kOpen = 1, kDone = 2 };
  std::unordered_map<uint16_t, uint8_t> marks;
  for (const auto& [start, unused] : edges) {
    if (marks[start] == kDone) continue;
    // Iterative search: (state, index of the next edge to follow).
    std::vector<std::pair<uint16_t, size_t>> stack{{start, 0}};
    marks[start] = kOpen;
    while (!stack.empty()) {
      auto& [state, next] = stack.back();
      const auto found = edges.find(state);
      if (found == edges.end() || next >= found->second.size()) {
        marks[state] = kDone;
        stack.pop_back();
        continue;
      }
      const uint16_t target = found->second[next++];
      if (marks[target] == kOpen) return target;
      if (marks[target] == 0) {
        marks[target] = kOpen;
        stack.push_back({target, 0});
      }
    }
  }
  return std::nullopt;
}

}  // namespace

void CTransition::Set(uint32_t nextState, uint8_t acceptCode, bool flag, uint32_t argument1, uint32_t argument2,
                      uint32_t argument3, uint32_t orderKey) {
  nextState_ = nextState;
  acceptCode_ = acceptCode;
  flag_ = flag;
  argument1_ = argument1;
  argument2_ = argument2;
  argument3_ = argument3;
  orderKey_ = orderKey;
}

void CTransitionTable::Load() { lastLoadClean_ = LoadFile(GetConfigValue("TransitionTable")); }

bool CTransitionTable::LoadFile(const std::string& path) {
  Clear();
  const std::optional<std::string> text = ReadFileBytes(path);
  if (!text) {
    std::cerr << "exception" << std::endl;
    return false;
  }
  FieldReader reader(*text);
  TransitionMap loaded;
  std::vector<CTransitionRecord> group;
  bool clean = true;
  for (size_t record = 1; !reader.AtEnd(); ++record) {
    CTransitionRecord r;
    if (!ReadRecord(reader, path, record, r)) {
      clean = false;
      break;
    }
    if (!group.empty() && MakeKey(group.front().FromState, group.front().Input) != MakeKey(r.FromState, r.Input))
      InsertGroup(group, loaded);
    group.push_back(r);
  }
  InsertGroup(group, loaded);

  if (const auto cycleState = FindEmptyInputCycle(loaded)) {
    std::cerr << "TransitionTable: the '$' transitions of \"" << path << "\" form a cycle through state " << *cycleState
              << "; the table is not used." << std::endl;
    return false;
  }
  transitions_ = std::move(loaded);
  return clean;
}

void CTransitionTable::Clear() { transitions_.clear(); }

uint32_t CTransitionTable::MakeKey(uint16_t state, uint16_t character) {
  return (static_cast<uint32_t>(state) << 16) | character;
}

bool CTransitionTable::HasTransition(uint16_t state, uint16_t character) const {
  return transitions_.count(MakeKey(state, character)) > 0;
}

std::vector<CTransition> CTransitionTable::NextTransitions(uint16_t state, uint16_t character) const {
  std::vector<CTransition> result;
  std::deque<CTransition> queue;
  const auto direct = transitions_.equal_range(MakeKey(state, character));
  for (auto it = direct.first; it != direct.second; ++it) queue.push_back(it->second);
  while (!queue.empty()) {
    const CTransition t = queue.front();
    queue.pop_front();
    result.push_back(t);
    const auto empty = transitions_.equal_range(MakeKey(static_cast<uint16_t>(t.GetNextState()), kEmptyInputMarker));
    for (auto it = empty.first; it != empty.second; ++it) queue.push_back(it->second);
  }
  lastTransitionCount = static_cast<uint32_t>(result.size());
  return result;
}

CTransitionTable& GlobalTransitionTable() {
  static CTransitionTable table;
  return table;
}

uint32_t GetLastTransitionCount() { return lastTransitionCount; }
