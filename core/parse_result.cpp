#include "core/parse_result.h"

#include "core/cs_node.h"
#include "core/swallowing_delete.h"

int CNamedId::liveInstances = 0;
int CParseResult::liveInstances = 0;

CNamedId::CNamedId(const WString& name, int id) : Name(name), Id(id) { ++liveInstances; }

CNamedId::CNamedId(const CNamedId& other) : Name(other.Name), Id(other.Id) { ++liveInstances; }

CNamedId::~CNamedId() { --liveInstances; }

CNamedIdList::~CNamedIdList() { DeleteItems(); }

CNamedIdList::CNamedIdList(const CNamedIdList& other) {
  try {
    Items.reserve(other.Items.size());
    for (const CNamedId* item : other.Items) Items.push_back(item ? new CNamedId(*item) : nullptr);
  } catch (...) {
    DeleteItems();  // the destructor does not run for a copy that failed
    throw;
  }
}

CNamedIdList& CNamedIdList::operator=(const CNamedIdList& other) {
  if (this == &other) return *this;
  CNamedIdList copy(other);  // copy first, so a failed copy leaves this list intact
  DeleteItems();
  Items.swap(copy.Items);
  return *this;
}

void CNamedIdList::DeleteItems() {
  for (CNamedId* item : Items) DeleteSwallowingExceptions(item);
  Items.clear();
}

CParseResult::CParseResult(CFSHandle* fStructure, CCSHandle* cStructure)
    : FStructure(fStructure), CStructure(cStructure) {
  ++liveInstances;
}

CParseResult::~CParseResult() {
  FStructure = nullptr;
  delete CStructure;
  CStructure = nullptr;
  --liveInstances;
}
