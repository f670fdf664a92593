// The developer option of the CFG chart dump.
#pragma once

#include <string>

class CCfgParser;

// Switches the parser's chart dump on for every later parse, into the file,
// or, when the file is empty, into the file named by the configuration key
// "Debug". Returns the file used; empty (and the dump off) when neither names
// one.
std::string EnableChartDump(CCfgParser& parser, const std::string& file);
