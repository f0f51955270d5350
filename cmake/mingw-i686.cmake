# Cross-compiles for 32-bit Windows with MinGW-w64: the player shipped by default.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(AMBREVO_WINDOWS_ARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
