// Numbers of the configuration as set-up reads them.
#include <gtest/gtest.h>

#include <clocale>

#include "app/engine/setup_keys.h"

namespace {

TEST(SetUpValues, FrequenciesAreReadIndependentlyOfTheLocale) {
  // A locale with a decimal comma must not change what "0.5" means.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  const std::vector<std::pair<std::string, std::optional<double>>> cases = {
      {"0.5", 0.5},       {" 2 ", 2.0},          {"+1.25", 1.25},       {"-3e2", -300.0},       {"1e-3", 0.001},
      {"", std::nullopt}, {"abc", std::nullopt}, {"0,5", std::nullopt}, {"1.5x", std::nullopt},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseConfigNumber(text), expected) << text;
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(SetUpValues, SegmentLengthsAreClampedToSixteenBits) {
  struct Case {
    const char* text;
    int16_t value;
    bool isNumber;
  };
  const std::vector<Case> cases = {
      {"8", 8, true},         {" 12abc", 12, true},     {"-4", -4, true},
      {"70000", 32767, true}, {"-70000", -32768, true}, {"99999999999999999999", 32767, true},
      {"many", 0, false},     {"", 0, false},           {"-", 0, false},
  };
  for (const Case& c : cases) {
    bool isNumber = !c.isNumber;
    EXPECT_EQ(ParseShortCount(c.text, isNumber), c.value) << c.text;
    EXPECT_EQ(isNumber, c.isNumber) << c.text;
  }
}

}  // namespace
