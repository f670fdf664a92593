// Dates and times in Urdu, from the features the tokeniser put on date and
// time tokens. The value NULL, which the tokeniser writes into every empty
// slot, counts as absent.
#include "transfer/morphology/urdu_word_generator.h"
#include "transfer/morphology/word_features.h"

namespace {

const WString kUrduComma = u"، ";
const WString kBeforeChrist = u"قبل مسیح ";
const WString kNight = u"رات ";
const WString kMorning = u"صبح ";
const WString kNoon = u"دوپہر ";
const WString kAfternoon = u"سہ پہر ";
const WString kEvening = u"شام ";
const WString kPast = u"بجکر ";
const WString kMinutes = u" منٹ ";
const WString kSeconds = u" سکنڈ";
const WString kOClock = u" بجے";

bool IsMorningType(const WString& type) { return type == u"am" || type == u"AM" || type == u"a.m"; }
bool IsAfternoonType(const WString& type) { return type == u"pm" || type == u"PM" || type == u"p.m"; }

// The part of the day an hour of the twelve-hour clock falls in.
WString DayPeriod(const WString& timeType, int64_t hour) {
  if (IsMorningType(timeType)) {
    if (hour <= 2 || hour == 12) return kNight;
    if (hour <= 11) return kMorning;
    return WString();
  }
  if (IsAfternoonType(timeType)) {
    if (hour <= 2 || hour == 12) return kNoon;
    if (hour == 3) return kAfternoon;
    if (hour <= 7) return kEvening;
    if (hour <= 12) return kNight;
  }
  return WString();
}

}  // namespace

WString CUrduWordGenerator::DateToWords(const std::vector<CEquation*>& features) const {
  // A month-and-year date carries the day NULL: the month is written, the
  // day is not. Without any day slot no month is written.
  const WString daySlot = FeatureText(features, dayInDigitId_, true);
  const WString day = daySlot == u"NULL" ? WString() : daySlot;
  const WString weekday = FeatureText(features, dayInWordId_);
  const WString month = FeatureText(features, monthValueId_);
  const WString year = FeatureText(features, yearId_);
  const WString era = FeatureText(features, timeTypeId_);
  const int64_t weekdayNumber = weekday.empty() ? 0 : DecimalValue(weekday);
  const bool knownWeekday = weekdayNumber >= 1 && weekdayNumber <= 7;
  if (year.empty() && month.empty()) {
    // A weekday alone ("on Sunday": اتوار کو) is its name, without the comma
    // that parts it from a date.
    if (!knownWeekday) return WString();
    const WString& name = dayNames_[static_cast<size_t>(weekdayNumber)];
    return name.substr(0, name.size() - kUrduComma.size());
  }

  WString result;
  if (!weekday.empty()) result += knownWeekday ? dayNames_[static_cast<size_t>(weekdayNumber)] : weekday;
  if (!daySlot.empty() && !month.empty()) {
    if (!day.empty()) result += day + u" ";
    const int64_t number = DecimalValue(month);
    result += number >= 1 && number <= 12 ? monthNames_[static_cast<size_t>(number)] : month;
  }
  // The comma parts the day and month from the year; a date without a year
  // ends with its month ("12 اکتوبر کو", not "12 اکتوبر، کو").
  if (!result.empty() && !year.empty()) result += kUrduComma;
  result += year;
  if (!era.empty()) {
    result += u' ';
    if (era == u"bc") result += kBeforeChrist;
  }
  return result;
}

WString CUrduWordGenerator::TimeToWords(const std::vector<CEquation*>& features) const {
  const WString hour = FeatureText(features, hourId_);
  const WString minutes = FeatureText(features, minuteId_);
  const WString seconds = FeatureText(features, secondId_);
  const WString timeType = FeatureText(features, timeTypeId_);
  if (hour.empty() && minutes.empty()) return WString();

  WString result;
  if (!hour.empty()) result += DayPeriod(timeType, DecimalValue(hour)) + hour;
  if (DecimalValue(minutes) > 0 || DecimalValue(seconds) > 0) {
    result += kPast;
    if (!minutes.empty()) result += minutes + kMinutes;
    if (!seconds.empty()) result += seconds + kSeconds;
  } else {
    result += kOClock;
  }
  return result;
}
