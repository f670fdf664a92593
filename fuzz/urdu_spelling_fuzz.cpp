// The character-rewriting rules that spell unknown English words in Urdu
// letters, and the pronoun feature table.
#include "core/config_store.h"
#include "core/fs_node.h"
#include "core/symbol_table.h"
#include "fuzz/file_replacement.h"
#include "fuzz/fuzz_support.h"
#include "transfer/morphology/discourse_table.h"
#include "transfer/morphology/trans_rules.h"

namespace {
fuzz::FileReplacement files({"TransRulesFileName", "DiscourseFileName"});
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::EnterDataRootCopy();
  files.Capture(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int mode = files.Replace(data, size);
  if (mode < 0) return 0;
  if (mode == 0) {
    CTransRules rules(GetConfigValue("TransRulesFileName"));
    for (const char16_t* text : {u"Tom reads in London", u"<ti*me> TIME", u"e", u"", u"xyz9 -- a'b"}) rules.Apply(text);
    return 0;
  }
  CDiscourseTable table(GetConfigValue("DiscourseFileName"));
  CFSNode* root = new CFSNode(static_cast<int16_t>(GetSymbolId(u"ROOT", true)), nullptr);
  bool created = false;
  for (const char16_t* attribute : {u"NOUN", u"GEND", u"NUM"}) {
    const std::vector<SymbolId> path = {GetSymbolId(u"SUBJ", true), GetSymbolId(attribute, true)};
    root->FindOrCreatePath(&path, created);
  }
  table.CompleteFeatures(root);
  CFSNode::DeleteAll();
  return 0;
}
