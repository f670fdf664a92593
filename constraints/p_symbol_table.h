// The constraint system's own symbol space, the symbol_table: attribute names
// and atomic values of items are ids of a fixed hash table of 550 narrow
// names. The id of the name in slot i is i + 1, so ids run from 1 to 550 and
// 0 is never a valid id. Names interned at start-up stay for the run and go
// into the "SymbolTableDumpFile" dump (the item registry's dump holds these
// ids); names interned while a sentence is parsed are temporary and their
// slots are freed again by ClearTempSymbols.
//
// A long sentence can name more than the free slots hold (every set element
// is a name of its own). Its further temporary names go to an overflow area
// after the hash table, ids kFirstOverflowId to kLastOverflowId, which
// ClearTempSymbols empties with the rest; the ids of the dumps never change.
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
// Ids of the overflow area: above the hash table and below 0x8000, so that
// they stay positive 16-bit numbers and apart from the CFG parser's reading
// numbers.
constexpr uint16_t kFirstOverflowId = kSlotCount + 1;
constexpr uint16_t kLastOverflowId = 0x7FFF;
// Temporary names of one sentence at most: as many as the overflow area holds.
constexpr int kTempSymbolCount = kLastOverflowId - kFirstOverflowId + 1;
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
// gives 0. A temporary name finds a free slot of the hash table, or else a
// place in the overflow area. When every slot holds another name at start-up,
// or a sentence has used up its kTempSymbolCount temporary names, nothing is
// entered, the answer is 0 and a message is shown (once per sentence).
uint16_t Intern(std::string name);
// Whether a name was refused since the last ClearTempSymbols (or Init): the
// sentence's structures then lack it and cannot stand as an analysis.
bool NamesRefused();

// The name of the id; "" for an id that names nothing (outside 1 to 550 and
// the overflow names of the sentence).
std::string GetString(int16_t id);

// Fills GovernableFunctionIds from the UTF-16 file of "SubCatFrameListFileName":
// comma-separated names, trimmed of CR, LF and blanks; empty names are skipped.
// False when the file cannot be read (the list is then empty).
bool LoadSubCatFrameList();

// Whether the id names a clause-valued attribute ("PARTICIPLE", "INFINITIVE",
// "XCOMP", "COMP", "SUBORD", "COMPARITIVE", "REL_CL", "RESTRICTIVE_NP").
bool IsClauseAttribute(uint16_t id);

// From now on every new name is temporary (end of start-up); a name refused
// at start-up does not fail the first sentence.
void BeginTempSymbols();
// Records a temporary slot; false when the sentence has kTempSymbolCount
// temporary names already.
bool AddTempSymbol(uint16_t slot);
// Frees the slots and the overflow area of the temporary names (after each
// sentence) and clears NamesRefused.
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
