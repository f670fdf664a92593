// The constraint system's own symbol space, the symbol_table: attribute names
// and atomic values of items are ids of a fixed hash table of 550 narrow
// names. The id of the name in slot i is i + 1, so ids run from 1 to 550 and
// 0 is never a valid id. Names interned at start-up stay for the run and go
// into the "SymbolTableDumpFile" dump (the item registry's dump holds these
// ids); names interned while a sentence is parsed are temporary and their
// slots are freed again by ClearTempSymbols.
#pragma once

#include <cstdint>
#include <list>
#include <ostream>
#include <string>

// Ids of "GF", "PRED" and "INDEX", set by P_SymbolTable::Init.
extern uint16_t SymbolTableGfId;
extern uint16_t SymbolTablePredId;
extern uint16_t SymbolTableIndexId;
// The governable grammatical functions, ascending by id.
extern std::list<uint16_t> GovernableFunctionIds;

namespace P_SymbolTable {

constexpr int kSlotCount = 550;
constexpr int kTempSymbolCount = 100;
constexpr uint16_t kFreeTempEntry = 0xFFFF;
// The dump holds at most this many words, length words included.
constexpr size_t kDumpWordLimit = 11000;

// Fresh empty slots, temporary mode off, "GF", "PRED" and "INDEX" interned in
// this order, then the governable functions loaded.
void Init();

// Sedgewick's universal string hash with modulus M, in 0 to M - 1. Each byte is
// taken as a signed 8-bit number; a negative step is brought back into range,
// which leaves the hash of 7-bit names as it always was.
int16_t Hash(std::string name, int modulus);

// The id of the name, entered when absent. The empty name takes no slot and
// gives 0. When every slot holds another name, or a sentence has used up its
// kTempSymbolCount temporary names, a message is shown, nothing is entered and
// the answer is 0.
uint16_t Intern(std::string name);

// The name of the id; "" for an id outside 1 to 550.
std::string GetString(int16_t id);

// Fills GovernableFunctionIds from the UTF-16 file of "SubCatFrameListFileName":
// comma-separated names, trimmed of CR, LF and blanks; empty names are skipped.
// False when the file cannot be read (the list is then empty).
bool LoadSubCatFrameList();

// Whether the id names a clause-valued attribute ("PARTICIPLE", "INFINITIVE",
// "XCOMP", "COMP", "SUBORD", "COMPARITIVE", "REL_CL", "RESTRICTIVE_NP").
bool IsClauseAttribute(uint16_t id);

// From now on every new name is temporary (end of start-up).
void BeginTempSymbols();
// Records a temporary slot; false when kTempSymbolCount are recorded already.
bool AddTempSymbol(uint16_t slot);
// Frees the slots of the temporary names (after each sentence).
void ClearTempSymbols();

// Debug listing: "Printing symbol_table:", then "<id> <name>" per slot.
std::ostream& Print(std::ostream& out);

// The dump of "SymbolTableDumpFile": per slot a length word and one
// sign-extended word per byte. False, with a message, when the table does not
// fit into kDumpWordLimit words or the file cannot be written.
bool WriteDump();
// Replaces the table by the dump's 550 slots. A missing or short dump is
// reported and leaves the table as it was; the answer is then false.
bool ReadDump();

}  // namespace P_SymbolTable
