// One partial translation of the transfer walk: the English structure being
// walked (shared by every work state of one analysis), this state's own Urdu
// structure, and the stacks that say where the walk is.
//
// The walk splits when several mapping entries apply at one node: each
// alternative continues on a copy of the state (CMapperEngine::CloneWorkState)
// that is pushed on the work stack and finished later.
#pragma once

#include <map>
#include <vector>

#include "core/symbol_table.h"

class CFSHandle;
class CFSNode;
class CMapLexHeadword;

// Insert-rule headwords cached by insert statements, under the symbol that
// names them; the headwords belong to the insert rules.
using InsertCache = std::multimap<SymbolId, CMapLexHeadword*>;

// A stack of nodes with its top at the back.
using NodeStack = std::vector<CFSNode*>;

// The top of the stack, popped; null when the stack is empty (every pop of the
// walk goes through here, so an unbalanced stack cannot be read past its end).
CFSNode* PopNode(NodeStack& stack);

class CMapperWorkState {
 public:
  // A state over the source and target handles (neither owned: handles
  // belong to the handle registry), with empty stacks.
  CMapperWorkState(CFSHandle* source, CFSHandle* target);
  virtual ~CMapperWorkState();
  CMapperWorkState(const CMapperWorkState&) = delete;
  CMapperWorkState& operator=(const CMapperWorkState&) = delete;

  // true: remembers the source focus; false: makes the remembered node the
  // source focus again.
  void SaveCursor(bool save);

  CFSHandle* source = nullptr;  // focus: the English node being mapped
  CFSHandle* target = nullptr;  // focus: where statements act
  NodeStack ancestors;          // source nodes whose children are being walked
  NodeStack returns;            // per ancestor, the target node to return to
  NodeStack visits;             // source nodes still to map; null ends one node's children
  InsertCache savedInsertCache;
  CFSNode* savedCursor = nullptr;
  // What this state's target accounts for of the source: the word and
  // negation nodes carried into it, and the nodes whose whole structure is
  // accounted for (mapped to nothing on purpose, or into a word written
  // for the node itself).
  std::vector<const CFSNode*> carried;
  std::vector<const CFSNode*> coveredBelow;

  static int liveInstances;
};
