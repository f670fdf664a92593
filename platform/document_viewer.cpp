#include "platform/document_viewer.h"

#include <cstdio>
#include <utility>

#include "platform/file_system.h"

namespace {

void PrintPath(const std::string& path) { std::printf("Document written: %s\n", MapPath(path).c_str()); }

DocumentHandler& CurrentHandler() {
  static DocumentHandler handler = PrintPath;
  return handler;
}

}  // namespace

void OpenDocument(const std::string& path) { CurrentHandler()(path); }

DocumentHandler SetDocumentHandler(DocumentHandler handler) {
  DocumentHandler previous = std::move(CurrentHandler());
  CurrentHandler() = handler ? std::move(handler) : DocumentHandler(PrintPath);
  return previous;
}
