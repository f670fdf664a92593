// The LFG lexicon (the Urdu lexicon): its source, the numbers file and the
// expansion table it compiles to, the ordered feature list and "Expansions".
// The work folder's lexicon is cut to the head of the shipped one (whole
// entries, one per line) before anything is compiled, so that the seeds and
// the files restored before every input are small and each input compiles
// and reads a few hundred entries, not twenty thousand.
#include <string>

#include "core/config_store.h"
#include "fuzz/file_replacement.h"
#include "fuzz/fuzz_support.h"
#include "resources/lfg/lexicon.h"

namespace {
constexpr size_t kSeedLexiconLines = 320;
fuzz::FileReplacement files({"ULexiconFileName", "ULexiconInNumbers", "UCommonLexFeaturesFileName",
                             "UOrderedFeatureListFileName", "Expansions"});

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::EnterDataRootCopy();
  // Every input compiles or loads the whole lexicon: the shipped one (some
  // twenty thousand lines) makes each input take seconds. Its first entries
  // (the header, the clitics, the postpositions and the first nouns, among
  // them the words looked up below) keep every kind of line in the seeds.
  fuzz::KeepFirstLines(GetConfigValue("ULexiconFileName"), kSeedLexiconLines);
  SetConfigValue("CompileLexicon", "yes");
  CLexicon compiled("U", true);
  files.Capture(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int mode = files.Replace(data, size);
  if (mode < 0) return 0;
  // The source compiles; the compiled files load; the two lists are read by
  // a lexicon keyed by words.
  SetConfigValue("CompileLexicon", mode == 0 || mode == 3 ? "yes" : "no");
  CLexicon lexicon("U", mode != 4);
  for (const char16_t* word : {u"\u06A9\u062A\u0627\u0628", u"\u0644\u0691\u06A9\u0627", u"x"}) {
    lexicon.LookupWord(word);
    bool found = false;
    lexicon.LookupWordWithCategory(word, u"N", &found);
  }
  return 0;
}
