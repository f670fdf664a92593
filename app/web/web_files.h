// The page's files (HTML, CSS, script, images), built into the program from
// app/web/ (see embed_web_files.cmake). Only these are ever served.
#pragma once

#include <string_view>

struct CWebFile {
  std::string_view path;         // as requested: "/page.js"
  std::string_view contentType;  // "text/javascript; charset=utf-8"
  std::string_view content;
};

// The file served under the path; null when there is none.
const CWebFile* FindWebFile(std::string_view path);
