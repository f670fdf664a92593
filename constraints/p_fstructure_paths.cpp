// Path-link resolution of P_FStructure: links that name an attribute path
// inside another F-structure are replaced by the values found there.
#include <algorithm>

#include "constraints/p_fs_compiler.h"
#include "constraints/p_fstructure.h"
#include "constraints/p_symbol_table.h"

namespace {

// A link bound to an F-structure whose attribute names a path to follow.
bool IsPathLink(const P_ConVal* value) { return value->GetBoundFStructure() && value->GetFSAttribute() != 0; }

// The F-structure held by an item of the attribute made in fs, under the
// context: the item is placed by attribute among the others.
P_FStructure* MakeStructureItem(P_FStructure* fs, uint16_t attribute, const CFeatureSet& context) {
  auto* made = new P_FStructure();
  auto* link = new P_ConValFSLink(made, 0);
  link->contextBits = context;
  auto* item = new P_FSItemComplex(attribute, kItemFStructureValued);
  item->AddValue(link);
  const auto after = std::find_if(fs->items.begin(), fs->items.end(), [attribute](const P_FSItem* other) {
    return static_cast<int16_t>(other->attribute) > static_cast<int16_t>(attribute);
  });
  fs->items.insert(after, item);
  return made;
}

// A path to an F-structure that the linked F-structure does not have yet is
// made there. A control equation such as ^XCOMP SUBJ=^SUBJ is resolved when
// the verb phrase is built, before the clause identifies its own subject with
// the verb phrase's; the subject that the equation shares has to exist then,
// and the clause's subject later joins it through that identification. Null
// when the path ends in an attribute of atomic values or passes through an
// item without an F-structure: such a path still leads nowhere.
P_FStructure* MakePathStructure(P_FStructure* fs, std::string path, const CFeatureSet& context) {
  const auto& types = P_FSCompiler::AttributeTypeNames();
  for (;;) {
    const bool last = path.find(' ') == std::string::npos;
    const std::string word = last ? path : SplitFirstWord(path);
    if (last && std::find(types.begin(), types.end(), word) == types.end()) return nullptr;
    const uint16_t id = P_SymbolTable::Intern(word);
    if (id == 0) return nullptr;
    if (P_FSItem* found = fs->FindItem(id)) {
      fs = FirstValueFStructure(found);
      if (fs == nullptr) return nullptr;
    } else {
      fs = MakeStructureItem(fs, id, context);
    }
    if (last) return fs;
  }
}

// The F-structure at the end of a path, reached by the root link of
// another, learns of that link (P_FStructure::identifiedFrom).
void NoteIdentifiedFrom(P_FStructure* end, P_FStructure* from, const CFeatureSet& context) {
  if (end != nullptr && from != nullptr && end != from) end->identifiedFrom.push_back({from, context});
}

// Resolves the path links of one item's own value list; the F-structure being
// resolved records the contexts of paths that lead nowhere. identifying: the
// F-structure whose root the item is (null for another item); the ends of its
// links learn of it.
void ResolvePathLinks(P_FSItemComplex& item, std::list<CFeatureSet>& nogoods, P_FStructure* identifying) {
  std::list<P_ConVal*> keptAside;
  for (auto it = item.values.begin(); it != item.values.end(); ++it) {
    P_ConVal* link = *it;
    if (!IsPathLink(link)) continue;
    const std::string path = P_SymbolTable::GetString(static_cast<int16_t>(link->GetFSAttribute()));
    std::list<P_ConVal*> found = link->GetBoundFStructure()->FindPathValues(path, link->contextBits);
    if (!found.empty()) {
      for (const P_ConVal* value : found) NoteIdentifiedFrom(value->GetFStructure(), identifying, value->contextBits);
      // The link does not own its F-structure; only the link goes.
      delete link;
      *it = found.front();
      found.pop_front();
      keptAside.splice(keptAside.end(), found);
      continue;
    }
    auto* fsLink = dynamic_cast<P_ConValFSLink*>(link);
    if (fsLink != nullptr) {
      if (P_FStructure* made = MakePathStructure(fsLink->boundFStructure, path, link->contextBits)) {
        NoteIdentifiedFrom(made, identifying, link->contextBits);
        fsLink->boundFStructure = made;
        fsLink->attribute = 0;
        continue;
      }
    }
    nogoods.push_back(link->contextBits);
    if (fsLink != nullptr) {
      fsLink->boundFStructure = new P_FStructure();
      fsLink->attribute = 0;
    }
  }
  for (P_ConVal* value : keptAside) item.AddValue(value);
}

}  // namespace

void P_FStructure::ResolveIndexPaths() {
  for (P_FSItem* item : items) {
    auto* complex = dynamic_cast<P_FSItemComplex*>(item);
    if (!complex || complex->attribute == SymbolTableIndexId) continue;
    ResolvePathLinks(*complex, nogoods, nullptr);
  }
  ResolvePathLinks(*root, nogoods, this);
}

std::list<P_ConVal*> P_FStructure::FindPathValues(std::string path, CFeatureSet context) {
  if (path.find(' ') == std::string::npos) {
    const uint16_t id = P_SymbolTable::Intern(path);
    if (id == 0) return {};
    return CollectAttributeValues(id, context);
  }
  const uint16_t first = P_SymbolTable::Intern(SplitFirstWord(path));
  std::list<P_ConVal*> collected;
  if (first == 0) return collected;
  for (P_FSItem* item : CollectItemsWithAttribute(first)) {
    std::list<P_ConVal*> values = item->GetValues();
    for (const P_ConVal* value : values) {
      P_FStructure* inner = value->GetFStructure();
      if (inner) collected.splice(collected.end(), inner->FindPathValues(path, context));
    }
    item->ReleaseHandedOutValues(values);
  }
  return collected;
}

std::list<P_ConVal*> P_FStructure::CollectAttributeValues(uint16_t attribute, CFeatureSet context) {
  std::list<P_ConVal*> collected;
  for (P_FSItem* item : items) {
    if (static_cast<int16_t>(item->attribute) > static_cast<int16_t>(attribute)) break;
    if (item->attribute != attribute) continue;
    std::list<P_ConVal*> values = item->GetValues();
    for (const P_ConVal* value : values) {
      if (IsNogoodContext(value->contextBits)) continue;
      P_ConVal* clone = value->Clone();
      clone->contextBits = FeatureSetOr(clone->contextBits, context);
      collected.push_back(clone);
    }
    item->ReleaseHandedOutValues(values);
  }
  for (const P_ConVal* link : root->values) {
    P_FStructure* linked = link->GetBoundFStructure();
    if (!linked || IsNogoodContext(link->contextBits)) continue;
    collected.splice(collected.end(),
                     linked->CollectAttributeValues(attribute, FeatureSetOr(context, link->contextBits)));
  }
  return collected;
}
