# Writes the C++ source that holds the page's files: run as
#   cmake -DWEB_DIR=<web/> -DOUTPUT=<file.cpp> -P embed_web.cmake
file(GLOB files RELATIVE ${WEB_DIR} ${WEB_DIR}/*)
list(SORT files)
set(body "")
set(table "")
set(index 0)
foreach(name ${files})
  if(IS_DIRECTORY ${WEB_DIR}/${name})
    continue()
  endif()
  get_filename_component(ext ${name} LAST_EXT)
  if(ext STREQUAL ".html")
    set(type "text/html; charset=utf-8")
  elseif(ext STREQUAL ".js")
    set(type "text/javascript; charset=utf-8")
  elseif(ext STREQUAL ".css")
    set(type "text/css; charset=utf-8")
  elseif(ext STREQUAL ".svg")
    set(type "image/svg+xml")
  elseif(ext STREQUAL ".png")
    set(type "image/png")
  else()
    set(type "application/octet-stream")
  endif()
  file(READ ${WEB_DIR}/${name} hex HEX)
  file(SIZE ${WEB_DIR}/${name} size)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND body "const unsigned char kFile${index}[] = {${bytes}0};\n")
  string(APPEND table "    {\"/${name}\", \"${type}\", kFile${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}.tmp "// Made by embed_web.cmake from web/: do not edit.
#include \"apps/serve/web_assets.h\"

namespace serve {
namespace {
${body}
const WebAsset kAssets[] = {
${table}};
} // namespace

const WebAsset *FindWebAsset(std::string_view path)
{
    if (path == \"/\")
        path = \"/index.html\";
    for (const WebAsset &a : kAssets)
        if (path == a.path)
            return &a;
    return nullptr;
}

} // namespace serve
")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
