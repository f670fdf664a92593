#include "app/batch/translation_worker.h"

#include "app/engine/translator_dlg.h"
#include "platform/file_system.h"

unsigned TranslationWorkerProc(CTranslationRequest* request) {
  if (request == nullptr || request->dialog == nullptr) return 0;
  CTranslateOptions options;
  options.showCStructure = request->showCStructure;
  options.chartParserRoad = true;
  request->result = request->dialog->OnTranslate(request->sentence, options);
  const FileHandle marker(OpenFile(request->markerFile, "wb"));
  return marker ? 1 : 0;
}
