#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "constraints/p_con_val.h"
#include "constraints/p_symbol_table.h"
#include "constraints_fixture.h"

namespace {

class ConValTest : public ::testing::Test {
 protected:
  ConstraintsData data_;
  MessageRecorder messages_;
};

template <typename Value>
std::unique_ptr<Value> Make(ContextList context) {
  auto value = std::make_unique<Value>();
  value->context = std::move(context);
  return value;
}

std::unique_ptr<P_ConValPlainVal> Plain(uint16_t id, ContextList context = {0}) {
  auto value = Make<P_ConValPlainVal>(std::move(context));
  value->value = id;
  return value;
}

std::unique_ptr<P_ConValPlainValList> List(std::list<uint16_t> ids, ContextList context = {0}) {
  auto value = Make<P_ConValPlainValList>(std::move(context));
  value->values = std::move(ids);
  return value;
}

std::unique_ptr<P_ConValFDLink> FDLink(uint16_t id, uint8_t type, ContextList context = {0}) {
  auto value = Make<P_ConValFDLink>(std::move(context));
  value->value = id;
  value->valueType = type;
  return value;
}

std::string Printed(const P_ConVal& value) {
  std::ostringstream out;
  value.Print(out);
  return out.str();
}

}  // namespace

TEST_F(ConValTest, ShiftContextRenamesChoicesAndSorts) {
  struct Case {
    ContextList before;
    int8_t k;
    ContextList after;
  } cases[] = {
      {{-2, 0, 1}, 3, {-5, 0, 4}},
      {{1, -2, 0}, 0, {-2, 0, 1}},
      {{}, 5, {}},
      {{0}, 100, {0}},
      {{-27, 100}, 27, {-54, 127}},
  };
  for (const Case& c : cases) {
    auto value = Plain(1, c.before);
    EXPECT_TRUE(value->ShiftContext(c.k));
    EXPECT_EQ(value->context, c.after);
    EXPECT_EQ(value->contextBits, EmptyFeatureSet);
  }
  EXPECT_TRUE(messages_.messages().empty());
}

TEST_F(ConValTest, ChoicesPast127FailInsteadOfWrapping) {
  for (ContextList context : {ContextList{120}, ContextList{0, -125}}) {
    auto value = Plain(1, context);
    messages_.clear();
    EXPECT_FALSE(value->ShiftContext(10));
    EXPECT_EQ(value->context, context);
    EXPECT_EQ(messages_.messages().size(), 1u);
    EXPECT_EQ(value->Instantiate(nullptr, nullptr, 10), nullptr);
    EXPECT_TRUE(value->Evaluate(nullptr, {}, 10).empty());
  }
  auto link = FDLink(3, kLinkToDaughter, {126});
  EXPECT_EQ(link->Instantiate(nullptr, nullptr, 5), nullptr);
}

TEST_F(ConValTest, RecordsRoundTripAndShortRecordsAreRejected) {
  auto list = List({5, 9}, {-1, 2});
  DumpWords words;
  uint32_t index = kNoWordYet;
  list->Serialize(words, index);
  EXPECT_EQ(words, (DumpWords{4, 2, 5, 9, 2, 0xFFFF, 2}));
  EXPECT_EQ(index, 6u);

  std::vector<std::unique_ptr<P_ConVal>> originals;
  originals.push_back(std::move(list));
  originals.push_back(Plain(7, {-3, 0}));
  originals.push_back(FDLink(11, kLinkToDaughter | kLinkPath, {0, 4}));
  originals.push_back(std::make_unique<P_ConValFSLink>(nullptr, 12));
  for (const auto& original : originals) {
    DumpWords record;
    uint32_t end = kNoWordYet;
    original->Serialize(record, end);
    std::unique_ptr<P_ConVal> read(NewConValForTag(record[0]));
    ASSERT_NE(read, nullptr);
    uint32_t at = 0;
    ASSERT_TRUE(read->Deserialize(record, at));
    EXPECT_EQ(at, end);
    EXPECT_EQ(read->context, original->context);
    EXPECT_EQ(read->contextBits, EmptyFeatureSet);
    EXPECT_EQ(read->ToString(), original->ToString());
    EXPECT_EQ(read->GetValueType(), original->GetValueType() & (record[0] == 1 ? 0 : 0xFF));
    if (record[0] != 1) {
      EXPECT_TRUE(read->Equals(original.get()));
    }
    for (size_t cut = 1; cut < record.size(); ++cut) {
      DumpWords shortRecord(record.begin(), record.begin() + cut);
      std::unique_ptr<P_ConVal> partial(NewConValForTag(record[0]));
      uint32_t from = 0;
      EXPECT_FALSE(partial->Deserialize(shortRecord, from)) << "tag " << record[0] << " cut " << cut;
    }
  }
  EXPECT_EQ(NewConValForTag(0), nullptr);
  EXPECT_EQ(NewConValForTag(5), nullptr);
}

TEST_F(ConValTest, Equality) {
  P_ConValFSLink link(nullptr, 3);
  EXPECT_FALSE(link.Equals(&link));
  struct Case {
    std::unique_ptr<P_ConVal> a, b;
    bool equal;
  };
  std::vector<Case> cases;
  cases.push_back({Plain(3), Plain(3), true});
  cases.push_back({Plain(3), Plain(4), false});
  cases.push_back({Plain(3, {0, 1}), Plain(3, {1, 0}), false});  // same literals, other order
  cases.push_back({List({1, 2}), List({2, 1}), true});
  cases.push_back({List({1, 2}), List({1, 2, 3}), false});
  cases.push_back({FDLink(5, 0x80), FDLink(5, 0x80), true});
  cases.push_back({FDLink(5, 0x80), FDLink(5, 0x00), false});
  cases.push_back({Plain(3), FDLink(3, 0), false});
  for (const Case& c : cases) EXPECT_EQ(c.a->Equals(c.b.get()), c.equal) << Printed(*c.a) << Printed(*c.b);
}

TEST_F(ConValTest, Compatibility) {
  struct Case {
    std::unique_ptr<P_ConVal> a, b;
    bool matches;
  };
  std::vector<Case> cases;
  cases.push_back({Plain(3), Plain(3), true});
  cases.push_back({Plain(3), Plain(4), false});
  cases.push_back({Plain(3), List({2, 3}), true});
  cases.push_back({Plain(3), List({2}), false});
  cases.push_back({Plain(3), FDLink(9, 0), true});  // neither a plain value nor a list
  cases.push_back({Plain(3), List({}), true});
  cases.push_back({List({1, 2}), Plain(2), true});
  cases.push_back({List({1, 2}), Plain(5), false});
  cases.push_back({List({1, 2}), List({2, 7}), true});
  cases.push_back({List({1, 2}), List({7}), false});
  cases.push_back({List({1}), std::make_unique<P_ConValFSLink>(), true});
  cases.push_back({FDLink(1, 0), Plain(9), true});
  for (const Case& c : cases) EXPECT_EQ(c.a->Matches(c.b.get()), c.matches) << Printed(*c.a) << Printed(*c.b);
}

TEST_F(ConValTest, InstantiateBindsTheNamedFStructure) {
  P_FStructure mother, daughter;
  struct Case {
    uint8_t type;
    P_FStructure* bound;
  } cases[] = {{kLinkToDaughter, &daughter}, {0, &mother}, {kLinkPath, &mother}};
  for (const Case& c : cases) {
    auto link = FDLink(8, c.type, {-1, 0, 2});
    std::unique_ptr<P_ConVal> made(link->Instantiate(&mother, &daughter, 2));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetBoundFStructure(), c.bound);
    EXPECT_EQ(made->GetFSAttribute(), 8);
    EXPECT_EQ(made->GetValueType(), c.type);
    EXPECT_EQ(made->context, (ContextList{-3, 0, 4}));
    EXPECT_EQ(made->contextBits, BuildFeatureSet({-3, 4}));
    EXPECT_EQ(link->context, (ContextList{-1, 0, 2}));  // the source is not changed
  }
  auto plain = Plain(4, {1});
  std::unique_ptr<P_ConVal> copy(plain->Instantiate(&mother, &daughter, 1));
  EXPECT_EQ(copy->GetPlainValue(), 4);
  EXPECT_EQ(copy->contextBits, BuildFeatureSet({2}));
  P_ConValFSLink bound(&mother, 1);
  EXPECT_EQ(bound.Instantiate(&mother, &daughter, 0), nullptr);
}

TEST_F(ConValTest, EvaluateOfADaughterLinkCopiesEachAlternative) {
  P_FStructure mother, first, second;
  auto link = FDLink(6, kLinkToDaughter, {1});
  EXPECT_TRUE(link->Evaluate(&mother, {}, 2).empty());
  EXPECT_EQ(link->context, (ContextList{3}));  // shifted in place even without alternatives

  P_ConValFSLink a(&first, 0), b(&second, 0);
  a.context = {-4};
  b.context = {4};
  std::list<P_ConVal*> made = link->Evaluate(&mother, {&a, &b}, 0);
  ASSERT_EQ(made.size(), 2u);
  const P_FStructure* expected[] = {&first, &second};
  const ContextList contexts[] = {{-4, 3}, {3, 4}};
  int i = 0;
  for (P_ConVal* value : made) {
    EXPECT_EQ(value->GetBoundFStructure(), expected[i]);
    EXPECT_EQ(value->GetFSAttribute(), 6);
    EXPECT_EQ(value->GetValueType(), kLinkToDaughter);
    EXPECT_EQ(value->context, contexts[i]);
    EXPECT_EQ(value->contextBits, BuildFeatureSet({contexts[i].begin(), contexts[i].end()}));
    delete value;
    ++i;
  }

  auto up = FDLink(6, 0, {0});
  std::list<P_ConVal*> bound = up->Evaluate(&mother, {&a}, 1);
  ASSERT_EQ(bound.size(), 1u);
  EXPECT_EQ(bound.front()->GetBoundFStructure(), &mother);
  delete bound.front();
}

TEST_F(ConValTest, TextForms) {
  const uint16_t sg = P_SymbolTable::Intern("sg");
  const uint16_t pl = P_SymbolTable::Intern("pl");
  EXPECT_EQ(List({sg, pl})->ToString(), "{sg,pl}");
  EXPECT_EQ(List({})->ToString(), "{}");
  EXPECT_EQ(Plain(sg)->ToString(), "sg");
  EXPECT_EQ(Plain(0)->ToString(), "");
  EXPECT_EQ(Printed(*FDLink(12, 0x80, {-1, 0})), "Printing P_ConValFDLink:\nvalue: 12\nvalue_type: 128\ncontext: -1 0 \n");
  EXPECT_EQ(Printed(*Plain(7, {2})), "Printing P_ConValPlainVal:\nvalue: 7\ncontext: 2 \n");
  EXPECT_EQ(Printed(*List({5, 9}, {1})), "Printing P_ConValPlainValList:\nvalues: 5 9 \ncontext: 1 ");
  EXPECT_EQ(Printed(P_ConValFSLink()), "NOT IMPLEMENTED");
}
