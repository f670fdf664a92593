// The translator that one program run owns. Freeing the engines piece by
// piece (hundreds of thousands of lexicon entries, rules and symbols) takes
// about a fifth of a one-sentence run; a program that ends right after can
// leave that memory to the operating system. Nothing is lost so: the engines'
// destructors write no file, and the trace log flushes every line it writes.
//
// Only the program's main asks for it. Tests, which build many translators in
// one process, and the sanitizer build, which checks that everything is
// freed, always free the engines.
#pragma once

#include <memory>

#include "app/engine/translator_dlg.h"

// From now on a program translator is left to the operating system when its
// owner lets it go (a no-op in the sanitizer build).
void LeaveProgramTranslatorsToTheSystem();

// Start-up reads files of megabytes into buffers and frees them again, among
// hundreds of thousands of small objects. For the program's run, buffers of
// up to 32 MB come from the heap instead of fresh mappings, and up to 16 MB
// freed at the heap's top stay for reuse: a start touches a third fewer new
// pages (page faults were half its time), at the same peak memory.
void ReuseFreedMemoryInProgramRun();

struct CProgramTranslatorRelease {
  void operator()(CTranslatorDlg* translator) const;
};
using CProgramTranslator = std::unique_ptr<CTranslatorDlg, CProgramTranslatorRelease>;

CProgramTranslator MakeProgramTranslator();
