// Small print routines of the developer, kept to try the file and text
// services by hand: each prints to the given stream (or writes one file) and
// touches no engine. Reached by `translator --test-routine NAME`.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// The routine names, in the order --help lists them.
const std::vector<std::string>& TestRoutineNames();

// Runs the named routine. False when a file it reads or writes cannot be
// opened (the file services have shown why) or the name is unknown.
bool RunTestRoutine(const std::string& name, std::ostream& output);
