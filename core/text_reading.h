// Small helpers for loaders of UTF-16 text: trimming fields read from a file
// and reading a field up to its end character.
#pragma once

#include <string>

#include "core/file_reader.h"
#include "core/wide_string.h"

// Removes leading and trailing blanks (U+0020), CRs and LFs in place. Tabs
// and other white space stay: data files use them inside fields.
void TrimSpaceCrLf(WString& text);

// Appends to out the units from the reader's current one up to the delimiter,
// which is consumed but not appended, and returns the unit after it. The end
// of the file (unit 0) also ends the field; 0 is then returned and out holds
// what was read. When delimiterFound is given it tells whether the delimiter
// ended the field (a delimiter that is the file's last unit also returns 0).
WChar ReadUntilChar(WString& out, WChar delimiter, CFileReader& reader, bool* delimiterFound = nullptr);

// The low byte of each unit, for wide texts that name tags, keys or files.
std::string WideToNarrow(const WString& text);
