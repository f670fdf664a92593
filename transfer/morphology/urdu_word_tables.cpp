// The word tables of the Urdu word generator: day names, month names and the
// number words 0 to 99 (zero is spelled by CardinalToWords, not here).
#include "transfer/morphology/urdu_word_generator.h"

void CUrduWordGenerator::FillDayNames() {
  // 1 Monday to 7 Sunday, each followed by the Urdu comma and a blank.
  dayNames_ = {u"", u"پیر، ", u"منگل، ", u"بدہ، ", u"جمعرات، ", u"جمعہ، ", u"ہفتہ، ", u"اتوار، "};
}

void CUrduWordGenerator::FillMonthNames() {
  monthNames_ = {u"",       u"جنوری", u"فروری", u"مارچ",   u"اپریل", u"مئی",  u"جون",
                 u"جولائی", u"اگست",  u"ستمبر", u"اکتوبر", u"نومبر", u"دسمبر"};
}

void CUrduWordGenerator::FillNumberWords() {
  numberWords_ = {u"",        u"ایک",     u"دو",      u"تین",      u"چار",     u"پانچ",     u"چھ",      u"سات",
                  u"آٹھ",     u"نو",      u"دس",      u"گیارہ",    u"بارہ",    u"تیرہ",     u"چودہ",    u"پندرہ",
                  u"سولہ",    u"سترہ",    u"اٹھارہ",  u"انیس",     u"بیس",     u"اکیس",     u"بائیس",   u"تئیس",
                  u"چوبیس",   u"پچیس",    u"چھبیس",   u"ستائیس",   u"اٹھائیس", u"انتیس",    u"تیس",     u"اکتیس",
                  u"بتیس",    u"تینتیس",  u"چونتیس",  u"پینتیس",   u"چھتیس",   u"سینتیس",   u"اڑتیس",   u"انتالیس",
                  u"چالیس",   u"اکتالیس", u"بیالیس",  u"تینتالیس", u"چوالیس",  u"پینتالیس", u"چھیالیس", u"سینتالیس",
                  u"اڑتالیس", u"انچاس",   u"پچاس",    u"اکاون",    u"باون",    u"ترپن",     u"چون",     u"پچپن",
                  u"چھپن",    u"ستاون",   u"اٹھاون",  u"انسٹھ",    u"ساٹھ",    u"اکسٹھ",    u"باسٹھ",   u"تریسٹھ",
                  u"چونسٹھ",  u"پینسٹھ",  u"چھیاسٹھ", u"سڑسٹھ",    u"اڑسٹھ",   u"انہتر",    u"ستر",     u"اکہتر",
                  u"بہتر",    u"تہتر",    u"چوہتر",   u"پچھتر",    u"چھہتر",   u"ستتر",     u"اٹھتر",   u"اناسی",
                  u"اسی",     u"اکاسی",   u"بیاسی",   u"تراسی",    u"چوراسی",  u"پچاسی",    u"چھیاسی",  u"ستاسی",
                  u"اٹھاسی",  u"نواسی",   u"نوے",     u"اکانوے",   u"بانوے",   u"ترانوے",   u"چورانوے", u"پچانوے",
                  u"چھیانوے", u"ستانوے",  u"اٹھانوے", u"ننانوے"};
}
