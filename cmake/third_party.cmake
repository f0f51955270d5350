# Third-party code comes from Debian packages only; nothing is downloaded.
# The players' zlib is compiled from Debian's source, without what they never use.
if(EMSCRIPTEN OR WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/zlib_source.cmake)
else()
    # Static, as every library of the Linux tool: its download starts where only the C
    # library is installed.
    set(ZLIB_USE_STATIC_LIBS ON)
    find_package(ZLIB REQUIRED)
endif()

# Header-only libraries live in /usr/include, which a cross build must not put
# on its include path; a private folder of links exposes just these headers.
set(AMBREVO_THIRD_PARTY_INCLUDE ${CMAKE_BINARY_DIR}/third_party/include)
file(MAKE_DIRECTORY ${AMBREVO_THIRD_PARTY_INCLUDE})
foreach(dir toml++ CLI stb nlohmann)
    if(NOT EXISTS ${AMBREVO_THIRD_PARTY_INCLUDE}/${dir})
        file(CREATE_LINK /usr/include/${dir} ${AMBREVO_THIRD_PARTY_INCLUDE}/${dir} SYMBOLIC)
    endif()
endforeach()
add_library(third_party_headers INTERFACE)
target_include_directories(third_party_headers SYSTEM INTERFACE ${AMBREVO_THIRD_PARTY_INCLUDE})

if(EMSCRIPTEN)
    # The browser build has no tests of its own here: tests/web drives it in a browser.
elseif(CMAKE_CROSSCOMPILING)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    # Debian's googletest defines the GTest:: targets itself.
else()
    find_package(GTest REQUIRED)
endif()

include(${CMAKE_CURRENT_LIST_DIR}/libdeflate.cmake)
