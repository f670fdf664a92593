#include "transfer/morphology/word_features.h"

#include <limits>

namespace {

const CEquation* LastFeatureWith(const std::vector<CEquation*>& features, SymbolId attribute) {
  const CEquation* found = nullptr;
  for (const CEquation* feature : features) {
    if (FeatureAttribute(feature) == attribute) found = feature;
  }
  return found;
}

WString FirstValueText(const CEquation* feature, bool keepNull = false) {
  if (feature == nullptr || feature->right == nullptr || feature->right->path.empty()) return WString();
  WString text = GetSymbolName(feature->right->path.front());
  if (text == u"NULL" && !keepNull) return WString();
  return text;
}

}  // namespace

SymbolId FeatureAttribute(const CEquation* feature) {
  if (feature == nullptr || feature->left == nullptr || feature->left->path.empty()) return kNoSymbol;
  return feature->left->path.front();
}

WString FeatureText(const std::vector<CEquation*>& features, SymbolId attribute, bool keepNull) {
  if (attribute == kNoSymbol) return WString();
  return FirstValueText(LastFeatureWith(features, attribute), keepNull);
}

WString FeatureTextByName(const std::vector<CEquation*>& features, const WString& attributeName) {
  const CEquation* found = nullptr;
  for (const CEquation* feature : features) {
    const SymbolId attribute = FeatureAttribute(feature);
    if (attribute != kNoSymbol && GetSymbolName(attribute) == attributeName) found = feature;
  }
  return FirstValueText(found);
}

int64_t DecimalValue(const WString& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
    negative = text[i] == u'-';
    ++i;
  }
  constexpr int64_t kLimit = std::numeric_limits<int64_t>::max();
  int64_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    const int digit = text[i] - u'0';
    value = value > (kLimit - digit) / 10 ? kLimit : value * 10 + digit;
  }
  return negative ? -value : value;
}
