# The page's files, turned into a generated source of the app library by
# embed_web_files.cmake whenever one of them changes.
set(LFG_WEB_FILES index.html page.css page.js banner.svg icon.svg)
set(lfg_web_dir ${CMAKE_CURRENT_LIST_DIR})
set(lfg_web_source ${CMAKE_BINARY_DIR}/generated/app/web/web_files.cpp)
list(TRANSFORM LFG_WEB_FILES PREPEND ${lfg_web_dir}/ OUTPUT_VARIABLE lfg_web_inputs)
list(JOIN LFG_WEB_FILES "," lfg_web_names)
add_custom_command(
  OUTPUT ${lfg_web_source}
  COMMAND ${CMAKE_COMMAND} -DOUTPUT=${lfg_web_source} -DSOURCE_DIR=${lfg_web_dir} -DFILES=${lfg_web_names}
          -P ${lfg_web_dir}/embed_web_files.cmake
  DEPENDS ${lfg_web_inputs} ${lfg_web_dir}/embed_web_files.cmake
  COMMENT "Building the page's files into the program"
  VERBATIM)
target_sources(app PRIVATE ${lfg_web_source})
