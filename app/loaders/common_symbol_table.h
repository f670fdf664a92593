// The common symbol table file ("CommonSymbolTableFileName"): written after
// a compiling start, read by later starts before any lexicon is built, so
// that symbol ids stay those stored in the compiled dumps.
#pragma once

// Writes the global symbol table; false when the file cannot be written or a
// name does not fit its record (both reported).
bool SaveCommonSymbolTable();
// Empties the global symbol table, then reads the file; false when it cannot
// be opened.
bool LoadCommonSymbolTable();
