# Fails when the player imports a DLL that Windows does not always take from its own
# folder (the KnownDLLs): any other DLL is looked for beside the program first, where a
# disc or a download folder may hold one of that name.
# Run as: cmake -DOBJDUMP=... -DPLAYER=... -P player_imports_check.cmake
cmake_minimum_required(VERSION 3.25)
set(known_dlls advapi32.dll comdlg32.dll gdi32.dll imm32.dll kernel32.dll msvcrt.dll
    ole32.dll oleaut32.dll rpcrt4.dll shell32.dll shlwapi.dll user32.dll)
# What the first frame needs, all the player may load at start: anything else (the shell,
# COM, sound, screen readers) is loaded on first use, since each library and those it pulls
# in delay the window.
set(start_dlls gdi32.dll kernel32.dll msvcrt.dll user32.dll)

include(${CMAKE_CURRENT_LIST_DIR}/objdump_names.cmake)
objdump_names(-p ${PLAYER} "DLL Name: [^\r\n]+" "^DLL Name: " imports)

# Every program imports kernel32: without it the listing was not read.
if(NOT "kernel32.dll" IN_LIST imports)
    message(FATAL_ERROR "no import of kernel32.dll found in ${PLAYER}: ${imports}")
endif()
set(unknown ${imports})
list(REMOVE_ITEM unknown ${known_dlls})
if(unknown)
    message(FATAL_ERROR "${PLAYER} imports DLLs that may be loaded from beside it: ${unknown}")
endif()
set(late ${imports})
list(REMOVE_ITEM late ${start_dlls})
if(late)
    message(FATAL_ERROR "${PLAYER} loads at start DLLs the first frame does not need: ${late}")
endif()
message(STATUS "${PLAYER} imports only known DLLs the first frame needs: ${imports}")
