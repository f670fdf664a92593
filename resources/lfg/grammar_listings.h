// One entry point for the grammar's developer listings, for the translator's
// developer option that names a listing and a file.
//
// Listings by name:
//   "raw-productions"       the raw productions of the grammar's lfg file
//                           (PrintRawProductions)
//   "production-counts"     productions per category (PrintProductionCounts)
//   "production-listing"    productions with annotations (WriteProductionListing)
//   "derivation-stack"      the walk from "S" (WriteDerivationStack)
//   "production-numbers"    categories and their ids (WriteProductionNumbers)
//   "numbered-productions"  productions by table slot (WriteNumberedProductions)
// The two console listings print to standard output when the file is empty
// and to the file (UTF-8) otherwise; the derivation walk and the category ids
// go to "stackFile.txt" and "temp.txt" when the file is empty; the other two
// need a file.
#pragma once

#include <string>
#include <vector>

class CGrammar;

// The listing names above, in that order.
const std::vector<std::string>& GrammarListingNames();

// Writes the named listing of the grammar. lfgPath is the grammar's lfg file
// (only "raw-productions" reads it). False for an unknown name, for a
// listing that needs a file and got none, and for a file that cannot be
// created.
bool RunGrammarListing(CGrammar& grammar, const std::string& listing, const std::string& file,
                       const std::string& lfgPath);
