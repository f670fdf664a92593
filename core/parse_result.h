// The result of one analysis as the parsers hand it to the mapper and the
// front end: the F-structure (owned by the handle registry), the C-structure
// tree (owned here) and the named ids the parser attached, one per token.
#pragma once

#include <vector>

#include "core/wide_string.h"

class CFSHandle;
class CCSHandle;

class CNamedId {
 public:
  CNamedId(const WString& name, int id);
  ~CNamedId();
  CNamedId(const CNamedId& other);
  CNamedId& operator=(const CNamedId&) = default;

  WString Name;
  int Id = -1;  // a symbol id; -1 when unset

  static int liveInstances;
};

// An owning list: copies copy every element, the destructor deletes them.
class CNamedIdList {
 public:
  CNamedIdList() = default;
  ~CNamedIdList();
  CNamedIdList(const CNamedIdList& other);
  CNamedIdList& operator=(const CNamedIdList& other);

  std::vector<CNamedId*> Items;

 private:
  void DeleteItems();
};

class CParseResult {
 public:
  CParseResult(CFSHandle* fStructure, CCSHandle* cStructure);
  // Deletes the C-structure handle and its tree; the F-structure handle stays
  // alive until the per-sentence reset.
  ~CParseResult();
  CParseResult(const CParseResult&) = delete;
  CParseResult& operator=(const CParseResult&) = delete;

  CFSHandle* FStructure = nullptr;  // not owned
  CCSHandle* CStructure = nullptr;  // owned; may be null
  CNamedIdList Names;

  static int liveInstances;
};
