// The parser reading its sentence from its own tokeniser, and chart items
// keeping their marks when copied.
#include "analysis/cfg/cfg_chart.h"
#include "analysis/cfg/cfg_engine_fixture.h"
#include "core/parse_result.h"

namespace {

using cfg_test::ShippedCfgEngine;

TEST_F(ShippedCfgEngine, ParseSentenceReadsTheTokeniserSentenceAndFreesItsTokens) {
  const std::pair<const char*, bool> sentences[] = {
      {"I gave him a book", true}, {"The boy reads a book", true}, {"Him reads a book", false}};
  for (const auto& [sentence, parses] : sentences) {
    pre_->SetSentence(FromUtf8(sentence));
    EXPECT_EQ(parser_->ParseSentence(), parses) << sentence;
    std::unique_ptr<CParseResult> result(parses ? parser_->GetParseResult() : nullptr);
    EXPECT_EQ(result != nullptr, parses) << sentence;
    ResetSentence();
  }
}

TEST(CfgChartItemCopy, KeepsTheMarkOriginAndDotOfTheOriginal) {
  CCompiledProduction production;  // X(10) -> a(1) b(2)
  production.lhs = 10;
  production.rhs.resize(2);
  for (uint16_t i = 0; i < 2; ++i) production.rhs[i] = {static_cast<uint16_t>(i + 1), 1, {}};
  CELexicalEntry reading{1, {}, uint16_t{0}, 1.0f};
  auto* item = new CCfgChartItem(3, &production);
  item->AdvanceDot({nullptr, &reading});
  for (uint8_t mark : {uint8_t{0}, uint8_t{1}, uint8_t{255}}) {
    item->SetMark(mark);
    const CCfgChartItem* copy = item->CloneAdvanced();
    EXPECT_EQ(copy->GetMark(), mark);
    EXPECT_EQ(copy->GetOrigin(), 3);
    EXPECT_EQ(copy->GetDot(), 1u);
  }
  FreeAllEarleyItems();
  FreeAllChartColumns();
}

}  // namespace
