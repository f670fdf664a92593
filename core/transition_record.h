// One record of the tokeniser's transition table as its file stores it.
#pragma once

#include <cstdint>

class CTransitionRecord {
 public:
  CTransitionRecord() = default;

  // Sets all nine fields at once, in field order.
  void Set(uint16_t fromState, uint16_t input, uint32_t toState, uint8_t acceptCode, uint8_t flag, uint32_t argument1,
           uint32_t argument2, uint32_t argument3, uint32_t orderKey);

  uint16_t FromState = 0;
  uint16_t Input = 0;  // a UTF-16 unit
  uint32_t ToState = 0;
  uint8_t AcceptCode = 0;
  uint8_t Flag = 0;
  uint32_t Argument1 = 0;
  uint32_t Argument2 = 0;
  uint32_t Argument3 = 0;
  uint32_t OrderKey = 0;
};
