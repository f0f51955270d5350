# zlib for the players: Debian's emscripten has no ports, and MinGW's library carries gzip
# support that the players never use (it brings in the CRC-32 tables), so Debian's source
# package is compiled here (the library half of it, as its Makefile builds libz.a) without
# gzip, and stands in for ZLIB::ZLIB. Inflate reads zlib streams exactly as before.
include(${CMAKE_CURRENT_LIST_DIR}/debian_source.cmake)
ambrevo_debian_source(zlib zlib.h)

add_library(zlib_from_source STATIC
    ${zlib_root}/adler32.c
    ${zlib_root}/compress.c
    ${zlib_root}/crc32.c
    ${zlib_root}/deflate.c
    ${zlib_root}/infback.c
    ${zlib_root}/inffast.c
    ${zlib_root}/inflate.c
    ${zlib_root}/inftrees.c
    ${zlib_root}/trees.c
    ${zlib_root}/uncompr.c
    ${zlib_root}/zutil.c
)
target_include_directories(zlib_from_source SYSTEM PUBLIC ${zlib_root})
set_target_properties(zlib_from_source PROPERTIES C_STANDARD 99 UNITY_BUILD OFF)  # its files share names
target_compile_options(zlib_from_source PRIVATE -O2 -w ${AMBREVO_C_NO_UNWIND_TABLES})
target_compile_definitions(zlib_from_source PRIVATE HAVE_UNISTD_H HAVE_STDARG_H NO_GZIP)
add_library(ZLIB::ZLIB ALIAS zlib_from_source)
