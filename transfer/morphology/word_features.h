// Reading the feature equations that the generator hands to the word
// generator: "^ATTRIBUTE = v values", one per feature of a terminal.
#pragma once

#include <cstdint>
#include <vector>

#include "core/equation.h"
#include "core/symbol_table.h"
#include "core/wide_string.h"

// The attribute id of a feature (first id of its left path), or kNoSymbol.
SymbolId FeatureAttribute(const CEquation* feature);
// The name of the first value of the last feature with the attribute. Empty
// when no feature carries it, when it has no value, and for the value NULL,
// which the tokeniser writes into every empty slot, unless keepNull is set.
WString FeatureText(const std::vector<CEquation*>& features, SymbolId attribute, bool keepNull = false);
// The same, finding the attribute by its name.
WString FeatureTextByName(const std::vector<CEquation*>& features, const WString& attributeName);
// The decimal value of a text: leading blanks skipped, an optional sign,
// the digits up to the first other unit; 0 when there are none. Values
// beyond the range saturate.
int64_t DecimalValue(const WString& text);
