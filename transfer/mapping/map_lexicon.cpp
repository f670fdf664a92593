#include "transfer/mapping/map_lexicon.h"

#include "core/config_store.h"
#include "transfer/mapping/map_lexicon_report.h"

namespace {

// Raw names of the lexicons that are dumped, and their dump keys, tested in
// this order (the domain names also contain the general one).
struct DumpKey {
  const char* rawName;
  const char* key;
};
constexpr DumpKey kDumpKeys[] = {
    {"WDomainMapLexRaw.mlr", "WDomainMapLexDump"},
    {"NDomainMapLexRaw.mlr", "NDomainMapLexDump"},
    {"ADomainMapLexRaw.mlr", "ADomainMapLexDump"},
    {"MapLexRaw.mlr", "MapLexDump"},
};

}  // namespace

CMapLexicon::CMapLexicon(const std::string& macroFile, const std::string& rawFile, const std::string& expandedFile,
                         const CLexicon* englishLexicon, double frequency)
    : parsePaths_(englishLexicon != nullptr), frequency_(frequency) {
  if (rawFile.empty()) {
    ReportMapLexiconProblem(u"A mapping lexicon has no raw file name; it stays empty.");
    return;
  }
  const std::string dumpKey = DumpKeyFor(rawFile);
  if (!dumpKey.empty() && GetConfigValue("CompileMapper", true) != "yes") {
    // A missing key has been reported by the configuration store.
    const std::string dumpFile = GetConfigValue(dumpKey);
    if (!dumpFile.empty()) ReadDump(dumpFile);
    return;
  }
  ReadMacroDefinitions(macroFile);
  if (!ExpandMacros(rawFile, expandedFile)) return;
  CompileRawFile(expandedFile, rawFile);
  if (dumpKey.empty()) return;
  const std::string dumpFile = GetConfigValue(dumpKey);
  if (!dumpFile.empty()) WriteDump(dumpFile);
}

CMapLexicon::~CMapLexicon() { Clear(); }

void CMapLexicon::Clear() {
  for (auto& [id, headword] : headwords_) delete headword;
  headwords_.clear();
}

CMapLexHeadword* CMapLexicon::FindHeadword(SymbolId id) const {
  auto found = headwords_.find(id);
  return found == headwords_.end() ? nullptr : found->second;
}

CMapLexHeadword* CMapLexicon::FindHeadwordByPath(const std::vector<SymbolId>& path) const {
  if (path.empty()) return nullptr;
  if (path.size() == 1) return FindHeadword(path[0]);
  WString name;
  for (SymbolId id : path) name += GetSymbolName(id);
  const SymbolId id = GetSymbolId(name, false);
  return id == kNoSymbol ? nullptr : FindHeadword(id);
}

bool CMapLexicon::CountEntries(size_t& headwords, size_t& entries) const {
  headwords = headwords_.size();
  entries = 0;
  for (const auto& [id, headword] : headwords_) {
    entries += headword->GetEntryCount() + (headword->defaultEntry != nullptr ? 1 : 0);
  }
  return true;
}

std::string CMapLexicon::DumpKeyFor(const std::string& rawFile) {
  for (const DumpKey& candidate : kDumpKeys) {
    if (rawFile.find(candidate.rawName) != std::string::npos) return candidate.key;
  }
  return {};
}
