// The stamp of a compiled data root. After a start that compiled every
// grammar, lexicon and mapping file successfully, set-up records in
// "data\CompiledRoot.stamp" what that compile depended on and what it
// produced; a later start with the same sources can then load the compiled
// files instead of compiling again.
//
// The stamp holds the program that compiled (its size and modification
// time, so a new build compiles once), every file the compile read, by size
// and checksum of the whole content, and every file it wrote, by size and
// checksum of its last bytes (a sealed file's seal, which covers its
// content; the loaders check the seal itself when they read the file). The
// stamp is sealed too: a damaged stamp never matches.
#pragma once

#include <set>
#include <string>

constexpr const char* kCompiledRootStampFile = "data\\CompiledRoot.stamp";

// The stamp text for the files, paths relative to the current folder as they
// were opened; files in leftOut are not stamped. Empty when a file can no
// longer be read or the program cannot be identified: then no stamp is
// written.
std::string MakeCompiledRootStamp(const std::set<std::string>& read, const std::set<std::string>& written,
                                  const std::set<std::string>& leftOut);

// Writes the stamp (sealed) into the current folder; false when it cannot.
bool WriteCompiledRootStamp(const std::string& stamp);

// True when the current folder holds a sealed stamp that every file named
// in it still matches, written by this program.
bool CompiledRootStampMatches();

// Removes the stamp, so a compile that fails halfway leaves none behind.
void RemoveCompiledRootStamp();
