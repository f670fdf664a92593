#include "core/equation.h"

#include <memory>

#include "core/swallowing_delete.h"
#include "core/value_sets.h"

int CEquationOperand::liveInstances = 0;
int CEquation::liveInstances = 0;

namespace {

// Operand kinds are single bytes; they print as the character of that byte.
WChar KindCharacter(int8_t kind) { return static_cast<WChar>(static_cast<unsigned char>(kind)); }

void DeleteOperand(CEquationOperand* operand) { DeleteSwallowingExceptions(operand); }

WString OperandText(const CEquationOperand* operand) { return operand ? operand->ToString() : WString(u"NULL"); }

CEquationOperand* CloneOrNull(const CEquationOperand* operand) { return operand ? operand->Clone() : nullptr; }

bool SamePathSet(const std::vector<SymbolId>& a, const std::vector<SymbolId>& b) {
  return IsValueSubset(&a, &b) && IsValueSubset(&b, &a);
}

bool SameOperand(const CEquationOperand* a, const CEquationOperand* b) {
  if (!a || !b) return !a && !b;
  return a->kind == b->kind && SamePathSet(a->path, b->path);
}

}  // namespace

CEquationOperand::CEquationOperand() { ++liveInstances; }

CEquationOperand::CEquationOperand(const CEquationOperand& other) : path(other.path), kind(other.kind) {
  ++liveInstances;
}

CEquationOperand::~CEquationOperand() noexcept(false) { --liveInstances; }

CEquationOperand* CEquationOperand::Clone() const { return new CEquationOperand(*this); }

WString CEquationOperand::ToString() const {
  WString text(1, KindCharacter(kind));
  text += u' ';
  if (path.empty()) return text;
  return text + JoinSymbolNames(path, u" ");
}

void DeleteOperandPair(CEquationOperand* a, CEquationOperand* b) {
  DeleteOperand(a);
  DeleteOperand(b);
}

CEquation::CEquation() { ++liveInstances; }

CEquation::~CEquation() {
  DeleteOperand(left);
  left = nullptr;
  DeleteOperand(right);
  right = nullptr;
  --liveInstances;
}

CEquation* CEquation::Clone() const {
  auto copy = std::make_unique<CEquation>();
  copy->op = op;
  copy->left = CloneOrNull(left);
  copy->right = CloneOrNull(right);
  return copy.release();
}

WString CEquation::ToString() const { return OperandText(left) + op + OperandText(right); }

bool CEquation::IsEqual(const CEquation* other) const {
  if (!other || op != other->op) return false;
  return SameOperand(left, other->left) && SameOperand(right, other->right);
}
