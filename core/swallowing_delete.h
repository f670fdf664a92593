// Deleting objects whose destructors may throw.
//
// The operands of the mapping rules derive from CEquationOperand, whose
// destructor is declared noexcept(false): a mapping operand may report a
// failure from its destructor. The containers that own equations, operands,
// symbols or named ids free many objects in a row and must free all of them,
// so each delete goes through this one helper, which drops what a destructor
// throws. It is the only place where such exceptions are swallowed.
#pragma once

template <typename T>
void DeleteSwallowingExceptions(T* object) noexcept {
  try {
    delete object;
  } catch (...) {
    // A destructor's failure must not stop the owner's clean-up.
  }
}
