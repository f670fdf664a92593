#include "core/transfer_flags.h"

bool CTransferFlags::Reset() {
  NullFlag = 0;
  BreakFlag = 0;
  RepositionRequested = 0;
  ValueIsNumber = 0;
  Value = 0;
  return true;
}
