// Numbers, ordinals, dates and times in Urdu words.
#include <gtest/gtest.h>

#include "morphology_test_support.h"
#include "transfer/morphology/urdu_word_generator.h"

namespace {

using morphology_test::Features;

class UrduNumbers : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    TempDir dir;
    const std::string empty = dir.File("empty.txt");
    WriteUtf16File(empty, u"");
    morphology_test::ConfigureRuleFiles(empty, empty, empty);
    generator_ = new CUrduWordGenerator(nullptr);
    ClearConfiguration();
  }
  static void TearDownTestSuite() {
    delete generator_;
    generator_ = nullptr;
  }
  static const CUrduWordGenerator& generator() { return *generator_; }
  static WString Word(const char16_t* digits) { return generator_->GetNumberWord(digits); }

  static CUrduWordGenerator* generator_;
};

CUrduWordGenerator* UrduNumbers::generator_ = nullptr;

TEST_F(UrduNumbers, NumberWordsCoverZeroToNinetyNine) {
  EXPECT_EQ(Word(u"0"), u"");
  EXPECT_EQ(Word(u"1"), u"ایک");
  EXPECT_EQ(Word(u"05"), u"پانچ");
  EXPECT_EQ(Word(u"50"), u"پچاس");
  EXPECT_EQ(Word(u"99"), u"ننانوے");
  EXPECT_EQ(Word(u"100"), u"");
  EXPECT_EQ(Word(u"-3"), u"");
  EXPECT_EQ(Word(u"x"), u"");
}

TEST_F(UrduNumbers, NumbersGoByTheSouthAsianScale) {
  const WString one = Word(u"1");
  struct Case {
    WString digits;
    WString words;
  };
  const Case cases[] = {
      {u"", u""},
      {u"0", u""},
      {u"5", Word(u"5")},
      {u"100", one + u" سو "},
      {u"250", Word(u"2") + u" سو " + Word(u"50")},
      {u"1000", one + u" ہزار "},
      {u"1001", one + u" ہزار " + one},
      {u"100000", one + u" لاکھ "},
      {u"10000000", one + u" کروڑ "},
      {u"1000000000", one + u" ارب "},
      {u"12345678",
       one + u" کروڑ " + Word(u"23") + u" لاکھ " + Word(u"45") + u" ہزار " + Word(u"6") + u" سو " + Word(u"78")},
      {u"123456789012", one + u" سو " + Word(u"23") + u" ارب " + Word(u"45") + u" کروڑ " + Word(u"67") + u" لاکھ " +
                            Word(u"89") + u" ہزار " + Word(u"12")},
      // Commas are dropped; anything but digits stays as written.
      {u"1,000", one + u" ہزار "},
      {u"12.5", u"12.5"},
      {u"٣", u"٣"},
      {u"99999999999999999999999",
       generator().NumberToWords(u"99999999999999") + u" ارب " + generator().NumberToWords(u"999999999")},
  };
  for (const Case& c : cases) EXPECT_EQ(generator().NumberToWords(c.digits), c.words) << ToUtf8(c.digits);
}

TEST_F(UrduNumbers, CardinalsInDigitsTakeSouthAsianCommas) {
  struct Case {
    WString value, inWords, hasComma;
    WString word;
    WString expected;
  };
  const Case cases[] = {
      {u"1234567", u"NEG", u"POS", u"1234567", u"12,34,567"},
      {u"1234.56", u"NEG", u"POS", u"1234.56", u"1,234.56"},
      {u"123", u"NEG", u"POS", u"123", u"123"},
      {u"1234567", u"NEG", u"NEG", u"1234567", u"1234567"},
      {u"NULL", u"POS", u"NEG", u"0", u"صفر"},
      {u"NULL", u"POS", u"NEG", u"21", Word(u"21")},
  };
  for (const Case& c : cases) {
    Features features{
        {u"IN_WORDS", {c.inWords}}, {u"HAS_COMMA", {c.hasComma}}, {u"UNIT", {u"NULL"}}, {u"NUMBER_VAL", {c.value}}};
    EXPECT_EQ(generator().CardinalToWords(c.word, features.list()), c.expected) << ToUtf8(c.value);
  }
}

TEST_F(UrduNumbers, OrdinalsTakeTheEndingOfTheirGender) {
  struct Case {
    WString digits, gender, inWords;
    WString expected;
  };
  const Case cases[] = {
      {u"1", u"M", u"POS", u"پہلا"},
      {u"6", u"m", u"POS", u"چھٹا"},
      {u"11", u"M", u"POS", Word(u"11") + u"واں"},
      {u"80", u"M", u"POS", Word(u"80") + u" واں"},
      {u"92", u"M", u"POS", u"بانو" + WString(u"اں")},
      {u"1", u"F", u"POS", u"پہلی"},
      {u"11", u"F", u"POS", Word(u"11") + u"ویں"},
      {u"80", u"f", u"POS", Word(u"80") + u" ویں"},
      {u"92", u"F", u"POS", u"بانو" + WString(u"یں")},
      {u"21", u"M", u"NEG", u"21واں"},
      // Digits keep all of theirs where a word would lose its final ے.
      {u"95", u"M", u"NEG", u"95واں"},
      {u"7", u"", u"POS", Word(u"7")},
  };
  for (const Case& c : cases) {
    Features features{{u"IN_WORDS", {c.inWords}}, {u"ORD_NUMBER_VAL", {c.digits}}};
    if (!c.gender.empty()) features.Add(u"GEND", {c.gender});
    EXPECT_EQ(generator().OrdinalToWords(c.digits, features.list()), c.expected) << ToUtf8(c.digits);
  }
  // No value to spell: the terminal's own digits, never a cut of nothing.
  Features empty{{u"IN_WORDS", {u"NEG"}}, {u"ORD_NUMBER_VAL", {u"NULL"}}, {u"GEND", {u"M"}}};
  EXPECT_EQ(generator().OrdinalToWords(u"95", empty.list()), u"95واں");
}

// A date or time token's features as the tokeniser writes them, NULL in
// every empty slot.
Features DateFeatures(const char16_t* day, const char16_t* weekday, const char16_t* month, const char16_t* year,
                      const char16_t* era) {
  return Features{{u"DAY_IN_WORD", {weekday}},
                  {u"DAY_IN_DIGIT", {day}},
                  {u"MONTH_VALUE", {month}},
                  {u"Year", {year}},
                  {u"TIMETYPE", {era}}};
}

TEST_F(UrduNumbers, DatesWriteDayMonthAndYear) {
  struct Case {
    Features features;
    WString expected;
  };
  const Case cases[] = {
      {DateFeatures(u"12", u"NULL", u"10", u"2005", u"NULL"), u"12 اکتوبر، 2005"},
      {DateFeatures(u"NULL", u"NULL", u"3", u"2005", u"NULL"), u"مارچ، 2005"},
      {DateFeatures(u"12", u"NULL", u"13", u"NULL", u"NULL"), u"12 13"},
      {DateFeatures(u"12", u"NULL", u"10", u"NULL", u"NULL"), u"12 اکتوبر"},
      {DateFeatures(u"5", u"1", u"6", u"2001", u"NULL"), u"پیر، 5 جون، 2001"},
      {DateFeatures(u"NULL", u"NULL", u"NULL", u"500", u"bc"), u"500 قبل مسیح "},
      {DateFeatures(u"NULL", u"NULL", u"NULL", u"1947", u"ad"), u"1947 "},
      {DateFeatures(u"12", u"NULL", u"NULL", u"NULL", u"NULL"), u""},
      // A weekday alone ("on Sunday") is its name, without the comma.
      {DateFeatures(u"NULL", u"7", u"NULL", u"NULL", u"NULL"), u"اتوار"},
      {DateFeatures(u"NULL", u"4", u"NULL", u"NULL", u"NULL"), u"جمعرات"},
      {DateFeatures(u"NULL", u"9", u"NULL", u"NULL", u"NULL"), u""},
  };
  for (const Case& c : cases) EXPECT_EQ(generator().DateToWords(c.features.list()), c.expected);
}

TEST_F(UrduNumbers, TimesWriteThePartOfTheDay) {
  struct Case {
    const char16_t *hour, *minutes, *seconds, *type;
    WString expected;
  };
  const Case cases[] = {
      {u"10", u"30", u"NULL", u"pm", u"رات 10بجکر 30 منٹ "},
      {u"7", u"NULL", u"NULL", u"pm", u"شام 7 بجے"},
      {u"3", u"NULL", u"NULL", u"pm", u"سہ پہر 3 بجے"},
      {u"12", u"NULL", u"NULL", u"am", u"رات 12 بجے"},
      {u"12", u"NULL", u"NULL", u"pm", u"دوپہر 12 بجے"},
      {u"10", u"30", u"NULL", u"am", u"صبح 10بجکر 30 منٹ "},
      {u"9", u"00", u"NULL", u"a.m", u"صبح 9 بجے"},
      {u"9", u"15", u"20", u"NULL", u"9بجکر 15 منٹ 20 سکنڈ"},
      {u"NULL", u"NULL", u"NULL", u"pm", u""},
  };
  for (const Case& c : cases) {
    Features features{{u"HR", {c.hour}}, {u"MIN", {c.minutes}}, {u"SEC", {c.seconds}}, {u"TIMETYPE", {c.type}}};
    EXPECT_EQ(generator().TimeToWords(features.list()), c.expected) << ToUtf8(c.hour) << ":" << ToUtf8(c.minutes);
  }
}

}  // namespace
