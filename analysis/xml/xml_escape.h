// Text and names for the XML files of C- and F-structures (and of the Urdu
// generator). Every text placed in an element goes through XmlEscape; every
// element name made from a category or attribute name goes through
// XmlElementName, so the files are always well formed.
#pragma once

#include "core/wide_string.h"

// In this order: '#' and '/' become '_'; '&', '<', '>', '"' and '\'' become
// their entity references; leading and trailing white space goes; inner
// blanks become "&#32;". Units that XML does not allow become U+FFFD.
WString XmlEscape(const WString& text);

// A valid XML element name for the text: units that may not stand in a name
// become '_' (so "N'" gives "N_" and "#CASE" gives "_CASE"), and a name that
// would begin with a digit, '-' or '.' (or is empty) gets '_' in front.
WString XmlElementName(const WString& text);
