#include "app/engine/program_translator.h"

#include <malloc.h>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kChecksFreeing = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kChecksFreeing = true;
#else
constexpr bool kChecksFreeing = false;
#endif
#else
constexpr bool kChecksFreeing = false;
#endif

bool leaveToTheSystem = false;

}  // namespace

void LeaveProgramTranslatorsToTheSystem() { leaveToTheSystem = !kChecksFreeing; }

void ReuseFreedMemoryInProgramRun() {
  constexpr int kLargestHeapBuffer = 32 << 20;
  constexpr int kKeptAtTop = 16 << 20;
  mallopt(M_MMAP_THRESHOLD, kLargestHeapBuffer);
  mallopt(M_TOP_PAD, kKeptAtTop);
}

void CProgramTranslatorRelease::operator()(CTranslatorDlg* translator) const {
  if (!leaveToTheSystem) delete translator;
}

CProgramTranslator MakeProgramTranslator() { return CProgramTranslator(new CTranslatorDlg); }
