// The tokeniser's finite-state automaton: transitions keyed by (state, input
// character), read once from the 8-bit text file named by "TransitionTable".
//
// Two input characters are markers, never read from a sentence: '$' is the
// empty input (a '$' transition of a state is an alternative whenever that
// state is entered) and '^' is the end of a token (looked up when a token
// ends before a delimiter). '~' in the file stands for the blank.
//
// File: records of ten white-space separated fields (records need not follow
// lines): from-state, input character, to-state, accept code, argument 1,
// argument 2, argument 3, flag (1 = true), an unused number, order key. A
// state or argument of -1 means 0. Consecutive records with the same key form
// a group whose transitions are stored sorted by order key (stable).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/transition_record.h"

constexpr uint16_t kEmptyInputMarker = u'$';
constexpr uint16_t kEndOfTokenMarker = u'^';
constexpr char kBlankInFile = '~';

// One transition, the value stored in the table.
class CTransition {
 public:
  CTransition() = default;
  ~CTransition() {}

  void Set(uint32_t nextState, uint8_t acceptCode, bool flag, uint32_t argument1, uint32_t argument2,
           uint32_t argument3, uint32_t orderKey);

  uint32_t GetNextState() const { return nextState_; }
  uint8_t GetAcceptCode() const { return acceptCode_; }
  bool GetFlag() const { return flag_; }
  uint32_t GetArg1() const { return argument1_; }
  uint32_t GetArg2() const { return argument2_; }
  uint32_t GetArg3() const { return argument3_; }
  // 0 makes the tokeniser test for the end of the token right after the
  // transition; among the transitions of one key, lower keys come first.
  uint32_t GetOrderKey() const { return orderKey_; }

 private:
  uint32_t nextState_ = 0;
  uint8_t acceptCode_ = 0;
  bool flag_ = false;
  uint32_t argument1_ = 0;
  uint32_t argument2_ = 0;
  uint32_t argument3_ = 0;
  uint32_t orderKey_ = 0;
};

// Orders transition records by order key only (a strict weak ordering, so a
// stable sort keeps the file order of equal keys).
struct CTransitionRecordLess {
  bool operator()(const CTransitionRecord& a, const CTransitionRecord& b) const { return a.OrderKey < b.OrderKey; }
};

class CTransitionTable {
 public:
  // Replaces the table with the file named by "TransitionTable". A file that
  // cannot be opened prints "exception" and leaves the table empty. A
  // malformed or cut-short record is reported on standard error (standard
  // output carries the translations) with its line and column; the records
  // before it are kept, and LastLoadWasClean() tells engine set-up to refuse
  // the table. A table whose '$'
  // transitions form a cycle is reported and not used (the table stays
  // empty), since looking it up would never end.
  void Load();
  // Same, from a named file; false when nothing could be loaded cleanly.
  bool LoadFile(const std::string& path);
  void Clear();
  // Whether the last Load() read the whole file without a fault.
  bool LastLoadWasClean() const { return lastLoadClean_; }

  static uint32_t MakeKey(uint16_t state, uint16_t character);
  // Whether (state, character) has a transition of its own ('$' ones of the
  // state do not count).
  bool HasTransition(uint16_t state, uint16_t character) const;
  // The transitions of (state, character) in stored order, followed breadth
  // first by the '$' transitions of the states they lead to. The first one is
  // the transition to take, the others are alternatives for backtracking.
  // Sets the last-lookup count.
  std::vector<CTransition> NextTransitions(uint16_t state, uint16_t character) const;

  size_t Size() const { return transitions_.size(); }

 private:
  std::multimap<uint32_t, CTransition> transitions_;
  bool lastLoadClean_ = false;
};

// The one table of the system, empty until the tokeniser loads it.
CTransitionTable& GlobalTransitionTable();

// The number of transitions the latest NextTransitions returned.
uint32_t GetLastTransitionCount();
