// Status of the mapper's rule application: whether the value of the last
// mapping statement was the reserved symbol NULL or BREAK (the mapper stops
// applying rules on BREAK), and the mapper's re-position and value state.
#pragma once

#include <cstdint>

class CTransferFlags {
 public:
  CTransferFlags() = default;

  uint8_t GetNullFlag() const { return NullFlag; }
  void SetNullFlag(uint8_t value) { NullFlag = value; }
  uint8_t GetBreakFlag() const { return BreakFlag; }
  void SetBreakFlag(uint8_t value) { BreakFlag = value; }
  // Clears every field; true.
  bool Reset();

  uint8_t NullFlag = 0;
  uint8_t BreakFlag = 0;
  uint8_t RepositionRequested = 0;
  uint8_t ValueIsNumber = 0;
  uint16_t Value = 0;
};
