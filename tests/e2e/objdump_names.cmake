# objdump_names(OPTION FILE ROW PREFIX OUT) runs ${OBJDUMP} OPTION on FILE and puts into
# OUT the names its listing gives: each match of the regular expression ROW with PREFIX
# removed, stripped and lower-cased. Fails when objdump cannot read the file.
function(objdump_names option file row prefix out)
    execute_process(COMMAND ${OBJDUMP} ${option} ${file} RESULT_VARIABLE status
                    OUTPUT_VARIABLE listing ERROR_VARIABLE listing)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${OBJDUMP} cannot read ${file}: ${listing}")
    endif()
    string(REGEX MATCHALL "${row}" rows "${listing}")
    set(names "")
    foreach(found ${rows})
        string(REGEX REPLACE "${prefix}" "" name "${found}")
        string(STRIP "${name}" name)
        string(TOLOWER "${name}" name)
        list(APPEND names ${name})
    endforeach()
    set(${out} ${names} PARENT_SCOPE)
endfunction()
