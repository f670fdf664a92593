// Construction, the item files, the per-call driver and the reset of the
// Urdu sentence generator.
#include <string>

#include "analysis/lfg/chart_edge.h"
#include "core/config_store.h"
#include "core/file_reader.h"
#include "core/fs_handle.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "resources/lfg/grammar.h"
#include "transfer/generation/urdu_sentence_generator.h"
#include "transfer/walk/mapper_engine.h"

namespace {

// Reads the comma-separated names of an item file into the set. Pieces are
// trimmed of blanks, tabs, CR and LF, since the data files end with CR LF.
void ReadItemSet(const std::string& configKey, std::set<SymbolId>& items) {
  const std::string path = GetConfigValue(configKey, false);
  if (path.empty()) return;
  CFileReader reader(256);
  std::vector<WString> pieces;
  reader.ReadItemList(path, ",", pieces);
  for (const WString& piece : pieces) {
    const WString name = TrimWString(piece);
    if (!name.empty()) items.insert(GetSymbolId(name, true));
  }
}

}  // namespace

CUrduSentenceGenerator::CUrduSentenceGenerator(CMapperEngine* mapperEngine, CLexicon* urduLexicon,
                                               CGrammar* urduGrammar, CUrduWordGenerator* wordGenerator)
    : urduLexicon_(urduLexicon),
      urduGrammar_(urduGrammar),
      mapperEngine_(mapperEngine),
      lfgParser_(mapperEngine != nullptr ? mapperEngine->LFGParser() : nullptr),
      wordGenerator_(wordGenerator) {
  FinishConstruction();
}

CUrduSentenceGenerator::CUrduSentenceGenerator(CLFGParser* lfgParser, CLexicon* urduLexicon, CGrammar* urduGrammar,
                                               CUrduWordGenerator* wordGenerator)
    : urduLexicon_(urduLexicon), urduGrammar_(urduGrammar), lfgParser_(lfgParser), wordGenerator_(wordGenerator) {
  FinishConstruction();
}

void CUrduSentenceGenerator::FinishConstruction() {
  ReadItemFiles();
  if (urduGrammar_ != nullptr) {
    urduGrammar_->ExpandDisjunctions();
    startCategory_ = urduGrammar_->GetCategoryId(u"S");
  }
}

void CUrduSentenceGenerator::ReadItemFiles() {
  ReadItemSet("SpecialUnmarkedItemsFileName", specialUnmarked_);
  // The PRED of a structure and its root need not be used by any rule.
  specialUnmarked_.insert(PredId);
  specialUnmarked_.insert(RootId);
  ReadItemSet("HeadlessPredicateItemsFileName", headlessPredicates_);
}

CUrduSentenceGenerator::~CUrduSentenceGenerator() { Reset(); }

bool CUrduSentenceGenerator::Reset() {
  agenda_.clear();
  deferred_.clear();
  edgesByEnd_.clear();
  edgeCountByProduction_.clear();
  edgeByNodeIndex_.clear();
  lastFinishedS_ = nullptr;
  producedLeftOut_.clear();
  return true;
}

WStringList& CUrduSentenceGenerator::Generate(WStringList& out, const std::vector<CFSHandle*>& targets) {
  std::vector<CGeneratedSentence> sentences;
  GenerateSentences(sentences, targets);
  out.clear();
  for (CGeneratedSentence& sentence : sentences) out.push_back(std::move(sentence.text));
  return out;
}

std::vector<CGeneratedSentence>& CUrduSentenceGenerator::GenerateSentences(std::vector<CGeneratedSentence>& out,
                                                                           const std::vector<CFSHandle*>& targets) {
  WStringList texts;
  // The handles of the finished structures are made as the chart finds
  // them; nobody reads them, and the handle registry frees them.
  FSHandleList resultHandles;
  producedLeftOut_.clear();
  for (CFSHandle* target : targets) {
    if (target != nullptr) GenerateOne(target->root, texts, resultHandles);
  }
  std::vector<CGeneratedSentence> sentences(texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    sentences[i].text = std::move(texts[i]);
    if (i < producedLeftOut_.size()) sentences[i].leftOut = std::move(producedLeftOut_[i]);
  }
  producedLeftOut_.clear();
  PostProcessSentences(sentences);
  out = std::move(sentences);
  return out;
}
