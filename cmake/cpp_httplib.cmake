# cpp-httplib serves the authoring tool's page (serve, edit): the target cpp_httplib.
# Debian's libcpp-httplib-dev is a shared library built with TLS and brotli, which the Linux
# download would have to find on the author's machine, and Debian ships it for Linux only;
# so every build compiles Debian's source package (cmake/debian_source.cmake) with Debian's
# patches applied, as the header-only library it is upstream: its httplib.h holds the
# whole library. It is built without TLS (CPPHTTPLIB_OPENSSL_SUPPORT stays undefined), as
# the tool serves only 127.0.0.1, so it needs the system's sockets alone (ws2_32 on
# Windows), not crypt32.

find_package(Threads REQUIRED)

include(${CMAKE_CURRENT_LIST_DIR}/debian_source.cmake)
ambrevo_debian_source(cpp-httplib httplib.h PATCHED)

add_library(cpp_httplib INTERFACE)
target_include_directories(cpp_httplib SYSTEM INTERFACE ${cpp-httplib_root})
target_link_libraries(cpp_httplib INTERFACE Threads::Threads)
if(WIN32)
    target_link_libraries(cpp_httplib INTERFACE ws2_32)
endif()
