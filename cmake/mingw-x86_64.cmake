# Cross-compiles for 64-bit Windows with MinGW-w64: the player for systems without 32-bit
# support, and the build the Windows tests run through where this host runs no 32-bit
# programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(AMBREVO_WINDOWS_ARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
