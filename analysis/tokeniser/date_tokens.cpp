// Token builders for dates and times, with the month and weekday tables.
// Day, month and year (hour, minute, second and time type) are stored in
// their slots as the automaton reads them; the builder run with a finishing
// argument writes the whole date (time) into one entry.
#include "analysis/tokeniser/pre_processor.h"

#include <utility>

#include "resources/english/e_lexicon_entry.h"

namespace {

bool IsDigit(WChar c) { return c >= u'0' && c <= u'9'; }

constexpr uint32_t kFinishAsAdverb = 7;
constexpr uint32_t kStorePiece = 8;
constexpr uint32_t kStoreDatePiece = 0;

WChar ToLowerAscii(WChar c) { return c >= u'A' && c <= u'Z' ? static_cast<WChar>(c - u'A' + u'a') : c; }

}  // namespace

WString CPreProcessor::GetMonthNumber(const WString& text) {
  static const std::pair<const char16_t*, const char16_t*> kMonths[] = {
      {u"Jan", u"1"},       {u"January", u"1"},   {u"Feb", u"2"},      {u"February", u"2"}, {u"Mar", u"3"},
      {u"March", u"3"},     {u"Apr", u"4"},       {u"April", u"4"},    {u"May", u"5"},      {u"Jun", u"6"},
      {u"June", u"6"},      {u"Jul", u"7"},       {u"July", u"7"},     {u"Aug", u"8"},      {u"August", u"8"},
      {u"Sept", u"9"},      {u"September", u"9"}, {u"Oct", u"10"},     {u"October", u"10"}, {u"Nov", u"11"},
      {u"November", u"11"}, {u"Dec", u"12"},      {u"December", u"12"}};
  for (const auto& [name, number] : kMonths) {
    if (text == name) return number;
  }
  return u"0";
}

WString CPreProcessor::GetWeekdayNumber(const WString& text) {
  static const std::pair<const char16_t*, const char16_t*> kDays[] = {
      {u"Monday", u"1"},   {u"Mon", u"1"},      {u"Tuesday", u"2"}, {u"Tues", u"2"},   {u"Wednesday", u"3"},
      {u"Wed", u"3"},      {u"Thursday", u"4"}, {u"Thurs", u"4"},   {u"Friday", u"5"}, {u"Fri", u"5"},
      {u"Saturday", u"6"}, {u"Sat", u"6"},      {u"Sunday", u"7"},  {u"Sun", u"7"}};
  for (const auto& [name, number] : kDays) {
    if (text == name) return number;
  }
  return u"";
}

// The day in digits ("12", "1st") or a weekday name. An empty part stores
// nothing.
void CPreProcessor::BuildDateDay(uint32_t argument) {
  FilterPartText(2);
  WString& part = scan_.partText;
  if (!part.empty() && IsDigit(part[0])) {
    FilterPartText(1);
    if (scan_.dayInDigits.empty()) scan_.dayInDigits = part;
    scan_.dayInDigitsSeen = true;
  } else if (!part.empty()) {
    if (scan_.dayInWords.empty()) scan_.dayInWords = GetWeekdayNumber(part);
    scan_.dayInWordsSeen = true;
  }
  part.clear();
  FinishDate(u'H', argument);
}

// A month in digits is kept as written; a month name always becomes its
// number, so that a month stored on a path the automaton later left cannot
// turn the name into the value.
void CPreProcessor::BuildDateMonth(uint32_t argument) {
  FilterPartText(2);
  WString& part = scan_.partText;
  if (!part.empty()) {
    scan_.monthInDigits = IsDigit(part[0]);
    scan_.month = scan_.monthInDigits ? part : GetMonthNumber(part);
  }
  part.clear();
  FinishDate(u'I', argument);
}

// The year's characters are added to the slot; the part is kept.
void CPreProcessor::BuildDateYear(uint32_t argument) {
  FilterPartText(2);
  if (!scan_.partText.empty()) {
    scan_.year += scan_.partText;
    scan_.yearSeen = true;
  }
  FinishDate(u'J', argument);
}

// Argument 0 or 8 only stores; 7 finishes with the reading "adv"; any other
// argument finishes with the reading list of that code.
void CPreProcessor::FinishDate(WChar code, uint32_t argument) {
  if (argument == kStoreDatePiece || argument == kStorePiece) return;
  pending_.Text = scan_.tokenText;
  pending_.Kind = CategoryKind(u"date");
  if (argument == kFinishAsAdverb) {
    AddReading(u"adv");
    MakeDateEntry(code == u'J' ? u"date" : u"adv");
    return;
  }
  SetReadingsOfCode(argument);
  MakeDateEntry(u"date");
}

void CPreProcessor::MakeDateEntry(const WString& category) {
  const CTokenScanState& s = scan_;
  WString features;
  if (s.dayInDigitsSeen && !s.dayInWordsSeen)
    features = u"^DAY_IN_DIGIT=" + s.dayInDigits + u",^DAY_IN_WORD=NULL";
  else if (s.dayInWordsSeen && !s.dayInDigitsSeen)
    features = u"^DAY_IN_WORD=" + s.dayInWords + u",^DAY_IN_DIGIT=NULL";
  else if (s.dayInWordsSeen)
    features = u"^DAY_IN_WORD=" + s.dayInWords + u",^DAY_IN_DIGIT=" + s.dayInDigits;
  else
    features = u"^DAY_IN_WORD=NULL,^DAY_IN_DIGIT=NULL";
  features += s.monthInDigits ? u",^MONTH_IN_DIGIT=TRUE" : u",^MONTH_IN_DIGIT=FALSE";
  features += s.month.empty() ? WString(u",^MONTH_VALUE=NULL") : u",^MONTH_VALUE=" + s.month;
  if (s.yearSeen) features += u",^Year=" + s.year;
  Finish(category, features);
}

// 'K' hour, 'L' minute, 'M' second: argument 8 stores, 7 finishes.
void CPreProcessor::BuildTimePart(WChar code, uint32_t argument) {
  FilterPartText(1);
  WString& part = scan_.partText;
  if (code == u'K') {
    scan_.hour = part;
    scan_.hourSeen = true;
  } else if (code == u'L') {
    scan_.minute = part;
    scan_.minuteSeen = true;
  } else {
    scan_.second = part;
    scan_.secondSeen = true;
  }
  if (argument == kStorePiece) part.clear();
  if (argument != kFinishAsAdverb) return;
  pending_.Text = scan_.tokenText;
  pending_.Kind = CategoryKind(u"time");
  AddReading(u"adv");
  MakeTimeEntry();
  if (code == u'L') {
    part.clear();
    scan_.tokenText.clear();
  }
}

// "am", "PM", "p.m.": the letters, lower-cased, finish the time.
void CPreProcessor::BuildTimeType() {
  FilterPartText(3);
  for (WChar c : scan_.partText) scan_.timeType += ToLowerAscii(c);
  scan_.timeTypeSeen = true;
  pending_.Text = scan_.tokenText;
  pending_.Kind = CategoryKind(u"time");
  AddReading(u"adv");
  MakeTimeEntry();
}

// A time read with its hour but without minutes ("7 pm") keeps the hour.
void CPreProcessor::MakeTimeEntry() {
  const CTokenScanState& s = scan_;
  WString features;
  if (s.hourSeen && s.minuteSeen)
    features = u"^HR=" + s.hour + u",^MIN=" + s.minute + (s.secondSeen ? u",^SEC=" + s.second : WString(u",^SEC=NULL"));
  else if (s.hourSeen)
    features = u"^HR=" + s.hour + u",^MIN=NULL,^SEC=NULL";
  features += s.timeTypeSeen ? u",^TIMETYPE=" + s.timeType : WString(u",^TIMETYPE=NULL");
  Finish(u"time", features);
}
