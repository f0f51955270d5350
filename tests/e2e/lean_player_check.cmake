# Fails when the player carries debug sections, or when the debug file beside it lacks
# them. Run as: cmake -DOBJDUMP=... -DPLAYER=... -DDEBUG_FILE=... -P lean_player_check.cmake
function(section_names file out)
    execute_process(COMMAND ${OBJDUMP} -h ${file} RESULT_VARIABLE status
                    OUTPUT_VARIABLE listing ERROR_VARIABLE listing)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${OBJDUMP} cannot read ${file}: ${listing}")
    endif()
    string(REGEX MATCHALL "\n +[0-9]+ +[^ ]+" rows "${listing}")
    set(names "")
    foreach(row ${rows})
        string(REGEX REPLACE "^\n +[0-9]+ +" "" name "${row}")
        list(APPEND names ${name})
    endforeach()
    set(${out} ${names} PARENT_SCOPE)
endfunction()

section_names(${PLAYER} player_sections)
list(FILTER player_sections INCLUDE REGEX "^\\.z?debug")
if(player_sections)
    message(FATAL_ERROR "${PLAYER} carries debug sections: ${player_sections}")
endif()

section_names(${DEBUG_FILE} debug_sections)
list(FILTER debug_sections INCLUDE REGEX "^\\.debug_info$")
if(NOT debug_sections)
    message(FATAL_ERROR "${DEBUG_FILE} holds no debug information")
endif()
message(STATUS "${PLAYER}: no debug sections; they are in ${DEBUG_FILE}")
