# libdeflate decodes a whole zlib stream of known size in one call. Linux builds use
# Debian's libdeflate-dev. Debian ships the library for Linux only, so the Windows build
# compiles Debian's source package: APT fetches it (scripts/install-deps.sh enables
# APT's source entries) into this build folder, and its library sources are built here
# with the flags of its own Makefile. Debian's patches to it touch only ARM code.

if(NOT CMAKE_CROSSCOMPILING)
    find_path(LIBDEFLATE_INCLUDE_DIR libdeflate.h REQUIRED)
    find_library(LIBDEFLATE_LIBRARY deflate REQUIRED)
    add_library(libdeflate UNKNOWN IMPORTED)
    set_target_properties(libdeflate PROPERTIES
        IMPORTED_LOCATION ${LIBDEFLATE_LIBRARY}
        INTERFACE_INCLUDE_DIRECTORIES ${LIBDEFLATE_INCLUDE_DIR})
    return()
endif()

set(libdeflate_sources ${CMAKE_BINARY_DIR}/third_party/debian-sources)
file(GLOB libdeflate_tarball ${libdeflate_sources}/libdeflate_*.orig.tar.*)
if(NOT libdeflate_tarball)
    file(MAKE_DIRECTORY ${libdeflate_sources})
    message(STATUS "Fetching Debian's libdeflate source package")
    execute_process(COMMAND apt-get source --download-only libdeflate
        WORKING_DIRECTORY ${libdeflate_sources}
        RESULT_VARIABLE fetched OUTPUT_QUIET ERROR_VARIABLE fetch_errors)
    file(GLOB libdeflate_tarball ${libdeflate_sources}/libdeflate_*.orig.tar.*)
    if(NOT libdeflate_tarball)
        message(FATAL_ERROR "apt-get source libdeflate failed (${fetched}): ${fetch_errors}"
            "Run scripts/install-deps.sh, which enables APT's source entries.")
    endif()
endif()
list(GET libdeflate_tarball 0 libdeflate_tarball)

set(libdeflate_root ${CMAKE_BINARY_DIR}/third_party/libdeflate)
if(NOT EXISTS ${libdeflate_root}/libdeflate.h)
    file(REMOVE_RECURSE ${libdeflate_root})
    file(ARCHIVE_EXTRACT INPUT ${libdeflate_tarball} DESTINATION ${libdeflate_root}.unpack)
    file(GLOB libdeflate_unpacked ${libdeflate_root}.unpack/libdeflate-*)
    file(RENAME ${libdeflate_unpacked} ${libdeflate_root})
    file(REMOVE_RECURSE ${libdeflate_root}.unpack)
endif()

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
target_compile_options(libdeflate PRIVATE -O2 -fomit-frame-pointer -w)
target_compile_definitions(libdeflate PRIVATE _ANSI_SOURCE)
