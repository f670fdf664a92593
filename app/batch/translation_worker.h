// The worker entry of the older road: translates one sentence over the LFG
// chart parser, then creates an empty marker file that tells a waiting
// caller the translation has ended.
#pragma once

#include <string>

#include "app/engine/translation_result.h"
#include "core/wide_string.h"

class CTranslatorDlg;

struct CTranslationRequest {
  CTranslatorDlg* dialog = nullptr;
  WString sentence;
  std::string markerFile;
  bool showCStructure = false;
  CTranslationResult result;  // filled by the worker
};

// 1 when the sentence went through the road and the marker file was made;
// 0 when the marker file could not be made.
unsigned TranslationWorkerProc(CTranslationRequest* request);
