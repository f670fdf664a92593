# Turns the page's files into one C++ source, so the program serves them
# without reading any file at run time.
# Run as: cmake -DOUTPUT=<file.cpp> -DSOURCE_DIR=<app/web> -DFILES=a.html,b.css,... -P embed_web_files.cmake
cmake_minimum_required(VERSION 3.25)

# The content type of each kind of file the page has.
function(content_type name out)
  get_filename_component(extension "${name}" LAST_EXT)
  if(extension STREQUAL ".html")
    set(type "text/html; charset=utf-8")
  elseif(extension STREQUAL ".css")
    set(type "text/css; charset=utf-8")
  elseif(extension STREQUAL ".js")
    set(type "text/javascript; charset=utf-8")
  elseif(extension STREQUAL ".svg")
    set(type "image/svg+xml")
  else()
    message(FATAL_ERROR "No content type for ${name}")
  endif()
  set(${out} "${type}" PARENT_SCOPE)
endfunction()

string(REPLACE "," ";" FILES "${FILES}")

set(table "")
set(arrays "")
set(index 0)
foreach(name IN LISTS FILES)
  content_type("${name}" type)
  file(READ "${SOURCE_DIR}/${name}" hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  string(APPEND arrays "// ${name}\nconstexpr char kFile${index}[] = {\n    ${bytes}'\\0'};\n\n")
  string(APPEND table "    {\"/${name}\", \"${type}\", std::string_view(kFile${index}, ${size})},\n")
  math(EXPR index "${index} + 1")
endforeach()

file(WRITE "${OUTPUT}.tmp"
"// Generated from app/web/ by app/web/embed_web_files.cmake: do not edit.
#include \"app/web/web_files.h\"

#include <array>

namespace {

${arrays}const std::array<CWebFile, ${index}> kWebFiles = {{
${table}}};

}  // namespace

const CWebFile* FindWebFile(std::string_view path) {
  for (const CWebFile& file : kWebFiles) {
    if (file.path == path) return &file;
  }
  return nullptr;
}
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
