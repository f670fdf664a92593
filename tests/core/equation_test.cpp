#include <gtest/gtest.h>

#include <stdexcept>

#include "core/equation.h"
#include "core/symbol_table.h"
#include "support/test_support.h"

namespace {

// An operand whose destructor throws, as a derived operand of the mapping rules might.
class ThrowingOperand : public CEquationOperand {
 public:
  ~ThrowingOperand() noexcept(false) override { throw std::runtime_error("operand"); }
};

}  // namespace

TEST(Equation, TextFormsShowMissingOperandsAsNullAndPathsCompareAsSets) {
  const SymbolId a = GetSymbolId(u"SUBJ", true), b = GetSymbolId(u"NUM", true), c = GetSymbolId(u"SG", true);
  EXPECT_EQ(MakeEquation('^', {a, b}, u'=', 'v', {c})->ToString(), u"^ SUBJ NUM=v SG");
  EXPECT_EQ(MakeEquation('^', {a}, u'$', '!', {})->ToString(), u"^ SUBJ$! ");
  EXPECT_EQ(MakeEquation('^', {}, u'c')->ToString(), u"^ cNULL");
  EXPECT_EQ(MakeEquation(0, {}, u'=', '!', {})->ToString(), u"NULL=! ");
  EXPECT_EQ(CEquation().ToString(), WString(u"NULL") + WChar(0) + u"NULL");

  // Paths compare as sets; missing operands only match missing ones.
  const std::tuple<std::unique_ptr<CEquation>, std::unique_ptr<CEquation>, bool> cases[] = {
      {MakeEquation('^', {a, a, b}, '=', 'v', {c}), MakeEquation('^', {b, a}, '=', 'v', {c, c}), true},
      {MakeEquation('^', {a, b}, '=', 'v', {c}), MakeEquation('^', {a}, '=', 'v', {c}), false},
      {MakeEquation('^', {a}, '=', 'v', {c}), MakeEquation('!', {a}, '=', 'v', {c}), false},
      {MakeEquation('^', {a}, '=', 'v', {c}), MakeEquation('^', {a}, 'c', 'v', {c}), false},
      {MakeEquation('^', {a}, '='), MakeEquation('^', {a}, '='), true},
      {MakeEquation('^', {a}, '='), MakeEquation('^', {a}, '=', 'v', {}), false},
      {MakeEquation(0, {}, '=', 'v', {c}), MakeEquation('v', {c}, '='), false},
  };
  for (const auto& [x, y, equal] : cases) {
    EXPECT_EQ(x->IsEqual(y.get()), equal) << ToUtf8(x->ToString());
    EXPECT_EQ(y->IsEqual(x.get()), equal) << ToUtf8(x->ToString());
  }
  EXPECT_FALSE(std::get<0>(cases[0])->IsEqual(nullptr));
}

TEST(Equation, CloneIsIndependentAndDeletionFreesOperandsSwallowingTheirExceptions) {
  const SymbolId a = GetSymbolId(u"SUBJ", true), c = GetSymbolId(u"SG", true);
  const int operandsBefore = CEquationOperand::liveInstances, equationsBefore = CEquation::liveInstances;
  auto source = MakeEquation('^', {a}, '=', 'v', {c});
  std::unique_ptr<CEquation> copy(source->Clone());
  ASSERT_TRUE(copy->IsEqual(source.get()));
  copy->left->path.push_back(c);
  copy.reset();
  EXPECT_EQ(CEquationOperand::liveInstances, operandsBefore + 2);
  EXPECT_EQ(source->ToString(), u"^ SUBJ=v SG");
  EXPECT_EQ(std::unique_ptr<CEquation>(MakeEquation('^', {a}, '$')->Clone())->right, nullptr);

  source.reset();
  MakeEquation(0, {}, '=', 'v', {})->left = new ThrowingOperand();  // freed at once, the exception swallowed
  DeleteOperandPair(new CEquationOperand(), nullptr);
  DeleteOperandPair(nullptr, new ThrowingOperand());
  EXPECT_EQ(CEquationOperand::liveInstances, operandsBefore);
  EXPECT_EQ(CEquation::liveInstances, equationsBefore);
}
