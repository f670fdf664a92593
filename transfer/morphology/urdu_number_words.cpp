// Numbers in Urdu words on the South Asian scale (hundred, thousand, lakh,
// crore, arab), cardinals and ordinals.
#include <string_view>

#include "transfer/morphology/string_insert.h"
#include "transfer/morphology/urdu_word_generator.h"
#include "transfer/morphology/word_features.h"

namespace {

const WString kHundred = u" سو ";
const WString kThousand = u" ہزار ";
const WString kLakh = u" لاکھ ";
const WString kCrore = u" کروڑ ";
const WString kArab = u" ارب ";
const WString kZero = u"صفر";

bool IsAsciiDigitRun(const WString& text) {
  for (WChar unit : text) {
    if (unit < u'0' || unit > u'9') return false;
  }
  return !text.empty();
}

WString WithoutCommas(const WString& text) {
  WString result;
  for (WChar unit : text) {
    if (unit != u',') result.push_back(unit);
  }
  return result;
}

// The ordinal endings of one gender: the five short forms that replace the
// number, and the suffixes after 79-90, after 91-99 (replacing the final
// ے of the word) and after any other number.
struct OrdinalForms {
  WString first, second, third, fourth, sixth;
  WString afterSpace, afterNinety, plain;
};

const OrdinalForms kMasculineOrdinals{u"پہلا", u"دوسرا", u"تیسرا", u"چوتھا", u"چھٹا", u" واں", u"اں", u"واں"};
const OrdinalForms kFeminineOrdinals{u"پہلی", u"دوسری", u"تیسری", u"چوتھی", u"چھٹی", u" ویں", u"یں", u"ویں"};

}  // namespace

WString CUrduWordGenerator::GetNumberWord(const WString& digits) const {
  const int64_t value = DecimalValue(digits);
  if (value < 0 || value > 99) return WString();
  return numberWords_[static_cast<size_t>(value)];
}

WString CUrduWordGenerator::NumberToWords(const WString& digits) const {
  const WString plain = WithoutCommas(digits);
  if (plain.empty()) return WString();
  if (!IsAsciiDigitRun(plain)) return digits;
  return NumberGroupsToWords(plain);
}

// The digits d are counted from the right: the last two, the hundreds digit,
// then pairs for thousands, lakhs and crores, and what stands before the
// last nine digits for arabs. A group whose word is empty adds nothing.
WString CUrduWordGenerator::NumberGroupsToWords(const WString& d) const {
  const size_t n = d.size();
  if (n == 1) return GetNumberWord(d);
  auto group = [&](size_t fromRight, size_t length) { return GetNumberWord(d.substr(n - fromRight, length)); };
  auto prepend = [](WString& result, const WString& word, const WString& scale) {
    if (!word.empty()) result = word + scale + result;
  };
  WString result = group(2, 2);
  if (n == 2) return result;
  prepend(result, group(3, 1), kHundred);
  if (n == 3) return result;
  if (n == 4) return group(4, 1) + kThousand + result;
  prepend(result, group(5, 2), kThousand);
  if (n == 6) return group(6, 1) + kLakh + result;
  if (n >= 7) prepend(result, group(7, 2), kLakh);
  if (n == 8) return group(8, 1) + kCrore + result;
  if (n >= 9) prepend(result, group(9, 2), kCrore);
  if (n == 10) {
    prepend(result, group(10, 1), kArab);
    return result;
  }
  if (n >= 11) prepend(result, NumberGroupsToWords(d.substr(0, n - 9)), kArab);
  return result;
}

WString CUrduWordGenerator::CardinalToWords(const WString& word, const std::vector<CEquation*>& features) const {
  if (FeatureTextByName(features, u"IN_WORDS") == u"NEG") {
    WString digits = FeatureTextByName(features, u"NUMBER_VAL");
    if (FeatureTextByName(features, u"HAS_COMMA") != u"POS") return digits;
    // The last three digits before the decimal point form one group, the
    // digits before them go in pairs: 12,34,567.
    const size_t point = digits.rfind(u'.');
    const int64_t end = point == WString::npos ? static_cast<int64_t>(digits.size()) : static_cast<int64_t>(point);
    for (int64_t p = end - 4; p >= 0; p -= 2) InsertStringAfter(digits, static_cast<size_t>(p), u",");
    return digits;
  }
  WString words = NumberToWords(word);
  return words.empty() ? kZero : words;
}

WString CUrduWordGenerator::OrdinalToWords(const WString& word, const std::vector<CEquation*>& features) const {
  const WString number = FeatureTextByName(features, u"ORD_NUMBER_VAL");
  const bool inDigits = FeatureTextByName(features, u"IN_WORDS") == u"NEG";
  WString spelled = inDigits ? number : NumberToWords(number);
  if (spelled.empty()) {
    // Nothing to spell: the ordinal keeps the terminal's own digits.
    spelled = word;
  }
  const WString gender = FeatureTextByName(features, u"GEND");
  const OrdinalForms* forms = nullptr;
  if (gender == u"M" || gender == u"m") forms = &kMasculineOrdinals;
  if (gender == u"F" || gender == u"f") forms = &kFeminineOrdinals;
  if (forms == nullptr) return spelled;

  const bool isShort = word.size() < 2;
  const int64_t value = DecimalValue(word);
  const int64_t lastTwo = DecimalValue(isShort ? word : word.substr(word.size() - 2));
  if (isShort) {
    switch (value) {
      case 1: return forms->first;
      case 2: return forms->second;
      case 3: return forms->third;
      case 4: return forms->fourth;
      case 6: return forms->sixth;
      default: break;
    }
  }
  if (lastTwo >= 79 && lastTwo <= 90) return spelled + forms->afterSpace;
  // The words for 91-99 end in ے, which the ending replaces; digits keep
  // all of theirs.
  const bool spelledInWords = !spelled.empty() && !IsAsciiDigitRun(spelled);
  if (lastTwo >= 91 && lastTwo <= 99 && spelledInWords) {
    return spelled.substr(0, spelled.size() - 1) + forms->afterNinety;
  }
  return spelled + forms->plain;
}
