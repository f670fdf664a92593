// Macros of the mapping files. The macro file holds records
//   #NAME(param1, param2): body $
// and a raw mapping file calls them as #NAME(arg1,arg2); a call is replaced
// by the body with every parameter name (compared without regard to case)
// replaced by the argument at its position.
#pragma once

#include <vector>

#include "core/wide_string.h"

class CMapLexMacro {
 public:
  WString name;
  WString body;
  std::vector<WString> parameters;
};

// The text with every whole occurrence of pattern, compared unit by unit
// after lower-casing both, replaced by replacement. Only whole occurrences
// count (a part of the pattern cut by the end of the text stays as it is);
// an empty pattern leaves the text as it is.
WString ReplaceAllIgnoreCase(const WString& text, const WString& pattern, const WString& replacement);

// The macro's body with each parameter replaced by the argument at the same
// position (pairs taken until either list ends).
WString ExpandMacroBody(const CMapLexMacro& macro, const std::vector<WString>& arguments);
