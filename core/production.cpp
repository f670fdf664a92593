#include "core/production.h"

#include <unordered_set>
#include <utility>

#include "core/file_writer.h"
#include "core/fs_handle.h"
#include "platform/message_box.h"

int CProductionSymbol::liveInstances = 0;
int CProduction::liveInstances = 0;

namespace {

// The copies made for chart edges during one sentence. The set is never
// destroyed, so productions may still be deleted while the program shuts down.
std::unordered_set<CProduction*>& ProductionRegistry() {
  static auto* registry = new std::unordered_set<CProduction*>();
  return *registry;
}

}  // namespace

CProductionSymbol::CProductionSymbol() { ++liveInstances; }

CProductionSymbol::SharedEquations::~SharedEquations() {
  for (CEquation* equation : equations) delete equation;
}

CProductionSymbol::~CProductionSymbol() {
  fStructure = nullptr;
  generatorNode = nullptr;
  if (sharedEquations_ == nullptr) {
    for (CEquation* equation : equations) delete equation;
  }
  --liveInstances;
}

CProductionSymbol* CProductionSymbol::Clone() const {
  auto copy = std::make_unique<CProductionSymbol>();
  copy->name = name;
  copy->word = word;
  copy->id = id;
  copy->kind = kind;
  copy->constraints = constraints;
  copy->fStructure = fStructure != nullptr ? fStructure->Clone() : nullptr;
  copy->generatorNode = generatorNode;
  copy->fillingEdge = fillingEdge;
  if (!equations.empty()) {
    // The first copy hands the equations to a block that the symbol and
    // all its copies (and theirs) share.
    if (sharedEquations_ == nullptr) sharedEquations_ = std::make_shared<const SharedEquations>(equations);
    copy->equations = equations;
    copy->sharedEquations_ = sharedEquations_;
  }
  return copy.release();
}

bool CProductionSymbol::EquationsEqual(const CProductionSymbol& other) const {
  if (equations.size() != other.equations.size()) return false;
  for (size_t i = 0; i < equations.size(); ++i) {
    if (!equations[i]->IsEqual(other.equations[i])) return false;
  }
  return true;
}

bool CProductionSymbol::FStructuresEqual(const CProductionSymbol& other) const {
  if (fStructure == nullptr || other.fStructure == nullptr) {
    return fStructure == nullptr && other.fStructure == nullptr;
  }
  return fStructure->Equals(other.fStructure);
}

bool CProductionSymbol::IsEqual(const CProductionSymbol* other) const {
  if (other == nullptr) return false;
  if (name != other->name || kind != other->kind) return false;
  if (!EquationsEqual(*other)) return false;
  if (constraints != other->constraints) return false;
  return FStructuresEqual(*other);
}

bool CProductionSymbol::ReleaseFStructure() {
  delete fStructure;
  fStructure = nullptr;
  return true;
}

CProduction::CProduction() { ++liveInstances; }

CProduction::~CProduction() {
  if (registered_) ProductionRegistry().erase(this);
  dot = 0;
  DeleteSymbols();
  --liveInstances;
}

void CProduction::DeleteSymbols() {
  delete mother;
  mother = nullptr;
  for (CProductionSymbol* daughter : daughters) delete daughter;
  daughters.clear();
  daughters.shrink_to_fit();
}

bool CProduction::Clear() {
  dot = 0;
  DeleteSymbols();
  lookahead.clear();
  motherAttributes.clear();
  return true;
}

std::unique_ptr<CProduction> CProduction::Copy() const {
  auto copy = std::make_unique<CProduction>();
  copy->number = number;
  copy->dot = dot;
  if (mother != nullptr) copy->mother = mother->Clone();
  copy->daughters.reserve(daughters.size());
  for (const CProductionSymbol* daughter : daughters) copy->daughters.push_back(daughter->Clone());
  return copy;
}

CProduction* CProduction::Clone() const { return RegisterProduction(Copy()); }

CProductionSymbol* CProduction::GetSymbolAfterDot() const {
  if (dot >= daughters.size()) return nullptr;
  return daughters[dot];
}

bool CProduction::IsDotOnLastDaughter() const { return !daughters.empty() && dot == daughters.size() - 1; }

bool CProduction::MoveDot() {
  if (daughters.empty() || dot >= daughters.size() - 1) return false;
  ++dot;
  return true;
}

bool CProduction::AddMotherAttribute(SymbolId attribute) {
  motherAttributes.insert(attribute);
  return true;
}

void CProduction::WriteItem(CFileWriter* writer, const WString& prefix) const {
  if (writer == nullptr || mother == nullptr || daughters.empty()) return;
  WString line = prefix + mother->name + u" ==> ";
  for (size_t i = 0; i < daughters.size(); ++i) {
    if (i == dot) line += u" @ ";
    line += u" " + daughters[i]->name;
  }
  line += u"\r\n";
  writer->Write(line);
}

void CProduction::ShowItem(const WString& caption) const {
  WString text = (mother != nullptr ? mother->name : WString()) + u" ==> \n";
  for (size_t i = 0; i < daughters.size(); ++i) {
    if (i == dot) text += u"\t.\n";
    text += u"\t" + daughters[i]->name + u"\n";
  }
  ShowMessage(text, caption, MessageStyle::IconInformation);
}

CProduction* RegisterProduction(std::unique_ptr<CProduction> production) {
  if (production == nullptr) return nullptr;
  CProduction* raw = production.release();
  ProductionRegistry().insert(raw);
  raw->registered_ = true;
  return raw;
}

void DeleteGlobalObjectList() {
  // Take the whole set first: each destructor then finds nothing to erase.
  std::unordered_set<CProduction*> productions;
  productions.swap(ProductionRegistry());
  for (CProduction* production : productions) {
    production->registered_ = false;
    delete production;
  }
}

size_t RegisteredProductionCount() { return ProductionRegistry().size(); }
