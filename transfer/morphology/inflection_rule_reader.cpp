// Reading an inflection rule file. A rule is four fields, each ended by its
// own character:
//   affix ;  suffix conditions ;  properties ;  replacement pairs .
// "@" stands for an empty affix or condition list; "~" before an ending
// makes a condition the word must not meet; properties are
// "ATTRIBUTE = value" or "PATH.ATTRIBUTE = {value,value}"; pairs are
// "(from,to)", tried in order, and text outside parentheses is a comment.
#include <iostream>

#include "analysis/segmentation/segment_condition.h"
#include "core/file_reader.h"
#include "core/text_reading.h"
#include "resources/lfg/lexicon.h"
#include "transfer/morphology/urdu_word_generator.h"

namespace {

// Where a rule comes from, for the messages about malformed parts.
struct RuleSite {
  const std::string& path;
  size_t ruleNumber;
};

void ReportSkipped(const RuleSite& site, const char* what) {
  std::cerr << "inflection rules '" << site.path << "', rule " << site.ruleNumber << ": " << what << " skipped\n";
}

bool IsBlankOrQuote(WChar unit) { return unit == u' ' || unit == u'\''; }

// "@" first stands for the empty text; otherwise quotes and blanks go.
WString NormaliseText(const WString& text) {
  if (!text.empty() && text.front() == u'@') return WString();
  WString result;
  for (WChar unit : text) {
    if (!IsBlankOrQuote(unit)) result.push_back(unit);
  }
  if (!result.empty() && result.front() == u'@') return WString();
  return result;
}

// Blanks between single quotes survive normalising as "$", and every "$"
// then becomes a blank.
WString ReadAffix(const WString& field) {
  WString protectedText = field;
  bool quoted = false;
  for (WChar& unit : protectedText) {
    if (unit == u'\'') quoted = !quoted;
    if (quoted && unit == u' ') unit = u'$';
  }
  WString affix = NormaliseText(protectedText);
  for (WChar& unit : affix) {
    if (unit == u'$') unit = u' ';
  }
  return affix;
}

void ReadSuffixConditions(const WString& field, CInflectionRule& rule, const RuleSite& site) {
  if (field.empty()) return;  // reported with the blank field
  for (const WString& item : SplitSegmentRuleText(field, u',')) {
    if (!item.empty() && item.front() == u'@') continue;
    const WString text = NormaliseText(item);
    if (text.empty()) {
      if (item.find(u'@') == WString::npos) ReportSkipped(site, "an empty suffix condition");
      continue;
    }
    auto condition = std::make_unique<CSuffixCondition>();
    if (text.front() == u'~') {
      condition->mustMatch = false;
      condition->text = text.substr(1);
      if (condition->text.empty()) {
        ReportSkipped(site, "a \"~\" without an ending");
        continue;
      }
    } else {
      condition->text = text;
    }
    rule.suffixConditions.push_back(std::move(condition));
  }
}

// Items separated by "," outside braces; the braces stay in the items.
std::vector<WString> SplitPropertyItems(const WString& field) {
  std::vector<WString> items(1);
  int openBraces = 0;
  for (WChar unit : field) {
    if (unit == u'{') ++openBraces;
    if (unit == u'}') {
      if (openBraces == 0) {
        std::cerr << "error with rule(properties) bracketing!";
      } else {
        --openBraces;
      }
    }
    if (unit == u',' && openBraces == 0) {
      items.emplace_back();
    } else {
      items.back().push_back(unit);
    }
  }
  return items;
}

void ReadProperties(const WString& field, CInflectionRule& rule, const RuleSite& site) {
  for (WString item : SplitPropertyItems(field)) {
    TrimSpaceCrLf(item);
    if (item.empty()) continue;
    const size_t equals = item.find(u'=');
    WString attribute = item.substr(0, equals);
    WString value;
    if (equals != WString::npos) {
      for (WChar unit : item.substr(equals + 1)) {
        if (unit != u'=') value.push_back(unit);
      }
    }
    TrimSpaceCrLf(attribute);
    TrimSpaceCrLf(value);
    if (attribute.empty()) {
      ReportSkipped(site, "a property without an attribute");
      continue;
    }
    auto equation = std::make_unique<CEquation>();
    equation->op = u'=';
    equation->left = CLexicon::ParseRuleOperandKeepAngles(attribute).release();
    equation->right = CLexicon::ParseRuleOperandKeepAngles(value).release();
    if (equation->left == nullptr || equation->left->path.empty()) {
      ReportSkipped(site, "a property whose attribute cannot be read");
      continue;
    }
    rule.properties.push_back(std::move(equation));
  }
}

WString ReadPairSide(WString side) {
  TrimSpaceCrLf(side);
  if (!side.empty() && side.front() == u'@') return WString();
  return side;
}

void ReadReplacementPairs(const WString& field, CInflectionRule& rule, const RuleSite& site) {
  bool open = false;
  WString group;
  for (WChar unit : field) {
    if (!open) {
      if (unit == u'(') {
        open = true;
        group.clear();
      } else if (unit == u')') {
        std::cerr << "error in replacement pair's bracketing!";
      }
      continue;
    }
    if (unit != u')') {
      group.push_back(unit);
      continue;
    }
    open = false;
    const size_t comma = group.find(u',');
    if (comma == WString::npos) {
      ReportSkipped(site, "a replacement pair without \",\"");
      continue;
    }
    auto pair = std::make_unique<CReplacementPair>();
    pair->from = ReadPairSide(group.substr(0, comma));
    pair->to = ReadPairSide(group.substr(comma + 1));
    rule.replacementPairs.push_back(std::move(pair));
  }
  if (open) ReportSkipped(site, "a replacement pair without \")\"");
}

}  // namespace

void CUrduWordGenerator::ReadRuleFile(const std::string& path, InflectionRuleList& rules) {
  CFileReader reader(path, 256);
  const WChar ends[4] = {u';', u';', u';', u'.'};
  size_t ruleNumber = 0;
  while (reader.GetChar() != 0) {
    WString fields[4];
    bool complete = true;
    for (int i = 0; i < 4 && complete; ++i) {
      ReadUntilChar(fields[i], ends[i], reader, &complete);
      TrimSpaceCrLf(fields[i]);
    }
    if (!complete) break;  // text after the last complete rule
    const RuleSite site{path, ++ruleNumber};
    auto rule = std::make_unique<CInflectionRule>();
    if (fields[0].empty()) ReportSkipped(site, "a blank affix field (\"@\" is the empty affix)");
    if (fields[1].empty()) ReportSkipped(site, "a blank condition field (\"@\" is no condition)");
    rule->affix = ReadAffix(fields[0]);
    ReadSuffixConditions(fields[1], *rule, site);
    ReadProperties(fields[2], *rule, site);
    ReadReplacementPairs(fields[3], *rule, site);
    rules.push_back(std::move(rule));
  }
}
