# Writes OUTPUT, a C++ source holding the files of RESOURCES ("TYPE:NAME:path" each,
# separated by "|") as the built-in resources of the browser player.
string(REPLACE "|" ";" resources "${RESOURCES}")
set(arrays "")
set(table "")
set(index 0)
foreach(resource ${resources})
    string(REGEX MATCH "^([^:]+):([^:]+):(.+)$" matched "${resource}")
    set(type ${CMAKE_MATCH_1})
    set(name ${CMAKE_MATCH_2})
    file(READ ${CMAKE_MATCH_3} hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND arrays "const unsigned char kResource${index}[] = {${bytes}};\n")
    string(APPEND table "    {\"${type}\", \"${name}\", kResource${index}, sizeof kResource${index}},\n")
    math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT} "// Made by the build from resources/: do not edit.
#include \"backends/web/services/builtin_resources.h\"

namespace ambrevo::web {
namespace {
${arrays}}  // namespace

const BuiltinResource kBuiltinResources[] = {
${table}};
const std::size_t kBuiltinResourceCount = ${index};

}  // namespace ambrevo::web
")
