# libdeflate decodes a whole zlib stream of known size in one call. Linux builds use
# Debian's libdeflate-dev, its static library (the Linux tool needs no libraries but the C
# library's). Debian ships the library for Linux only, so the Windows build
# and the browser build compile Debian's source package (cmake/debian_source.cmake), and
# its library sources are built here with the flags of its own Makefile. Debian's patches
# to it touch only ARM code.

if(NOT CMAKE_CROSSCOMPILING)
    find_path(LIBDEFLATE_INCLUDE_DIR libdeflate.h REQUIRED)
    find_library(LIBDEFLATE_LIBRARY NAMES libdeflate.a deflate REQUIRED)
    add_library(libdeflate UNKNOWN IMPORTED)
    set_target_properties(libdeflate PROPERTIES
        IMPORTED_LOCATION ${LIBDEFLATE_LIBRARY}
        INTERFACE_INCLUDE_DIRECTORIES ${LIBDEFLATE_INCLUDE_DIR})
    return()
endif()

include(${CMAKE_CURRENT_LIST_DIR}/debian_source.cmake)
ambrevo_debian_source(libdeflate libdeflate.h)

# The decompression half of the library with zlib's wrapper, as its Makefile builds it.
add_library(libdeflate STATIC
    ${libdeflate_root}/lib/adler32.c
    ${libdeflate_root}/lib/deflate_decompress.c
    ${libdeflate_root}/lib/utils.c
    ${libdeflate_root}/lib/x86/cpu_features.c
    ${libdeflate_root}/lib/zlib_decompress.c
)
target_include_directories(libdeflate SYSTEM PUBLIC ${libdeflate_root})
set_target_properties(libdeflate PROPERTIES C_STANDARD 99 C_VISIBILITY_PRESET hidden)
# Decoding speed is the point of it: -O2 where the player is built for size.
target_compile_options(libdeflate PRIVATE -O2 -fomit-frame-pointer -w ${AMBREVO_C_NO_UNWIND_TABLES})
target_compile_definitions(libdeflate PRIVATE _ANSI_SOURCE)
