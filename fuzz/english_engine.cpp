#include "fuzz/english_engine.h"

#include <cstdio>
#include <cstdlib>

#include "bench/data_root_copy.h"
#include "fuzz/fuzz_support.h"

namespace fuzz {

CTranslatorDlg& Translator() {
  static CTranslatorDlg& translator = *new CTranslatorDlg;
  return translator;
}

void EnterEngineRoot() {
  EnterDataRootCopy();
  std::remove("DataManifest.txt");
}

bool StartAnalysisEngine() { return Translator().InitializeEngine(EngineScope::kEnglishAnalysis); }

void Analyse(const WString& text) { Translator().OnTranslate(text); }

void CompiledDumpFuzzer::Initialize(int* argc, char*** argv) {
  EnterEngineRoot();
  if (!StartAnalysisEngine()) std::abort();
  english_bench::SetCompileKeys(".", false);
  dumps_.Capture(argc, argv);
}

void CompiledDumpFuzzer::Run(const uint8_t* data, size_t size) {
  if (dumps_.Replace(data, size) < 0) return;
  if (StartAnalysisEngine()) Analyse(u"I gave him a book");
  Translator().ReleaseEngine();
}

}  // namespace fuzz
