# cpp-httplib serves the authoring tool's page (serve, edit): the target cpp_httplib.
# Linux builds use Debian's libcpp-httplib-dev. Debian ships the library for Linux only, so
# the Windows build compiles Debian's source package (cmake/debian_source.cmake) with
# Debian's patches applied, as the header-only library it is upstream: its httplib.h holds
# the whole library. It is built without TLS (CPPHTTPLIB_OPENSSL_SUPPORT stays undefined),
# as the tool serves only 127.0.0.1, so it needs Windows' sockets (ws2_32) and not crypt32.

find_package(Threads REQUIRED)
if(NOT CMAKE_CROSSCOMPILING)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(CPP_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
    add_library(cpp_httplib INTERFACE)
    target_link_libraries(cpp_httplib INTERFACE PkgConfig::CPP_HTTPLIB Threads::Threads)
    return()
endif()

include(${CMAKE_CURRENT_LIST_DIR}/debian_source.cmake)
ambrevo_debian_source(cpp-httplib httplib.h PATCHED)

add_library(cpp_httplib INTERFACE)
target_include_directories(cpp_httplib SYSTEM INTERFACE ${cpp-httplib_root})
target_link_libraries(cpp_httplib INTERFACE ws2_32 Threads::Threads)
