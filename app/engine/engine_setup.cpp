// Engine set-up: every engine built once, in a fixed order, from the
// configuration of the data root (the current folder). Each engine and each
// table or dump read is checked; the first failure stops set-up with one
// message, and what was built so far is released again, so nothing is ever
// translated with a half-built engine.
#include <algorithm>
#include <exception>
#include <filesystem>
#include <functional>
#include <set>

#include "analysis/cfg/cfg_parser.h"
#include "analysis/lfg/lfg_parser.h"
#include "analysis/segmentation/sentence_segmenter.h"
#include "analysis/tagger/pos_tagger.h"
#include "analysis/tokeniser/pre_processor.h"
#include "analysis/tokeniser/transition_table.h"
#include "app/engine/compiled_root_stamp.h"
#include "app/engine/handler_scopes.h"
#include "app/engine/setup_keys.h"
#include "app/engine/translator_dlg.h"
#include "app/loaders/common_symbol_table.h"
#include "app/loaders/data_manifest.h"
#include "app/loaders/feature_descriptions.h"
#include "constraints/p_fs_compiler.h"
#include "constraints/p_symbol_table.h"
#include "core/config_store.h"
#include "core/file_checksum.h"
#include "core/file_writer.h"
#include "core/process_policy.h"
#include "core/symbol_table.h"
#include "core/trace_log.h"
#include "platform/file_access_record.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/utf8.h"
#include "resources/english/e_lexicon.h"
#include "resources/english/p_grammar.h"
#include "resources/lfg/grammar.h"
#include "resources/lfg/lexicon.h"
#include "transfer/generation/urdu_sentence_generator.h"
#include "transfer/morphology/discourse_table.h"
#include "transfer/morphology/trans_rules.h"
#include "transfer/morphology/urdu_word_generator.h"
#include "transfer/walk/f_structure_mapper.h"

namespace {

constexpr const char16_t* kSetUpCaption = u"Tarnwick";
constexpr const char* kConfigurationFile = "EConfig.inf";
constexpr const char* kTraceLogFile = "data\\LogFile.Log";
constexpr const char* kFStructureFile = "data\\FStructures.xml";

constexpr const char* kCompileKeys[] = {"CompileLexicon", "CompileP_Grammar", "CompileMapper"};

// Whether every Compile key of the configuration is "yes".
bool CompilesEverything() {
  return std::all_of(std::begin(kCompileKeys), std::end(kCompileKeys), [](const char* key) {
    const auto found = ConfigTable().find(key);
    return found != ConfigTable().end() && found->second == "yes";
  });
}

// The sources a loading start reads and a compiling one does not: the
// feature descriptions.
std::set<std::string> LoadingStartOnlySources() {
  const auto found = ConfigTable().find("FDescriptions");
  if (found == ConfigTable().end() || found->second.empty()) return {};
  return {MapPath(found->second)};
}

// While it lives (when on), every Compile key reads "no": the engines load
// the compiled files. Set back to "yes" afterwards, as the configuration
// holds them.
class CompileKeysOff {
 public:
  explicit CompileKeysOff(bool on) : on_(on) {
    if (on_) Set("no");
  }
  ~CompileKeysOff() {
    if (on_) Set("yes");
  }
  CompileKeysOff(const CompileKeysOff&) = delete;
  CompileKeysOff& operator=(const CompileKeysOff&) = delete;

 private:
  static void Set(const char* value) {
    for (const char* key : kCompileKeys) SetConfigValue(key, value);
  }
  bool on_;
};

std::string CurrentFolder() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::current_path(error);
  return error ? std::string() : folder.string();
}

// The first function named by a subcategorisation frame that is not among
// the governable ones; empty when every one is. A frame naming another
// function means one of the two lists was cut or damaged.
std::string FirstUngovernableFrameFunction(const std::vector<SymbolId>& governable) {
  for (const std::vector<std::string>& frame : SubcatFrameNames) {
    for (const std::string& name : frame) {
      if (name.empty()) continue;
      const SymbolId id = GetSymbolId(FromUtf8(name), false);
      if (std::find(governable.begin(), governable.end(), id) == governable.end()) return name;
    }
  }
  return std::string();
}

}  // namespace

bool CTranslatorDlg::Fail(const std::string& text) {
  setUpFailure_ = text;
  ShowMessage(FromUtf8(text), kSetUpCaption, MessageStyle::IconInformation);
  return false;
}

// The handler that shows the message may be what threw: should it throw
// again, the failure is still kept and set-up still ends cleanly.
bool CTranslatorDlg::FailByException(const std::string& what) {
  setUpFailure_ = "Engine set-up failed: " + what;
  try {
    ShowMessage(FromUtf8(setUpFailure_), kSetUpCaption, MessageStyle::IconInformation);
  } catch (const std::exception&) {
  } catch (const char*) {
  }
  return false;
}

bool CTranslatorDlg::FailUnlessShown(const CMessageCounter& shown, const std::string& text) {
  if (shown.count() == 0) return Fail(text);
  setUpFailure_ = text;
  return false;
}

bool CTranslatorDlg::InitializeEngine(EngineScope scope) {
  // The stamp and the data manifest check the same source files: each is
  // read and summed once.
  const CStartChecksums checksums;
  const bool whole = scope == EngineScope::kTranslation;
  const auto steps = [this, whole](const CSetUpKeys& keys) {
    return LoadSymbolsForLoadingStart(keys) && BuildEnglishSide(keys) && (!whole || BuildTransferSide(keys)) &&
           WriteCompiledFiles(keys) && BuildSegmentation(keys) && BuildTransRules(keys);
  };
  // The stamp speaks of the whole root's compiled files; the analysis alone
  // starts as configured.
  ready_ = whole ? StartFromCompiledFiles(steps) || StartAndStamp(steps) : RunSetUp(steps);
  scope_ = scope;
  return ready_;
}

// When the data root's stamp says that the files a compile would read are
// the ones the last compile read, and what it wrote is still there: the
// start that loads those files, as with every Compile key "no". Its messages
// are held back; if it fails anyway, they are dropped and the caller
// compiles as the configuration says.
bool CTranslatorDlg::StartFromCompiledFiles(const std::function<bool(const CSetUpKeys&)>& steps) {
  if (!CompiledRootStampMatches()) return false;
  CHeldMessages held;
  if (!RunSetUp(steps, true)) {
    held.Drop();
    return false;
  }
  held.Release();
  return true;
}

// The start the configuration asks for. After a start that compiled
// everything, the data root is stamped with what the compile read and wrote.
bool CTranslatorDlg::StartAndStamp(const std::function<bool(const CSetUpKeys&)>& steps) {
  RemoveCompiledRootStamp();
  std::string stamp;
  {
    CFileAccessRecord record;
    if (!RunSetUp(steps)) return false;
    if (CompilesEverything()) {
      std::set<std::string> read = record.read();
      read.merge(LoadingStartOnlySources());
      stamp = MakeCompiledRootStamp(read, record.written(), {MapPath(kTraceLogFile)});
    }
  }
  // Without a stamp the next start compiles again; nothing else depends on it.
  if (!stamp.empty()) WriteCompiledRootStamp(stamp);
  return true;
}

// Enters the configuration and runs the steps; after a failure (reported
// once) everything built so far is released again. With loadCompiledFiles
// the Compile keys read "no" while the steps run.
bool CTranslatorDlg::RunSetUp(const std::function<bool(const CSetUpKeys&)>& steps, bool loadCompiledFiles) {
  ReleaseEngine();
  setUpFailure_.clear();
  m_strCStructureXmlPath = FromUtf8(CurrentFolder()) + u"\\data\\LFGParserCStructures.xml";
  bool built = false;
  try {
    if (EnterConfiguration()) {
      const CompileKeysOff keysOff(loadCompiledFiles);
      if (const std::optional<CSetUpKeys> keys = ReadSetUpKeys()) {
        built = steps(*keys);
      } else {
        // The configuration store has named the key; this names the file.
        built = Fail("A required key of '" + std::string(kConfigurationFile) +
                     "' is missing or not a number (the file may be damaged or cut short)");
      }
    }
  } catch (const std::exception& error) {
    built = FailByException(error.what());
  } catch (const char* text) {
    built = FailByException(text);
  }
  if (!built) {
    const std::string failure = setUpFailure_;
    ReleaseEngine();
    setUpFailure_ = failure.empty() ? "engine set-up failed" : failure;
    return false;
  }
  // Start-up is done: the engine's parts join the one sentence reset, and
  // sentences run under the sentence policy.
  RegisterSentenceReleases();
  ApplySentencePolicy();
  return true;
}

// The configuration of the current folder (a fresh table, as at a process
// start), the trace log and a fresh global symbol table.
bool CTranslatorDlg::EnterConfiguration() {
  ClearConfiguration();
  ClearSymbolTable();
  CMessageCounter shown;
  if (!LoadConfiguration(kConfigurationFile, false)) {
    return FailUnlessShown(shown, "File '" + std::string(kConfigurationFile) + "' could not be read");
  }
  OpenTraceLog(kTraceLogFile);
  if (!GetTraceLogWriter().IsOpen()) return Fail("File '" + std::string(kTraceLogFile) + "' could not be written");
  // The program-wide F-structure file starts anew, with its mark, at every
  // start; a sentence-list run writes its analyses into it.
  if (!InitFStructuresXmlStream(kFStructureFile)) {
    return Fail("File '" + std::string(kFStructureFile) + "' could not be written");
  }
  // A data file that is not what the manifest lists is refused by its name
  // here, before a loader reads it and perhaps takes the damage for data.
  if (const std::string damaged = CheckDataManifest("."); !damaged.empty()) return Fail(damaged);
  return true;
}

// On a start that loads the compiled files: the symbol ids they were
// compiled with, and the feature names.
bool CTranslatorDlg::LoadSymbolsForLoadingStart(const CSetUpKeys& keys) {
  if (keys.CompilesLexicons()) return true;
  CMessageCounter shown;
  if (!LoadCommonSymbolTable()) {
    return FailUnlessShown(shown, "File '" + GetConfigValue("CommonSymbolTableFileName") + "' could not be read");
  }
  if (!LoadFeatureDescriptions()) return FailUnlessShown(shown, "The feature descriptions could not be read");
  return true;
}

bool CTranslatorDlg::BuildEnglishSide(const CSetUpKeys& keys) {
  m_pEnglishLexicon = std::make_unique<CLexicon>("E");
  RegisterReservedSymbols();
  m_nGFId = GfId;
  m_nPredId = PredId;
  {
    CMessageCounter shown;
    m_pLFGParser = std::make_unique<CLFGParser>(keys.subcatFrameList);
    if (m_pLFGParser->governableFunctions.empty()) {
      return FailUnlessShown(shown, "The governable functions could not be read from '" + keys.subcatFrameList + "'");
    }
  }

  P_FSCompiler::Init();
  if (!keys.CompilesGrammar()) {
    CMessageCounter shown;
    if (!P_FSCompiler::ReadDump() || !P_SymbolTable::ReadDump()) {
      return FailUnlessShown(shown, "A constraint-system dump could not be read");
    }
  }
  {
    CMessageCounter shown;
    m_pPGrammar = std::make_unique<P_Grammar>(keys.grammarRules, keys.grammarMacros, keys.lfgFile, keys.cfgFile, 1);
    if (m_pPGrammar->HasFailed()) {
      return FailUnlessShown(shown, "The English grammar could not be built: " + m_pPGrammar->FailureText());
    }
  }
  {
    CMessageCounter shown;
    m_pCfgLexicon = std::make_unique<CELexicon>(keys.englishLexicon, m_pPGrammar.get());
    if (m_pCfgLexicon->HasFailed()) {
      return FailUnlessShown(shown, "The English lexicon could not be built: " + m_pCfgLexicon->FailureText());
    }
  }
  if (const std::string missing = FirstUngovernableFrameFunction(m_pLFGParser->governableFunctions); !missing.empty()) {
    return Fail("The subcategorisation frames of '" + GetConfigValue("SubCats") + "' name '" + missing +
                "', which is not a governable function of '" + keys.subcatFrameList + "'");
  }
  m_pPreProcessor = std::make_unique<CPreProcessor>(m_pCfgLexicon.get());
  // A table cut short, damaged or empty tokenises some sentences differently:
  // refused.
  if (!GlobalTransitionTable().LastLoadWasClean() || GlobalTransitionTable().Size() == 0) {
    return Fail("The tokeniser's transition table '" + GetConfigValue("TransitionTable") +
                "' is damaged or cut short; it was not used");
  }
  m_pCfgParser = std::make_unique<CCfgParser>(m_pCfgLexicon.get(), m_pPGrammar.get(), m_pPreProcessor.get());
  return true;
}

// The mapper, the Urdu lexicon, word generator and grammar, the sentence
// generator and the pronoun table.
bool CTranslatorDlg::BuildTransferSide(const CSetUpKeys& keys, bool replaceStarInUrduGrammar) {
  {
    CMessageCounter shown;
    // The insert rules are expanded with the mapping rules' macros.
    m_pMapper = std::make_unique<CFStructureMapper>(
        keys.mappingRulesMacros, keys.mappingRulesRaw, keys.mappingRulesExt, keys.mappingLexiconMacros,
        keys.mappingLexiconRaw, keys.mappingLexiconExt, keys.mappingRulesMacros, keys.insertRulesRaw,
        keys.insertRulesExt, keys.mapLexStdFreq, keys.mapRulesStdFreq, keys.transRules, m_pEnglishLexicon.get(),
        m_pLFGParser.get());
    // A lexicon of default entries only is a built lexicon too.
    const auto isEmpty = [](const CMapLexicon& lexicon) {
      size_t headwords = 0, entries = 0;
      lexicon.CountEntries(headwords, entries);
      return entries == 0;
    };
    if (isEmpty(m_pMapper->Rules())) {
      return FailUnlessShown(shown, "The mapping rules could not be built from '" + keys.mappingRulesRaw + "'");
    }
    if (isEmpty(m_pMapper->Lexicon())) {
      return FailUnlessShown(shown, "The mapping lexicon could not be built from '" + keys.mappingLexiconRaw + "'");
    }
    // A source that could not be read whole leaves rules or words out.
    for (const CMapLexicon* mapping :
         {&m_pMapper->Rules(), &m_pMapper->Lexicon(), &m_pMapper->InsertRules(), m_pMapper->DomainLexicon("News"),
          m_pMapper->DomainLexicon("Weather"), m_pMapper->DomainLexicon("Agriculture")}) {
      if (mapping != nullptr && !mapping->DamagedFile().empty()) {
        return Fail("The mapping file '" + mapping->DamagedFile() + "' is damaged or cut short");
      }
    }
  }
  {
    CMessageCounter shown;
    m_pUrduLexicon = std::make_unique<CLexicon>("U", true);
    // Entries that could not be read are missing words: refused, by the file.
    if (!m_pUrduLexicon->DamagedFile().empty()) {
      return Fail("The Urdu lexicon '" + m_pUrduLexicon->DamagedFile() + "' is damaged or cut short");
    }
    if (m_pUrduLexicon->EntryCount() == 0) {
      const std::string source =
          keys.CompilesLexicons() ? GetConfigValue("ULexiconFileName") : GetConfigValue("ULexiconInNumbers");
      return FailUnlessShown(shown, "The Urdu lexicon could not be built from '" + source + "'");
    }
    if (m_pUrduLexicon->ExpansionTable() == nullptr) {
      return FailUnlessShown(shown, "The Urdu lexicon's expansion table could not be read from '" +
                                        GetConfigValue("UCommonLexFeaturesFileName") + "'");
    }
  }
  {
    CMessageCounter shown;
    m_pWordGenerator = std::make_unique<CUrduWordGenerator>(m_pUrduLexicon.get());
    if (m_pWordGenerator->NounRules().empty() || m_pWordGenerator->VerbRules().empty()) {
      return FailUnlessShown(shown, "The Urdu inflection rules could not be read from '" + GetConfigValue("NounRules") +
                                        "' and '" + GetConfigValue("VerbRules") + "'");
    }
  }
  m_pUrduGrammar = std::make_unique<CGrammar>(keys.urduGrammarRules, keys.urduGrammarMacros, keys.urduLfg, keys.urduCfg,
                                              m_pUrduLexicon.get(), replaceStarInUrduGrammar, true);
  if (m_pUrduGrammar->Store() == nullptr || m_pUrduGrammar->Store()->empty()) {
    return Fail("The Urdu grammar could not be compiled from '" + keys.urduGrammarRules + "'");
  }
  if (!m_pUrduGrammar->Damage().empty()) {
    return Fail("The Urdu grammar '" + keys.urduGrammarRules + "' with its macros '" + keys.urduGrammarMacros +
                "' is damaged or cut short: " + ToUtf8(m_pUrduGrammar->Damage()));
  }
  m_pGenerator = std::make_unique<CUrduSentenceGenerator>(&m_pMapper->Engine(), m_pUrduLexicon.get(),
                                                          m_pUrduGrammar.get(), m_pWordGenerator.get());
  // The generator's item lists are required: an empty one was cut or damaged.
  const std::string unmarkedFile = GetConfigValue("SpecialUnmarkedItemsFileName", false);
  const std::string headlessFile = GetConfigValue("HeadlessPredicateItemsFileName", false);
  if (!unmarkedFile.empty() && m_pGenerator->SpecialUnmarkedItems().size() <= 2) {
    return Fail("The generation item list '" + unmarkedFile + "' is empty");
  }
  if (!headlessFile.empty() && m_pGenerator->HeadlessPredicateItems().empty()) {
    return Fail("The generation item list '" + headlessFile + "' is empty");
  }
  m_pDiscourseTable = std::make_unique<CDiscourseTable>(keys.discourse);
  if (m_pDiscourseTable->EntryCount() == 0) {
    return Fail("The pronoun table could not be read from '" + keys.discourse + "'");
  }
  // Every condition text of the loaded data is read now, with the names it
  // holds, so that no sentence reads one.
  m_pMapper->LearnConditions();
  m_pGenerator->LearnConditions();
  if (m_pEnglishGrammar != nullptr) m_pLFGParser->LearnConditions(*m_pEnglishGrammar);
  return true;
}

// After a compiling start: the constraint-system dumps and the common symbol
// table that later starts load. Everything registered so far survives the
// per-sentence resets.
bool CTranslatorDlg::WriteCompiledFiles(const CSetUpKeys& keys) {
  if (keys.CompilesGrammar()) {
    CMessageCounter shown;
    if (!P_FSCompiler::WriteDump() || !P_SymbolTable::WriteDump()) {
      return FailUnlessShown(shown, "A constraint-system dump could not be written");
    }
  }
  P_FSCompiler::MarkInitialItems();
  if (keys.CompilesLexicons()) {
    CMessageCounter shown;
    if (!SaveCommonSymbolTable()) {
      return FailUnlessShown(shown, "File '" + GetConfigValue("CommonSymbolTableFileName") + "' could not be written");
    }
  }
  return true;
}

bool CTranslatorDlg::BuildSegmentation(const CSetUpKeys& keys) {
  LoadTagList(keys.posList);
  CMessageCounter shown;
  m_pSegmenter = std::make_unique<CSentenceSegmenter>(keys.segmentRules,
                                                      [](const std::string& tagName) { return GetTagId(tagName); });
  if (m_pSegmenter->rules.empty()) {
    return FailUnlessShown(shown, "The segmentation rules could not be read from '" + keys.segmentRules + "'");
  }
  m_bSegmentSentence = keys.segmentSentence == "yes";
  m_nMinSentLength = keys.minSentLength;
  return true;
}

bool CTranslatorDlg::BuildTransRules(const CSetUpKeys& keys) {
  CMessageCounter shown;
  m_pTransRules = std::make_unique<CTransRules>(keys.transRules);
  if (m_pTransRules->BlockCount() == 0) {
    return FailUnlessShown(shown, "The character-rewriting rules could not be read from '" + keys.transRules + "'");
  }
  return true;
}
