# Writes the files of INPUTS ("|" between their paths), one after the other, as OUTPUT:
#   cmake "-DINPUTS=a|b" -DOUTPUT=<file> -P join_files.cmake

cmake_minimum_required(VERSION 3.25)

foreach(variable INPUTS OUTPUT)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "join_files.cmake needs -D${variable}=...")
    endif()
endforeach()

string(REPLACE "|" ";" inputs "${INPUTS}")
set(joined "")
foreach(input ${inputs})
    file(READ ${input} text)
    string(APPEND joined "${text}")
endforeach()
file(WRITE ${OUTPUT} "${joined}")
