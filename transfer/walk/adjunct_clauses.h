// Clauses in ADJUNCT sets (relative and subordinate clauses), which the
// mapping's FINAL rules do not reach, finished the same way once the whole
// target is mapped:
// - the relative pronoun جو takes the gender of the noun its clause
//   modifies. The mapping writes the pronoun masculine, since the English
//   structure gives the noun no gender; the Urdu noun's gender is known only
//   now, before the generator makes the clause's verb agree with it (وہ
//   عورت جو گا رہی ہے، وہ کتاب جو میں نے خریدی);
// - a clause that is not perfective loses the SUBJ_CASE that a transitive
//   verb's entry gives it (its forms name the nominative: جو گا رہی ہے), as
//   the FINAL rules do for the sentence's own clause.
#pragma once

class CFSNode;

// For every structure under root and each member of its ADJUNCT set: when
// the structure has a GEND value and the member's SUBJ or OBJ is a relative
// pronoun (PRONTYPE rel), that pronoun's GEND becomes the structure's; when
// the member has a SUBJ_CASE and no ASPECT perf, the SUBJ_CASE goes. A null
// root is left alone.
void FinishAdjunctClauses(CFSNode* root);
