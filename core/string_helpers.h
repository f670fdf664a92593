// Small conversions shared by the whole system.
#pragma once

#include <string>

#include "core/wide_string.h"

// Each byte becomes the unit of the same value (the Latin-1 reading).
WString NarrowToWide(const std::string& text);

// Decimal text, with a leading '-' for negative numbers.
WString IntToWString(int value);

// Tab, LF, CR and space only; other Unicode spaces are text.
bool IsWhitespace(WChar unit);

// A copy without leading and trailing IsWhitespace units.
WString TrimWString(const WString& text);

// Decimal text of the number as a narrow string, '-' first when negative.
std::string IntToString(int value);

// The number spelled by the digits '0' to '9' of the text, in order; every
// other character (a sign too) is skipped, so "x7" gives 7. 0 without digits.
// A number above INT_MAX gives INT_MAX.
int ParseDigits(std::string text);

// A copy without leading and trailing tabs, LFs, CRs and blanks.
std::string TrimNarrowString(const std::string& text);
