#include "app/engine/program_translator.h"

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

void CProgramTranslatorRelease::operator()(CTranslatorDlg* translator) const {
  if (!leaveToTheSystem) delete translator;
}

CProgramTranslator MakeProgramTranslator() { return CProgramTranslator(new CTranslatorDlg); }
