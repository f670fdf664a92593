#include "core/transition_record.h"

void CTransitionRecord::Set(uint16_t fromState, uint16_t input, uint32_t toState, uint8_t acceptCode, uint8_t flag,
                            uint32_t argument1, uint32_t argument2, uint32_t argument3, uint32_t orderKey) {
  FromState = fromState;
  Input = input;
  ToState = toState;
  AcceptCode = acceptCode;
  Flag = flag;
  Argument1 = argument1;
  Argument2 = argument2;
  Argument3 = argument3;
  OrderKey = orderKey;
}
