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
