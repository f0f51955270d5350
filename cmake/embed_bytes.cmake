# Writes a C++ source that holds a file's bytes, so that the Linux and the Windows tool
# carry the very same bytes:
#   cmake -DINPUT=<file> -DSYMBOL=<name> -DOUTPUT=<.cpp> -P embed_bytes.cmake
# The source defines `const std::uint8_t SYMBOL[]` and `const std::size_t SYMBOLSize` in
# namespace ambrevo::pack, both with external linkage.

cmake_minimum_required(VERSION 3.25)

foreach(variable INPUT SYMBOL OUTPUT)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "embed_bytes.cmake needs -D${variable}=...")
    endif()
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/bytes_as_cpp.cmake)
ambrevo_bytes_as_cpp(${INPUT} bytes)
if(bytes STREQUAL "")
    message(FATAL_ERROR "embed_bytes.cmake: ${INPUT} is empty")
endif()
get_filename_component(name ${INPUT} NAME)
file(WRITE ${OUTPUT} "// Written by cmake/embed_bytes.cmake from ${name}.\n"
    "#include <cstddef>\n#include <cstdint>\n\nnamespace ambrevo::pack {\n\n"
    "extern const std::uint8_t ${SYMBOL}[];\nextern const std::size_t ${SYMBOL}Size;\n"
    "const std::uint8_t ${SYMBOL}[] = {${bytes}};\n"
    "const std::size_t ${SYMBOL}Size = sizeof ${SYMBOL};\n\n}  // namespace ambrevo::pack\n")
