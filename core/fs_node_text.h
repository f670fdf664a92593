// An F-structure on one line, for test failures, the benchmarks' listings
// and the checks that compare whole structures: "ATTR {values} [children]",
// values and children in stored order, each name as the symbol table spells
// it; "(none)" for no structure.
#pragma once

#include "core/wide_string.h"

class CFSNode;

WString DescribeStructure(const CFSNode* node);
