# Writes the C++ source that builds the bare players into the authoring tool:
#   cmake -DPLAYER32=<32-bit ambrevo.exe> -DPLAYER64=<64-bit ambrevo.exe> -DPE=<ON|OFF>
#         -DOUTPUT=<.cpp> -P embed_players.cmake
# Each player that exists is taken in whole by the assembler (.incbin), so the tool carries
# its bytes without a byte array to compile; one that does not exist yet (its Windows build
# has not run) is carried empty, and the tool says so when a build needs it. PE: the tool
# is a Windows program, whose read-only data section is named .rdata (and whose assembler
# has no .pushsection: the bytes end with a return to .text, as the compiler expects
# nothing of the section a top-level asm leaves). Run at every build:
# the source names each player's hash, so that it changes, and the tool is compiled again,
# exactly when a player does; it is rewritten only then.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/write_if_changed.cmake)

foreach(variable PLAYER32 PLAYER64 PE OUTPUT)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "embed_players.cmake needs -D${variable}=...")
    endif()
endforeach()

if(PE)
    set(section ".rdata,\\\"dr\\\"")
else()
    set(section ".rodata,\\\"a\\\"")
endif()

string(CONCAT script
    "// Written by cmake/embed_players.cmake at each build: the players this tool carries.\n"
    "#include <cstdint>\n#include <span>\n\n")
set(cases "")
set(missing "")
foreach(bits 32 64)
    set(player ${PLAYER${bits}})
    set(symbol ambrevo_carried_player${bits})
    if(EXISTS ${player})
        file(SHA256 ${player} hash)
        string(REPLACE "\\" "\\\\\\\\" quoted ${player})
        string(REPLACE "\"" "\\\\\\\"" quoted ${quoted})
        string(APPEND script "// sha256 ${hash}\n"
            "__asm__(\".section ${section}\\n.balign 16\\n${symbol}_begin:\\n"
            ".incbin \\\"${quoted}\\\"\\n${symbol}_end:\\n.text\\n\");\n"
            "extern \"C\" const std::uint8_t ${symbol}_begin[] __asm__(\"${symbol}_begin\");\n"
            "extern \"C\" const std::uint8_t ${symbol}_end[] __asm__(\"${symbol}_end\");\n\n")
        string(APPEND cases "    if (bits == ${bits}) return {${symbol}_begin, ${symbol}_end};\n")
    else()
        list(APPEND missing ${player})
    endif()
endforeach()
string(APPEND script "namespace ambrevo::pack {\n\n"
    "std::span<const std::uint8_t> CarriedPlayer(int bits) {\n${cases}    return {};\n}\n\n"
    "}  // namespace ambrevo::pack\n")
if(missing)
    list(JOIN missing ", " missing_text)
    message(STATUS "ambrevo-pack is built without the players it lacks (${missing_text}): "
        "build them first (make players) to carry them")
endif()

ambrevo_write_if_changed(${OUTPUT} "${script}")
