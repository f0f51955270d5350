# Fails when the player's version resource does not name the product and the project's
# version, read back from the file by the resource compiler (no Wine needed).
# Run as: cmake -DWINDRES=... -DPLAYER=... -DVERSION=... -P player_version_check.cmake
execute_process(COMMAND ${WINDRES} --input-format=coff -i ${PLAYER} -O rc
    RESULT_VARIABLE status OUTPUT_VARIABLE resources ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${WINDRES} cannot read the resources of ${PLAYER}: ${errors}")
endif()
string(REPLACE "." ", " version_numbers "${VERSION}")
foreach(expected "VALUE \"ProductName\", \"Ambrevo\"" "VALUE \"ProductVersion\", \"${VERSION}\""
                 "VALUE \"FileVersion\", \"${VERSION}\"" "FILEVERSION ${version_numbers}, 0")
    string(FIND "${resources}" "${expected}" found)
    if(found EQUAL -1)
        string(REGEX MATCH "VERSIONINFO.*VarFileInfo" version_resource "${resources}")
        message(FATAL_ERROR "${PLAYER}: no ${expected} in its version resource: "
            "${version_resource}")
    endif()
endforeach()
message(STATUS "${PLAYER} carries the version resource of Ambrevo ${VERSION}")
