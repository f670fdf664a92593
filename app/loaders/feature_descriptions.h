// The feature-description file ("FDescriptions"): feature names registered
// as global symbols in file order, on starts that load the compiled files
// instead of compiling them.
//
// Format: UTF-16 text. Items end with '.'; a line end drops the item being
// read (an item broken over two lines keeps only its second part); '/'
// starts a comment that runs to its line end; text between two '@' is
// skipped. A last item without '.' is dropped; an empty item ("..") counts.
#pragma once

#include "core/wide_string.h"

class CFileReader;

// Reads the next item into item; false at the end of the file.
bool ReadFDescriptionToken(CFileReader& reader, WString& item);

// Registers every item of the file: a name not yet in the symbol table gets
// the next id, a name already there keeps its id, an empty item is given a
// new id each time. False when the file cannot be opened or the symbol table
// is full (both reported).
bool LoadFeatureDescriptions();
