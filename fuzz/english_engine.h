// The translator's engine in the work folder (a copy of the shipped data
// root) for the fuzz targets that run the program's own set-up and sentence
// road: the whole road, the English analysis, and the analysis's compiled
// files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/engine/translator_dlg.h"
#include "fuzz/file_replacement.h"

namespace fuzz {

// Made once and never destroyed: the engine's tables are statics of their
// own, which may be gone before a static translator would release into them.
CTranslatorDlg& Translator();

// Enters a private copy of the shipped data root (EnterDataRootCopy) whose
// data are the target's own: without the manifest, set-up checks none of
// them against the shipped files (which would read every data file at each
// start).
void EnterEngineRoot();

// Starts the engine for the analysis in the work folder, compiling or loading
// as its configuration says; false when set-up fails.
bool StartAnalysisEngine();

// The text down the translator's road, which ends after the analysis of
// every segment; the per-sentence state is freed by the road's reset.
void Analyse(const WString& text);

// The compiled files of the English analysis: the work folder is compiled
// once (writing every file) and then configured to load its compiled files
// whatever they hold, as a data root shipped with them is; each input
// replaces one of the given files and the engine starts from them and
// analyses a sentence. So the mutated bytes are read by the engine's own
// loading start, which no stamp or recompile bypasses.
class CompiledDumpFuzzer {
 public:
  explicit CompiledDumpFuzzer(std::vector<std::string> keys) : dumps_(std::move(keys)) {}
  void Initialize(int* argc, char*** argv);
  void Run(const uint8_t* data, size_t size);

 private:
  FileReplacement dumps_;
};

}  // namespace fuzz
