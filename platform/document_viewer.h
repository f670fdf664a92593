// Showing a document the program wrote (the C-structure XML). No shell is ever
// run: the file is handed to the front end, which prints its path by default.
#pragma once

#include <functional>
#include <string>

void OpenDocument(const std::string& path);

using DocumentHandler = std::function<void(const std::string& path)>;
DocumentHandler SetDocumentHandler(DocumentHandler handler);
