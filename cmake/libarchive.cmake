# libarchive writes the tool's ISO images. Debian ships the library for Linux only, and its
# Linux build pulls in compression, crypto and XML libraries the tool never uses, so every
# build compiles Debian's source package (cmake/debian_source.cmake, with Debian's patches,
# its security fixes among them): the ISO 9660 writer with Joliet, the entries, the
# strings and the callback opener, and a configuration header of our own per platform
# (cmake/libarchive/). No zlib (zisofs is never asked for), iconv, crypto or XML.

include(${CMAKE_CURRENT_LIST_DIR}/debian_source.cmake)
ambrevo_debian_source(libarchive libarchive/archive.h PATCHED)

set(libarchive_sources ${libarchive_root}/libarchive)
add_library(libarchive STATIC
    ${libarchive_sources}/archive_acl.c
    ${libarchive_sources}/archive_check_magic.c
    ${libarchive_sources}/archive_entry.c
    ${libarchive_sources}/archive_entry_sparse.c
    ${libarchive_sources}/archive_entry_xattr.c
    ${libarchive_sources}/archive_options.c
    ${libarchive_sources}/archive_random.c
    ${libarchive_sources}/archive_rb.c
    ${libarchive_sources}/archive_string.c
    ${libarchive_sources}/archive_string_sprintf.c
    ${libarchive_sources}/archive_util.c
    ${libarchive_sources}/archive_virtual.c
    ${libarchive_sources}/archive_write.c
    ${libarchive_sources}/archive_write_set_format_iso9660.c
    ${libarchive_sources}/archive_write_set_options.c
)
if(WIN32)
    target_sources(libarchive PRIVATE ${libarchive_sources}/archive_windows.c)
    set(libarchive_config mingw_config.h)
    # Temporary files take their random names from CryptGenRandom.
    target_link_libraries(libarchive PRIVATE advapi32)
else()
    set(libarchive_config linux_config.h)
endif()
target_include_directories(libarchive SYSTEM PUBLIC ${libarchive_sources})
target_include_directories(libarchive PRIVATE ${CMAKE_CURRENT_LIST_DIR}/libarchive)
target_compile_definitions(libarchive
    PUBLIC LIBARCHIVE_STATIC
    PRIVATE PLATFORM_CONFIG_H="${libarchive_config}" _FILE_OFFSET_BITS=64)
set_target_properties(libarchive PROPERTIES C_STANDARD 99 UNITY_BUILD OFF)
target_compile_options(libarchive PRIVATE -w)
