#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "core/equation.h"
#include "core/symbol_table.h"

namespace {

SymbolId Id(const char16_t* name) { return GetSymbolId(name, true); }

CEquationOperand* Operand(char kind, std::vector<SymbolId> path) {
  auto* operand = new CEquationOperand();
  operand->kind = static_cast<int8_t>(kind);
  operand->path = std::move(path);
  return operand;
}

std::unique_ptr<CEquation> Equation(CEquationOperand* left, WChar op, CEquationOperand* right) {
  auto equation = std::make_unique<CEquation>();
  equation->left = left;
  equation->op = op;
  equation->right = right;
  return equation;
}

// An operand whose destructor throws, as a derived operand of the mapping
// rules might.
class ThrowingOperand : public CEquationOperand {
 public:
  ~ThrowingOperand() noexcept(false) override { throw std::runtime_error("operand"); }
};

}  // namespace

TEST(Equation, TextForms) {
  const SymbolId subj = Id(u"SUBJ"), num = Id(u"NUM"), sg = Id(u"SG");
  struct Case {
    std::unique_ptr<CEquation> equation;
    WString text;
  };
  Case cases[] = {
      {Equation(Operand('^', {subj, num}), u'=', Operand('v', {sg})), u"^ SUBJ NUM=v SG"},
      {Equation(Operand('^', {subj}), u'$', Operand('!', {})), u"^ SUBJ$! "},
      {Equation(Operand('^', {}), u'c', nullptr), u"^ cNULL"},
      {Equation(nullptr, u'=', Operand('!', {})), u"NULL=! "},
      {std::make_unique<CEquation>(), WString(u"NULL") + WChar(0) + u"NULL"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.equation->ToString(), c.text);
}

TEST(Equation, PathsCompareAsSets) {
  const SymbolId a = Id(u"A"), b = Id(u"B"), c = Id(u"C");
  struct Case {
    std::unique_ptr<CEquation> x, y;
    bool equal;
  };
  Case cases[] = {
      {Equation(Operand('^', {a, b}), '=', Operand('v', {c})),
       Equation(Operand('^', {b, a}), '=', Operand('v', {c})), true},
      {Equation(Operand('^', {a, a, b}), '=', Operand('v', {c})),
       Equation(Operand('^', {b, a}), '=', Operand('v', {c, c})), true},
      {Equation(Operand('^', {a, b}), '=', Operand('v', {c})),
       Equation(Operand('^', {a}), '=', Operand('v', {c})), false},
      {Equation(Operand('^', {a}), '=', Operand('v', {c})),
       Equation(Operand('!', {a}), '=', Operand('v', {c})), false},
      {Equation(Operand('^', {a}), '=', Operand('v', {c})),
       Equation(Operand('^', {a}), 'c', Operand('v', {c})), false},
      {Equation(Operand('^', {}), '=', Operand('v', {})),
       Equation(Operand('^', {}), '=', Operand('v', {})), true},
      // Missing operands: equal only when missing on the same side of both.
      {Equation(Operand('^', {a}), '=', nullptr), Equation(Operand('^', {a}), '=', nullptr), true},
      {Equation(Operand('^', {a}), '=', nullptr),
       Equation(Operand('^', {a}), '=', Operand('v', {})), false},
      {Equation(nullptr, '=', Operand('v', {c})), Equation(Operand('v', {c}), '=', nullptr), false},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].x->IsEqual(cases[i].y.get()), cases[i].equal) << "case " << i;
    EXPECT_EQ(cases[i].y->IsEqual(cases[i].x.get()), cases[i].equal) << "case " << i;
  }
  EXPECT_FALSE(cases[0].x->IsEqual(nullptr));
}

TEST(Equation, CloneIsIndependentOfItsSource) {
  const SymbolId subj = Id(u"SUBJ"), sg = Id(u"SG");
  auto source = Equation(Operand('^', {subj}), '=', Operand('v', {sg}));
  std::unique_ptr<CEquation> copy(source->Clone());
  ASSERT_TRUE(copy->IsEqual(source.get()));
  EXPECT_NE(copy->left, source->left);
  EXPECT_NE(copy->right, source->right);

  copy->left->path.push_back(sg);
  EXPECT_EQ(source->left->path, std::vector<SymbolId>{subj});
  const int operandsBefore = CEquationOperand::liveInstances;
  copy.reset();
  EXPECT_EQ(CEquationOperand::liveInstances, operandsBefore - 2);
  EXPECT_EQ(source->ToString(), u"^ SUBJ=v SG");

  auto leftOnly = Equation(Operand('^', {subj}), '$', nullptr);
  std::unique_ptr<CEquation> leftCopy(leftOnly->Clone());
  EXPECT_EQ(leftCopy->right, nullptr);
  EXPECT_EQ(leftCopy->op, u'$');
}

TEST(Equation, DeletionFreesOperandsAndSwallowsTheirExceptions) {
  const int operandsBefore = CEquationOperand::liveInstances;
  const int equationsBefore = CEquation::liveInstances;
  {
    auto equation = Equation(new ThrowingOperand(), '=', Operand('v', {}));
    EXPECT_EQ(CEquationOperand::liveInstances, operandsBefore + 2);
  }
  EXPECT_EQ(CEquationOperand::liveInstances, operandsBefore);
  EXPECT_EQ(CEquation::liveInstances, equationsBefore);

  DeleteOperandPair(Operand('^', {}), nullptr);
  DeleteOperandPair(nullptr, new ThrowingOperand());
  EXPECT_EQ(CEquationOperand::liveInstances, operandsBefore);
}
