// What the page's result says of a translation made in part.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "app/engine/translation_result.h"
#include "app/server/result_json.h"

namespace {

CSegmentOutcome Generated(std::vector<std::u16string> leftOut) {
  CSegmentOutcome segment;
  segment.number = 1;
  segment.parsed = segment.mapped = segment.generated = true;
  segment.leftOut = std::move(leftOut);
  return segment;
}

TEST(ResultJson, APartialTranslationSaysSoAndNamesWhatIsMissing) {
  struct Case {
    const char* name;
    std::vector<CSegmentOutcome> segments;
    std::vector<std::u16string> setAside;
    bool whole;
    bool partly;
    nlohmann::json leftOut;
    nlohmann::json setAsideJson;
  };
  const std::vector<Case> cases = {
      {"whole", {Generated({})}, {}, true, false, nlohmann::json::array(), nlohmann::json::array()},
      {"words left out",
       {Generated({u"rice", u"yesterday"})},
       {},
       false,
       true,
       {"rice", "yesterday"},
       nlohmann::json::array()},
      {"a symbol set aside", {Generated({})}, {u"\u2605"}, false, true, nlohmann::json::array(), {"\u2605"}},
  };
  for (const Case& c : cases) {
    CTranslationResult result;
    result.translated = true;
    result.segments = c.segments;
    result.setAside = c.setAside;
    const nlohmann::json json = TranslationResultJson(result);
    EXPECT_EQ(json["allSegmentsTranslated"], c.whole) << c.name;
    EXPECT_EQ(json["partlyTranslated"], c.partly) << c.name;
    EXPECT_EQ(json["segments"][0]["leftOut"], c.leftOut) << c.name;
    EXPECT_EQ(json["setAside"], c.setAsideJson) << c.name;
  }
}

}  // namespace
