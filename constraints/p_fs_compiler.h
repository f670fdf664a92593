// The F-description compiler and the item registry around it.
//
// A functional description is text such as "^SUBJ = !, [^CASE = nom | ^CASE =
// acc]": equations joined by ',' (or "&&"), two-way choices written as
// bracket groups [ A | B ] ("||" may stand for '|'), '~' negating a group.
// CompileDescription turns one description into items, gives each item the
// choice context under which it holds, merges the items of one attribute and
// type, registers them in the item registry (fsitem_lookup_table.h) and
// returns their ids. Compiled items are shared through the registry; a parse
// works on clones (CloneRegisteredItem).
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "constraints/p_con_val.h"
#include "constraints/p_fs_item.h"

namespace P_FSCompiler {

// Token codes of a tokenised description; a positive code is the 1-based
// number of the equation's built-item entry.
constexpr int16_t kOpenGroup = -1;
constexpr int16_t kCloseGroup = -2;
constexpr int16_t kAlternative = -3;
constexpr int16_t kConjunction = -4;
constexpr int16_t kNegation = -5;
constexpr int16_t kEndOfDescription = -10;

// BuildItem answers for an equation that is left out, and for one that makes
// the whole description fail.
constexpr int kEquationSkipped = 0;
constexpr int kDescriptionFails = -1;

// --- Compiling ---

// The registered ids of the description's items, ascending by attribute;
// choiceCount gets the last choice number used (0 without choices). A
// description that cannot be compiled (symbol table or item table full, more
// than 127 choices) gives no ids; LastDescriptionFailed then answers true.
std::vector<uint16_t> CompileDescription(std::string description, int8_t& choiceCount);

// The descriptions of several alternatives of one rule, compiled at once: one
// description per position of the rule in each alternative. The alternatives
// exclude one another through choices 1 to n - 1; choices inside the
// descriptions are numbered from n upward. Returns one id vector per position
// of the first alternative. No alternatives give nothing; an alternative with
// fewer positions than the first adds nothing at the missing ones and one
// with more has its extra ones ignored (both noted in the trace log).
std::vector<std::vector<uint16_t>> CompileRuleAnnotations(std::vector<std::vector<std::string>> alternatives,
                                                          int8_t& choiceCount);

// Whether the last CompileDescription or CompileRuleAnnotations failed.
bool LastDescriptionFailed();

// A new copy of the registered item with that 1-based id, owned by the
// caller; null for an id that names no item.
P_FSItem* CloneRegisteredItem(int16_t id);

// --- Steps of the compiler, in the order CompileDescription runs them ---

// "&&" becomes ',' and "||" becomes '|'.
std::string NormaliseOperators(std::string text);
// Fills tokens, building the items of the equations, and ends them with
// kEndOfDescription. False when the description fails.
bool Tokenise(const std::string& text, std::vector<int16_t>& tokens);
// The next token from pos ("" at the end): one of "|[],~", or an equation
// running to the next of them (a brace group "{a,b}" stays whole).
std::string NextToken(const std::string& text, size_t& pos);
// Trims and collapses blanks, then drops the blanks next to ',', '=', '{',
// '}', '^' and '!'.
std::string TrimBlanks(std::string token);
void EmitToken(std::vector<int16_t>& tokens, int16_t code);
// The entry number of the equation's item, building it when the text is new;
// kEquationSkipped (noted in the trace log) for an equation without operator
// or left side; kDescriptionFails when a name or the entry cannot be stored.
int BuildItem(std::string equation);
// Splits into left side, operator ("=", "=c" or "$") and right side; with "$"
// the member stands before the operator. "=c" is the constraining operator
// only when a blank, '{', '^', '!', a quote or the end follows it, so
// "^FORM=can" is a defining equation. False when there is no operator.
bool SplitEquation(const std::string& equation, std::string& left, std::string& op, std::string& right);
// The interned names of a brace group "{a,b}"; nothing when a name cannot be
// interned.
std::optional<std::list<uint16_t>> ParseValueList(std::string right);
// A clone of the built item of entry k (1-based), owned by the caller.
P_FSItem* CloneBuiltItem(int16_t k);
// Rewrites ~[A|B] as ~A,~B; ~[A,B] as [~A|~B]; ~[A] as ~A. A '~' before a
// single equation stays; any other '~' is left out (noted in the trace log).
std::vector<int16_t> ExpandNegations(const std::vector<int16_t>& tokens);
// One context per token position: the outer context (or [0]) for every
// equation, and +c / -c for the two sides of each group with a separator, c
// counting on from the choice counter. False (with a message) when a choice
// number would pass 127.
bool AssignTokenContexts(const std::vector<int16_t>& tokens, std::vector<ContextList>& contexts);
// The position of the '|' that separates the group opened at t, or 0.
size_t FindAlternativeSeparator(const std::vector<int16_t>& tokens, size_t t);
// Files one item per equation token, negated after '~', under its context,
// into AttributeBuckets.
void CollectContextedItems(const std::vector<int16_t>& tokens, const std::vector<ContextList>& contexts);
// n contexts: context 0 is [-1 .. -(n-1)], context i is [+i, -(i+1) .. -(n-1)].
std::list<ContextList> MakeAlternativeContexts(int n);

// Deletes the built items and starts with no entries and an empty index.
void ResetBuiltItemEntries();

// --- Registry (fsitem_lookup_table.cpp) ---

// Start-up: the symbol table, an empty registry and buckets, no built items,
// and the attribute-type names of "FSAttrTypeFile". Start-up shows every
// message (the once-per-kind limit of sentences is off until MarkInitialItems).
void Init();
// Registers the item (ownership passes in): the id of an equal registered
// item (the given one is deleted) or of the newly stored one. When the table
// is full, "FS item table full." is shown, the item is deleted and the answer
// is 0, which is never an id.
uint16_t RegisterItem(P_FSItem* item);
// The 0-based index of the first equal item in the item's registry bucket, or -1.
int16_t FindEqualItem(const P_FSItem* item);
void AddToBucket(int16_t attribute, uint16_t index);
void RemoveFromBucket(int16_t attribute, int16_t index);
// End of start-up: items registered so far become permanent, names interned
// from now on temporary (in both symbol tables) and the built items are
// dropped. Whether a sentence shows each kind of message once is the
// engine's policy (core/process_policy.h), switched on by its set-up.
void MarkInitialItems();
// After each sentence: the sentence's items, built items, temporary names of
// both symbol tables and F-structures are freed, the set-element numbering
// restarts and the next sentence may show every kind of message again.
void ResetForSentence();
// The dump of "P_FSInitializerDump". False, with a message, when the items do
// not fit the format's budget or the file cannot be written.
bool WriteDump();
// Replaces the registry by the dump's items. A missing, short or malformed
// dump is reported and leaves the registry as it was; the answer is then false.
bool ReadDump();
// Debug listing of the symbol table and of every registered item.
std::ostream& PrintTables(std::ostream& out);
// The names read from "FSAttrTypeFile": attributes that take F-structures.
const std::list<std::string>& AttributeTypeNames();

// Compiler state that Init and the resets restore (p_fs_compiler.cpp).
void ResetCompilerState();

}  // namespace P_FSCompiler
