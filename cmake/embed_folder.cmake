# Writes a C++ source that holds every file of a folder and its subfolders, so that the
# Linux and the Windows tool carry the very same bytes:
#   cmake -DINPUT=<folder> -DSYMBOL=<name> -DOUTPUT=<.cpp> -P embed_folder.cmake
# The source defines `const CarriedFile SYMBOL[]` and `const std::size_t SYMBOLCount` in
# namespace ambrevo::pack (pack/start/carried_file.h), the files sorted by their path
# relative to the folder, written with "/".

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/bytes_as_cpp.cmake)

foreach(variable INPUT SYMBOL OUTPUT)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "embed_folder.cmake needs -D${variable}=...")
    endif()
endforeach()

file(GLOB_RECURSE files RELATIVE ${INPUT} ${INPUT}/*)
list(SORT files)
set(arrays "")
set(entries "")
set(index 0)
foreach(file ${files})
    ambrevo_bytes_as_cpp("${INPUT}/${file}" bytes)
    # An empty file still needs an array; its size says it holds nothing.
    if(bytes STREQUAL "")
        set(arrays "${arrays}const std::uint8_t file${index}[] = {0};\n")
        set(entries "${entries}    {\"${file}\", file${index}, 0},\n")
    else()
        set(arrays "${arrays}const std::uint8_t file${index}[] = {${bytes}};\n")
        set(entries "${entries}    {\"${file}\", file${index}, sizeof file${index}},\n")
    endif()
    math(EXPR index "${index} + 1")
endforeach()
if(index EQUAL 0)
    message(FATAL_ERROR "embed_folder.cmake: ${INPUT} holds no files")
endif()
get_filename_component(name ${INPUT} NAME)
file(WRITE ${OUTPUT} "// Written by cmake/embed_folder.cmake from ${name}/.\n"
    "#include \"pack/start/carried_file.h\"\n\nnamespace ambrevo::pack {\n\nnamespace {\n"
    "${arrays}}  // namespace\n\n"
    "extern const CarriedFile ${SYMBOL}[];\nextern const std::size_t ${SYMBOL}Count;\n"
    "const CarriedFile ${SYMBOL}[] = {\n${entries}};\n"
    "const std::size_t ${SYMBOL}Count = ${index};\n\n}  // namespace ambrevo::pack\n")
