# Fails when the player carries debug sections, when the debug file beside it lacks
# them, or when the player has grown past 512 KB.
# Run as: cmake -DOBJDUMP=... -DPLAYER=... -DDEBUG_FILE=... -P lean_player_check.cmake
set(size_limit 524288)
include(${CMAKE_CURRENT_LIST_DIR}/objdump_names.cmake)
set(section_row "\n +[0-9]+ +[^ ]+")  # "  3 .eh_frame ..." in objdump -h
set(section_number "^\n +[0-9]+ +")

objdump_names(-h ${PLAYER} "${section_row}" "${section_number}" player_sections)
list(FILTER player_sections INCLUDE REGEX "^\\.z?debug")
if(player_sections)
    message(FATAL_ERROR "${PLAYER} carries debug sections: ${player_sections}")
endif()

objdump_names(-h ${DEBUG_FILE} "${section_row}" "${section_number}" debug_sections)
list(FILTER debug_sections INCLUDE REGEX "^\\.debug_info$")
if(NOT debug_sections)
    message(FATAL_ERROR "${DEBUG_FILE} holds no debug information")
endif()
file(SIZE ${PLAYER} player_size)
if(player_size GREATER_EQUAL size_limit)
    message(FATAL_ERROR "${PLAYER} is ${player_size} bytes, over the ${size_limit} allowed")
endif()
message(STATUS "${PLAYER}: ${player_size} bytes, no debug sections; they are in ${DEBUG_FILE}")
