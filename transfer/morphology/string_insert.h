// Inserting a text into another after a given unit.
#pragma once

#include <cstddef>

#include "core/wide_string.h"

// The text becomes its first position + 1 units, then insert, then the rest.
// A position at or past the last unit appends insert at the end.
void InsertStringAfter(WString& text, size_t position, const WString& insert);
